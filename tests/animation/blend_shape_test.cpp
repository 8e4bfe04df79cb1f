// nonLinearBlendShape through the loaded plug-in and the deformer command: the blend on meshes, NURBS
// surfaces, NURBS curves and lattices checked against P + sum(envelope x weight x target weight x (T - P))
// computed here from the geometries, shader weights, gathering and bad input.

#include "animation_support.h"

#include "data/LatticeData.h"
#include "data/MeshData.h"
#include "graph/Value.h"
#include "render/SamplerRecord.h"

#include <maya/MFnNurbsCurve.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MDataHandle.h>
#include <maya/MItGeometry.h>
#include <maya/MPlug.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using anim::run;
using Points = std::vector<MPoint>;

// The points of the geometry a plug holds (mesh vertices, curve or surface CVs, lattice points), in
// iterator order.
Points pointsOf(const std::string& plug) {
    MObject data;
    host::plugByName(plug).getValue(data);
    host::Value value;
    value.data = data;
    MDataHandle handle(nullptr, nullptr, &value);
    MItGeometry it(handle);
    Points out;
    for (; !it.isDone(); it.next()) out.push_back(it.position());
    return out;
}

// P + sum over targets of f_i x (T_i - P), per point.
Points blend(const Points& p, const std::vector<Points>& targets, const std::vector<double>& factors) {
    Points out = p;
    for (size_t j = 0; j < p.size(); ++j)
        for (size_t i = 0; i < targets.size(); ++i)
            if (j < targets[i].size()) out[j] += (targets[i][j] - p[j]) * factors[i];
    return out;
}

void expectNear(const Points& actual, const Points& expected, double tolerance = 1e-5) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t j = 0; j < actual.size(); ++j) {
        EXPECT_NEAR(actual[j].x, expected[j].x, tolerance) << "point " << j;
        EXPECT_NEAR(actual[j].y, expected[j].y, tolerance) << "point " << j;
        EXPECT_NEAR(actual[j].z, expected[j].z, tolerance) << "point " << j;
    }
}

class BlendShape : public anim::AnimationSuite {
protected:
    void SetUp() override {
        AnimationSuite::SetUp();
        host::resetSampler();
        host::setSamplerRecording(true);
    }
    void TearDown() override { host::resetSampler(); }

    // A plane deformed toward a wider plane (x and z doubled) and a raised copy of itself.
    void planeScene() {
        run("polyPlane -w 1 -h 1 -sx 2 -sy 2 -n base; polyPlane -w 2 -h 2 -sx 2 -sy 2 -n wide;"
            "polyPlane -w 1 -h 1 -sx 2 -sy 2 -n raised");
        original = pointsOf("baseShape.outMesh");
        // The raised target: the plane's points one unit up.
        MObject data;
        host::plugByName("raisedShape.outMesh").getValue(data);
        const host::geom::PolyMesh& mesh = host::dataAs<host::MeshData>(data)->mesh();
        std::vector<host::geom::Vec3> points = mesh.points();
        for (host::geom::Vec3& q : points) q.y += 1.0;
        MObject raised = host::makeMeshData(mesh.withPoints(points));
        host::plugByName("raisedShape.inMesh").setValue(raised);
        run("deformer -type nonLinearBlendShape -n blend base;"
            "connectAttr wideShape.outMesh blend.inputTarget[0].inputGeomTarget[0];"
            "connectAttr raisedShape.outMesh blend.inputTarget[0].inputGeomTarget[1]");
    }
    Points result() { return pointsOf("baseShape.outMesh"); }

    Points original;
};

