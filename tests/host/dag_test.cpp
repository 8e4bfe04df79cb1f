#include "command_fixture.h"

#include "command/CommandResultAccess.h"
#include "graph/Dag.h"

#include <maya/MDagPath.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <cmath>

using cmdtest::CommandTest;

namespace {

std::shared_ptr<host::Node> node(const std::string& name) {
    return host::findNode(name);
}

void expectPoint(const MPoint& p, double x, double y, double z, const char* what) {
    EXPECT_NEAR(p.x, x, 1e-9) << what;
    EXPECT_NEAR(p.y, y, 1e-9) << what;
    EXPECT_NEAR(p.z, z, 1e-9) << what;
}

std::vector<std::string> strings(const MCommandResult& result) {
    MStringArray names;
    EXPECT_TRUE(result.getResult(names));
    std::vector<std::string> out;
    for (unsigned i = 0; i < names.length(); ++i)
        out.push_back(names[i].asChar());
    return out;
}

using Names = std::vector<std::string>;

}  // namespace

TEST_F(CommandTest, DagShapesAreNamedAndPathedLikeMaya) {
    std::shared_ptr<host::Node> t1, s1, t2, s2;
    ASSERT_EQ(host::createShapeWithTransform("nurbsCurve", "pPlane", t1, s1), MStatus::kSuccess);
    ASSERT_EQ(host::createShapeWithTransform("nurbsCurve", "pPlane", t2, s2), MStatus::kSuccess);
    EXPECT_EQ(t1->name, "pPlane1");
    EXPECT_EQ(s1->name, "pPlaneShape1");
    EXPECT_EQ(t2->name, "pPlane2");
    EXPECT_EQ(s2->name, "pPlaneShape2");
    // Only shape types, and nothing is left behind by a refusal.
    size_t before = host::sceneNodes().size();
    std::shared_ptr<host::Node> t, s;
    EXPECT_EQ(host::createShapeWithTransform("time", "pPlane", t, s), MStatus::kInvalidParameter);
    EXPECT_EQ(host::createShapeWithTransform("nurbsCurve", "", t, s), MStatus::kInvalidParameter);
    EXPECT_EQ(host::sceneNodes().size(), before);

    MDagPath shapePath = host::dagPathOf(s1);
    EXPECT_EQ(shapePath.fullPathName(), MString("|pPlane1|pPlaneShape1"));
    EXPECT_EQ(shapePath.partialPathName(), MString("pPlaneShape1"));
    EXPECT_EQ(shapePath.length(), 2u);
    EXPECT_EQ(shapePath.node(), MObject(s1));
    EXPECT_EQ(shapePath.transform(), MObject(t1));
    MDagPath transformPath = host::dagPathOf(t1);
    EXPECT_EQ(transformPath.fullPathName(), MString("|pPlane1"));
    EXPECT_EQ(transformPath.transform(), MObject(t1));
    ASSERT_EQ(transformPath.extendToShape(), MStatus::kSuccess);
    EXPECT_EQ(transformPath, shapePath);
    EXPECT_EQ(transformPath.extendToShape(), MStatus::kSuccess);  // already a shape
    EXPECT_EQ(transformPath.length(), 2u);

    // Names, full paths and partial paths; wrong ancestors and malformed paths find nothing.
    EXPECT_EQ(host::findDagNode("pPlaneShape1"), s1);
    EXPECT_EQ(host::findDagNode("|pPlane1|pPlaneShape1"), s1);
    EXPECT_EQ(host::findDagNode("pPlane1|pPlaneShape1"), s1);
    EXPECT_EQ(host::findDagNode("|pPlane1"), t1);
    for (const char* bad : {"", "|", "|pPlaneShape1", "pPlane2|pPlaneShape1", "pPlane1||pPlaneShape1", "pPlane1|",
                            "nothing", "time1"})
        EXPECT_FALSE(host::findDagNode(bad)) << bad;

    // A transform with one shape has its function sets; with two, neither shape is "the" shape.
    EXPECT_TRUE(host::dagPathOf(t1).hasFn(MFn::kNurbsCurve));
    EXPECT_TRUE(host::dagPathOf(t1).hasFn(MFn::kTransform));
    EXPECT_FALSE(host::dagPathOf(t1).hasFn(MFn::kMesh));
    EXPECT_FALSE(shapePath.hasFn(MFn::kTransform));
    ASSERT_EQ(host::setDagParent(s2, t1), MStatus::kSuccess);
    EXPECT_FALSE(host::dagPathOf(t1).hasFn(MFn::kNurbsCurve));
    MDagPath two = host::dagPathOf(t1);
    EXPECT_EQ(two.extendToShape(), MStatus::kFailure);
    EXPECT_EQ(two.length(), 1u);
}

