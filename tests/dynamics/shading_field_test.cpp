// shadingField's compute and sampling passes, driven through scenes: what reaches the sampler, what
// lands in each particle attribute, the render-type switch for shadows, and the early exits.

#include "shadingField.h"

#include <host/Host.h>

#include "graph/Scene.h"
#include "render/SamplerRecord.h"

#include <maya/MDoubleArray.h>
#include <maya/MFn.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MVectorArray.h>

#include "scene_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using scene::doublesOf;
using scene::errorLine;
using scene::run;
using scene::vectorsOf;


int intOf(const std::string& plugName) {
    int value = -1;
    host::plugByName(plugName).getValue(value);
    return value;
}

// "sg1": a shading group whose lambert "m1" shows the solidGradient "t1" (colour = clamped position).
const char* gradientShader() {
    return "shadingNode -asShader lambert -n m1; sets -renderable true -noSurfaceShader true -empty -name sg1;"
           "connectAttr m1.outColor sg1.surfaceShader; shadingNode -asTexture solidGradient -n t1;"
           "connectAttr t1.outColor m1.color; connectAttr sg1.message sf.shader;";
}

class ShadingFieldScene : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host::setMayaState(MGlobal::kBatch);
        ASSERT_EQ(host::registerType("shadingField", shadingField::id, shadingField::creator,
                                     shadingField::initialize, MPxNode::kFieldNode, MFn::kPluginFieldNode, ""),
                  MStatus::kSuccess);
    }
    static void TearDownTestSuite() {
        host::newScene();
        host::removeNodeType(shadingField::id);
        host::setMayaState(MGlobal::kInteractive);
    }
    void SetUp() override {
        host::newScene();
        host::resetSampler();
        host::setSamplerRecording(true);
    }
    void TearDown() override { host::resetSampler(); }

    // sf and p1 with four particles at (0.1, 0.2, 0.3) .. (0.7, 0.8, 0.9), joined through inputData[0].
    void buildField() {
        run("createNode shadingField -n sf; createNode particle -n p1;"
            "setAttr p1.position -type vectorArray 4 0.1 0.2 0.3 0.3 0.4 0.5 0.5 0.6 0.7 0.7 0.8 0.9;"
            "connectAttr p1.fieldData sf.inputData[0];");
    }

    // A per-particle vector attribute of p1 holding count copies of (v, v, v).
    void addVectors(const std::string& name, unsigned count, double v) {
        std::string text = "addAttr -ln " + name + " -dt vectorArray p1; setAttr p1." + name +
                           " -type vectorArray " + std::to_string(count);
        for (unsigned i = 0; i < 3 * count; ++i)
            text += " " + std::to_string(v);
        run(text);
    }

    void addDoubles(const std::string& name, const std::vector<double>& values) {
        std::string text = "addAttr -ln " + name + " -dt doubleArray p1; setAttr p1." + name +
                           " -type doubleArray " + std::to_string(values.size());
        for (double value : values)
            text += " " + std::to_string(value);
        run(text);
    }

    static MStatus evaluate() { return host::evaluate("sf.outputForce[0]"); }

    // The node object behind "sf" (same binary, so its members can be inspected).
    static shadingField& field() {
        MFnDependencyNode fn(host::nodeByName("sf"));
        return *static_cast<shadingField*>(fn.userNode());
    }

    static bool scratchEmpty() {
        const shadingField& f = field();
        return f.magPPArray.length() == 0 && f.points.length() == 0 && f.refPoints.length() == 0 &&
               f.normals.length() == 0 && f.uCoords.length() == 0 && f.vCoords.length() == 0 &&
               f.tangentUs.length() == 0 && f.tangentVs.length() == 0;
    }
};


void expectVector(const MVector& actual, double x, double y, double z) {
    EXPECT_NEAR(actual.x, x, 1e-6);
    EXPECT_NEAR(actual.y, y, 1e-6);
    EXPECT_NEAR(actual.z, z, 1e-6);
}

// ---- The pass on "shader" ----------------------------------------------------------------------

