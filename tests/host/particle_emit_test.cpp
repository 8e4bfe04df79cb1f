// Particle objects taking emitted particles: connectDynamic -em, appending an emitter's output arrays
// at each step, maxCount and isFull; and the host-wide settings emission depends on (currentUnit, seed).

#include "graph/Scene.h"
#include "nodes/particle.h"

#include <host/Host.h>
#include <maya/MArrayDataBuilder.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MCommandResult.h>
#include <maya/MDataBlock.h>
#include <maya/MFnArrayAttrsData.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPlugArray.h>
#include <maya/MPxEmitterNode.h>
#include <maya/MTime.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

// Emits "burst" particles per compute at (k, 0, 0) with velocity (0, 1, 0), rgbPP (k, k, k),
// opacityPP k / 10 and an array "notOnParticle"; "poison" makes particle 0's position NaN. Records the
// isFull and startTime it saw.
class burstEmitter : public MPxEmitterNode {
public:
    static void* creator() { return new burstEmitter(); }
    static MStatus initialize() {
        MFnNumericAttribute n;
        burst = n.create("burst", "bst", MFnNumericData::kLong, 3);
        poison = n.create("poison", "psn", MFnNumericData::kBoolean, 0);
        for (MObject* a : {&burst, &poison})
            if (!addAttribute(*a) || !attributeAffects(*a, mOutput))
                return MStatus::kFailure;
        return MStatus::kSuccess;
    }
    MStatus compute(const MPlug& plug, MDataBlock& block) override {
        if (plug != mOutput)
            return MStatus::kUnknownParameter;
        ++computes;
        const unsigned i = plug.logicalIndex();
        MArrayDataHandle full = block.inputArrayValue(mIsFull);
        sawFull = full.jumpToElement(i) && full.inputValue().asBool();
        MArrayDataHandle start = block.inputArrayValue(mStartTime);
        sawStart = start.jumpToElement(i) ? start.inputValue().asTime().as(MTime::kFilm) : -1.0;

        MFnArrayAttrsData fn;
        MObject data = fn.create();
        MVectorArray position = fn.vectorArray("position");
        MVectorArray velocity = fn.vectorArray("velocity");
        MVectorArray rgb = fn.vectorArray("rgbPP");
        MDoubleArray opacity = fn.doubleArray("opacityPP");
        MDoubleArray other = fn.doubleArray("notOnParticle");
        const int count = block.inputValue(burst).asInt();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (int k = 0; k < count; ++k) {
            position.append(MVector(k == 0 && block.inputValue(poison).asBool() ? nan : k, 0, 0));
            velocity.append(MVector(0, 1, 0));
            rgb.append(MVector(k, k, k));
            opacity.append(k / 10.0);
            other.append(7.0);
        }
        MArrayDataHandle out = block.outputArrayValue(mOutput);
        MArrayDataBuilder builder = out.builder();
        builder.addElement(i).set(data);
        return block.setClean(plug);
    }
    static inline MObject burst;
    static inline MObject poison;
    static inline int computes = 0;
    static inline bool sawFull = false;
    static inline double sawStart = 0.0;
};

const MTypeId burstEmitterId(0x7F0000F5);

class ParticleEmission : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        host::removeNodeType(burstEmitterId);
        ASSERT_EQ(host::registerType("burstEmitter", burstEmitterId, burstEmitter::creator, burstEmitter::initialize,
                                     MPxNode::kEmitterNode, MFn::kPluginEmitterNode, "test"),
                  MStatus::kSuccess);
        burstEmitter::computes = 0;
    }
    void TearDown() override {
        host::newScene();
        host::removeNodeType(burstEmitterId);
    }
    static void run(const std::string& text) { ASSERT_TRUE(host::execute(text)) << text; }
    static std::string sourceOf(const std::string& plugName) {
        MPlugArray sources;
        host::plugByName(plugName).connectedTo(sources, true, false);
        return sources.length() ? sources[0].name().asChar() : "";
    }
    static MVectorArray vectors(const std::string& plugName) {
        MObject data;
        host::plugByName(plugName).getValue(data);
        MVectorArray values;
        MFnVectorArrayData(data).copyTo(values);
        return values;
    }
    static MDoubleArray doubles(const std::string& plugName) {
        MObject data;
        host::plugByName(plugName).getValue(data);
        MDoubleArray values;
        MFnDoubleArrayData(data).copyTo(values);
        return values;
    }
    static void toFrame(double f) { host::setCurrentTime(MTime(f, MTime::kFilm)); }
};

