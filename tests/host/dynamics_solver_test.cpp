#include "graph/Scene.h"
#include "nodes/particle.h"

#include <host/Host.h>
#include <maya/MArrayDataBuilder.h>
#include <maya/MDataBlock.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPxFieldNode.h>
#include <maya/MTime.h>

#include <gtest/gtest.h>

namespace {

// Pushes each particle with push * its mass, read from inputData[i].inputMass (one force per particle,
// or forceLength forces when that is >= 0). Records what its last compute saw.
class pushField : public MPxFieldNode {
public:
    static void* creator() { return new pushField(); }
    static MStatus initialize() {
        MFnNumericAttribute n;
        push = n.create("push", "ps", MFnNumericData::k3Double, 0.0);
        forceLength = n.create("forceLength", "fln", MFnNumericData::kLong, -1);
        for (MObject* a : {&push, &forceLength}) {
            if (!addAttribute(*a) || !attributeAffects(*a, mOutputForce))
                return MStatus::kFailure;
        }
        return MStatus::kSuccess;
    }

    MStatus compute(const MPlug& plug, MDataBlock& block) override {
        if (plug != mOutputForce || !plug.isElement())
            return MStatus::kUnknownParameter;
        ++computes;
        unsigned i = plug.logicalIndex();
        MArrayDataHandle inputs = block.inputArrayValue(mInputData);
        if (!inputs.jumpToElement(i))
            return MStatus::kFailure;
        MDataHandle in = inputs.inputValue();
        seenPositions.clear();
        MFnVectorArrayData(in.child(mInputPositions).data()).copyTo(seenPositions);
        MDoubleArray masses;
        MFnDoubleArrayData(in.child(mInputMass).data()).copyTo(masses);
        seenDeltaTime = in.child(mDeltaTime).asTime().as(MTime::kSeconds);

        double3& p = block.inputValue(push).asDouble3();
        int wanted = block.inputValue(forceLength).asInt();
        unsigned n = wanted >= 0 ? static_cast<unsigned>(wanted) : masses.length();
        MVectorArray forces(n);
        for (unsigned k = 0; k < n; ++k)
            forces[k] = MVector(p[0], p[1], p[2]) * (k < masses.length() ? masses[k] : 1.0);

        MArrayDataHandle out = block.outputArrayValue(mOutputForce);
        MArrayDataBuilder builder = out.builder();
        builder.addElement(i).set(MFnVectorArrayData().create(forces));
        out.set(builder);
        return block.setClean(plug);
    }

    static inline MObject push;
    static inline MObject forceLength;
    static inline int computes = 0;
    static inline MVectorArray seenPositions;
    static inline double seenDeltaTime = 0.0;
};

const MTypeId pushFieldId(0x7F0000F2);
const double frame = 1.0 / 24.0;

class Dynamics : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        host::removeNodeType(pushFieldId);
        ASSERT_EQ(host::registerType("pushField", pushFieldId, pushField::creator, pushField::initialize,
                                     MPxNode::kFieldNode, MFn::kPluginFieldNode, "test"),
                  MStatus::kSuccess);
        pushField::computes = 0;
    }
    void TearDown() override {
        host::newScene();
        host::removeNodeType(pushFieldId);
    }

    static void run(const std::string& text) { ASSERT_TRUE(host::execute(text)) << text; }

    static MObject particles(const char* name, const MVectorArray& p, const MVectorArray& v, double mass) {
        auto node = host::createNode("particle", name);
        EXPECT_TRUE(node);
        EXPECT_EQ(host::setParticles(MObject(node), p, v, MDoubleArray(p.length(), mass)), MStatus::kSuccess);
        return MObject(node);
    }
    static void field(const char* name, const MVector& push, int length = -1) {
        run(std::string("createNode pushField -n ") + name);
        run("setAttr " + std::string(name) + ".push " + std::to_string(push.x) + " " + std::to_string(push.y) +
            " " + std::to_string(push.z));
        run("setAttr " + std::string(name) + ".forceLength " + std::to_string(length));
    }
    static MVectorArray vectors(const std::string& plugName) {
        MObject data;
        EXPECT_EQ(host::plugByName(plugName).getValue(data), MStatus::kSuccess) << plugName;
        MVectorArray values;
        MFnVectorArrayData(data).copyTo(values);
        return values;
    }
    static void toFrame(double f) { host::setCurrentTime(MTime(f, MTime::kFilm)); }

    // Semi-implicit Euler with a constant force after n steps of h: v_n = v0 + n F h and
    // p_n = p0 + n h v0 + F h^2 n (n + 1) / 2.
    static MVector closedPosition(const MVector& p0, const MVector& v0, const MVector& force, int n, double h) {
        return p0 + v0 * (n * h) + force * (h * h * n * (n + 1) / 2.0);
    }
    static MVector closedVelocity(const MVector& v0, const MVector& force, int n, double h) {
        return v0 + force * (n * h);
    }
};