TEST_F(ShadingFieldScene, WritesColourTransparencyAndLuminancePerParticle) {
    buildField();
    run(gradientShader());
    run("setAttr m1.transparency 0.25 0.5 0.75;");
    addVectors("rgbPP", 4, 0.0);
    addVectors("opacityPP", 4, 0.0);
    addDoubles("lumPP", {0, 0, 0, 0});
    run("setAttr sf.outColor -type \"string\" rgbPP; setAttr sf.outTransparency -type \"string\" opacityPP;"
        "setAttr sf.outLuminance -type \"string\" lumPP;");

    ASSERT_EQ(evaluate(), MStatus::kSuccess);

    ASSERT_EQ(host::samplerCalls().size(), 1u);
    const host::SamplerCall& call = host::samplerCalls()[0];
    EXPECT_EQ(call.name, "sg1");
    EXPECT_EQ(call.numSamples, 4);
    EXPECT_FALSE(call.useShadowMaps);
    EXPECT_FALSE(call.reuseMaps);
    EXPECT_EQ(call.points.length, 4u);
    EXPECT_TRUE(call.refPointsAreThePoints);
    EXPECT_TRUE(call.filterSizes.isNull);
    // No normal attribute, and the particles' velocities are empty: no normals rather than short ones.
    EXPECT_TRUE(call.normals.isNull);
    EXPECT_TRUE(call.uCoords.isNull);
    EXPECT_TRUE(call.vCoords.isNull);
    EXPECT_TRUE(call.tangentUs.isNull);
    EXPECT_TRUE(call.tangentVs.isNull);
    ASSERT_EQ(call.pointValues.length(), 4u);
    for (unsigned i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(call.pointValues[i].x, 0.1f + 0.2f * static_cast<float>(i));
        EXPECT_EQ(call.pointValues[i].w, 0.0f);
    }

    const std::vector<MVector> colors = vectorsOf("p1.rgbPP");
    const std::vector<MVector> transparencies = vectorsOf("p1.opacityPP");
    const std::vector<double> luminances = doublesOf("p1.lumPP");
    ASSERT_EQ(colors.size(), 4u);
    ASSERT_EQ(transparencies.size(), 4u);
    ASSERT_EQ(luminances.size(), 4u);
    for (unsigned i = 0; i < 4; ++i) {
        const double x = 0.1 + 0.2 * i;
        expectVector(colors[i], x, x + 0.1, x + 0.2);
        expectVector(transparencies[i], 0.25, 0.5, 0.75);
        EXPECT_NEAR(luminances[i], x + 0.1, 1e-6);
    }
    EXPECT_TRUE(host::isPlugClean("sf.outputForce[0]"));
    EXPECT_TRUE(scratchEmpty());
}

TEST_F(ShadingFieldScene, LuminanceIsTheMeanOfTheSampledColour) {
    buildField();
    run("shadingNode -asTexture colorConstant -n c1; setAttr c1.inColor 0.25 0.5 0.75;"
        "connectAttr c1.outColor sf.shader; setAttr sf.outLuminance -type \"string\" lumPP;");
    addDoubles("lumPP", {9, 9, 9, 9});
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    ASSERT_EQ(host::samplerCalls().size(), 1u);
    EXPECT_EQ(host::samplerCalls()[0].name, "c1.outColor");
    EXPECT_EQ(doublesOf("p1.lumPP"), std::vector<double>(4, 0.5));
}

TEST_F(ShadingFieldScene, MagnitudePPSelectsTheSampledParticles) {
    buildField();
    run(gradientShader());
    addVectors("rgbPP", 4, 9.0);
    addDoubles("selPP", {1.0, 0.2, 0.5, 0.49});
    run("setAttr sf.outColor -type \"string\" rgbPP; setAttr sf.magnitudePP -type \"string\" selPP;");

    ASSERT_EQ(evaluate(), MStatus::kSuccess);

    ASSERT_EQ(host::samplerCalls().size(), 1u);
    const host::SamplerCall& call = host::samplerCalls()[0];
    ASSERT_EQ(call.numSamples, 2);
    EXPECT_FLOAT_EQ(call.pointValues[0].x, 0.1f);
    EXPECT_FLOAT_EQ(call.pointValues[1].x, 0.5f);
    const std::vector<MVector> colors = vectorsOf("p1.rgbPP");
    ASSERT_EQ(colors.size(), 4u);
    expectVector(colors[0], 0.1, 0.2, 0.3);
    expectVector(colors[1], 9, 9, 9);
    expectVector(colors[2], 0.5, 0.6, 0.7);
    expectVector(colors[3], 9, 9, 9);
}