TEST_F(BlendShape, MeshMovesByTheSumOfWeightedOffsets) {
    planeScene();
    const Points wide = pointsOf("wideShape.outMesh");
    const Points raised = pointsOf("raisedShape.outMesh");
    // Unset weights are (0, 0, 0): nothing moves, and every point is written back.
    expectNear(result(), original, 0);
    run("setAttr blend.inputWeightTarget[0] 1 1 1");
    expectNear(result(), wide);
    run("setAttr blend.inputWeightTarget[0] 1 0 0; setAttr blend.inputWeightTarget[1] 0.5 0.5 0.5");
    expectNear(result(), blend(original, {wide, raised}, {1.0 / 3.0, 0.5}));
    // Envelope and per-point weights scale, unclamped; negative colours push away.
    run("setAttr blend.envelope 2; setAttr blend.weightList[0].weights[4] 0.25;"
        "setAttr blend.inputWeightTarget[1] -1 -1 -1");
    Points expected = blend(original, {wide, raised}, {2.0 / 3.0, -2.0});
    expected[4] = blend({original[4]}, {{wide[4]}, {raised[4]}}, {0.25 * 2.0 / 3.0, -0.5})[0];
    expectNear(result(), expected);
}

TEST_F(BlendShape, EnvelopeZeroOrNotFiniteLeavesThePointsAndReportsUnknownParameter) {
    planeScene();
    run("setAttr blend.inputWeightTarget[0] 1 1 1; setAttr blend.envelope 0");
    EXPECT_EQ(host::evaluate("blend.outputGeom[0]"), MStatus::kUnknownParameter);
    expectNear(result(), original, 0);
    for (float bad : {NAN, INFINITY}) {
        host::plugByName("blend.envelope").setValue(bad);
        EXPECT_EQ(host::evaluate("blend.outputGeom[0]"), MStatus::kUnknownParameter);
        expectNear(result(), original, 0);
    }
}

TEST_F(BlendShape, NotFiniteWeightsMoveNothingAtTheirPoints) {
    planeScene();
    run("setAttr blend.inputWeightTarget[0] 1 1 1");
    host::plugByName("blend.weightList[0].weights[2]").setValue(NAN);
    Points expected = pointsOf("wideShape.outMesh");
    expected[2] = original[2];
    expectNear(result(), expected);
}

TEST_F(BlendShape, ComponentSubsetMovesOnlyTheListedVertices) {
    run("polyPlane -w 1 -h 1 -sx 2 -sy 2 -n base; polyPlane -w 2 -h 2 -sx 2 -sy 2 -n wide;"
        "deformer -type nonLinearBlendShape -n blend base.vtx[6:7] base.vtx[1];"
        "connectAttr wideShape.outMesh blend.inputTarget[0].inputGeomTarget[0];"
        "setAttr blend.inputWeightTarget[0] 1 1 1");
    const Points p = pointsOf("baseShapeOrig.outMesh");
    const Points wide = pointsOf("wideShape.outMesh");
    Points expected = p;
    for (int j : {1, 6, 7}) expected[static_cast<size_t>(j)] = wide[static_cast<size_t>(j)];
    expectNear(result(), expected);
}

TEST_F(BlendShape, TargetsOfOtherTopologyOrTypeAndRemovedTargetsAreHarmless) {
    planeScene();
    run("setAttr blend.inputWeightTarget[0] 1 1 1; setAttr blend.inputWeightTarget[1] 1 1 1");
    // A target with fewer vertices moves only the vertices it has.
    run("polyPlane -w 2 -h 2 -sx 1 -sy 1 -n small;"
        "connectAttr -f smallShape.outMesh blend.inputTarget[0].inputGeomTarget[1]");
    const Points small = pointsOf("smallShape.outMesh");
    const Points wide = pointsOf("wideShape.outMesh");
    expectNear(result(), blend(original, {wide, small}, {1.0, 1.0}));
    // A curve target pairs CV i with vertex i.
    run("curve -d 1 -p 0 5 0 -p 1 5 0 -n line; connectAttr -f line.local blend.inputTarget[0].inputGeomTarget[1]");
    const Points line = pointsOf("line.local");
    expectNear(result(), blend(original, {wide, line}, {1.0, 1.0}));
    // A surface target pairs no mesh vertex; neither does a deleted one.
    run("nurbsPlane -n sheet; connectAttr -f sheetShape.local blend.inputTarget[0].inputGeomTarget[1]");
    expectNear(result(), wide);
    run("delete sheetShape");
    expectNear(result(), wide);
    // A disconnected target keeps the geometry it last received, as any disconnected plug keeps its value.
    run("disconnectAttr wideShape.outMesh blend.inputTarget[0].inputGeomTarget[0]; delete wideShape");
    expectNear(result(), wide);
}

