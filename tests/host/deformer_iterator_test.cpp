// The deformer base's compute and the geometry iterator, on NURBS curves: the input is copied to the
// output, deform sees the member points in ascending order with their weights, and only what deform
// sets changes.
#include "data/LatticeData.h"
#include "data/MeshData.h"
#include "data/NurbsCurveData.h"
#include "data/NurbsSurfaceData.h"
#include "geometry/Lattice.h"
#include "geometry/MeshPrimitives.h"
#include "geometry/NurbsSurfacePrimitives.h"
#include "graph/DeformerAccess.h"
#include "graph/Scene.h"

#include <maya/MDataBlock.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MFnDoubleIndexedComponent.h>
#include <maya/MFnTripleIndexedComponent.h>
#include <maya/MItGeometry.h>
#include <maya/MPlug.h>
#include <maya/MPxDeformerNode.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using host::geom::NurbsCurve;
using host::geom::Vec3;

// Lifts every point by its weight and records what it saw.
struct Lifter : MPxDeformerNode {
    static std::vector<int> seen;
    static std::vector<int> componentIds;
    static MStatus answer;
    static void* creator() { return new Lifter; }
    static MStatus initialize() { return MStatus::kSuccess; }
    MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix&, unsigned multiIndex) override {
        seen.clear();
        componentIds.clear();
        for (iter.reset(); !iter.isDone(); iter.next()) {
            seen.push_back(iter.index());
            MObject c = iter.component();
            MFnSingleIndexedComponent fn(c);
            componentIds.push_back(fn.element(0));
            MPoint p = iter.position();
            p.y += weightValue(block, multiIndex, static_cast<unsigned>(iter.index()));
            iter.setPosition(p);
        }
        return answer;
    }
};
std::vector<int> Lifter::seen;
std::vector<int> Lifter::componentIds;
MStatus Lifter::answer = MStatus::kSuccess;

NurbsCurve line(int cvs) {
    std::vector<Vec3> points;
    for (int i = 0; i < cvs; ++i) points.push_back({double(i), 0.0, 0.0});
    return NurbsCurve::openUniform(3, points);
}

class DeformerIteratorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host::registerType("testLifter", MTypeId(0x7f0d3), Lifter::creator, Lifter::initialize, MPxNode::kDeformerNode,
                           MFn::kPluginDeformerNode, "");
    }
    void SetUp() override {
        Lifter::answer = MStatus::kSuccess;
        source = host::createNode("nurbsCurve", "source");
        result = host::createNode("nurbsCurve", "result");
        deformer = host::createNode("testLifter", "lifter");
        MObject data = host::makeNurbsCurveData(line(6));
        host::plugFromName("source.create").setValue(data);
        host::connect(host::plugFromName("source.local"), host::plugFromName("lifter.input[0].inputGeom"), false);
        host::connect(host::plugFromName("lifter.outputGeom[0]"), host::plugFromName("result.create"), false);
    }
    void TearDown() override { host::clearScene(); }

    std::vector<double> resultHeights() {
        MObject data;
        host::plugFromName("result.local").getValue(data);
        MFnNurbsCurve fn(data);
        std::vector<double> y;
        for (int i = 0; i < fn.numCVs(); ++i) {
            MPoint p;
            fn.getCV(i, p);
            y.push_back(p.y);
        }
        return y;
    }

    std::shared_ptr<host::Node> source, result, deformer;
};

TEST_F(DeformerIteratorTest, ComputeCopiesInputAndAppliesDeformWithWeights) {
    host::plugFromName("lifter.weightList[0].weights[2]").setValue(0.5f);
    EXPECT_EQ(resultHeights(), (std::vector<double>{1, 1, 0.5, 1, 1, 1}));
    EXPECT_EQ(Lifter::seen, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Lifter::componentIds, Lifter::seen);
    // The source keeps its points: the output is a copy.
    MObject data;
    host::plugFromName("source.local").getValue(data);
    MPoint p;
    MFnNurbsCurve(data).getCV(0, p);
    EXPECT_EQ(p.y, 0.0);
}