TEST_F(ParticleEmission, ConnectDynamicWiresEmitterArraysAndTime) {
    run("createNode burstEmitter -n em; particle -n pa; particle -n pb; connectDynamic -em em pa pb");
    EXPECT_EQ(sourceOf("pa.newParticles[0]"), "em.output[0]");
    EXPECT_EQ(sourceOf("pb.newParticles[0]"), "em.output[1]");
    for (const char* name : {"startTime", "isFull", "inheritFactor"}) {
        EXPECT_EQ(sourceOf(std::string("em.") + name + "[0]"), std::string("pa.") + name);
        EXPECT_EQ(sourceOf(std::string("em.") + name + "[1]"), std::string("pb.") + name);
    }
    EXPECT_EQ(sourceOf("em.currentTime"), "time1.outTime");

    EXPECT_FALSE(host::execute("connectDynamic -em em pa"));  // already connected
    EXPECT_FALSE(host::execute("connectDynamic -em pa pb"));  // not an emitter
    EXPECT_FALSE(host::execute("connectDynamic pa"));         // neither field nor emitter

    run("connectDynamic -d -em em pa");
    EXPECT_EQ(sourceOf("pa.newParticles[0]"), "");
    EXPECT_EQ(sourceOf("em.isFull[0]"), "");
    EXPECT_EQ(sourceOf("pb.newParticles[0]"), "em.output[1]");
    EXPECT_EQ(sourceOf("em.currentTime"), "time1.outTime");
    // The freed index is taken again.
    run("connectDynamic -em em pa");
    EXPECT_EQ(sourceOf("pa.newParticles[0]"), "em.output[0]");
}

TEST_F(ParticleEmission, StepAppendsEveryNamedArrayAndKeepsArraysAtOneLength) {
    run("createNode burstEmitter -n em; particle -p 10 0 0 -p 11 0 0 -n pa;"
        "addAttr -ln rgbPP -dt vectorArray pa; setAttr pa.rgbPP -type vectorArray 1 0.5 0.5 0.5;"
        "addAttr -ln opacityPP -dt doubleArray pa; setAttr pa.opacityPP -type doubleArray 0;"
        "addAttr -ln extra -dt doubleArray pa; setAttr pa.extra -type doubleArray 3 4 4 4;"
        "connectDynamic -em em pa");
    toFrame(1);
    ASSERT_EQ(burstEmitter::computes, 1);
    const MVectorArray position = vectors("pa.position");
    ASSERT_EQ(position.length(), 5u);
    EXPECT_EQ(position[2], MVector(0, 0, 0));
    EXPECT_EQ(position[4], MVector(2, 0, 0));
    EXPECT_EQ(vectors("pa.velocity")[3], MVector(0, 1, 0));
    const MDoubleArray mass = doubles("pa.mass");
    ASSERT_EQ(mass.length(), 5u);
    EXPECT_EQ(mass[4], 1.0);
    // rgbPP had one entry: padded with zero for the second old particle, then the emitted colours.
    const MVectorArray rgb = vectors("pa.rgbPP");
    ASSERT_EQ(rgb.length(), 5u);
    EXPECT_EQ(rgb[0], MVector(0.5, 0.5, 0.5));
    EXPECT_EQ(rgb[1], MVector(0, 0, 0));
    EXPECT_EQ(rgb[4], MVector(2, 2, 2));
    const MDoubleArray opacity = doubles("pa.opacityPP");
    ASSERT_EQ(opacity.length(), 5u);
    EXPECT_DOUBLE_EQ(opacity[3], 0.1);
    // An array with no value from the emitter is cut to the old count and takes zeros.
    const MDoubleArray extra = doubles("pa.extra");
    ASSERT_EQ(extra.length(), 5u);
    EXPECT_EQ(extra[1], 4.0);
    EXPECT_EQ(extra[2], 0.0);

    // The emitter's start time and full flag come from the particle object.
    run("setAttr pa.startTime 2");
    toFrame(2);
    EXPECT_EQ(burstEmitter::sawStart, 2.0);
    EXPECT_FALSE(burstEmitter::sawFull);
    EXPECT_EQ(vectors("pa.position").length(), 8u);
}