TEST_F(BlendShape, GapsInTargetIndicesAndGeometryWithoutTargets) {
    run("polyPlane -w 1 -h 1 -sx 1 -sy 1 -n a; polyPlane -w 1 -h 1 -sx 1 -sy 1 -n b;"
        "polyPlane -w 3 -h 3 -sx 1 -sy 1 -n far;"
        "deformer -type nonLinearBlendShape -n blend a b;"
        "connectAttr farShape.outMesh blend.inputTarget[0].inputGeomTarget[2];"
        "setAttr blend.inputWeightTarget[0] 1 1 1; setAttr blend.inputWeightTarget[2] 0.5 0.5 0.5");
    const Points p = pointsOf("aShapeOrig.outMesh");
    const Points far = pointsOf("farShape.outMesh");
    // Target 2 alone, with weight element 2: the missing target 0 and 1 read nothing twice.
    expectNear(pointsOf("aShape.outMesh"), blend(p, {far}, {0.5}));
    // b has no inputTarget element: its points stay.
    expectNear(pointsOf("bShape.outMesh"), pointsOf("bShapeOrig.outMesh"), 0);
}

TEST_F(BlendShape, ShaderWeightsAreTheLuminanceAtEachPoint) {
    planeScene();
    run("shadingNode -asTexture solidGradient -n grad; setAttr grad.offset 0.5 0.5 0.5;"
        "connectAttr grad.outColor blend.inputWeightTarget[0]");
    const Points wide = pointsOf("wideShape.outMesh");
    Points expected = original;
    for (size_t j = 0; j < original.size(); ++j) {
        auto c = [](double x) { return std::min(1.0, std::max(0.0, static_cast<double>(static_cast<float>(x)) + 0.5)); };
        double w = (c(original[j].x) + c(original[j].y) + c(original[j].z)) / 3.0;
        expected[j] += (wide[j] - original[j]) * w;
    }
    expectNear(result(), expected);
    ASSERT_EQ(host::samplerCalls().size(), 1u);
    const host::SamplerCall& call = host::samplerCalls().back();
    EXPECT_EQ(call.name, "grad.outColor");
    EXPECT_EQ(call.numSamples, 9);
    EXPECT_TRUE(call.refPointsAreThePoints);

    // A reference geometry moves the samples, not the blended positions.
    run("connectAttr wideShape.outMesh blend.textureReferenceGeom[0]");
    expected = original;
    for (size_t j = 0; j < original.size(); ++j) {
        auto c = [](double x) { return std::min(1.0, std::max(0.0, static_cast<double>(static_cast<float>(x)) + 0.5)); };
        double w = (c(wide[j].x) + c(wide[j].y) + c(wide[j].z)) / 3.0;
        expected[j] += (wide[j] - original[j]) * w;
    }
    expectNear(result(), expected);
}