TEST_F(DeformerIteratorTest, ComponentSubsetIsIteratedInAscendingOrderOnly) {
    host::DeformerAccess::setMembership(*static_cast<MPxDeformerNode*>(deformer->px), 0, {4, 1, 9, 1, -2});
    host::changed(host::plugFromName("lifter.envelope"));
    EXPECT_EQ(resultHeights(), (std::vector<double>{0, 1, 0, 0, 1, 0}));
    EXPECT_EQ(Lifter::seen, (std::vector<int>{1, 4}));
}

TEST_F(DeformerIteratorTest, FailingDeformKeepsWhatItSetAndTheStatusIsReported) {
    Lifter::answer = MStatus::kUnknownParameter;
    EXPECT_EQ(host::pull(host::plugFromName("lifter.outputGeom[0]")), MStatus::kUnknownParameter);
    EXPECT_EQ(resultHeights(), (std::vector<double>(6, 1.0)));
}

TEST_F(DeformerIteratorTest, MissingInputGivesEmptyOutputWithoutDeform) {
    Lifter::seen = {99};
    EXPECT_EQ(host::pull(host::plugFromName("lifter.outputGeom[3]")), MStatus::kInvalidParameter);
    EXPECT_EQ(Lifter::seen, (std::vector<int>{99}));
}

TEST(GeometryIterator, ReadOnlyOnHandleAndPeriodicRepeatsSkipped) {
    MObject data = host::makeNurbsCurveData(
        NurbsCurve::periodicUniform(3, {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}, {0.5, 0.5, 1}}));
    host::Value value;
    value.data() = data;
    MDataHandle handle(nullptr, nullptr, &value);
    MStatus status;
    MItGeometry it(handle, true, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(it.count(), 5);  // 8 CVs, the last 3 repeat the first 3
    EXPECT_EQ(it.setPosition(MPoint(0, 0, 0)), MStatus::kFailure);
    int visited = 0;
    for (; !it.isDone(); it.next()) ++visited;
    EXPECT_EQ(visited, 5);
    EXPECT_TRUE(it.component(&status).isNull());
    EXPECT_EQ(status, MStatus::kFailure);
    EXPECT_EQ(it.next(), MStatus::kFailure);

    host::Value none;
    MDataHandle empty(nullptr, nullptr, &none);
    MItGeometry nothing(empty, true, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_TRUE(nothing.isDone());
    EXPECT_EQ(nothing.index(), -1);
}

TEST(GeometryIterator, WritableOnHandleWorksOnACopyAndKeepsPeriodicForm) {
    MObject data = host::makeNurbsCurveData(
        NurbsCurve::periodicUniform(3, {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}}));
    host::Value value;
    value.data() = data;
    MDataHandle handle(nullptr, nullptr, &value);
    {
        MItGeometry it(handle, false);
        EXPECT_EQ(it.setPosition(MPoint(2, 0, 0)), MStatus::kSuccess);
        EXPECT_EQ(it.setPosition(MPoint(NAN, 0, 0)), MStatus::kInvalidParameter);
    }
    EXPECT_NE(value.data(), data);
    MFnNurbsCurve before(data), after(value.data());
    MPoint p, repeat;
    before.getCV(0, p);
    EXPECT_EQ(p.x, 1.0);
    after.getCV(0, p);
    after.getCV(4, repeat);
    EXPECT_EQ(p.x, 2.0);
    EXPECT_EQ(repeat.x, 2.0);
    EXPECT_EQ(after.form(), MFnNurbsCurve::kPeriodic);
}

