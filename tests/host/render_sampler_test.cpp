#include "render_test_support.h"

#include <cmath>

using namespace render_test;

namespace {

class RenderSampler : public RenderTest {
protected:
    // SG -> lambert1 (colour 0.2 0.4 0.6, transparency 0.1 0.2 0.3).
    void makeShadingGroup() {
        make("shadingEngine", "SG");
        make("lambert", "lambert1");
        connect("lambert1.outColor", "SG.surfaceShader");
        set3("lambert1.color", 0.2, 0.4, 0.6);
        set3("lambert1.transparency", 0.1, 0.2, 0.3);
    }
};

TEST_F(RenderSampler, ShadingGroupGivesItsShadersColourAndTransparency) {
    makeShadingGroup();
    Result r = sample("SG", 3);
    ASSERT_EQ(r.status, MStatus::kSuccess);
    ASSERT_EQ(r.colors.length(), 3u);
    ASSERT_EQ(r.transparencies.length(), 3u);
    for (unsigned i = 0; i < 3; ++i) {
        EXPECT_TRUE(near3(r.colors[i], 0.2f, 0.4f, 0.6f));
        EXPECT_TRUE(near3(r.transparencies[i], 0.1f, 0.2f, 0.3f));
    }

    // A group with nothing connected gives its stored value and no transparency.
    make("shadingEngine", "emptySG");
    set3("emptySG.surfaceShader", 0.7, 0.0, 0.1);
    r = sample("emptySG", 1);
    ASSERT_EQ(r.status, MStatus::kSuccess);
    EXPECT_TRUE(near3(r.colors[0], 0.7f, 0.0f, 0.1f));
    EXPECT_TRUE(near3(r.transparencies[0], 0.0f, 0.0f, 0.0f));
}

TEST_F(RenderSampler, PlugNamesInEveryFormPlugNameGives) {
    makeShadingGroup();
    make("ramp", "ramp1");
    set3("ramp1.startColor", 1.0, 0.0, 0.0);
    set3("ramp1.endColor", 0.0, 0.0, 1.0);
    MFloatArray v(1, 0.25f);
    Samples s;
    s.v = &v;
    for (const char* name : {"ramp1.outColor", "ramp1.oc", "SG.surfaceShader"}) {
        SCOPED_TRACE(name);
        Result r = sample(name, 1, s);
        ASSERT_EQ(r.status, MStatus::kSuccess);
        ASSERT_EQ(r.colors.length(), 1u);
    }
    EXPECT_TRUE(near3(sample("ramp1.outColor", 1, s).colors[0], 0.75f, 0.0f, 0.25f));
    EXPECT_TRUE(near3(sample("ramp1.oc", 1, s).colors[0], 0.75f, 0.0f, 0.25f));
    // One component reads as grey; a shader's outColor brings its transparency along; any other plug none.
    EXPECT_TRUE(near3(sample("ramp1.outColorB", 1, s).colors[0], 0.25f, 0.25f, 0.25f));
    Result shader = sample("lambert1.outColor", 1);
    EXPECT_TRUE(near3(shader.colors[0], 0.2f, 0.4f, 0.6f));
    EXPECT_TRUE(near3(shader.transparencies[0], 0.1f, 0.2f, 0.3f));
    EXPECT_TRUE(near3(sample("ramp1.outColor", 1, s).transparencies[0], 0.0f, 0.0f, 0.0f));

    // Element and child plugs, by the name MPlug::name() gives them.
    make("tripleShadingSwitch", "sw");
    connect("ramp1.outColor", "sw.input[3].inTriple");
    MString name = plug("sw.i[3].it").name();
    EXPECT_EQ(name, MString("sw.input[3].inTriple"));
    Result element = sample(name.asChar(), 1, s);
    ASSERT_EQ(element.status, MStatus::kSuccess);
    EXPECT_TRUE(near3(element.colors[0], 0.75f, 0.0f, 0.25f));
}

TEST_F(RenderSampler, NamesThatGiveNothingToSampleFailWithEmptyResults) {
    makeShadingGroup();
    make("tripleShadingSwitch", "sw");
    make("particle", "particle1");
    for (const char* name : {"", "nothing", "nothing.outColor", "lambert1", "lambert1.noSuchAttr", "sw.input",
                             "sw.input[0]", "sw.input[0].inShape", "SG.message", "particle1.position", "lambert1.",
                             ".outColor", "lambert1.outColor[0]"}) {
        SCOPED_TRACE(name);
        Result r;
        r.colors.append(MFloatVector(1, 1, 1));
        r.transparencies.append(MFloatVector(1, 1, 1));
        MFloatMatrix camera;
        r.status = MRenderUtil::sampleShadingNetwork(name, 2, false, false, camera, nullptr, nullptr, nullptr, nullptr,
                                                     nullptr, nullptr, nullptr, nullptr, r.colors, r.transparencies);
        EXPECT_EQ(r.status, MStatus::kFailure);
        EXPECT_EQ(r.colors.length(), 0u);
        EXPECT_EQ(r.transparencies.length(), 0u);
    }
    Result negative = sample("SG", -1);
    EXPECT_EQ(negative.status, MStatus::kFailure);
    EXPECT_EQ(negative.colors.length(), 0u);
}

TEST_F(RenderSampler, SampleCountIsAuthoritativeAndMissingDataReadsAsZero) {
    make("normalTexture", "nt");
    // NULL arrays with samples asked for: zero normals give 0.5 grey.
    Result r = sample("nt.outColor", 4);
    ASSERT_EQ(r.status, MStatus::kSuccess);
    ASSERT_EQ(r.colors.length(), 4u);
    EXPECT_TRUE(near3(r.colors[3], 0.5f, 0.5f, 0.5f));

    // Normals shorter than the count: the samples past their end see a zero normal.
    MFloatVectorArray normals;
    normals.append(MFloatVector(1, 0, 0));
    normals.append(MFloatVector(0, -1, 0));
    Samples s;
    s.normals = &normals;
    r = sample("nt.outColor", 3, s);
    ASSERT_EQ(r.colors.length(), 3u);
    EXPECT_TRUE(near3(r.colors[0], 1.0f, 0.5f, 0.5f));
    EXPECT_TRUE(near3(r.colors[1], 0.5f, 0.0f, 0.5f));
    EXPECT_TRUE(near3(r.colors[2], 0.5f, 0.5f, 0.5f));

    // Arrays longer than the count: only the count is sampled; an empty array counts as missing.
    r = sample("nt.outColor", 1, s);
    EXPECT_EQ(r.colors.length(), 1u);
    MFloatVectorArray empty;
    s.normals = &empty;
    EXPECT_EQ(sample("nt.outColor", 2, s).colors.length(), 2u);

    // No samples: success with nothing.
    r = sample("nt.outColor", 0, s);
    EXPECT_EQ(r.status, MStatus::kSuccess);
    EXPECT_EQ(r.colors.length(), 0u);
    EXPECT_EQ(r.transparencies.length(), 0u);
}

TEST_F(RenderSampler, RampRunsAlongVOrUAndClamps) {
    make("ramp", "ramp1");
    set3("ramp1.startColor", 0.0, 0.2, 1.0);
    set3("ramp1.endColor", 1.0, 0.2, 0.0);
    MFloatArray u;
    MFloatArray v;
    for (float t : {-0.5f, 0.0f, 0.5f, 1.0f, 2.0f}) {
        u.append(t);
        v.append(1.0f - t);
    }
    Samples s;
    s.u = &u;
    s.v = &v;
    Result along = sample("ramp1.outColor", 5, s);
    const float expectV[] = {1.0f, 1.0f, 0.5f, 0.0f, 0.0f};  // clamp(1 - t)
    for (unsigned i = 0; i < 5; ++i)
        EXPECT_TRUE(near3(along.colors[i], expectV[i], 0.2f, 1.0f - expectV[i])) << i;

    plug("ramp1.type").setValue(1);
    Result acrossU = sample("ramp1.outColor", 5, s);
    const float expectU[] = {0.0f, 0.0f, 0.5f, 1.0f, 1.0f};
    for (unsigned i = 0; i < 5; ++i)
        EXPECT_TRUE(near3(acrossU.colors[i], expectU[i], 0.2f, 1.0f - expectU[i])) << i;

    // One array for both u and v, as a curve's parameters come.
    s.v = &u;
    EXPECT_TRUE(near3(sample("ramp1.outColor", 5, s).colors[2], 0.5f, 0.2f, 0.5f));
}

TEST_F(RenderSampler, SolidGradientUsesReferencePointsWhereGivenAndIgnoresW) {
    make("solidGradient", "sg3d");
    set3("sg3d.scale", 0.5, 1.0, 2.0);
    set3("sg3d.offset", 0.5, 0.0, -1.0);
    MFloatPointArray points;
    points.append(MFloatPoint(0.2f, 0.3f, 0.6f, 0.0f));
    points.append(MFloatPoint(-2.0f, 2.0f, 0.75f, 1.0f));
    points.append(MFloatPoint(0.0f, 0.5f, 1.0f, 0.0f));
    Samples s;
    s.points = &points;
    Result r = sample("sg3d.outColor", 3, s);
    ASSERT_EQ(r.status, MStatus::kSuccess);
    EXPECT_TRUE(near3(r.colors[0], 0.6f, 0.3f, 0.2f));
    EXPECT_TRUE(near3(r.colors[1], 0.0f, 1.0f, 0.5f));  // clamped below and above
    EXPECT_TRUE(near3(r.colors[2], 0.5f, 0.5f, 1.0f));

    // Reference points take the place of the points; past their end the points are used.
    MFloatPointArray refs;
    refs.append(MFloatPoint(1.0f, 0.1f, 0.7f, 1.0f));
    s.refPoints = &refs;
    r = sample("sg3d.outColor", 3, s);
    EXPECT_TRUE(near3(r.colors[0], 1.0f, 0.1f, 0.4f));
    EXPECT_TRUE(near3(r.colors[1], 0.0f, 1.0f, 0.5f));
    EXPECT_TRUE(near3(r.colors[2], 0.5f, 0.5f, 1.0f));
}

TEST_F(RenderSampler, NormalTextureFollowsNormalsOrTangents) {
    make("normalTexture", "nt");
    MFloatVectorArray normals(1, MFloatVector(0, 0, 1));
    MFloatVectorArray tangents(1, MFloatVector(-1, 0, 0));
    Samples s;
    s.normals = &normals;
    s.tangentUs = &tangents;
    EXPECT_TRUE(near3(sample("nt.outColor", 1, s).colors[0], 0.5f, 0.5f, 1.0f));
    plug("nt.useTangent").setValue(true);
    EXPECT_TRUE(near3(sample("nt.outColor", 1, s).colors[0], 0.0f, 0.5f, 0.5f));
}

TEST_F(RenderSampler, ConnectionsAreWalkedPerSample) {
    makeShadingGroup();
    make("ramp", "ramp1");
    make("colorConstant", "cc");
    make("solidGradient", "sg3d");
    set3("cc.inColor", 0.0, 1.0, 0.0);
    set3("ramp1.endColor", 0.0, 0.0, 0.0);
    connect("cc.outColor", "ramp1.startColor");
    connect("ramp1.outColor", "lambert1.color");
    connect("sg3d.outColor", "lambert1.transparency");
    MFloatArray v;
    v.append(0.0f);
    v.append(0.5f);
    MFloatPointArray points;
    points.append(MFloatPoint(0.1f, 0.2f, 0.3f));
    points.append(MFloatPoint(0.4f, 0.5f, 0.6f));
    Samples s;
    s.v = &v;
    s.points = &points;
    Result r = sample("SG", 2, s);
    ASSERT_EQ(r.status, MStatus::kSuccess);
    EXPECT_TRUE(near3(r.colors[0], 0.0f, 1.0f, 0.0f));
    EXPECT_TRUE(near3(r.colors[1], 0.0f, 0.5f, 0.0f));
    EXPECT_TRUE(near3(r.transparencies[0], 0.1f, 0.2f, 0.3f));
    EXPECT_TRUE(near3(r.transparencies[1], 0.4f, 0.5f, 0.6f));

    // An input fed by a node the sampler does not know is read as a constant through the graph.
    make("transform", "xf");
    set3("xf.translate", 0.3, 0.2, 0.1);
    connect("xf.translate", "lambert1.color");
    EXPECT_TRUE(near3(sample("SG", 1).colors[0], 0.3f, 0.2f, 0.1f));
}

TEST_F(RenderSampler, SwitchIsSampledThroughItsDefault) {
    makeShadingGroup();
    make("tripleShadingSwitch", "sw");
    make("colorConstant", "red");
    make("colorConstant", "blue");
    set3("red.inColor", 1.0, 0.0, 0.0);
    set3("blue.inColor", 0.0, 0.0, 1.0);
    connect("sw.output", "lambert1.color");
    connect("red.outColor", "sw.input[0].inTriple");
    set3("sw.default", 0.3, 0.3, 0.3);
    EXPECT_TRUE(near3(sample("SG", 1).colors[0], 0.3f, 0.3f, 0.3f));
    connect("blue.outColor", "sw.default");
    EXPECT_TRUE(near3(sample("SG", 1).colors[0], 0.0f, 0.0f, 1.0f));
    connect("red.outColor", "sw.default");
    EXPECT_TRUE(near3(sample("sw.output", 1).colors[0], 1.0f, 0.0f, 0.0f));
}

TEST_F(RenderSampler, LoopsInTheNetworkEndAndResultsMayAliasInputs) {
    make("ramp", "a");
    make("ramp", "b");
    connect("a.outColor", "b.startColor");
    connect("b.outColor", "a.startColor");
    Result r = sample("a.outColor", 2);
    EXPECT_EQ(r.status, MStatus::kSuccess);
    EXPECT_EQ(r.colors.length(), 2u);

    // The normals array also receives the colours.
    make("normalTexture", "nt");
    MFloatVectorArray normals;
    normals.append(MFloatVector(1, 0, 0));
    normals.append(MFloatVector(0, 1, 0));
    MFloatVectorArray transparencies;
    MFloatMatrix camera;
    ASSERT_EQ(MRenderUtil::sampleShadingNetwork("nt.outColor", 3, false, false, camera, nullptr, nullptr, nullptr,
                                                &normals, nullptr, nullptr, nullptr, nullptr, normals, transparencies),
              MStatus::kSuccess);
    ASSERT_EQ(normals.length(), 3u);
    EXPECT_TRUE(near3(normals[0], 1.0f, 0.5f, 0.5f));
    EXPECT_TRUE(near3(normals[1], 0.5f, 1.0f, 0.5f));
    EXPECT_TRUE(near3(normals[2], 0.5f, 0.5f, 0.5f));
}

}  // namespace