void expectNear(const MVector& actual, const MVector& expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-9) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-9) << what;
}

TEST_F(Dynamics, ConstantForceFollowsSemiImplicitEuler) {
    MVectorArray p0, v0;
    p0.append(MVector(0, 10, 0));
    p0.append(MVector(1, 2, 3));
    v0.append(MVector(2, 0, 0));
    v0.append(MVector(0, 0, -1));
    particles("particle1", p0, v0, 1.0);
    field("push1", MVector(0, -9.8, 0.5));
    run("connectDynamic -f push1 particle1");

    const MVector force(0, -9.8, 0.5);
    for (int n = 1; n <= 5; ++n) {
        toFrame(n);
        MVectorArray p = vectors("particle1.position");
        MVectorArray v = vectors("particle1.velocity");
        ASSERT_EQ(p.length(), 2u);
        ASSERT_EQ(v.length(), 2u);
        for (unsigned k = 0; k < 2; ++k) {
            expectNear(p[k], closedPosition(p0[k], v0[k], force, n, frame), "position");
            expectNear(v[k], closedVelocity(v0[k], force, n, frame), "velocity");
        }
    }
    EXPECT_EQ(pushField::computes, 5);
    EXPECT_NEAR(pushField::seenDeltaTime, frame, 1e-12);
    MTime step;
    ASSERT_EQ(host::plugByName("particle1.fieldDataDeltaTime").getValue(step), MStatus::kSuccess);
    EXPECT_NEAR(step.as(MTime::kSeconds), frame, 1e-12);

    // A step of several frames at once uses the whole interval.
    MVectorArray before = vectors("particle1.position");
    MVectorArray velocityBefore = vectors("particle1.velocity");
    toFrame(8);
    MVector v = velocityBefore[0] + force * (3 * frame);
    expectNear(vectors("particle1.position")[0], before[0] + v * (3 * frame), "three frames");
    EXPECT_NEAR(pushField::seenDeltaTime, 3 * frame, 1e-12);
}

TEST_F(Dynamics, TwoParticleObjectsOnOneFieldGetTheirOwnForces) {
    MVectorArray one, three, still;
    one.append(MVector(0, 0, 0));
    for (int k = 0; k < 3; ++k) {
        three.append(MVector(k, 5, 0));
        still.append(MVector(0, 0, 0));
    }
    particles("light", one, MVectorArray(1), 1.0);
    particles("heavy", three, still, 3.0);
    field("push1", MVector(1, 0, 0));
    run("connectDynamic -f push1 light heavy");

    for (int n = 1; n <= 3; ++n)
        toFrame(n);
    expectNear(vectors("light.position")[0], closedPosition(one[0], MVector(), MVector(1, 0, 0), 3, frame),
               "light");
    MVectorArray p = vectors("heavy.position");
    ASSERT_EQ(p.length(), 3u);
    for (unsigned k = 0; k < 3; ++k)
        expectNear(p[k], closedPosition(three[k], MVector(), MVector(3, 0, 0), 3, frame), "heavy");
    EXPECT_EQ(pushField::computes, 6);
}

TEST_F(Dynamics, TimeGoingBackOrStayingMovesNothing) {
    MVectorArray p0;
    p0.append(MVector(0, 0, 0));
    particles("particle1", p0, MVectorArray(1, MVector(1, 0, 0)), 1.0);
    field("push1", MVector(0, 1, 0));
    run("connectDynamic -f push1 particle1");
    toFrame(4);
    MVectorArray p = vectors("particle1.position");
    MVectorArray v = vectors("particle1.velocity");
    int computes = pushField::computes;

    toFrame(4);
    toFrame(2);
    toFrame(-10);
    EXPECT_EQ(vectors("particle1.position")[0], p[0]);
    EXPECT_EQ(vectors("particle1.velocity")[0], v[0]);
    EXPECT_EQ(pushField::computes, computes);
    MTime step;
    host::plugByName("particle1.deltaTime").getValue(step);
    EXPECT_NEAR(step.as(MTime::kSeconds), 4 * frame, 1e-12);
}