TEST_F(ShadingFieldScene, MagnitudePPNamingAMissingAttributeSamplesEveryParticleAndReplaces) {
    buildField();
    run(gradientShader());
    addVectors("rgbPP", 2, 9.0);
    run("setAttr sf.outColor -type \"string\" rgbPP; setAttr sf.magnitudePP -type \"string\" noSuchPP;");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    ASSERT_EQ(host::samplerCalls().size(), 1u);
    EXPECT_EQ(host::samplerCalls()[0].numSamples, 4);
    const std::vector<MVector> colors = vectorsOf("p1.rgbPP");
    ASSERT_EQ(colors.size(), 4u);
    expectVector(colors[3], 0.7, 0.8, 0.9);
}

TEST_F(ShadingFieldScene, ShaderPassNeedsANameTheParticleHasAndAConnectedShader) {
    buildField();
    run(gradientShader());
    addVectors("rgbPP", 4, 9.0);
    // Only a name the particle object lacks: nothing is sampled.
    run("setAttr sf.outColor -type \"string\" noSuchPP;");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_TRUE(host::samplerCalls().empty());

    // An existing name but nothing in "shader": still nothing sampled, and the compute succeeds.
    run("setAttr sf.outColor -type \"string\" rgbPP; disconnectAttr sg1.message sf.shader;");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_TRUE(host::samplerCalls().empty());
    EXPECT_EQ(vectorsOf("p1.rgbPP"), std::vector<MVector>(4, MVector(9, 9, 9)));
    EXPECT_TRUE(scratchEmpty());
}

// ---- Gathering the sample data -----------------------------------------------------------------

TEST_F(ShadingFieldScene, SampleDataComesFromTheUsualNamesInOrder) {
    buildField();
    run(gradientShader());
    addVectors("rgbPP", 4, 0.0);
    addVectors("samplePosPP", 4, 0.05);
    addVectors("refPosPP", 4, 0.15);
    addDoubles("normalPP", {1, 2, 3, 4});  // read as (d, d, d)
    addVectors("tangentUPP", 4, 0.5);
    addVectors("tangentVPP", 3, 0.5);  // wrong count: not passed
    addDoubles("parentU", {0.1, 0.2, 0.3, 0.4});
    addVectors("goalV", 4, 0.0);  // read as lengths
    run("setAttr p1.goalV -type vectorArray 4 3 4 0 0 0 1 0 0 0 0 0 2;"
        "setAttr sf.outColor -type \"string\" rgbPP;");

    ASSERT_EQ(evaluate(), MStatus::kSuccess);

    ASSERT_EQ(host::samplerCalls().size(), 1u);
    const host::SamplerCall& call = host::samplerCalls()[0];
    ASSERT_EQ(call.numSamples, 4);
    EXPECT_FLOAT_EQ(call.pointValues[2].x, 0.05f);
    EXPECT_FALSE(call.refPointsAreThePoints);
    ASSERT_EQ(call.refPointValues.length(), 4u);
    EXPECT_FLOAT_EQ(call.refPointValues[1].y, 0.15f);
    EXPECT_EQ(call.refPointValues[1].w, 0.0f);
    ASSERT_EQ(call.normalValues.length(), 4u);
    EXPECT_FLOAT_EQ(call.normalValues[3].z, 4.0f);
    EXPECT_EQ(call.tangentUs.length, 4u);
    EXPECT_TRUE(call.tangentVs.isNull);
    ASSERT_EQ(call.uValues.length(), 4u);
    EXPECT_FLOAT_EQ(call.uValues[1], 0.2f);
    ASSERT_EQ(call.vValues.length(), 4u);
    EXPECT_FLOAT_EQ(call.vValues[0], 5.0f);
    EXPECT_FLOAT_EQ(call.vValues[3], 2.0f);
    // The gradient reads the reference points.
    expectVector(vectorsOf("p1.rgbPP")[0], 0.15, 0.15, 0.15);
}

