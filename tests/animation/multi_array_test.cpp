// The multi readers and writers of renderSamplerInfo called directly, on a node type registered from the
// plug-in's own classes, and the error line that only the verbose switch lets out.

#include "animation_support.h"

#include "graph/Scene.h"
#include "render/SamplerRecord.h"

#include "renderSamplerInfo.h"
#include "verbose.h"

#include <maya/MDataBlock.h>

#include <gtest/gtest.h>

namespace {

const char* const typeName = "renderSamplerInfoClasses";

class MultiArrays : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (host::findNodeType(typeName))
            return;
        ASSERT_EQ(host::registerType(typeName, MTypeId(0x7FF50), renderSamplerInfo::creator,
                                     renderSamplerInfo::initialize, MPxNode::kDependNode,
                                     MFn::kPluginDependNode, "/test/animationClasses.so"),
                  MStatus::kSuccess);
    }
    void SetUp() override {
        host::newScene();
        node = host::createNode(typeName, "n");
        ASSERT_TRUE(node);
    }
    void TearDown() override {
        verbose = false;
        host::resetSampler();
        host::newScene();
    }

    MFloatArray readFloats(const MObject& attribute) {
        MDataBlock block(node.get());
        MArrayDataHandle handle = block.inputArrayValue(attribute);
        MFloatArray array;
        array.append(-1.0f);  // readers append to what is there
        classes.buildFloatArray(handle, array);
        return array;
    }

    std::shared_ptr<host::Node> node;
    renderSamplerInfo classes;
};

TEST_F(MultiArrays, ReadersAppendInLogicalOrderWithZeroGaps) {
    EXPECT_EQ(readFloats(renderSamplerInfo::uValue).hostVector(), (std::vector<float>{-1.0f}));
    anim::run("setAttr n.uValue[3] 0.3; setAttr n.uValue[4] 0.4; setAttr n.uValue[7] 0.7");
    EXPECT_EQ(readFloats(renderSamplerInfo::uValue).hostVector(),
              (std::vector<float>{-1.0f, 0.3f, 0.4f, 0.0f, 0.0f, 0.7f}));

    anim::run("setAttr n.normal[1] 1 2 3; setAttr n.normal[3] 4 5 6");
    MDataBlock block(node.get());
    MArrayDataHandle handle = block.inputArrayValue(renderSamplerInfo::normal);
    MFloatVectorArray vectors;
    classes.buildFloatVectorArray(handle, vectors);
    ASSERT_EQ(vectors.length(), 3u);
    EXPECT_EQ(vectors[0], MFloatVector(1, 2, 3));
    EXPECT_EQ(vectors[1], MFloatVector(0, 0, 0));
    EXPECT_EQ(vectors[2], MFloatVector(4, 5, 6));
    EXPECT_NE(handle.next(), MStatus::kSuccess) << "the reader leaves the handle after the last element";
}

TEST_F(MultiArrays, AHugeLogicalIndexCannotExhaustMemory) {
    anim::run("setAttr n.uValue[0] 0.5; setAttr n.uValue[999999999] 0.25");
    MFloatArray array = readFloats(renderSamplerInfo::uValue);
    EXPECT_EQ(array.length(), renderSamplerInfo::maxSamples);
    EXPECT_EQ(array[1], 0.5f);
    EXPECT_EQ(array[2], 0.0f);
}

TEST_F(MultiArrays, WritersFillExistingElementsByLogicalIndexAndMarkThemClean) {
    MDataBlock block(node.get());
    MArrayDataBuilder builder = block.outputArrayValue(renderSamplerInfo::resultLuminance).builder();
    for (unsigned index : {0u, 5u, 9u})
        builder.addElement(index).set(-1.0);
    MDoubleArray values;
    for (int i = 0; i < 6; ++i)
        values.append(i * 10.0);
    classes.saveDouble(block, 0, renderSamplerInfo::resultLuminance, values);
    EXPECT_EQ(anim::numbers("getAttr n.resultLuminance"), (std::vector<double>{0.0, 50.0, 0.0}));
    EXPECT_TRUE(host::isPlugClean("n.resultLuminance[5]"));

    MFloatVectorArray colors;
    colors.append(MFloatVector(0.1f, 0.2f, 0.3f));
    builder = block.outputArrayValue(renderSamplerInfo::resultColor).builder();
    builder.addElement(0);
    builder.addElement(2).set(7.0, 7.0, 7.0);
    classes.saveFloatVector(block, 0, renderSamplerInfo::resultColor, colors);
    EXPECT_EQ(anim::numbers("getAttr n.resultColor"), (std::vector<double>{0.1f, 0.2f, 0.3f, 0, 0, 0}));

    // An output with no elements gets nothing and is clean.
    MFloatVectorArray none;
    classes.saveFloatVector(block, 0, renderSamplerInfo::resultTransparency, none);
    EXPECT_TRUE(host::isPlugClean("n.resultTransparency"));
}

TEST_F(MultiArrays, SamplerFailureIsReportedOnlyWhileVerbose) {
    anim::run("shadingNode -asTexture solidGradient -n grad; connectAttr grad.outColor n.shader;"
              "setAttr n.position[0] 1 1 1");
    host::setSamplerFailure(true);
    host::OutputCapture capture;
    EXPECT_EQ(host::evaluate("n.resultColor[0]"), MStatus::kUnknownParameter);
    EXPECT_EQ(capture.err(), "");
    verbose = true;
    EXPECT_EQ(host::evaluate("n.resultColor[0]"), MStatus::kUnknownParameter);
    EXPECT_EQ(capture.err(), anim::errorLine(MStatus::kFailure, "error rendering"));
}

}  // namespace
