// nonLinearBlendShape through the loaded plug-in and the deformer command: the blend on meshes, NURBS
// surfaces, NURBS curves and lattices checked against P + sum(envelope x weight x target weight x (T - P))
// computed here from the geometries, shader weights, gathering and bad input.

#include "animation_support.h"

#include "data/LatticeData.h"
#include "data/MeshData.h"
#include "data/NurbsSurfaceData.h"
#include "graph/Value.h"
#include "render/SamplerRecord.h"

#include "nonLinearBlendShape.h"
#include "verbose.h"

#include <maya/MFnNurbsCurve.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MDataHandle.h>
#include <maya/MItGeometry.h>
#include <maya/MPlug.h>

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
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
    value.data() = data;
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

// On curves the shader samples the curve at each CV's parameter, while the blend moves the CVs.
TEST_F(BlendShape, CurveSamplesAreTheCurvePointsAtTheCVParameters) {
    run("curve -d 3 -p 0 0 0 -p 1 2 0 -p 2 -1 0 -p 3 2 0 -p 4 0 0 -n c; curve -d 3 -p 0 1 0 -p 1 3 0 -p 2 0 0 -p 3 3 0 -p 4 1 0 -n up;"
        "shadingNode -asTexture solidGradient -n grad; deformer -type nonLinearBlendShape -n blend c;"
        "connectAttr up.local blend.inputTarget[0].inputGeomTarget[0]; connectAttr grad.outColor blend.inputWeightTarget[0]");
    const Points cvs = pointsOf("cOrig.local");
    host::evaluate("blend.outputGeom[0]");
    ASSERT_FALSE(host::samplerCalls().empty());
    const host::SamplerCall& call = host::samplerCalls().back();
    ASSERT_EQ(call.pointValues.length(), cvs.size());
    MObject data;
    host::plugByName("cOrig.local").getValue(data);
    MFnNurbsCurve curve(data);
    double start = 0.0, end = 0.0;
    ASSERT_EQ(curve.getKnotDomain(start, end), MStatus::kSuccess);
    for (unsigned k = 0; k < call.pointValues.length(); ++k) {
        MPoint expected;
        curve.getPointAtParam((call.uValues[k] + start) * end, expected);
        EXPECT_NEAR(call.pointValues[k].x, expected.x, 1e-5) << k;
        EXPECT_NEAR(call.pointValues[k].y, expected.y, 1e-5) << k;
    }
    // Inside the curve those are not the CVs themselves (the curve passes below CV 1).
    EXPECT_LT(call.pointValues[1].y, cvs[1].y - 0.1);
}

// Texture coordinates the sampler receives for the CVs of a surface put into a nurbsSurface shape "s"
// (first the u, then the v of every CV, in iterator order).
std::pair<std::vector<float>, std::vector<float>> surfaceUV(host::geom::NurbsSurface surface) {
    host::resetSampler();
    host::setSamplerRecording(true);
    EXPECT_TRUE(surface.isValid()) << surface.error();
    run("createNode nurbsSurface -n s; createNode nurbsSurface -n t");
    MObject data = host::makeNurbsSurfaceData(std::move(surface));
    host::plugByName("s.create").setValue(data);
    host::plugByName("t.create").setValue(data);
    run("shadingNode -asTexture solidGradient -n grad; deformer -type nonLinearBlendShape -n blend s;"
        "connectAttr t.local blend.inputTarget[0].inputGeomTarget[0]; connectAttr grad.outColor blend.inputWeightTarget[0]");
    host::evaluate("blend.outputGeom[0]");
    std::pair<std::vector<float>, std::vector<float>> uv;
    if (host::samplerCalls().empty()) return uv;
    const host::SamplerCall& call = host::samplerCalls().back();
    uv.first.assign(call.uValues.hostVector().begin(), call.uValues.hostVector().end());
    uv.second.assign(call.vValues.hostVector().begin(), call.vValues.hostVector().end());
    EXPECT_EQ(call.normalValues.length(), call.uValues.length());
    return uv;
}

// A grid of nu x nv CVs; when closedV, the last column repeats the first (a tube closed in v).
std::vector<host::geom::Vec3> grid(int nu, int nv, bool closedV) {
    std::vector<host::geom::Vec3> cvs;
    for (int i = 0; i < nu; ++i)
        for (int j = 0; j < nv; ++j) {
            const double a = 2.0 * M_PI * (closedV && j == nv - 1 ? 0 : j) / (closedV ? nv - 1 : nv);
            cvs.push_back(closedV ? host::geom::Vec3{std::cos(a), std::sin(a), double(i)}
                                  : host::geom::Vec3{double(i), 0.1 * i * j, double(j)});
        }
    return cvs;
}

void expectCoordinates(const std::vector<float>& actual, const std::vector<float>& expected, const char* what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t k = 0; k < actual.size(); ++k) EXPECT_NEAR(actual[k], expected[k], 1e-6) << what << " " << k;
}

