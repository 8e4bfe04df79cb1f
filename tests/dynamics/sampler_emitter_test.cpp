// samplerEmitter driven through scenes: candidate counts and the random numbers they draw, where
// particles land on meshes and NURBS surfaces with which surface coordinates, the maps, the rewiring of
// shading switches, the early exits, and bad input that must neither crash nor corrupt particles.

#include "samplerEmitter.h"

#include <host/Host.h>

#include "graph/Scene.h"
#include "render/SamplerRecord.h"

#include <maya/MFn.h>
#include <maya/MFnArrayAttrsData.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MTime.h>

#include "scene_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

using scene::doublesOf;
using scene::errorLine;
using scene::run;
using scene::vectorsOf;

class SamplerEmitterScene : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host::setMayaState(MGlobal::kBatch);
        ASSERT_EQ(host::registerType("samplerEmitter", samplerEmitter::id, samplerEmitter::creator,
                                     samplerEmitter::initialize, MPxNode::kEmitterNode, MFn::kPluginEmitterNode, ""),
                  MStatus::kSuccess);
    }
    static void TearDownTestSuite() {
        host::newScene();
        host::removeNodeType(samplerEmitter::id);
        host::setMayaState(MGlobal::kInteractive);
    }
    void SetUp() override {
        host::newScene();
        host::resetSampler();
        host::setSamplerRecording(true);
        srand48(5);
    }
    void TearDown() override { host::resetSampler(); }

    // em emits from the shape into pa, rate per second, no size scaling, no speed.
    static void build(const std::string& shapeCommand, const std::string& shape, double rate) {
        run(shapeCommand + "; createNode samplerEmitter -n em; addDynamic em " + shape +
            "; particle -n pa; connectDynamic -em em pa; setAttr em.scaleRateByObjectSize 0; setAttr em.speed 0;"
            "setAttr em.rate " + std::to_string(rate));
    }
    static void toFrame(double frame) { host::setCurrentTime(MTime(frame, MTime::uiUnit())); }

    // The particles emitted into pa since the last call (reading the emitter's output itself would
    // recompute it: taking the particles changes pa's isFull, which the output depends on).
    unsigned emitted() {
        const unsigned now = static_cast<unsigned>(vectorsOf("pa.position").size());
        const unsigned added = now - seen;
        seen = now;
        return added;
    }
    // Per-particle u and v on pa.
    static void addParentUV() {
        run("setAttr em.needParentUV 1; addAttr -ln parentU -dt doubleArray pa; setAttr pa.parentU -type doubleArray 0;"
            "addAttr -ln parentV -dt doubleArray pa; setAttr pa.parentV -type doubleArray 0");
    }
    unsigned seen = 0;
};

// The draws of one candidate and its particle, replayed from a copy of the stream.
struct Draws {
    float r1, r2, r3, r4;
    double triangle;
    double d1, r;
};

Draws replay(unsigned short seed[3]) {
    Draws d;
    d.r1 = static_cast<float>(erand48(seed));
    d.r2 = static_cast<float>(erand48(seed));
    d.r3 = static_cast<float>(erand48(seed));
    d.r4 = static_cast<float>(erand48(seed));
    d.triangle = erand48(seed);
    d.d1 = erand48(seed);
    d.r = erand48(seed);
    return d;
}

// The n-th number (from 1) of the stream seeded with seed.
double nthDraw(long seed, int n) {
    srand48(seed);
    for (int i = 1; i < n; ++i)
        drand48();
    return drand48();
}

