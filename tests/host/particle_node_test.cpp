#include "data/ArrayData.h"
#include "graph/Scene.h"
#include "nodes/particle.h"

#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPlug.h>

#include <gtest/gtest.h>

namespace {

class ParticleNode : public ::testing::Test {
protected:
    void SetUp() override {
        host::clearScene();
        node = makeParticle("particle1");
    }
    void TearDown() override { host::clearScene(); }

    static MObject makeParticle(const char* name) {
        MStatus status;
        auto n = host::createNode("particle", name, &status);
        EXPECT_EQ(status, MStatus::kSuccess);
        return MObject(n);
    }
    MPlug plug(const char* name) {
        MStatus status;
        MPlug p = MFnDependencyNode(node).findPlug(name, &status);
        EXPECT_EQ(status, MStatus::kSuccess) << name;
        return p;
    }
    MObject value(const char* name) {
        MObject data;
        EXPECT_EQ(plug(name).getValue(data), MStatus::kSuccess) << name;
        return data;
    }
    // Whether two data objects hold the very same elements (one shares the other's, no copy).
    template <class D>
    static bool sameElements(const MObject& a, const MObject& b) {
        auto x = host::dataAs<D>(a);
        auto y = host::dataAs<D>(b);
        return x && y && &x->elements() == &y->elements();
    }
    static MVectorArray line(unsigned n) {
        MVectorArray a;
        for (unsigned i = 0; i < n; ++i) a.append(MVector(i, 0, 0));
        return a;
    }

