// The deformer command: wiring the original geometry through the deformer into each shape, component
// subsets, and refusals that create nothing; pointPosition reading a shape's points.
#include "graph/DeformerAccess.h"
#include "graph/Scene.h"

#include <host/Host.h>
#include <maya/MCommandResult.h>
#include <maya/MDoubleArray.h>
#include <maya/MPlug.h>
#include <maya/MPxDeformerNode.h>
#include <maya/MStringArray.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Deforms nothing: the output is the input copy.
struct PassThrough : MPxDeformerNode {
    static void* creator() { return new PassThrough; }
    static MStatus initialize() { return MStatus::kSuccess; }
};

class DeformerCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host::registerType("testPassThrough", MTypeId(0x7f0d4), PassThrough::creator, PassThrough::initialize,
                           MPxNode::kDeformerNode, MFn::kPluginDeformerNode, "");
    }
    void SetUp() override { host::newScene(); }
    void TearDown() override { host::newScene(); }

    static std::string sourceOf(const std::string& plug) {
        const host::Connection* c = host::incomingConnection(host::plugFromName(plug));
        return c ? c->src.name().asChar() : "";
    }
    static std::vector<double> position(const std::string& point) {
        MCommandResult result;
        EXPECT_EQ(host::execute("pointPosition " + point, &result), MStatus::kSuccess);
        MDoubleArray xyz;
        result.getResult(xyz);
        return std::vector<double>(xyz.hostVector().begin(), xyz.hostVector().end());
    }
    static const std::vector<int>* membership(const std::string& deformer, unsigned k) {
        auto node = host::findNode(deformer);
        return host::DeformerAccess::membership(*static_cast<MPxDeformerNode*>(node->px), k);
    }
};

TEST_F(DeformerCommand, WiresEachShapeThroughTheDeformer) {
    MCommandResult result;
    ASSERT_EQ(host::execute("polyPlane -sx 1 -sy 1 -n a; curve -d 1 -p 0 0 0 -p 1 2 3 -n c"), MStatus::kSuccess);
    ASSERT_EQ(host::execute("nurbsPlane -n s; deformer -type testPassThrough a c s.cv[0:1][2] s.cv[3][0]", &result),
              MStatus::kSuccess);
    MStringArray names;
    result.getResult(names);
    ASSERT_EQ(names.length(), 1u);
    EXPECT_EQ(std::string(names[0].asChar()), "testPassThrough1");
    EXPECT_EQ(sourceOf("testPassThrough1.input[0].inputGeom"), "aShapeOrig.outMesh");
    EXPECT_EQ(sourceOf("aShape.inMesh"), "testPassThrough1.outputGeom[0]");
    EXPECT_EQ(sourceOf("testPassThrough1.input[1].inputGeom"), "cOrig.local");
    EXPECT_EQ(sourceOf("sShape.create"), "testPassThrough1.outputGeom[2]");
    EXPECT_EQ(membership("testPassThrough1", 0), nullptr);
    ASSERT_NE(membership("testPassThrough1", 2), nullptr);
    EXPECT_EQ(*membership("testPassThrough1", 2), (std::vector<int>{0, 2, 1, 2, 3, 0}));
    // The shapes show the deformer's output: here their own geometry.
    EXPECT_EQ(position("c.cv[1]"), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(position("a.vtx[3]"), position("aShapeOrig.vtx[3]"));
}

TEST_F(DeformerCommand, AConnectedShapeInputIsHandedToTheDeformer) {
    ASSERT_EQ(host::execute("curve -d 1 -p 0 0 0 -p 1 0 0 -n src; curve -d 1 -p 0 0 0 -p 5 0 0 -n dst;"
                            "connectAttr src.local dst.create; deformer -type testPassThrough -n d dst"),
              MStatus::kSuccess);
    EXPECT_EQ(sourceOf("d.input[0].inputGeom"), "src.local");
    EXPECT_EQ(sourceOf("dst.create"), "d.outputGeom[0]");
    EXPECT_EQ(host::findNode("dstOrig"), nullptr);
    EXPECT_EQ(position("dst.cv[1]"), (std::vector<double>{1, 0, 0}));
}

TEST_F(DeformerCommand, RefusalsCreateNothing) {
    ASSERT_EQ(host::execute("polyPlane -sx 1 -sy 1 -n a; createNode time -n t"), MStatus::kSuccess);
    const size_t before = host::sceneNodes().size();
    for (const char* bad : {"deformer a", "deformer -type time a", "deformer -type noSuchType a",
                            "deformer -type testPassThrough", "deformer -type testPassThrough nothing",
                            "deformer -type testPassThrough t", "deformer -type testPassThrough a.cv[1]",
                            "deformer -type testPassThrough a.vtx[1][2]", "deformer -type testPassThrough a.vtx[3:1]",
                            "deformer -type testPassThrough a.vtx[x]", "deformer -type testPassThrough a.vtx[0:99999999]"})
        EXPECT_EQ(host::execute(bad), MStatus::kFailure) << bad;
    EXPECT_EQ(host::sceneNodes().size(), before);
    for (const char* bad : {"pointPosition a", "pointPosition a.vtx[4]", "pointPosition a.vtx[0:1]"})
        EXPECT_EQ(host::execute(bad), MStatus::kFailure) << bad;
}

}  // namespace