// Attributes added with addAttr alone hold one entry per particle, so the field writes into them at once.
TEST_F(ShadingFieldScene, AttributesAddedWithoutValuesAreWrittenOnTheFirstEvaluation) {
    buildField();
    run(gradientShader());
    run("addAttr -ln rgbPP -dt vectorArray p1; addAttr -ln lumPP -dt doubleArray p1;"
        "setAttr sf.outColor -type \"string\" rgbPP; setAttr sf.outLuminance -type \"string\" lumPP;");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    const std::vector<MVector> colors = vectorsOf("p1.rgbPP");
    ASSERT_EQ(colors.size(), 4u);
    for (unsigned i = 0; i < 4; ++i) {
        const double x = 0.1 + 0.2 * i;
        expectVector(colors[i], x, x + 0.1, x + 0.2);
    }
    const std::vector<double> luminances = doublesOf("p1.lumPP");
    ASSERT_EQ(luminances.size(), 4u);
    EXPECT_GT(luminances[3], 0.0);
}

TEST_F(ShadingFieldScene, NamedAttributesComeFirstAndEmptyOnesFallBack) {
    buildField();
    run(gradientShader());
    addVectors("rgbPP", 4, 0.0);
    addVectors("myPos", 4, 0.25);
    addVectors("myNormal", 0, 0.0);  // exists but empty: the usual names follow
    addVectors("normalPP", 4, 0.75);
    addDoubles("myU", {0.5, 0.5, 0.5, 0.5});
    addDoubles("uCoordPP", {0.9, 0.9, 0.9, 0.9});
    run("setAttr sf.outColor -type \"string\" rgbPP; setAttr sf.position -type \"string\" myPos;"
        "setAttr sf.normal -type \"string\" myNormal; setAttr sf.uCoord -type \"string\" myU;"
        "setAttr sf.refPosition -type \"string\" noSuchPP;");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    const host::SamplerCall& call = host::samplerCalls().at(0);
    EXPECT_FLOAT_EQ(call.pointValues[0].x, 0.25f);
    EXPECT_TRUE(call.refPointsAreThePoints);
    EXPECT_FLOAT_EQ(call.normalValues.length() == 4 ? call.normalValues[0].x : -1.0f, 0.75f);
    EXPECT_FLOAT_EQ(call.uValues.length() == 4 ? call.uValues[0] : -1.0f, 0.5f);
}

TEST_F(ShadingFieldScene, NormalsShorterThanThePositionsAreNotPassed) {
    buildField();
    run(gradientShader());
    addVectors("rgbPP", 4, 0.0);
    run("setAttr p1.velocity -type vectorArray 2 0 1 0 0 1 0; setAttr sf.outColor -type \"string\" rgbPP;");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    ASSERT_EQ(host::samplerCalls().size(), 1u);
    EXPECT_TRUE(host::samplerCalls()[0].normals.isNull);
    EXPECT_EQ(vectorsOf("p1.rgbPP").size(), 4u);

    // Velocities for every particle are the normals.
    run("setAttr p1.velocity -type vectorArray 4 0 1 0 0 1 0 0 1 0 0 1 0;");
    host::clearSamplerCalls();
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    ASSERT_EQ(host::samplerCalls().size(), 1u);
    EXPECT_EQ(host::samplerCalls()[0].normals.length, 4u);
    EXPECT_FLOAT_EQ(host::samplerCalls()[0].normalValues[3].y, 1.0f);
}

// ---- The "map" passes --------------------------------------------------------------------------