TEST_F(CommandTest, DagMatricesComposeScaleRotateTranslateUpThePath) {
    ok("createNode transform -n top");
    ok("createNode transform -n mid -p top");
    ok("createNode nurbsCurve -n leaf -p mid");
    // top: scale 2 then a quarter turn about z, then translate (1, 0, 0).
    ok("setAttr top.scale 2 2 2");
    ok("setAttr top.rz 90");
    ok("setAttr top.tx 1");
    // mid: translate (0, 3, 0) in top's space.
    ok("setAttr mid.translate 0 3 0");
    EXPECT_NEAR(getDouble("top.rz"), 90.0, 1e-12);  // degrees in scripts...
    double radians = 0.0;
    host::plugByName("top.rz").getValue(radians);
    EXPECT_NEAR(radians, M_PI / 2.0, 1e-12);  // ...radians in the API

    MDagPath leaf = host::dagPathOf(node("leaf"));
    EXPECT_EQ(leaf.fullPathName(), MString("|top|mid|leaf"));
    // (1, 0, 0) in leaf space: + mid (1, 3, 0); top scales to (2, 6, 0), turns to (-6, 2, 0), moves to (-5, 2, 0).
    expectPoint(MPoint(1, 0, 0) * leaf.inclusiveMatrix(), -5.0, 2.0, 0.0, "inclusive");
    expectPoint(MPoint(1, 0, 0) * leaf.exclusiveMatrix(), -5.0, 2.0, 0.0, "exclusive of a shape");
    expectPoint(MPoint(1, 0, 0) * host::dagPathOf(node("mid")).exclusiveMatrix(), 1.0, 2.0, 0.0, "exclusive");
    expectPoint(MPoint(-5, 2, 0) * leaf.inclusiveMatrixInverse(), 1.0, 0.0, 0.0, "inverse");
    EXPECT_EQ(host::worldMatrix(*node("leaf")), leaf.inclusiveMatrix());

    // Rotations apply x, then y, then z.
    ok("createNode transform -n r");
    ok("setAttr r.rotate 90 90 0");
    expectPoint(MPoint(0, 1, 0) * host::worldMatrix(*node("r")), 1.0, 0.0, 0.0, "y: to z, then to x");
    expectPoint(MPoint(0, 0, 1) * host::worldMatrix(*node("r")), 0.0, -1.0, 0.0, "z: to -y, then stays");

    // Commands see the same matrices.
    ok("xform -q -ws -t leaf");
    MDoubleArray t;
    ASSERT_TRUE(result.getResult(t));
    ASSERT_EQ(t.length(), 3u);
    EXPECT_NEAR(t[0], -5.0, 1e-9);
    EXPECT_NEAR(t[1], 0.0, 1e-9);
    ok("xform -q -t mid");
    ASSERT_TRUE(result.getResult(t));
    EXPECT_NEAR(t[1], 3.0, 1e-9);

    // move: absolute world positions through a rotated, scaled parent; relative moves add world vectors.
    ok("move 4 5 6 mid");
    expectPoint(MPoint() * host::worldMatrix(*node("mid")), 4.0, 5.0, 6.0, "move");
    ok("move -r 1 0 0 leaf");  // a shape moves its transform
    expectPoint(MPoint() * host::worldMatrix(*node("mid")), 5.0, 5.0, 6.0, "move -r");
    fails("move 1 2 3", {"move"});
    fails("move 1 2 x top", {"'x' is not a number"});
    ok("createNode curveSource -n src");
    fails("move 1 2 3 src", {"not a DAG node"});
}