TEST_F(BlendShape, SurfaceCurveAndLatticeBlendTheirControlPoints) {
    run("nurbsPlane -w 1 -u 2 -v 3 -n sheet; nurbsPlane -w 2 -u 2 -v 3 -n bigSheet;"
        "curve -d 3 -p 0 0 0 -p 1 0 0 -p 2 1 0 -p 3 0 0 -p 4 0 0 -n path;"
        "curve -d 3 -p 0 2 0 -p 1 2 1 -p 2 3 0 -p 3 2 1 -p 4 2 0 -n highPath;"
        "lattice -dv 2 3 2 -n box; lattice -dv 2 3 2 -n bigBox;"
        "deformer -type nonLinearBlendShape -n blend sheet path boxLattice;"
        "connectAttr bigSheetShape.local blend.inputTarget[0].inputGeomTarget[0];"
        "connectAttr highPath.local blend.inputTarget[1].inputGeomTarget[0];"
        "connectAttr bigBoxLatticeShape.latticeOutput blend.inputTarget[2].inputGeomTarget[0];"
        "setAttr blend.inputWeightTarget[0] 0.25 0.5 0.75; setAttr blend.envelope 0.8");
    // The big lattice: every point scaled by 3 about the origin.
    MObject data;
    host::plugByName("bigBoxLatticeShape.latticeOutput").getValue(data);
    const host::geom::Lattice& lattice = host::dataAs<host::LatticeData>(data)->lattice();
    std::vector<host::geom::Vec3> points = lattice.points();
    for (host::geom::Vec3& q : points) q *= 3.0;
    MObject big = host::makeLatticeData(host::geom::Lattice(2, 3, 2, points));
    host::plugByName("bigBoxLatticeShape.latticeInput").setValue(big);

    const double f = 0.8 * (0.25 + 0.5 + 0.75) / 3.0;
    expectNear(pointsOf("sheetShape.local"), blend(pointsOf("sheetShapeOrig.local"), {pointsOf("bigSheetShape.local")}, {f}));
    expectNear(pointsOf("path.local"), blend(pointsOf("pathOrig.local"), {pointsOf("highPath.local")}, {f}));
    const Points box = pointsOf("boxLatticeShapeOrig.latticeOutput");
    ASSERT_EQ(box.size(), 12u);
    expectNear(pointsOf("boxLatticeShape.latticeOutput"), blend(box, {pointsOf("bigBoxLatticeShape.latticeOutput")}, {f}));
}

// Texture coordinates the sampler receives for curve CVs: knot averages over the domain end for open
// and closed curves (fewer knots for lower degrees), CV index over the domain end for periodic ones.
std::vector<float> curveU(const std::string& curveCommand) {
    host::resetSampler();
    host::setSamplerRecording(true);
    run(curveCommand + "; shadingNode -asTexture solidGradient -n grad;"
        "deformer -type nonLinearBlendShape -n blend c; connectAttr c.local blend.inputTarget[0].inputGeomTarget[0];"
        "connectAttr grad.outColor blend.inputWeightTarget[0]");
    host::evaluate("blend.outputGeom[0]");
    std::vector<float> u;
    if (host::samplerCalls().empty()) return u;
    const host::SamplerCall& call = host::samplerCalls().back();
    EXPECT_TRUE(call.vCoordsAreTheUCoords || call.vValues.length() == call.uValues.length());
    for (unsigned i = 0; i < call.uValues.length(); ++i) u.push_back(call.uValues[i]);
    EXPECT_EQ(call.pointValues.length(), call.uValues.length());
    return u;
}

TEST_F(BlendShape, CurveTextureCoordinatesByForm) {
    // Open, degree 3, knots 0 0 0 1 2 3 3 3 over domain 0..3.
    std::vector<float> u = curveU("curve -d 3 -p 0 0 0 -p 1 0 0 -p 2 1 0 -p 3 0 0 -p 4 0 0 -p 5 1 0 -n c");
    std::vector<float> expected = {0.0f, 1.0f / 9.0f, 1.0f / 3.0f, 2.0f / 3.0f, 8.0f / 9.0f, 1.0f};
    ASSERT_EQ(u.size(), expected.size());
    for (size_t i = 0; i < u.size(); ++i) EXPECT_NEAR(u[i], expected[i], 1e-6) << i;
    host::newScene();
    // Degree 1, knots 0 1 2 3: CV i gets knot i over 3.
    u = curveU("curve -d 1 -p 0 0 0 -p 1 0 0 -p 2 1 0 -p 3 0 0 -n c");
    ASSERT_EQ(u.size(), 4u);
    for (size_t i = 0; i < u.size(); ++i) EXPECT_NEAR(u[i], i / 3.0f, 1e-6) << i;
    host::newScene();
    // Periodic over 4 points: CV i over the domain end 4.
    u = curveU("curve -d 3 -per true -p 1 0 0 -p 0 1 0 -p -1 0 0 -p 0 -1 0 -p 1 0 0 -p 0 1 0 -p -1 0 0 -k -2 -k -1 -k 0 -k 1 -k 2 -k 3 -k 4 -k 5 -k 6 -n c");
    ASSERT_EQ(u.size(), 4u);
    for (size_t i = 0; i < u.size(); ++i) EXPECT_NEAR(u[i], i / 4.0f, 1e-6) << i;
}

}  // namespace