TEST_F(SamplerEmitterScene, OneFrameAtTheFrameRateDrawsOneCandidateWithSevenNumbers) {
    // One triangle (0,0,0) (4,0,0) (0,0,-4), facing +y; rate 24 at 24 fps over one frame: N = 1.
    build("polyCreateFacet -p 0 0 0 -p 4 0 0 -p 0 0 -4 -n tri", "triShape", 24.0);
    run("seed 11");
    unsigned short stream[3] = {0, 0, 0};
    {
        // drand48's state after srand48(11): the seed in the high 32 bits, 0x330E low.
        stream[0] = 0x330E;
        stream[1] = 11;
        stream[2] = 0;
    }
    const Draws d = replay(stream);
    toFrame(1);
    ASSERT_EQ(emitted(), 1u);
    // Five numbers per candidate in compute, two per particle in emit: the next number is the eighth.
    EXPECT_EQ(drand48(), erand48(stream));

    const MVector corners[3] = {MVector(0, 0, 0), MVector(4, 0, 0), MVector(0, 0, -4)};
    const int rows[3][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}};
    const int* row = rows[d.r4 < 0.33f ? 0 : (d.r4 < 0.66f ? 1 : 2)];
    const MVector edge = corners[row[0]] * d.r1 + corners[row[1]] * (1.0f - d.r1);
    const MVector expected = corners[row[2]] * d.r2 + edge * (1.0f - d.r2);
    const MVector position = vectorsOf("pa.position")[0];
    EXPECT_NEAR(position.x, expected.x, 1e-6);
    EXPECT_NEAR(position.y, 0.0, 1e-12);
    EXPECT_NEAR(position.z, expected.z, 1e-6);
    EXPECT_EQ(vectorsOf("pa.position").size(), 1u);
}

TEST_F(SamplerEmitterScene, ManyCandidatesDrawAllTheirNumbersBeforeAnyParticle) {
    // 70 candidates on one triangle: five numbers each, in candidate order, then two per particle.
    build("polyCreateFacet -p 0 0 0 -p 4 0 0 -p 0 0 -4 -n tri", "triShape", 24.0 * 70);
    run("seed 3");
    unsigned short stream[3] = {0x330E, 3, 0};
    float r[70][4];
    for (auto& candidate : r) {
        for (float& value : candidate) value = static_cast<float>(erand48(stream));
        erand48(stream);  // the triangle
    }
    for (int i = 0; i < 2 * 70; ++i) erand48(stream);
    toFrame(1);
    ASSERT_EQ(emitted(), 70u);
    EXPECT_EQ(drand48(), erand48(stream));

    const MVector corners[3] = {MVector(0, 0, 0), MVector(4, 0, 0), MVector(0, 0, -4)};
    const int rows[3][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}};
    const std::vector<MVector> positions = vectorsOf("pa.position");
    for (int i = 0; i < 70; ++i) {
        const int* row = rows[r[i][3] < 0.33f ? 0 : (r[i][3] < 0.66f ? 1 : 2)];
        const MVector edge = corners[row[0]] * r[i][0] + corners[row[1]] * (1.0f - r[i][0]);
        const MVector expected = corners[row[2]] * r[i][1] + edge * (1.0f - r[i][1]);
        EXPECT_NEAR(positions[static_cast<size_t>(i)].x, expected.x, 1e-6) << i;
        EXPECT_NEAR(positions[static_cast<size_t>(i)].z, expected.z, 1e-6) << i;
    }
}

TEST_F(SamplerEmitterScene, EarlyExitsGiveAnEmptyCleanOutput) {
    build("polyPlane -w 2 -h 2 -sx 1 -sy 1 -n pl", "plShape", 240.0);
    run("setAttr pa.startTime 2");
    toFrame(2);  // currentTime equal to startTime
    EXPECT_EQ(emitted(), 0u);
    toFrame(3);
    EXPECT_EQ(emitted(), 10u);  // the step since frame 2: time bookkeeping went on at frame 2

    run("setAttr em.rate 0.99");
    toFrame(4);
    EXPECT_EQ(emitted(), 0u);
    run("setAttr em.rate 1.0; currentUnit -time show");
    toFrame(10);  // 1 per second over 2/48 s: N below 1 still draws one candidate
    EXPECT_EQ(emitted(), 1u);
    run("currentUnit -time film");

    // An output element without an isFull element counts as full.
    run("particle -n pb; connectAttr em.output[1] pb.newParticles[0]");
    toFrame(200);
    EXPECT_EQ(vectorsOf("pb.position").size(), 0u);
}

TEST_F(SamplerEmitterScene, SecondElementAtTheSameTimeGetsNothing) {
    build("polyPlane -w 2 -h 2 -sx 1 -sy 1 -n pl", "plShape", 240.0);
    run("particle -n pb; connectDynamic -em em pb");
    toFrame(1);
    EXPECT_EQ(vectorsOf("pa.position").size(), 10u);
    EXPECT_EQ(vectorsOf("pb.position").size(), 0u);
}