    MObject node;
};

TEST_F(ParticleNode, TypeAndScalarAttributes) {
    EXPECT_EQ(node.apiType(), MFn::kParticle);
    MFnDependencyNode fn(node);
    EXPECT_EQ(fn.typeName(), MString("particle"));
    EXPECT_EQ(fn.typeId(), particleNode::id);

    int renderType = -1;
    ASSERT_EQ(plug("particleRenderType").getValue(renderType), MStatus::kSuccess);
    EXPECT_EQ(renderType, 0);
    ASSERT_EQ(plug("prt").setValue(7), MStatus::kSuccess);
    plug("prt").getValue(renderType);
    EXPECT_EQ(renderType, 7);
    double inherit = -1;
    ASSERT_EQ(plug("inheritFactor").getValue(inherit), MStatus::kSuccess);
    EXPECT_EQ(inherit, 0.0);

    // Children of fieldData in the order a field's inputData takes them.
    MFnCompoundAttribute compound(particleNode::fieldData);
    ASSERT_EQ(compound.numChildren(), 4u);
    const char* order[] = {"fieldDataPosition", "fieldDataVelocity", "fieldDataMass", "fieldDataDeltaTime"};
    for (unsigned i = 0; i < 4; ++i) EXPECT_EQ(MFnAttribute(compound.child(i)).name(), MString(order[i]));
}

TEST_F(ParticleNode, NewNodeHasEmptyDataOfItsOwn) {
    MObject pos = value("position");
    MObject mass = value("mass");
    ASSERT_FALSE(pos.isNull());
    ASSERT_FALSE(mass.isNull());
    EXPECT_EQ(pos.apiType(), 580);
    EXPECT_EQ(value("velocity").apiType(), 580);
    EXPECT_EQ(mass.apiType(), 559);
    EXPECT_EQ(MFnVectorArrayData(pos).length(), 0u);
    EXPECT_EQ(host::particleCount(node), 0u);

    // Writing one node's array in place never reaches another node.
    MObject other = makeParticle("particle2");
    MObject otherPos;
    MFnDependencyNode(other).findPlug("position").getValue(otherPos);
    EXPECT_NE(otherPos, pos);
    MFnVectorArrayData(pos).set(line(2));
    EXPECT_EQ(MFnVectorArrayData(otherPos).length(), 0u);
}

TEST_F(ParticleNode, GetValueHandsOutTheStoredObjectAndSetValueStoresIt) {
    ASSERT_EQ(host::setParticles(node, line(3)), MStatus::kSuccess);
    MObject first = value("position");
    MObject second = value("pos");
    EXPECT_EQ(first, second);  // the stored data object itself
    EXPECT_EQ(MFnVectorArrayData(value("velocity")).array()[2], MVector(0, 0, 0));
    EXPECT_EQ(MFnDoubleArrayData(value("mass")).array()[2], 1.0);

    MVectorArray merged;
    ASSERT_EQ(MFnVectorArrayData(first).copyTo(merged), MStatus::kSuccess);
    merged.append(MVector(9, 9, 9));
    ASSERT_EQ(MFnVectorArrayData(first).set(merged), MStatus::kSuccess);
    ASSERT_EQ(plug("position").setValue(first), MStatus::kSuccess);
    EXPECT_EQ(value("position"), first);
    EXPECT_EQ(MFnVectorArrayData(value("position")).length(), 4u);

    int count = 0;
    ASSERT_EQ(plug("count").getValue(count), MStatus::kSuccess);
    EXPECT_EQ(count, 4);  // the write dirtied count
}

// fieldData's children carry the particle object's own arrays, not copies. Read through a plug they are
// read-only views of those arrays: what a reader writes through them reaches a copy, never the particles.
TEST_F(ParticleNode, FieldDataCarriesTheParticlesOwnDataObjects) {
    ASSERT_EQ(host::setParticles(node, line(5)), MStatus::kSuccess);
    MObject fdp = value("fieldDataPosition");
    EXPECT_TRUE(sameElements<host::VectorArrayData>(fdp, value("position")));
    EXPECT_TRUE(sameElements<host::VectorArrayData>(value("fdv"), value("velocity")));
    EXPECT_TRUE(sameElements<host::DoubleArrayData>(value("fdm"), value("mass")));
    MVectorArray through = MFnVectorArrayData(fdp).array();
    through[0] = MVector(7, 7, 7);
    EXPECT_EQ(MFnVectorArrayData(value("position")).array()[0], MVector(0, 0, 0));
    MObject masses = value("fdm");
    EXPECT_EQ(MFnDoubleArrayData(masses).set(MDoubleArray(5, 3.0)), MStatus::kSuccess);
    EXPECT_EQ(MFnDoubleArrayData(masses).array()[0], 3.0);  // the view has values of its own now
    EXPECT_EQ(MFnDoubleArrayData(value("mass")).array()[0], 1.0);
    ASSERT_EQ(plug("fdm").setValue(masses), MStatus::kSuccess);
    EXPECT_EQ(MFnDoubleArrayData(value("mass")).array()[0], 1.0);
    // Stored, a view becomes data of its own, which writes through as any attribute's data does.
    ASSERT_EQ(plug("velocity").setValue(fdp), MStatus::kSuccess);
    MFnVectorArrayData(value("velocity")).array()[1] = MVector(8, 8, 8);
    EXPECT_EQ(MFnVectorArrayData(value("velocity")).array()[1], MVector(8, 8, 8));
    EXPECT_EQ(MFnVectorArrayData(value("position")).array()[1], MVector(1, 0, 0));
    MVectorArray read;
    MFnVectorArrayData(fdp).copyTo(read);
    ASSERT_EQ(read.length(), 5u);
    EXPECT_EQ(read[4], MVector(4, 0, 0));

    // New particles reach fieldData through dirty propagation.
    ASSERT_EQ(host::setParticles(node, line(2)), MStatus::kSuccess);
    EXPECT_EQ(MFnVectorArrayData(value("fieldDataPosition")).length(), 2u);
    EXPECT_TRUE(sameElements<host::VectorArrayData>(value("fieldDataPosition"), value("position")));
}

TEST_F(ParticleNode, LengthsAreNotForcedToTheParticleCount) {
    ASSERT_EQ(host::setParticles(node, line(3)), MStatus::kSuccess);
    MObject mass = MFnDoubleArrayData().create(MDoubleArray(5, 2.0));
    ASSERT_EQ(plug("mass").setValue(mass), MStatus::kSuccess);
    EXPECT_EQ(MFnDoubleArrayData(value("mass")).length(), 5u);
    EXPECT_EQ(host::particleCount(node), 3u);
}

TEST_F(ParticleNode, SetParticlesRefusesBadInputWithoutChanges) {
    ASSERT_EQ(host::setParticles(node, line(2)), MStatus::kSuccess);
    EXPECT_EQ(host::setParticles(node, line(3), line(2), MDoubleArray(3, 1.0)), MStatus::kInvalidParameter);
    EXPECT_EQ(host::particleCount(node), 2u);
    EXPECT_EQ(host::setParticles(MObject(), line(1)), MStatus::kInvalidParameter);
    EXPECT_EQ(host::setParticles(MFnDoubleArrayData().create(), line(1)), MStatus::kInvalidParameter);
}

// User per-particle attributes: an int array is of neither per-particle kind, and an attribute with no
// value reads as a null object, distinct from zero-length data.
TEST_F(ParticleNode, UserAttributesIntArrayAndNullData) {
    MFnTypedAttribute typed;
    MFnDependencyNode fn(node);
    ASSERT_EQ(fn.addAttribute(typed.create("idPP", "idpp", MFnData::kIntArray)), MStatus::kSuccess);
    ASSERT_EQ(fn.addAttribute(typed.create("speedPP", "spp", MFnData::kDoubleArray)), MStatus::kSuccess);

    MIntArray ids(3, 1);
    MObject idData = MFnIntArrayData().create(ids);
    ASSERT_EQ(plug("idPP").setValue(idData), MStatus::kSuccess);
    MObject readIds = value("idPP");
    EXPECT_NE(readIds.apiType(), 559);
    EXPECT_NE(readIds.apiType(), 580);
    MStatus status;
    MFnDoubleArrayData asDoubles(readIds, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    MDoubleArray out(1, 3.0);
    EXPECT_NE(asDoubles.copyTo(out), MStatus::kSuccess);
    EXPECT_EQ(out.length(), 1u);

    MObject none = value("speedPP");
    EXPECT_TRUE(none.isNull());
    MFnDoubleArrayData onNull(none, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);

    MObject empty = MFnDoubleArrayData().create();
    ASSERT_EQ(plug("speedPP").setValue(empty), MStatus::kSuccess);
    MObject stored = value("speedPP");
    EXPECT_FALSE(stored.isNull());
    EXPECT_EQ(MFnDoubleArrayData(stored, &status).length(), 0u);
    EXPECT_EQ(status, MStatus::kSuccess);
}

}  // namespace