TEST_F(ShadingFieldScene, MapElementsAreVisitedByIndexAndSkippedWhenIncomplete) {
    buildField();
    addVectors("aPP", 4, 9.0);
    addVectors("bPP", 4, 9.0);
    addVectors("cPP", 4, 9.0);
    run("shadingNode -asTexture colorConstant -n c0; setAttr c0.inColor 0.1 0.1 0.1;"
        "shadingNode -asTexture colorConstant -n c3; setAttr c3.inColor 0.3 0.3 0.3;"
        "shadingNode -asTexture colorConstant -n c7; setAttr c7.inColor 0.7 0.7 0.7;"
        "connectAttr c7.outColor sf.map[7]; connectAttr c0.outColor sf.map[0]; connectAttr c3.outColor sf.map[3];"
        "setAttr sf.to[0] -type \"string\" aPP; setAttr sf.to[3] -type \"string\" \"\";"
        "setAttr sf.to[7] -type \"string\" cPP; setAttr sf.to[5] -type \"string\" bPP;");

    ASSERT_EQ(evaluate(), MStatus::kSuccess);

    ASSERT_EQ(host::samplerCalls().size(), 2u);
    EXPECT_EQ(host::samplerCalls()[0].name, "c0.outColor");
    EXPECT_EQ(host::samplerCalls()[1].name, "c7.outColor");
    EXPECT_EQ(host::samplerCalls()[1].numSamples, 4);
    expectVector(vectorsOf("p1.aPP")[3], 0.1, 0.1, 0.1);
    EXPECT_EQ(vectorsOf("p1.bPP"), std::vector<MVector>(4, MVector(9, 9, 9)));
    expectVector(vectorsOf("p1.cPP")[0], 0.7, 0.7, 0.7);

    // An element without a connection is skipped as well; one naming a missing attribute samples nothing.
    host::clearSamplerCalls();
    run("disconnectAttr c0.outColor sf.map[0]; setAttr sf.to[7] -type \"string\" noSuchPP;"
        "setAttr sf.to[3] -type \"string\" bPP; setAttr sf.magnitude 2;");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    ASSERT_EQ(host::samplerCalls().size(), 1u);
    EXPECT_EQ(host::samplerCalls()[0].name, "c3.outColor");
    expectVector(vectorsOf("p1.bPP")[2], 0.3, 0.3, 0.3);
}

TEST_F(ShadingFieldScene, MapPassRunsAfterTheShaderPassOnTheSameAttribute) {
    buildField();
    run(gradientShader());
    addVectors("rgbPP", 4, 9.0);
    addDoubles("selPP", {0, 1, 1, 0});
    run("shadingNode -asTexture colorConstant -n c3; setAttr c3.inColor 0.3 0.2 0.1;"
        "connectAttr c3.outColor sf.map[3]; setAttr sf.to[3] -type \"string\" rgbPP;"
        "setAttr sf.outColor -type \"string\" rgbPP; setAttr sf.magnitudePP -type \"string\" selPP;");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    ASSERT_EQ(host::samplerCalls().size(), 2u);
    EXPECT_EQ(host::samplerCalls()[0].name, "sg1");
    EXPECT_EQ(host::samplerCalls()[1].name, "c3.outColor");
    const std::vector<MVector> colors = vectorsOf("p1.rgbPP");
    ASSERT_EQ(colors.size(), 4u);
    expectVector(colors[0], 9, 9, 9);
    expectVector(colors[1], 0.3, 0.2, 0.1);
    expectVector(colors[2], 0.3, 0.2, 0.1);
    expectVector(colors[3], 9, 9, 9);
}

// ---- Shadows -----------------------------------------------------------------------------------

TEST_F(ShadingFieldScene, ShadowsSwitchTheRenderTypeToBlobbyWhileSampling) {
    buildField();
    run(gradientShader());
    addVectors("rgbPP", 4, 0.0);
    addVectors("aPP", 4, 0.0);
    run("setAttr p1.particleRenderType 3; setAttr sf.outColor -type \"string\" rgbPP;"
        "connectAttr t1.outColor sf.map[2]; setAttr sf.to[2] -type \"string\" aPP;");
    std::vector<int> seen;
    host::setSamplerHook([&seen](const host::SamplerCall&) { seen.push_back(intOf("p1.particleRenderType")); });

    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(seen, std::vector<int>({3, 3}));
    for (const host::SamplerCall& call : host::samplerCalls())
        EXPECT_FALSE(call.useShadowMaps);

    seen.clear();
    host::clearSamplerCalls();
    run("setAttr sf.enableShadows 1;");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(seen, std::vector<int>({7, 7}));
    ASSERT_EQ(host::samplerCalls().size(), 2u);
    for (const host::SamplerCall& call : host::samplerCalls())
        EXPECT_TRUE(call.useShadowMaps);
    EXPECT_EQ(intOf("p1.particleRenderType"), 3);
}