TEST_F(SamplerEmitterScene, SizeScalingFollowsTheMeshArea) {
    build("polyPlane -w 1 -h 1 -sx 1 -sy 1 -n small; polyPlane -w 2 -h 1 -sx 1 -sy 1 -n large", "smallShape", 2400.0);
    run("setAttr em.scaleRateByObjectSize 1");
    toFrame(1);
    const unsigned small = emitted();
    run("connectAttr -f largeShape.worldMesh[0] geoConnector1.localGeometry");
    toFrame(2);
    const unsigned large = emitted();
    EXPECT_NEAR(small, 100u, 1u);
    EXPECT_NEAR(large, 200u, 1u);
}

TEST_F(SamplerEmitterScene, MeshCoordinatesFollowTheFanTrianglesOfEachPolygon) {
    // A 2 x 2 plane of quads in x, z in [-1, 1]: Maya's layout gives u = (x + 1) / 2, v = (1 - z) / 2.
    build("polyPlane -w 2 -h 2 -sx 2 -sy 2 -n pl", "plShape", 2400.0);
    addParentUV();
    toFrame(1);
    const std::vector<MVector> positions = vectorsOf("pa.position");
    const std::vector<double> us = doublesOf("pa.parentU");
    const std::vector<double> vs = doublesOf("pa.parentV");
    ASSERT_EQ(positions.size(), 100u);
    ASSERT_EQ(us.size(), 100u);
    for (unsigned i = 0; i < positions.size(); ++i) {
        EXPECT_NEAR(us[i], (positions[i].x + 1.0) / 2.0, 1e-5) << i;
        EXPECT_NEAR(vs[i], (1.0 - positions[i].z) / 2.0, 1e-5) << i;
    }
    // Without needParentUV the output carries empty arrays: the new particles take 0.
    run("setAttr em.needParentUV 0");
    toFrame(2);
    EXPECT_EQ(doublesOf("pa.parentU").size(), 200u);
    EXPECT_EQ(doublesOf("pa.parentU")[150], 0.0);
}

TEST_F(SamplerEmitterScene, NurbsCoordinatesAreNormalisedFromTheKnotDomain) {
    build("nurbsPlane -w 2 -u 3 -v 2 -n np", "npShape", 2400.0);
    addParentUV();
    toFrame(1);
    const std::vector<double> us = doublesOf("pa.parentU");
    const std::vector<double> vs = doublesOf("pa.parentV");
    ASSERT_GT(us.size(), 50u);
    double lowest = 1.0, highest = 0.0;
    for (unsigned i = 0; i < us.size(); ++i) {
        EXPECT_GE(us[i], 0.0);
        EXPECT_LE(us[i], 1.0);
        EXPECT_GE(vs[i], 0.0);
        EXPECT_LE(vs[i], 1.0);
        lowest = std::min(lowest, us[i]);
        highest = std::max(highest, us[i]);
    }
    EXPECT_LT(lowest, 0.2);  // the whole domain, not its first span
    EXPECT_GT(highest, 0.8);
    EXPECT_EQ(minU, 0.0);
    EXPECT_EQ(maxU, 3.0);
}