// Force arrays of other lengths than the particle count, forces of two fields added, stale data on an
// unconnected inputForce element ignored, and a velocity array shorter or longer than position.
TEST_F(Dynamics, ForcesAndVelocitiesOfOtherLengths) {
    MVectorArray p0;
    for (int k = 0; k < 3; ++k)
        p0.append(MVector(k, 0, 0));
    MObject node = particles("particle1", p0, MVectorArray(3), 1.0);
    field("shortPush", MVector(0, 1, 0), 2);
    field("longPush", MVector(0, 0, 1), 5);
    run("connectDynamic -f shortPush -f longPush particle1");
    MVectorArray stale(3, MVector(100, 100, 100));
    MObject staleData = MFnVectorArrayData().create(stale);
    ASSERT_EQ(MPlug(node, particleNode::inputForce).elementByLogicalIndex(7).setValue(staleData), MStatus::kSuccess);

    MVectorArray oneVelocity(1, MVector(-1, 0, 0));
    MObject velocityData = MFnVectorArrayData().create(oneVelocity);
    ASSERT_EQ(MPlug(node, particleNode::velocity).setValue(velocityData), MStatus::kSuccess);

    toFrame(1);
    MVectorArray p = vectors("particle1.position");
    MVectorArray v = vectors("particle1.velocity");
    ASSERT_EQ(p.length(), 3u);
    ASSERT_EQ(v.length(), 3u);
    expectNear(v[0], MVector(-1, frame, frame), "both forces, own velocity");
    expectNear(v[1], MVector(0, frame, frame), "both forces, missing velocity");
    expectNear(v[2], MVector(0, 0, frame), "only the long array reaches the third");
    for (unsigned k = 0; k < 3; ++k)
        expectNear(p[k], p0[k] + v[k] * frame, "position from the new velocity");

    // Velocity entries beyond the particle count are kept.
    MVectorArray fourVelocities(4, MVector(0, 0, 0));
    fourVelocities[3] = MVector(7, 7, 7);
    velocityData = MFnVectorArrayData().create(fourVelocities);
    ASSERT_EQ(MPlug(node, particleNode::velocity).setValue(velocityData), MStatus::kSuccess);
    toFrame(2);
    v = vectors("particle1.velocity");
    ASSERT_EQ(v.length(), 4u);
    EXPECT_EQ(v[3], MVector(7, 7, 7));
    expectNear(v[2], MVector(0, 0, frame), "kept entries do not shift the others");
}

// After a step the field reads the new positions, both through inputData[i] in its data block and
// through the particle object's "position"; a disconnected field stops pushing.
TEST_F(Dynamics, FieldsSeeTheIntegratedPositions) {
    MVectorArray p0;
    p0.append(MVector(0, 0, 0));
    p0.append(MVector(5, 5, 5));
    particles("particle1", p0, MVectorArray(2, MVector(0, 1, 0)), 1.0);
    field("push1", MVector(2, 0, 0));
    run("connectDynamic -f push1 particle1");

    toFrame(1);
    MVectorArray afterFirst = vectors("particle1.position");
    toFrame(2);
    ASSERT_EQ(pushField::seenPositions.length(), 2u);
    for (unsigned k = 0; k < 2; ++k)
        EXPECT_EQ(pushField::seenPositions[k], afterFirst[k]);

    MVectorArray now = vectors("particle1.position");
    MVectorArray fieldSide = vectors("push1.inputData[0].inputPositions");
    ASSERT_EQ(fieldSide.length(), 2u);
    for (unsigned k = 0; k < 2; ++k)
        EXPECT_EQ(fieldSide[k], now[k]);

    run("connectDynamic -d -f push1 particle1");
    MVectorArray v = vectors("particle1.velocity");
    toFrame(3);
    EXPECT_EQ(vectors("particle1.velocity")[0], v[0]);
    expectNear(vectors("particle1.position")[0], now[0] + v[0] * frame, "no force after -d");
}

TEST_F(Dynamics, TimeNodeFollowsTheSceneTime) {
    EXPECT_TRUE(host::sceneNodes().empty());  // a reset scene makes no node
    toFrame(5);
    std::shared_ptr<host::Node> time = host::findNode("time1");
    ASSERT_TRUE(time);
    EXPECT_EQ(time->type->name, "time");
    EXPECT_EQ(MObject(time).apiType(), MFn::kTime);
    MTime out;
    ASSERT_EQ(host::plugByName("time1.o").getValue(out), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(out.as(MTime::kFilm), 5.0);
    toFrame(7.5);
    host::plugByName("time1.outTime").getValue(out);
    EXPECT_DOUBLE_EQ(out.as(MTime::kFilm), 7.5);

    run("createNode time -n clock");
    host::plugByName("clock.outTime").getValue(out);
    EXPECT_DOUBLE_EQ(out.as(MTime::kFilm), 7.5);
    toFrame(9);
    EXPECT_EQ(host::sceneNodes().size(), 2u);

    host::newScene();
    run("createNode pushField -n push1");
    toFrame(0);  // the time stays, but the scene is not empty
    EXPECT_TRUE(host::findNode("time1"));
}

}  // namespace