TEST_F(ParticleEmission, MaxCountCutsTheAppendAndReportsFull) {
    run("createNode burstEmitter -n em; particle -p 0 0 0 -n pa; setAttr pa.maxCount 2; connectDynamic -em em pa");
    toFrame(1);
    EXPECT_EQ(vectors("pa.position").length(), 2u);
    int full = 0;
    host::plugByName("pa.isFull").getValue(full);
    EXPECT_EQ(full, 1);
    toFrame(2);
    EXPECT_TRUE(burstEmitter::sawFull);
    EXPECT_EQ(vectors("pa.position").length(), 2u);
    run("setAttr pa.maxCount -1");
    toFrame(3);
    EXPECT_EQ(vectors("pa.position").length(), 5u);
}

TEST_F(ParticleEmission, NonFiniteParticlesAreDroppedAndAnOutputIsTakenOnce) {
    run("createNode burstEmitter -n em; particle -n pa; setAttr em.poison 1; connectDynamic -em em pa");
    toFrame(1);
    const MVectorArray position = vectors("pa.position");
    ASSERT_EQ(position.length(), 2u);
    EXPECT_EQ(position[0], MVector(1, 0, 0));
    EXPECT_EQ(doubles("pa.mass").length(), 2u);

    // With nothing dirtying it the emitter's output stays clean: the same object is not taken twice.
    // (The disconnections themselves dirty it once.)
    run("disconnectAttr time1.outTime em.currentTime; disconnectAttr pa.isFull em.isFull[0]");
    toFrame(2);
    EXPECT_EQ(vectors("pa.position").length(), 4u);
    toFrame(3);
    EXPECT_EQ(burstEmitter::computes, 2);
    EXPECT_EQ(vectors("pa.position").length(), 4u);
}

TEST_F(ParticleEmission, DeletingTheEmitterOrTheParticleObjectMidPlayback) {
    run("createNode burstEmitter -n em; particle -n pa; particle -n pb; connectDynamic -em em pa pb");
    toFrame(1);
    run("delete pa");
    toFrame(2);
    EXPECT_EQ(vectors("pb.position").length(), 6u);
    run("delete em");
    toFrame(3);
    EXPECT_EQ(vectors("pb.position").length(), 6u);
}

TEST(TimeUnitCommand, SetsAndQueriesTheUIUnit) {
    host::newScene();
    MCommandResult result;
    ASSERT_TRUE(host::execute("currentUnit -time ntsc"));
    EXPECT_EQ(MTime::uiUnit(), MTime::kNTSCFrame);
    ASSERT_TRUE(host::execute("currentUnit -t 25fps"));
    EXPECT_EQ(MTime::uiUnit(), MTime::kPALFrame);
    ASSERT_TRUE(host::execute("currentUnit -q -time", &result));
    MString name;
    result.getResult(name);
    EXPECT_EQ(std::string(name.asChar()), "pal");
    EXPECT_FALSE(host::execute("currentUnit -time fortnight"));
    EXPECT_EQ(MTime::uiUnit(), MTime::kPALFrame);
    EXPECT_FALSE(host::execute("currentUnit -linear cm"));
    host::newScene();
    EXPECT_EQ(MTime::uiUnit(), MTime::kFilm);
}

TEST(SeedCommand, SeedsTheProcessStream) {
    ASSERT_TRUE(host::execute("seed 42"));
    const double first = drand48();
    const double second = drand48();
    srand48(42);
    EXPECT_EQ(drand48(), first);
    EXPECT_EQ(drand48(), second);
    EXPECT_FALSE(host::execute("seed"));
    EXPECT_FALSE(host::execute("seed 1.5"));
}

}  // namespace
