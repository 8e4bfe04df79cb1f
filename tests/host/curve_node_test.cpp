#include "command_fixture.h"

#include "data/NurbsCurveData.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MPlug.h>

using cmdtest::CommandTest;

namespace {

// An open cubic over four CVs along x, with clamped knots 0 0 0 end end end: domain [0, end].
MObject cubicData(double end, double length = 3.0) {
    MPointArray cvs;
    for (int i = 0; i < 4; ++i) cvs.append(MPoint(length * i / 3.0, 0, 0));
    MDoubleArray knots;
    for (double k : {0.0, 0.0, 0.0, end, end, end}) knots.append(k);
    MFnNurbsCurve fn;
    return fn.create(cvs, knots, 3, MFnNurbsCurve::kOpen, false, false);
}

MObject plugData(const std::string& name) {
    MObject data;
    EXPECT_EQ(host::plugByName(name).getValue(data), MStatus::kSuccess) << name;
    return data;
}

}  // namespace

TEST_F(CommandTest, CurveShapeOutputsFollowItsCreateInput) {
    ok("createNode curveSource -n src");
    ok("createNode nurbsCurve -n shape");
    MPlug source = host::plugByName("src.curve");
    MObject first = cubicData(1.0);
    ASSERT_EQ(source.setValue(first), MStatus::kSuccess);
    ok("connectAttr src.outCurve shape.create");

    EXPECT_EQ(getDouble("shape.minValue"), 0.0);
    EXPECT_EQ(getDouble("shape.maxValue"), 1.0);
    EXPECT_EQ(getDouble("shape.degree"), 3.0);
    EXPECT_EQ(getDouble("shape.spans"), 1.0);
    EXPECT_EQ(getDouble("shape.form"), 1.0);
    EXPECT_TRUE(host::isPlugClean("shape.maxValue"));

    // A new curve upstream dirties every output of the shape.
    MObject second = cubicData(5.0);
    ASSERT_EQ(source.setValue(second), MStatus::kSuccess);
    for (const char* plug : {"shape.minValue", "shape.maxValue", "shape.local", "shape.degree"})
        EXPECT_FALSE(host::isPlugClean(plug)) << plug;
    EXPECT_EQ(getDouble("shape.maxValue"), 5.0);
    EXPECT_TRUE(host::isPlugClean("shape.maxValue"));

    // The shape's outputs are data of their own: not the source's objects.
    MObject local = plugData("shape.local");
    EXPECT_NE(local.impl(), second.impl());
    MFnNurbsCurve fn(local);
    double start, end;
    ASSERT_EQ(fn.getKnotDomain(start, end), MStatus::kSuccess);
    EXPECT_EQ(end, 5.0);

    // The source node has no parameter range.
    MStatus status;
    MFnDependencyNode(host::nodeByName("src")).findPlug("minValue", &status);
    EXPECT_NE(status, MStatus::kSuccess);
    MFnDependencyNode(host::nodeByName("src")).findPlug("maxValue", &status);
    EXPECT_NE(status, MStatus::kSuccess);
}

TEST_F(CommandTest, CurveShapeAnswersAnyOutputAndMarksAllClean) {
    ok("curve -d 1 -p 0 0 0 -p 2 0 0");
    EXPECT_EQ(host::evaluate("curve1.worldSpace[0]"), MStatus::kSuccess);
    for (const char* plug : {"curve1.worldSpace[0]", "curve1.local", "curve1.minValue", "curve1.maxValue",
                             "curve1.degree", "curve1.spans", "curve1.form"})
        EXPECT_TRUE(host::isPlugClean(plug)) << plug;
    MFnNurbsCurve fn(plugData("curve1.worldSpace[0]"));
    EXPECT_EQ(fn.numCVs(), 2);
}

TEST_F(CommandTest, CurveShapeWithoutACurve) {
    ok("createNode nurbsCurve -n empty");
    EXPECT_EQ(getDouble("empty.maxValue"), 0.0);
    EXPECT_EQ(getDouble("empty.form"), 0.0);
    EXPECT_TRUE(plugData("empty.local").isNull());
    // The shape is a curve, so the set attaches; it has no curve to query.
    MStatus status;
    MFnNurbsCurve fn(host::nodeByName("empty"), &status);
    EXPECT_EQ(status, MStatus::kSuccess);
    fn.closestPoint(MPoint(), nullptr, 0.01, MSpace::kWorld, &status);
    EXPECT_EQ(status, MStatus::kFailure);
    // Other nodes are refused.
    ok("createNode curveSource -n src");
    MFnNurbsCurve onSource(host::nodeByName("src"), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
}

TEST_F(CommandTest, WorldSpaceFeedsATypedCurveAttribute) {
    ok("curve -d 3 -p 0 0 0 -p 1 1 0 -p 2 0 0 -p 3 1 0 -p 4 0 0");
    ok("createNode nurbsCurve -n copy");
    ok("createNode curveSource -n src");
    ok("connectAttr curve1.worldSpace[0] copy.create");
    ok("connectAttr curve1.worldSpace[0] src.curve");
    for (const char* plug : {"copy.local", "src.outCurve", "src.curve"}) {
        MStatus status;
        MFnNurbsCurve fn(plugData(plug), &status);
        ASSERT_EQ(status, MStatus::kSuccess) << plug;
        MDoubleArray knots;
        ASSERT_EQ(fn.getKnots(knots), MStatus::kSuccess);
        EXPECT_EQ(knots.length(), 7u);
        EXPECT_EQ(knots[3], 1.0);
        MPoint cv;
        fn.getCV(3, cv, MSpace::kWorld);
        EXPECT_EQ(cv.y, 1.0);
    }
    EXPECT_EQ(getDouble("copy.maxValue"), 2.0);
}

TEST_F(CommandTest, CurveShapeBakesTheWorldMatrixOfItsInput) {
    ok("createNode curveSource -n src");
    ok("createNode nurbsCurve -n shape");
    MMatrix up;
    up.matrix[3][1] = 7.0;
    auto plain = host::dataAs<host::NurbsCurveData>(cubicData(1.0));
    MObject moved = host::makeNurbsCurveData(plain->curve(), up);
    ASSERT_EQ(host::plugByName("src.curve").setValue(moved), MStatus::kSuccess);
    ok("connectAttr src.outCurve shape.create");
    MPoint cv;
    MFnNurbsCurve(plugData("shape.local")).getCV(0, cv, MSpace::kObject);
    EXPECT_EQ(cv.y, 7.0);
}