// A node that is not a particle object feeds inputData[0]: it has positions and an outColor name, but its
// "particleRenderType" is missing (reading fails) or a multi attribute (writing fails).
TEST_F(ShadingFieldScene, RenderTypeErrorsEndTheComputeWithEmptyScratchArrays) {
    run("createNode shadingField -n sf; createNode lambert -n notParticle;"
        "addAttr -ln position -dt vectorArray notParticle;"
        "setAttr notParticle.position -type vectorArray 2 0.1 0.2 0.3 0.4 0.5 0.6;"
        "addAttr -ln rgbPP -dt vectorArray notParticle; setAttr notParticle.rgbPP -type vectorArray 0;"
        "connectAttr notParticle.message sf.inputData[0];");
    run(gradientShader());
    run("setAttr sf.outColor -type \"string\" rgbPP; setAttr sf.enableShadows 1;");
    {
        host::OutputCapture capture;
        EXPECT_EQ(evaluate(), MStatus::kUnknownParameter);
        EXPECT_EQ(capture.err(), errorLine(MStatus::kFailure, " error getting particlePlug"));
    }
    EXPECT_TRUE(host::samplerCalls().empty());
    EXPECT_TRUE(scratchEmpty());

    run("addAttr -ln particleRenderType -at long -m notParticle; setAttr sf.magnitude 2;");
    {
        host::OutputCapture capture;
        EXPECT_EQ(evaluate(), MStatus::kUnknownParameter);
        EXPECT_EQ(capture.err(), errorLine(MStatus::kInvalidParameter, " error setting renderType"));
    }
    EXPECT_TRUE(host::samplerCalls().empty());
    EXPECT_TRUE(scratchEmpty());

    // Without shadows the same node is sampled, and the next compute gathers afresh: two samples, not more.
    run("setAttr sf.enableShadows 0;");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    ASSERT_EQ(host::samplerCalls().size(), 1u);
    EXPECT_EQ(host::samplerCalls()[0].numSamples, 2);
    EXPECT_EQ(vectorsOf("notParticle.rgbPP").size(), 2u);
}

// ---- Failed sampling ---------------------------------------------------------------------------

// Attributes of four entries would be merged and of other lengths replaced: a failed call leaves both kinds
// as they were instead of merging missing values or emptying them.
TEST_F(ShadingFieldScene, FailedSamplingPrintsOneLinePerCallAndKeepsTheAttributes) {
    buildField();
    run(gradientShader());
    addVectors("rgbPP", 2, 9.0);
    addVectors("opacityPP", 4, 8.0);
    addDoubles("lumPP", {7, 7, 7});
    addVectors("mapPP", 2, 6.0);
    run("setAttr sf.outColor -type \"string\" rgbPP; setAttr sf.outTransparency -type \"string\" opacityPP;"
        "setAttr sf.outLuminance -type \"string\" lumPP;"
        "connectAttr t1.outColor sf.map[1]; setAttr sf.to[1] -type \"string\" mapPP;");
    host::setSamplerFailure(true);
    host::OutputCapture capture;
    EXPECT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(capture.out(), "ERROR: Shader not sampled!\nERROR: Shader not sampled!\n");
    EXPECT_EQ(capture.err(), "");
    EXPECT_EQ(host::samplerCalls().size(), 2u);
    EXPECT_EQ(vectorsOf("p1.rgbPP"), std::vector<MVector>(2, MVector(9, 9, 9)));
    EXPECT_EQ(vectorsOf("p1.opacityPP"), std::vector<MVector>(4, MVector(8, 8, 8)));
    EXPECT_EQ(doublesOf("p1.lumPP"), std::vector<double>(3, 7.0));
    EXPECT_EQ(vectorsOf("p1.mapPP"), std::vector<MVector>(2, MVector(6, 6, 6)));

    // The same mismatched lengths are replaced once sampling works.
    host::setSamplerFailure(false);
    run("setAttr sf.magnitude 2;");
    EXPECT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(vectorsOf("p1.rgbPP").size(), 4u);
    EXPECT_EQ(doublesOf("p1.lumPP").size(), 4u);
}

