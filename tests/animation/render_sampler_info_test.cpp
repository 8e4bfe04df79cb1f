// renderSamplerInfo through the loaded plug-in: what reaches the sampler, what the results hold, and when
// they are computed.

#include "animation_support.h"

#include "render/SamplerRecord.h"

#include <maya/MPlug.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using anim::numbers;
using anim::run;

class RenderSamplerInfo : public anim::AnimationSuite {
protected:
    void SetUp() override {
        AnimationSuite::SetUp();
        host::resetSampler();
        host::setSamplerRecording(true);
        // The gradient's colour is its sample's reference point (clamped to 0..1).
        run("createNode renderSamplerInfo -n rsi; shadingNode -asTexture solidGradient -n grad");
    }
    void TearDown() override { host::resetSampler(); }

    void connectGradient() { run("connectAttr grad.outColor rsi.shader"); }
    const host::SamplerCall& lastCall() { return host::samplerCalls().back(); }
};

std::vector<double> point3(const MFloatPoint& p) { return {p.x, p.y, p.z, p.w}; }

TEST_F(RenderSamplerInfo, WithoutAShaderNothingIsComputed) {
    run("setAttr rsi.position[0] 0.5 0.5 0.5");
    EXPECT_EQ(host::evaluate("rsi.resultColor[0]"), MStatus::kUnknownParameter);
    EXPECT_FALSE(host::isPlugClean("rsi.resultColor[0]"));
    EXPECT_FALSE(host::isPlugClean("rsi.resultLuminance"));
    EXPECT_TRUE(host::samplerCalls().empty());
    EXPECT_EQ(numbers("getAttr rsi.resultColor"), (std::vector<double>{0, 0, 0}));
}

TEST_F(RenderSamplerInfo, ResultsCarryTheirOwnOffsetsAndLuminanceIgnoresTheColourOffset) {
    connectGradient();
    run("setAttr rsi.position[0] 0.2 0.4 0.6; setAttr rsi.position[1] 0.5 0.5 0.5;"
        "setAttr rsi.resultColorOffset[0] 0.25 0.25 0.25;"
        "setAttr rsi.resultLuminanceOffset[0] 1; setAttr rsi.resultLuminanceOffset[1] 2");
    const std::vector<double> color = numbers("getAttr rsi.resultColor[0]");
    ASSERT_EQ(color.size(), 3u);
    EXPECT_EQ(color[0], static_cast<double>(0.2f + 0.25f));
    EXPECT_EQ(color[2], static_cast<double>(0.6f + 0.25f));
    // Luminance from the colour as sampled: (r + g + b) / 3 of the floats, plus the luminance offset.
    const double lum0 = (static_cast<double>(0.2f) + 0.4f + 0.6f) / 3.0 + 1.0;
    EXPECT_EQ(numbers("getAttr rsi.resultLuminance[0]"), (std::vector<double>{lum0}));
    EXPECT_DOUBLE_EQ(numbers("getAttr rsi.resultLuminance[1]")[0], 0.5 + 2.0);
    // The colour offset covers sample 0 only: sample 1 gets none.
    EXPECT_EQ(numbers("getAttr rsi.resultColor[1]"), (std::vector<double>{0.5, 0.5, 0.5}));
    // A texture output is sampled by its plug name.
    EXPECT_EQ(lastCall().name, "grad.outColor");
}

TEST_F(RenderSamplerInfo, AShadingGroupIsSampledByItsNameWithItsTransparency) {
    run("shadingNode -asShader lambert -n mat; sets -renderable true -noSurfaceShader true -empty -n sg;"
        "connectAttr mat.outColor sg.surfaceShader; connectAttr grad.outColor mat.color;"
        "setAttr mat.transparency 0.5 0.25 0; connectAttr sg.message rsi.shader;"
        "setAttr rsi.position[0] 0.1 0.2 0.3; setAttr rsi.resultTransparencyOffset[0] 0.5 0.5 0.5");
    EXPECT_EQ(numbers("getAttr rsi.resultTransparency[0]"), (std::vector<double>{1.0, 0.75, 0.5}));
    EXPECT_EQ(lastCall().name, "sg");
}