TEST_F(SamplerEmitterScene, OffsetAlongTheNormalAndInheritedVelocity) {
    build("polyCreateFacet -p 0 0 0 -p 1 0 0 -p 0 0 -1 -n a; polyCreateFacet -p 0 1 0 -p 1 1 0 -p 0 1 -1 -n b",
          "aShape", 240.0);
    run("setAttr em.minDistance 0.5; setAttr em.maxDistance 0.5; setAttr pa.inheritFactor 0.5");
    toFrame(1);
    for (const MVector& p : vectorsOf("pa.position"))
        EXPECT_NEAR(p.y, 0.5, 1e-6);
    EXPECT_EQ(vectorsOf("pa.velocity")[0], MVector(0, 0, 0));  // inheritFactor of the emitter element is 0.5,
                                                                 // but the surface has not moved yet

    // The surface moves up by 1 over the next frame: each candidate inherits (0, 1, 0) per frame, scaled by
    // the particle object's inheritFactor and turned into units per second.
    run("connectAttr -f bShape.worldMesh[0] geoConnector1.localGeometry; setAttr em.minDistance 2");
    toFrame(2);
    const std::vector<MVector> velocities = vectorsOf("pa.velocity");
    ASSERT_EQ(velocities.size(), 20u);
    EXPECT_NEAR(velocities[10].y, 0.5 * 24.0, 1e-4);
    EXPECT_NEAR(vectorsOf("pa.position")[10].y, 1.0, 1e-6);  // minDistance above maxDistance: no offset

    run("setAttr pa.inheritFactor 0");
    toFrame(3);
    const std::vector<MVector> still = vectorsOf("pa.velocity");
    ASSERT_EQ(still.size(), 30u);
    for (size_t i = 20; i < still.size(); ++i)
        EXPECT_EQ(still[i], MVector(0, 0, 0));
}

TEST_F(SamplerEmitterScene, RateMapThinsByLuminanceWithOneDrawPerCandidate) {
    build("polyPlane -w 2 -h 2 -sx 1 -sy 1 -n pl", "plShape", 240.0);
    run("shadingNode -asTexture colorConstant -n rate; connectAttr rate.outColor em.rateMap;"
        "setAttr rate.inColor 0 0 0");
    run("seed 3");
    toFrame(1);
    EXPECT_EQ(emitted(), 0u);
    ASSERT_EQ(host::samplerCalls().size(), 1u);
    EXPECT_EQ(host::samplerCalls()[0].numSamples, 10);
    EXPECT_TRUE(host::samplerCalls()[0].refPointsAreThePoints);
    // 10 candidates x 5 numbers, then one number per sampled candidate.
    const double next = drand48();
    int n = 1;
    while (n < 200 && nthDraw(3, n) != next) ++n;
    EXPECT_EQ(n, 61);

    // Every candidate survives a luminance above 1, and each particle draws two more.
    run("seed 3; setAttr rate.inColor 1.5 1.5 1.5");
    toFrame(2);
    EXPECT_EQ(emitted(), 10u);
    const double after = drand48();
    n = 1;
    while (n < 200 && nthDraw(3, n) != after) ++n;
    EXPECT_EQ(n, 81);
}

TEST_F(SamplerEmitterScene, ColourMapsFollowTheKindOfTheParticleAttribute) {
    build("polyPlane -w 2 -h 2 -sx 1 -sy 1 -n pl", "plShape", 240.0);
    run("shadingNode -asTexture colorConstant -n c; setAttr c.inColor 0.2 0.4 0.6;"
        "connectAttr c.outColor em.colorMap; connectAttr c.outColor em.opacityMap; connectAttr c.outColor em.map[3];"
        "setAttr em.to[3] -type \"string\" userPP; setAttr em.to[5] -type \"string\" otherPP;"
        "addAttr -ln rgbPP -dt vectorArray pa; setAttr pa.rgbPP -type vectorArray 0;"
        "addAttr -ln opacityPP -dt doubleArray pa; setAttr pa.opacityPP -type doubleArray 0;"
        "addAttr -ln userPP -dt doubleArray pa; setAttr pa.userPP -type doubleArray 0;"
        "setAttr em.enableShadows 1; setAttr pa.particleRenderType 3");
    std::vector<int> renderTypes;
    host::setSamplerHook([&](const host::SamplerCall&) {
        int type = -1;
        host::plugByName("pa.particleRenderType").getValue(type);
        renderTypes.push_back(type);
    });
    toFrame(1);
    const std::vector<MVector> rgb = vectorsOf("pa.rgbPP");
    ASSERT_EQ(rgb.size(), 10u);
    EXPECT_NEAR(rgb[9].y, 0.4, 1e-6);
    const std::vector<double> opacity = doublesOf("pa.opacityPP");
    ASSERT_EQ(opacity.size(), 10u);
    EXPECT_NEAR(opacity[0], 0.4, 1e-6);  // luminance
    EXPECT_EQ(doublesOf("pa.userPP").size(), 10u);
    EXPECT_EQ(renderTypes, (std::vector<int>{7, 7, 7}));
    int type = -1;
    host::plugByName("pa.particleRenderType").getValue(type);
    EXPECT_EQ(type, 3);
}