TEST_F(ShadingFieldScene, SampleShaderReportsAFailedCallAndReturnsWhatCameBack) {
    buildField();
    addVectors("rgbPP", 4, 9.0);
    run("shadingNode -asTexture colorConstant -n c1; connectAttr c1.outColor sf.shader;"
        "setAttr sf.outColor -type \"string\" rgbPP;");
    host::OutputCapture capture;
    EXPECT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(capture.out(), "");

    shadingField& f = field();
    f.points.append(MFloatPoint(0, 0, 0, 0));
    EXPECT_EQ(f.sampleShader("c1.outColor").length(), 1u);
    host::setSamplerFailure(true);
    EXPECT_EQ(f.sampleShader("c1.outColor").length(), 0u);
    EXPECT_EQ(capture.out(), "ERROR: Shader not sampled!\n");
    EXPECT_TRUE(host::samplerCalls().back().refPointsAreThePoints);
    f.points.clear();
}

// ---- Exits before the passes -------------------------------------------------------------------

TEST_F(ShadingFieldScene, ZeroMagnitudeNeedsAnExistingMagnitudeAttribute) {
    buildField();
    run(gradientShader());
    addVectors("rgbPP", 4, 9.0);
    run("setAttr sf.outColor -type \"string\" rgbPP; setAttr sf.magnitude 0;");
    EXPECT_EQ(evaluate(), MStatus::kUnknownParameter);
    run("setAttr sf.magnitudePP -type \"string\" noSuchPP;");
    EXPECT_EQ(evaluate(), MStatus::kUnknownParameter);
    EXPECT_TRUE(host::samplerCalls().empty());
    EXPECT_EQ(vectorsOf("p1.rgbPP"), std::vector<MVector>(4, MVector(9, 9, 9)));

    addDoubles("selPP", {1, 1, 1, 1});
    run("setAttr sf.magnitudePP -type \"string\" selPP;");
    EXPECT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(host::samplerCalls().size(), 1u);
}

TEST_F(ShadingFieldScene, InputElementWithoutAParticleObjectFailsQuietly) {
    buildField();
    run(gradientShader());
    addVectors("rgbPP", 4, 9.0);
    run("setAttr sf.outColor -type \"string\" rgbPP;");
    host::OutputCapture capture;
    EXPECT_EQ(host::evaluate("sf.outputForce[1]"), MStatus::kUnknownParameter);
    EXPECT_TRUE(host::samplerCalls().empty());
    EXPECT_TRUE(scratchEmpty());
    EXPECT_EQ(capture.out(), "");
    // The connected element still works.
    EXPECT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(host::samplerCalls().size(), 1u);
}

// ---- Lookups -----------------------------------------------------------------------------------

TEST_F(ShadingFieldScene, AttachedShadingNodeAndTexturePlug) {
    buildField();
    run(gradientShader());
    run("shadingNode -asTexture colorConstant -n c1; connectAttr c1.outColor sf.map[4];"
        "sets -renderable true -noSurfaceShader true -empty -name sg2;");
    shadingField& f = field();
    MPlug shaderPlug = host::plugByName("sf.shader");
    MPlug mapPlug = host::plugByName("sf.map[4]");
    MPlug unconnected = host::plugByName("sf.map[5]");
    EXPECT_EQ(std::string(f.getAttachedShadingNode(shaderPlug).asChar()), "sg1");
    EXPECT_EQ(std::string(f.getAttachedShadingNode(mapPlug).asChar()), "c1.outColor");
    EXPECT_EQ(std::string(f.getAttachedShadingNode(unconnected).asChar()), "");

    const MPlug texture = f.findTexturePlug(MFnDependencyNode(host::nodeByName("sg1")));
    EXPECT_EQ(std::string(texture.name().asChar()), "t1.outColor");
    EXPECT_TRUE(f.findTexturePlug(MFnDependencyNode(host::nodeByName("sg2"))).isNull());
}

}  // namespace