TEST_F(BlendShape, SurfaceTextureCoordinatesByFormAndDegree) {
    using host::geom::NurbsSurface;
    // u: open, degree 2, knots 0 0 1 2 2 over 0..2: CV i averages its two knots i, i + 1 (0, 0.5, 1.5, 2)
    // over the domain end. v: open, degree 3, knots 0 0 0 1 1 1 shifted to 1..2: the three-knot average
    // less 3 x start, over the end, clamped into 0..1 (the domain that does not start at 0 lowers it).
    NurbsSurface open(2, 3, 4, 4, grid(4, 4, false), {0, 0, 1, 2, 2}, {1, 1, 1, 2, 2, 2});
    ASSERT_EQ(open.formInU(), NurbsSurface::kOpen);
    auto uv = surfaceUV(open);
    std::vector<float> u, v;
    const float knotAverageU[4] = {0.0f, 0.25f, 0.75f, 1.0f};
    const double averageV[4] = {1.0, 4.0 / 3.0, 5.0 / 3.0, 2.0};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            u.push_back(knotAverageU[i]);
            v.push_back(static_cast<float>(std::max(0.0, (averageV[j] - 3.0) / 2.0)));
        }
    expectCoordinates(uv.first, u, "open u");
    expectCoordinates(uv.second, v, "open v");
    host::newScene();

    // Degree 1 in u (knots 0 1 2: CV i at knot i over 2); v closed, degree 3 over 7 CVs whose last
    // column repeats the first but whose knots are not periodic: the open rule, knots 0 0 0 1 2 3 4 4 4.
    NurbsSurface tube(1, 3, 3, 7, grid(3, 7, true), {0, 1, 2}, {0, 0, 0, 1, 2, 3, 4, 4, 4});
    ASSERT_EQ(tube.formInV(), NurbsSurface::kClosed);
    uv = surfaceUV(tube);
    u.clear();
    v.clear();
    const double averageTube[7] = {0.0, 1.0 / 3.0, 1.0, 2.0, 3.0, 11.0 / 3.0, 4.0};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 7; ++j) {
            u.push_back(static_cast<float>(i / 2.0));
            v.push_back(static_cast<float>(averageTube[j] / 4.0));
        }
    expectCoordinates(uv.first, u, "degree 1 u");
    expectCoordinates(uv.second, v, "closed v");
    host::newScene();

    // A sphere: open from pole to pole in u, periodic around in v over 8 sections (11 CVs, the last 3
    // repeating the first): CV j of the 8 distinct ones gets j / 11.
    run("sphere -s 8 -nsp 2 -n ball");
    MObject data;
    host::plugByName("ballShape.local").getValue(data);
    MFnNurbsSurface ball(data);
    ASSERT_EQ(ball.formInV(), MFnNurbsSurface::kPeriodic);
    ASSERT_EQ(ball.numCVsInV(), 11);
    host::resetSampler();
    host::setSamplerRecording(true);
    run("shadingNode -asTexture solidGradient -n grad; deformer -type nonLinearBlendShape -n blend ball;"
        "connectAttr grad.outColor blend.inputWeightTarget[0]");
    host::evaluate("blend.outputGeom[0]");
    // Without targets nothing is sampled: give it one, a copy of the sphere.
    run("sphere -s 8 -nsp 2 -n copy; connectAttr copyShape.local blend.inputTarget[0].inputGeomTarget[0]");
    host::evaluate("blend.outputGeom[0]");
    ASSERT_FALSE(host::samplerCalls().empty());
    const MFloatArray& vs = host::samplerCalls().back().vValues;
    ASSERT_GT(vs.length(), 0u);
    ASSERT_EQ(vs.length() % 8, 0u);
    for (unsigned k = 0; k < vs.length(); ++k) EXPECT_NEAR(vs[k], (k % 8) / 11.0f, 1e-6) << k;
}

// The error lines of the gathering, called on the plug-in's own class: only while verbose is on, each
// byte as written.
TEST_F(BlendShape, GatheringOfTheWrongComponentKindStopsWithItsErrorLine) {
    run("nurbsPlane -u 1 -v 1 -n sheet; polyPlane -sx 1 -sy 1 -n quad");
    auto iteratorOn = [](const std::string& plug, host::Value& value) {
        host::plugByName(plug).getValue(value.data());
        MDataHandle handle(nullptr, nullptr, &value);
        return std::make_unique<MItGeometry>(handle);
    };
    host::Value sheetValue, quadValue;
    std::unique_ptr<MItGeometry> sheet = iteratorOn("sheetShape.local", sheetValue);
    std::unique_ptr<MItGeometry> quad = iteratorOn("quadShape.outMesh", quadValue);
    nonLinearBlendShape node;
    MIntArray ids;
    ids.append(99);
    host::OutputCapture capture;
    EXPECT_EQ(node.getSingleComponentList(*sheet, ids), MStatus::kUnknownParameter);
    EXPECT_EQ(ids.length(), 0u);  // emptied first, the failing point adds nothing
    EXPECT_EQ(node.getTripleComponentList(*quad), MStatus::kUnknownParameter);
    EXPECT_EQ(capture.err(), "");
    verbose = true;
    EXPECT_EQ(node.getSingleComponentList(*sheet, ids), MStatus::kUnknownParameter);
    EXPECT_EQ(node.getTripleComponentList(*quad), MStatus::kUnknownParameter);
    verbose = false;
    const std::string line = anim::errorLine(MStatus::kInvalidParameter, "error getting indexed component");
    EXPECT_EQ(capture.err(), line + line);
    // The matching kinds read every point.
    EXPECT_EQ(node.getSingleComponentList(*quad, ids), MStatus::kSuccess);
    EXPECT_EQ(ids.length(), 4u);
}

}  // namespace