// A writable iterator over a mesh copies the points only as far as it writes: reads before the copy
// come from the mesh, reads after a write see the write, a write behind or far ahead of the copy lands,
// and the points never written keep their places in the result; the source mesh never changes.
TEST(GeometryIterator, WritableMeshCopiesAsItWrites) {
    const host::geom::PolyMesh plane = host::geom::makePolyPlane(1.0, 1.0, 39, 39);  // 1600 vertices
    const std::vector<Vec3> original = plane.points();
    MObject data = host::makeMeshData(plane);
    host::Value value;
    value.data() = data;
    MDataHandle handle(nullptr, nullptr, &value);
    const int n = static_cast<int>(original.size());
    auto lifted = [&](int i) { return original[static_cast<size_t>(i)].y + 1.0 + i; };
    {
        MItGeometry it(handle, false);
        ASSERT_EQ(it.count(), n);
        // Every third point up to 900, then back to point 1, then the last one alone.
        for (int i = 0; !it.isDone(); it.next(), ++i) {
            MPoint p = it.position();
            EXPECT_EQ(p.x, original[static_cast<size_t>(i)].x);
            if (i % 3 != 0 || i > 900) continue;
            p.y = lifted(i);
            ASSERT_EQ(it.setPosition(p), MStatus::kSuccess);
            EXPECT_EQ(it.position().y, lifted(i));
        }
        it.reset();
        it.next();
        EXPECT_EQ(it.position().y, original[1].y);
        EXPECT_EQ(it.setPosition(MPoint(0, lifted(1), 0)), MStatus::kSuccess);
        for (int i = 1; i < n - 1; ++i) it.next();
        EXPECT_EQ(it.setPosition(MPoint(0, lifted(n - 1), 0)), MStatus::kSuccess);
        it.reset();
        EXPECT_EQ(it.position().y, lifted(0));
    }
    ASSERT_NE(value.data(), data);
    auto after = host::dataAs<host::MeshData>(value.data());
    auto before = host::dataAs<host::MeshData>(data);
    ASSERT_TRUE(after && before);
    EXPECT_EQ(before->mesh().points(), original);
    ASSERT_EQ(after->mesh().numVertices(), n);
    for (int i = 0; i < n; ++i) {
        const bool written = (i % 3 == 0 && i <= 900) || i == 1 || i == n - 1;
        EXPECT_EQ(after->mesh().point(i).y, written ? lifted(i) : original[static_cast<size_t>(i)].y) << i;
    }
}