TEST_F(RenderSamplerInfo, OneRequestWritesOneResultAndMarksAllThreeClean) {
    connectGradient();
    run("setAttr rsi.position[0] 0.2 0.2 0.2");
    numbers("getAttr rsi.resultTransparency[0]");
    numbers("getAttr rsi.resultLuminance[0]");
    run("setAttr rsi.position[0] 0.8 0.8 0.8");
    const size_t calls = host::samplerCalls().size();
    EXPECT_EQ(numbers("getAttr rsi.resultColor[0]"), (std::vector<double>{0.8f, 0.8f, 0.8f}));
    EXPECT_EQ(host::samplerCalls().size(), calls + 1);
    EXPECT_TRUE(host::isPlugClean("rsi.resultLuminance[0]"));
    EXPECT_TRUE(host::isPlugClean("rsi.resultTransparency[0]"));
    // Clean but not rewritten: the luminance is still that of the earlier sample.
    EXPECT_DOUBLE_EQ(numbers("getAttr rsi.resultLuminance[0]")[0], static_cast<double>(0.2f));
    EXPECT_EQ(host::samplerCalls().size(), calls + 1);
}

TEST_F(RenderSamplerInfo, EachOffsetDirtiesOnlyItsResult) {
    connectGradient();
    run("setAttr rsi.position[0] 0.2 0.2 0.2");
    for (const char* result : {"resultColor", "resultTransparency", "resultLuminance"})
        numbers(std::string("getAttr rsi.") + result + "[0]");
    run("setAttr rsi.resultTransparencyOffset[0] 1 1 1");
    EXPECT_TRUE(host::isPlugClean("rsi.resultColor[0]"));
    EXPECT_FALSE(host::isPlugClean("rsi.resultTransparency[0]"));
    EXPECT_TRUE(host::isPlugClean("rsi.resultLuminance[0]"));
    numbers("getAttr rsi.resultTransparency[0]");
    run("setAttr rsi.resultLuminanceOffset[0] 1");
    EXPECT_TRUE(host::isPlugClean("rsi.resultColor[0]"));
    EXPECT_FALSE(host::isPlugClean("rsi.resultLuminance[0]"));
    numbers("getAttr rsi.resultLuminance[0]");
    run("setAttr rsi.forceUpdate 3");
    for (const char* result : {"resultColor", "resultTransparency", "resultLuminance"})
        EXPECT_FALSE(host::isPlugClean(std::string("rsi.") + result + "[0]")) << result;
}

TEST_F(RenderSamplerInfo, PositionsStandInForMissingOrShortReferencePoints) {
    connectGradient();
    run("setAttr rsi.position[0] 0.1 0.2 0.3; setAttr rsi.position[1] 0.4 0.5 0.6; setAttr rsi.position[2] 1 1 1");
    numbers("getAttr rsi.resultColor[0]");
    EXPECT_EQ(lastCall().numSamples, 3);
    EXPECT_FALSE(lastCall().refPoints.isNull);
    EXPECT_EQ(lastCall().refPointValues.hostVector(), lastCall().pointValues.hostVector());
    EXPECT_EQ(point3(lastCall().pointValues[0]), (std::vector<double>{0.1f, 0.2f, 0.3f, 0.0}));

    // Fewer reference points than points: replaced altogether, not padded.
    run("setAttr rsi.refPosition[0] 0.9 0.9 0.9");
    numbers("getAttr rsi.resultColor[0]");
    EXPECT_EQ(lastCall().refPointValues.hostVector(), lastCall().pointValues.hostVector());
}