TEST_F(CommandTest, CurveWorldSpaceFollowsItsTransforms) {
    ok("createNode curveSource -n src");
    ok("createNode transform -n grand");
    ok("createNode transform -n holder -p grand");
    ok("createNode nurbsCurve -n shape -p holder");
    MPointArray cvs;
    for (int i = 0; i < 4; ++i)
        cvs.append(MPoint(i, 0, 0));
    MDoubleArray knots;
    for (double k : {0.0, 0.0, 0.0, 1.0, 1.0, 1.0})
        knots.append(k);
    MFnNurbsCurve create;
    MObject curve = create.create(cvs, knots, 3, MFnNurbsCurve::kOpen, false, false);
    ASSERT_EQ(host::plugByName("src.curve").setValue(curve), MStatus::kSuccess);
    ok("connectAttr src.outCurve shape.create");

    auto firstWorldCv = [&]() {
        MObject data;
        EXPECT_EQ(host::plugByName("shape.worldSpace[0]").getValue(data), MStatus::kSuccess);
        MPoint p;
        EXPECT_EQ(MFnNurbsCurve(data).getCV(1, p, MSpace::kWorld), MStatus::kSuccess);
        return p;
    };
    expectPoint(firstWorldCv(), 1.0, 0.0, 0.0, "identity");
    ok("setAttr holder.ty 2");
    EXPECT_FALSE(host::isPlugClean("shape.worldSpace[0]"));
    expectPoint(firstWorldCv(), 1.0, 2.0, 0.0, "parent moved");
    // A change two levels up reaches the shape too; the local output stays as it was.
    EXPECT_TRUE(host::isPlugClean("shape.local"));
    ok("setAttr grand.sx 3");
    expectPoint(firstWorldCv(), 3.0, 2.0, 0.0, "grandparent scaled");
    ok("move -r 0 0 1 grand");
    expectPoint(firstWorldCv(), 3.0, 2.0, 1.0, "moved");
    // Reparenting without keeping the place changes the world matrix as well.
    ok("parent -w -r holder");
    expectPoint(firstWorldCv(), 1.0, 2.0, 0.0, "under the world");
    // A translate driven by a connection propagates like a set one.
    ok("createNode transform -n driver");
    ok("connectAttr driver.translate holder.translate");
    ok("setAttr driver.tz 5");
    expectPoint(firstWorldCv(), 1.0, 0.0, 5.0, "driven");
}

TEST_F(CommandTest, DagCreateParentAndListRelatives) {
    // A shape made without a parent gets a new transform; the result is the shape.
    ok("createNode nurbsCurve");
    EXPECT_EQ(host::CommandResultAccess::text(result), "nurbsCurve1");
    EXPECT_EQ(host::fullPathName(*node("nurbsCurve1")), "|transform1|nurbsCurve1");
    ok("createNode camera -n cam");
    EXPECT_EQ(host::fullPathName(*node("cam")), "|transform2|cam");
    ok("createNode transform -n a");
    ok("createNode transform -n b -p a");
    ok("createNode nurbsCurve -n bShape -p |a|b");
    EXPECT_EQ(host::fullPathName(*node("bShape")), "|a|b|bShape");
    fails("createNode transform -p bShape", {"not a transform"});
    fails("createNode time -p a", {"not a DAG node"});
    fails("createNode transform -p nothing", {"not a transform"});

    ok("listRelatives a");
    EXPECT_EQ(strings(result), Names({"b"}));
    ok("listRelatives -ad -f a");
    EXPECT_EQ(strings(result), Names({"|a|b", "|a|b|bShape"}));
    ok("listRelatives -s b");
    EXPECT_EQ(strings(result), Names({"bShape"}));
    ok("listRelatives -p bShape");
    EXPECT_EQ(strings(result), Names({"b"}));
    ok("listRelatives -p a");
    EXPECT_EQ(strings(result), Names());

    // parent: several children at once; cycles and shapes as parents are refused and change nothing.
    ok("parent transform1 transform2 b");
    EXPECT_EQ(strings(result), Names({"transform1", "transform2"}));
    EXPECT_EQ(host::fullPathName(*node("cam")), "|a|b|transform2|cam");
    fails("parent a transform1", {"lies below it"});
    fails("parent b b", {"lies below it"});
    fails("parent a bShape", {"only a transform can be a parent"});
    EXPECT_EQ(host::fullPathName(*node("a")), "|a");
    EXPECT_EQ(host::setDagParent(node("a"), node("transform2")), MStatus::kInvalidParameter);
    ok("createNode curveSource -n src");
    EXPECT_EQ(host::setDagParent(node("src"), node("a")), MStatus::kInvalidParameter);
    ok("parent -w transform2");
    EXPECT_EQ(host::fullPathName(*node("cam")), "|transform2|cam");

    // By default a reparented transform keeps its place in the world.
    ok("setAttr a.translate 1 2 3");
    ok("setAttr a.ry 90");
    ok("setAttr a.sz 2");
    ok("setAttr transform2.translate 5 0 0");
    MMatrix before = host::worldMatrix(*node("cam"));
    ok("parent transform2 b");
    MMatrix after = host::worldMatrix(*node("cam"));
    for (unsigned r = 0; r < 4; ++r)
        for (unsigned c = 0; c < 4; ++c)
            EXPECT_NEAR(after[r][c], before[r][c], 1e-9) << r << "," << c;
    EXPECT_NEAR(getDouble("transform2.ry"), -90.0, 1e-9);
}