// Each component the iterator gives is the caller's own: one kept while the iterator moves on still
// names its point, and elements added to one change neither the others nor the iterator's next one. A
// component function set refuses data that is not a component.
TEST(GeometryIterator, HeldComponentsKeepTheirPoint) {
    MObject data = host::makeNurbsCurveData(line(5));
    host::Value value;
    value.data() = data;
    MDataHandle handle(nullptr, nullptr, &value);
    MItGeometry it(handle, true);
    MObject first = it.component();
    it.next();
    MObject second = it.component();
    EXPECT_NE(first, second);
    {
        MFnSingleIndexedComponent fn(second);
        fn.addElement(9);
        EXPECT_EQ(fn.elementCount(), 2);
    }
    second = MObject();
    it.next();
    MFnSingleIndexedComponent third(it.component());
    MIntArray ids;
    ASSERT_EQ(third.getElements(ids), MStatus::kSuccess);
    ASSERT_EQ(ids.length(), 1u);
    EXPECT_EQ(ids[0], 2);
    EXPECT_EQ(MFnSingleIndexedComponent(first).element(0), 0);

    MStatus status;
    MFnSingleIndexedComponent onData(data, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_EQ(onData.getElements(ids), MStatus::kFailure);
}

// The component of point k of an iterator over the data, and the iterator's status for it.
MObject componentOfPoint(const MObject& data, int k) {
    host::Value value;
    value.data() = data;
    MDataHandle handle(nullptr, nullptr, &value);
    MItGeometry it(handle, true);
    for (int i = 0; i < k; ++i) it.next();
    return it.component();
}

// The per-point components are values: equal when they name the same point, read by every set of their
// kind and refused by the others; a set that adds to one works on its own copy.
TEST(GeometryIterator, PointComponentsOfSurfacesAndLattices) {
    // A 4 x 4 CV plane: point 6 is CV (1, 2).
    MObject surface = host::makeNurbsSurfaceData(host::geom::makePlane(1.0, 1.0, 1, 1, 3, {0.0, 0.0, 1.0}));
    MObject cv = componentOfPoint(surface, 6);
    EXPECT_EQ(cv.apiType(), MFn::kDoubleIndexedComponent);
    EXPECT_TRUE(cv.hasFn(MFn::kComponent));
    EXPECT_FALSE(cv.hasFn(MFn::kSingleIndexedComponent));
    EXPECT_EQ(cv, componentOfPoint(surface, 6));
    EXPECT_NE(cv, componentOfPoint(surface, 7));
    MStatus status;
    MFnDoubleIndexedComponent uv(cv, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    int u = -1, v = -1;
    EXPECT_EQ(uv.getElement(0, u, v), MStatus::kSuccess);
    EXPECT_EQ(u, 1);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(uv.getElement(1, u, v), MStatus::kFailure);
    EXPECT_EQ(u, 1);
    MIntArray us, vs;
    ASSERT_EQ(uv.getElements(us, vs), MStatus::kSuccess);
    ASSERT_EQ(us.length(), 1u);
    EXPECT_EQ(vs[0], 2);
    MFnSingleIndexedComponent single(cv, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_EQ(single.elementCount(&status), 0);
    EXPECT_EQ(status, MStatus::kFailure);
    EXPECT_EQ(uv.addElement(3, 0), MStatus::kSuccess);
    EXPECT_EQ(uv.elementCount(), 2);
    EXPECT_EQ(uv.getElement(1, u, v), MStatus::kSuccess);
    EXPECT_EQ(u, 3);
    EXPECT_EQ(MFnComponent(cv).elementCount(), 1);  // the iterator's object keeps its one element

    // A 2 x 3 x 2 lattice: point 7 = 1 + 2 * (0 + 3 * 1) is (1, 0, 1).
    MObject lattice = host::makeLatticeData(host::geom::Lattice(2, 3, 2));
    MObject point = componentOfPoint(lattice, 7);
    MFnComponent any(point, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(any.componentType(), MFn::kTripleIndexedComponent);
    EXPECT_EQ(any.elementCount(), 1);
    EXPECT_FALSE(any.isEmpty());
    MFnTripleIndexedComponent stu(point);
    int s = -1, t = -1, w = -1;
    ASSERT_EQ(stu.getElement(0, s, t, w), MStatus::kSuccess);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(t, 0);
    EXPECT_EQ(w, 1);
    MFnDoubleIndexedComponent notDouble;
    EXPECT_EQ(notDouble.setObject(point), MStatus::kInvalidParameter);
    EXPECT_EQ(notDouble.getElement(0, u, v), MStatus::kFailure);
    EXPECT_EQ(stu.setObject(cv), MStatus::kInvalidParameter);
    EXPECT_EQ(stu.getElement(0, s, t, w), MStatus::kFailure);
}

TEST(ComponentFunctionSets, AttachOnlyToTheirKind) {
    MFnSingleIndexedComponent single;
    MObject c = single.create(MFn::kSingleIndexedComponent);
    single.addElement(7);
    EXPECT_EQ(c.apiType(), MFn::kSingleIndexedComponent);
    MStatus status;
    MFnDoubleIndexedComponent other(c, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    int u = -1, v = -1;
    EXPECT_NE(other.getElement(0, u, v), MStatus::kSuccess);
    EXPECT_EQ(u, -1);
    MFnSingleIndexedComponent again(c, &status);
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(again.element(0), 7);
    again.element(1, &status);
    EXPECT_EQ(status, MStatus::kFailure);
}

}  // namespace