TEST_F(RenderSamplerInfo, ShorterInputsArePaddedWithZerosAndEmptyOnesGoAsNull) {
    connectGradient();
    run("setAttr rsi.refPosition[0] 0.1 0.2 0.3; setAttr rsi.refPosition[1] 0.3 0.2 0.1;"
        "setAttr rsi.refPosition[2] 0.5 0.5 0.5; setAttr rsi.uValue[0] 0.25; setAttr rsi.normal[0] 0 0 1");
    numbers("getAttr rsi.resultColor[0]");
    const host::SamplerCall& call = lastCall();
    EXPECT_EQ(call.numSamples, 3);
    EXPECT_TRUE(call.points.isNull);
    EXPECT_TRUE(call.vCoords.isNull);
    EXPECT_TRUE(call.tangentUs.isNull);
    EXPECT_TRUE(call.tangentVs.isNull);
    EXPECT_EQ(call.uValues.hostVector(), (std::vector<float>{0.25f, 0.0f, 0.0f}));
    ASSERT_EQ(call.normalValues.length(), 3u);
    EXPECT_EQ(call.normalValues[2], MFloatVector(0, 0, 0));
    EXPECT_EQ(point3(call.refPointValues[2]), (std::vector<double>{0.5, 0.5, 0.5, 0.0}));

    // Points shorter than the reference points: padded with w = 0 and the reference points kept.
    run("setAttr rsi.position[0] 1 1 1");
    numbers("getAttr rsi.resultColor[0]");
    ASSERT_EQ(lastCall().pointValues.length(), 3u);
    EXPECT_EQ(point3(lastCall().pointValues[1]), (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(point3(lastCall().refPointValues[1]), (std::vector<double>{0.3f, 0.2f, 0.1f, 0.0}));
}

TEST_F(RenderSamplerInfo, SparseInputsBeginAtTheirLowestIndexAndFillGapsWithZeros) {
    connectGradient();
    run("setAttr rsi.position[5] 0.5 0.5 0.5; setAttr rsi.position[7] 0.7 0.7 0.7");
    numbers("getAttr rsi.resultColor[0]");
    const host::SamplerCall& call = lastCall();
    EXPECT_EQ(call.numSamples, 3);
    ASSERT_EQ(call.pointValues.length(), 3u);
    EXPECT_EQ(point3(call.pointValues[0]), (std::vector<double>{0.5, 0.5, 0.5, 0.0}));
    EXPECT_EQ(point3(call.pointValues[1]), (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(point3(call.pointValues[2]), (std::vector<double>{0.7f, 0.7f, 0.7f, 0.0}));
    // Doubles are rounded to the nearest float on the way in.
    run("setAttr rsi.position[0] 0.1 0.2 0.3");
    numbers("getAttr rsi.resultColor[0]");
    EXPECT_EQ(lastCall().pointValues[0].x, 0.1f);
}

TEST_F(RenderSamplerInfo, OutputsAreWrittenByLogicalIndexIntoExistingElementsOnly) {
    connectGradient();
    run("for ($i = 0; $i < 6; $i++) setAttr (\"rsi.position[\" + $i + \"]\") ($i / 10.0) 0 0;");
    // Elements 0 and 5 exist before the evaluation: each gets the sample of its own index.
    run("shadingNode -asTexture solidGradient -n sink; connectAttr rsi.resultColor[5] sink.scale");
    EXPECT_EQ(numbers("getAttr rsi.resultColor[0]"), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(numbers("getAttr -size rsi.resultColor"), (std::vector<double>{2}));
    EXPECT_EQ(numbers("getAttr rsi.resultColor[5]"), (std::vector<double>{0.5, 0, 0}));
    // An element past the samples gets zeros, also after it held a value.
    run("setAttr rsi.resultColorOffset[7] 1 1 1");
    EXPECT_EQ(numbers("getAttr rsi.resultColor[7]"), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(numbers("getAttr rsi.resultLuminance[9]"), (std::vector<double>{0}));
}

TEST_F(RenderSamplerInfo, AFailedSamplerCallWritesNothing) {
    connectGradient();
    run("setAttr rsi.position[0] 0.5 0.5 0.5");
    host::setSamplerFailure(true);
    host::OutputCapture capture;
    EXPECT_EQ(host::evaluate("rsi.resultColor[0]"), MStatus::kUnknownParameter);
    EXPECT_FALSE(host::isPlugClean("rsi.resultColor[0]"));
    EXPECT_FALSE(host::isPlugClean("rsi.resultLuminance"));
    EXPECT_EQ(capture.err(), "") << "the error line is only written while verbose is on";
    host::setSamplerFailure(false);
    EXPECT_EQ(numbers("getAttr rsi.resultColor[0]"), (std::vector<double>{0.5, 0.5, 0.5}));
}

TEST_F(RenderSamplerInfo, WithNoSamplesOneEmptyCallIsMade) {
    connectGradient();
    EXPECT_EQ(numbers("getAttr rsi.resultColor[2]"), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(lastCall().numSamples, 0);
    EXPECT_TRUE(lastCall().points.isNull);
    EXPECT_TRUE(lastCall().refPoints.isNull);
}

}  // namespace
