#include "graph/Scene.h"
#include "nodes/particle.h"

#include <maya/MDataBlock.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPxFieldNode.h>

#include <gtest/gtest.h>

namespace {

// A field that computes nothing: the test reads what its inputData receives.
class inertField : public MPxFieldNode {
public:
    static void* creator() { return new inertField(); }
    static MStatus initialize() { return MStatus::kSuccess; }
};

const MTypeId inertFieldId(0x7F0000F1);

class ParticleToField : public ::testing::Test {
protected:
    void SetUp() override {
        host::clearScene();
        host::removeNodeType(inertFieldId);
        ASSERT_EQ(host::registerType("inertField", inertFieldId, inertField::creator, inertField::initialize,
                                     MPxNode::kFieldNode, MFn::kPluginFieldNode, "test"),
                  MStatus::kSuccess);
        particle = host::createNode("particle", "particle1");
        field = host::createNode("inertField", "field1");
        ASSERT_TRUE(particle && field);
    }
    void TearDown() override {
        host::clearScene();
        host::removeNodeType(inertFieldId);
    }

    std::shared_ptr<host::Node> particle;
    std::shared_ptr<host::Node> field;
};

// The field sees the particle object as the source of inputData[i], and reads the particle's own
// positions and masses from that element's children.
TEST_F(ParticleToField, InputDataChildrenCarryTheParticleData) {
    MVectorArray positions;
    positions.append(MVector(1, 2, 3));
    positions.append(MVector(4, 5, 6));
    ASSERT_EQ(host::setParticles(MObject(particle), positions), MStatus::kSuccess);

    MPlug src = MFnDependencyNode(MObject(particle)).findPlug("fieldData");
    MPlug dst = MPlug(MObject(field), MPxFieldNode::mInputData).elementByLogicalIndex(2);
    ASSERT_EQ(host::connect(src, dst, true), MStatus::kSuccess);

    MObject fieldPositions;
    ASSERT_EQ(dst.child(MPxFieldNode::mInputPositions).getValue(fieldPositions), MStatus::kSuccess);
    MVectorArray read;
    ASSERT_EQ(MFnVectorArrayData(fieldPositions).copyTo(read), MStatus::kSuccess);
    ASSERT_EQ(read.length(), 2u);
    EXPECT_EQ(read[1], MVector(4, 5, 6));

    MObject fieldMass;
    ASSERT_EQ(dst.child(MPxFieldNode::mInputMass).getValue(fieldMass), MStatus::kSuccess);
    EXPECT_EQ(MFnDoubleArrayData(fieldMass).length(), 2u);

    // New particles reach the field on its next read.
    positions.append(MVector(7, 8, 9));
    ASSERT_EQ(host::setParticles(MObject(particle), positions), MStatus::kSuccess);
    ASSERT_EQ(dst.child(MPxFieldNode::mInputPositions).getValue(fieldPositions), MStatus::kSuccess);
    EXPECT_EQ(MFnVectorArrayData(fieldPositions).length(), 3u);
}

}  // namespace