TEST_F(CommandTest, DeletingATransformDeletesEverythingBelowIt) {
    ok("createNode transform -n a");
    ok("createNode transform -n b -p a");
    ok("createNode nurbsCurve -n c -p b");
    ok("createNode transform -n keep");
    std::shared_ptr<host::Node> c = node("c");
    MDagPath path = host::dagPathOf(c);
    ok("delete b");
    EXPECT_FALSE(node("b"));
    EXPECT_FALSE(node("c"));
    EXPECT_FALSE(c->alive);
    EXPECT_FALSE(path.isValid());
    EXPECT_EQ(path.fullPathName(), MString());
    ok("listRelatives a");
    EXPECT_EQ(strings(result), Names());
    // Names freed by the deletion are free for new nodes, which start with no relatives.
    ok("createNode transform -n b");
    EXPECT_EQ(host::fullPathName(*node("b")), "|b");
    ok("listRelatives b");
    EXPECT_EQ(strings(result), Names());
    // A deep chain is created and deleted without recursion trouble.
    std::shared_ptr<host::Node> parent = node("a");
    for (int i = 0; i < 5000; ++i)
        parent = host::createTransform("deep" + std::to_string(i), parent);
    ok("setAttr a.tx 1");
    EXPECT_NEAR(host::worldMatrix(*parent)[3][0], 1.0, 1e-12);
    ok("delete a");
    EXPECT_FALSE(node("deep4999"));
    EXPECT_TRUE(node("keep"));
}

TEST_F(CommandTest, SelectionListResolvesDagNames) {
    ok("createNode transform -n pCube1");
    ok("createNode nurbsCurve -n pCubeShape1 -p pCube1");
    MSelectionList list;
    MDagPath path;
    MObject component;
    EXPECT_EQ(list.add("pCube1"), MStatus::kSuccess);
    EXPECT_EQ(list.add("|pCube1|pCubeShape1"), MStatus::kSuccess);
    EXPECT_EQ(list.add("pCube1"), MStatus::kSuccess);  // not twice
    ASSERT_EQ(list.length(), 2u);
    ASSERT_EQ(list.getDagPath(0, path, component), MStatus::kSuccess);
    EXPECT_EQ(path.fullPathName(), MString("|pCube1"));
    EXPECT_TRUE(component.isNull());
    ASSERT_EQ(list.getDagPath(1, path), MStatus::kSuccess);
    EXPECT_EQ(path.fullPathName(), MString("|pCube1|pCubeShape1"));
    EXPECT_TRUE(MObject::kNullObj.isNull());
    MObject depend;
    ASSERT_EQ(list.getDependNode(1, depend), MStatus::kSuccess);
    EXPECT_EQ(depend, host::nodeByName("pCubeShape1"));

    // Out of range: failure, and the path is emptied.
    EXPECT_NE(list.getDagPath(7, path, component), MStatus::kSuccess);
    EXPECT_EQ(path.length(), 0u);
    EXPECT_EQ(path.fullPathName(), MString(""));

    // Empty and unknown names add nothing.
    MSelectionList other;
    EXPECT_EQ(other.add(""), MStatus::kInvalidParameter);
    EXPECT_EQ(other.add("nothing"), MStatus::kInvalidParameter);
    EXPECT_EQ(other.add("pCube2|pCubeShape1"), MStatus::kInvalidParameter);
    EXPECT_EQ(other.length(), 0u);
    EXPECT_NE(other.getDagPath(0, path, component), MStatus::kSuccess);
    EXPECT_FALSE(path.hasFn(MFn::kMesh));

    // A dependency node is in the list but has no path.
    ok("createNode curveSource -n src");
    ASSERT_EQ(other.add("src"), MStatus::kSuccess);
    EXPECT_EQ(other.getDagPath(0, path), MStatus::kFailure);
    ASSERT_EQ(other.getDependNode(0, depend), MStatus::kSuccess);
    EXPECT_EQ(depend, host::nodeByName("src"));
    other.clear();
    EXPECT_TRUE(other.isEmpty());
}

TEST_F(CommandTest, PlugNamesReachShapesThroughTransformsAndPaths) {
    ok("createNode transform -n holder");
    ok("createNode nurbsCurve -n holderShape -p holder");
    // The transform's own attributes first, then its only shape's.
    ok("setAttr holder.tx 2");
    EXPECT_EQ(getDouble("|holder.translateX"), 2.0);
    EXPECT_EQ(host::plugByName("holder.worldSpace[0]").node(), host::nodeByName("holderShape"));
    EXPECT_EQ(host::plugByName("|holder|holderShape.degree").node(), host::nodeByName("holderShape"));
    fails("getAttr holder.nothing", {"has no attribute"});
    fails("getAttr |nobody|holderShape.degree", {"No node named"});
    // With two shapes the transform stands for neither.
    ok("createNode nurbsCurve -n second -p holder");
    fails("getAttr holder.degree", {"has no attribute"});
}