TEST_F(SamplerEmitterScene, SwitchesFeedTheirDefaultFromTheEmittingShapesInput) {
    build("polyPlane -w 2 -h 2 -sx 1 -sy 1 -n pl; polyPlane -n other", "plShape", 240.0);
    run("shadingNode -asTexture colorConstant -n t1; shadingNode -asTexture colorConstant -n t2;"
        "createNode tripleShadingSwitch -n sw;"
        "setAttr sw.input[0].inTriple 1 1 1;"  // an element with no connection at all
        "connectAttr t2.outColor sw.input[1].inTriple; connectAttr otherShape.instObjGroups[0] sw.input[1].inShape;"
        "connectAttr plShape.instObjGroups[0] sw.input[2].inShape;"  // the emitting shape, no input
        "connectAttr t1.outColor sw.input[3].inTriple; connectAttr plShape.instObjGroups[0] sw.input[3].inShape");
    host::clearJournal();
    toFrame(1);
    std::vector<std::string> rewired;
    for (const std::string& command : host::journalCommands())
        if (command.rfind("connectAttr", 0) == 0)
            rewired.push_back(command);
    EXPECT_EQ(rewired, (std::vector<std::string>{"connectAttr -f t1.outColor sw.default"}));
}

TEST_F(SamplerEmitterScene, AnOutputThatFeedsNothingReportsTheParticleNode) {
    build("polyPlane -n pl", "plShape", 240.0);
    run("connectDynamic -d -em em pa");
    host::OutputCapture capture;
    EXPECT_EQ(host::evaluate("em.output[0]"), MStatus::kUnknownParameter);
    EXPECT_NE(capture.err().find("ERROR getting particle node.\n"), std::string::npos) << capture.err();
}

TEST_F(SamplerEmitterScene, BadRatesAndGeometryNeitherHangNorCorruptParticles) {
    build("polyPlane -w 2 -h 2 -sx 1 -sy 1 -n pl", "plShape", 1.0e12);
    {
        host::OutputCapture capture;
        toFrame(1);
        EXPECT_NE(capture.err().find("more than the limit of 10000000; nothing emitted.\n"), std::string::npos);
    }
    EXPECT_EQ(emitted(), 0u);
    const double infinity = std::numeric_limits<double>::infinity();
    host::plugByName("em.rate").setValue(infinity);
    toFrame(2);
    EXPECT_EQ(emitted(), 0u);
    host::plugByName("em.rate").setValue(std::nan(""));
    toFrame(3);
    EXPECT_EQ(emitted(), 0u);
    run("setAttr em.rate 240");
    host::plugByName("em.speed").setValue(std::nan(""));
    toFrame(4);
    EXPECT_EQ(emitted(), 0u);  // the particle object drops particles that are not finite
    run("setAttr em.speed 1");
    host::plugByName("em.maxDistance").setValue(infinity);
    toFrame(5);
    EXPECT_EQ(emitted(), 10u);  // an infinite distance gives no offset
    for (const MVector& p : vectorsOf("pa.position"))
        EXPECT_LE(std::fabs(p.y), 1.0);

    // A mesh whose only triangle has no area, and no UVs.
    run("polyCreateFacet -p 0 0 0 -p 0 0 0 -p 1 0 0 -n flat;"
        "connectAttr -f flatShape.worldMesh[0] geoConnector1.localGeometry");
    toFrame(6);
    EXPECT_EQ(emitted(), 10u);

    // The emitting shape disconnected or deleted mid-playback: nothing more is emitted, although the
    // connector keeps the last geometry it had.
    run("disconnectAttr flatShape.worldMesh[0] geoConnector1.localGeometry");
    toFrame(7);
    EXPECT_EQ(emitted(), 0u);
    run("connectAttr -f plShape.worldMesh[0] geoConnector1.localGeometry; delete plShape");
    toFrame(8);
    EXPECT_EQ(emitted(), 0u);
    run("delete pa");
    toFrame(9);
    EXPECT_FALSE(host::nodeByName("em").isNull());
}

}  // namespace
