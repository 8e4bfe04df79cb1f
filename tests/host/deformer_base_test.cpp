// The deformer base: its attributes and affects, per-point weights, and a class derived from it but
// registered as a plain node.
#include "graph/Scene.h"

#include <maya/MDataBlock.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MPxDeformerNode.h>

#include <gtest/gtest.h>

namespace {

struct WeightProbe : MPxDeformerNode {
    static void* creator() { return new WeightProbe; }
    static MStatus initialize() { return MStatus::kSuccess; }
};

class DeformerBaseTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host::registerType("testDeformerBase", MTypeId(0x7f0d1), WeightProbe::creator, WeightProbe::initialize,
                           MPxNode::kDeformerNode, MFn::kPluginDeformerNode, "");
        host::registerType("testDeformerAsNode", MTypeId(0x7f0d2), WeightProbe::creator, WeightProbe::initialize,
                           MPxNode::kDependNode, MFn::kPluginDependNode, "");
    }
    void TearDown() override { host::clearScene(); }
};

TEST_F(DeformerBaseTest, DeformerKindHasTheBaseAttributesAndAffects) {
    auto node = host::createNode("testDeformerBase", "");
    ASSERT_TRUE(node);
    for (const char* name : {"input", "ip", "inputGeom", "groupId", "outputGeom", "envelope", "weightList", "weights"})
        EXPECT_NE(node->findAttribute(name), nullptr) << name;
    MFnDependencyNode fn(node->px->thisMObject());
    float envelope = 0;
    fn.findPlug("envelope").getValue(envelope);
    EXPECT_FLOAT_EQ(envelope, 1.0f);
    const host::Attribute* out = node->findAttribute("outputGeom");
    for (const char* name : {"input", "inputGeom", "envelope", "weights"}) {
        const auto* targets = node->affected(node->findAttribute(name));
        ASSERT_NE(targets, nullptr) << name;
        EXPECT_NE(std::find(targets->begin(), targets->end(), out), targets->end()) << name;
    }
}

TEST_F(DeformerBaseTest, RegisteredAsPlainNodeItHasNoDeformerAttributes) {
    auto node = host::createNode("testDeformerAsNode", "");
    ASSERT_TRUE(node);
    EXPECT_EQ(node->findAttribute("input"), nullptr);
    EXPECT_EQ(node->findAttribute("envelope"), nullptr);
}

TEST_F(DeformerBaseTest, WeightsAreOneWhereNoneIsSet) {
    auto node = host::createNode("testDeformerBase", "");
    MDataBlock block(node.get());
    auto* deformer = static_cast<MPxDeformerNode*>(node->px);
    EXPECT_FLOAT_EQ(deformer->weightValue(block, 0, 7), 1.0f);
    host::plugFromName(node->name + ".weightList[1].weights[7]").setValue(0.25f);
    EXPECT_FLOAT_EQ(deformer->weightValue(block, 1, 7), 0.25f);
    EXPECT_FLOAT_EQ(deformer->weightValue(block, 1, 6), 1.0f);
    EXPECT_FLOAT_EQ(deformer->weightValue(block, 0, 7), 1.0f);
}

}  // namespace
