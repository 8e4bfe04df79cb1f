// Per-particle attributes as Maya keeps them (one entry per particle from the moment they are added,
// through every way particles are added), and the emit command that adds particles from a script.

#include "command_fixture.h"
#include "nodes/particle.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MIntArray.h>

namespace {

class PerParticle : public cmdtest::CommandTest {
protected:
    int size(const std::string& plug) {
        ok("getAttr -size " + plug);
        int n = -1;
        EXPECT_TRUE(result.getResult(n)) << plug;
        return n;
    }
    std::vector<int> ids(const std::string& text) {
        ok(text);
        MIntArray values;
        EXPECT_TRUE(result.getResult(values)) << text;
        return std::vector<int>(values.hostVector().begin(), values.hostVector().end());
    }
    MObject dataOf(const std::string& plug) {
        MObject data;
        EXPECT_EQ(host::plugByName(plug).getValue(data), MStatus::kSuccess) << plug;
        return data;
    }
};

TEST_F(PerParticle, AddedArrayAttributesStartWithOneZeroPerParticle) {
    ok("particle -p 0 0 0 -p 1 0 0 -p 2 0 0 -n cloud");
    ok("addAttr -ln rgbPP -dt vectorArray cloud; addAttr -longName opacityPP -shortName opp -dataType doubleArray cloud");
    ok("addAttr -ln rgbPP0 -dt vectorArray cloud");
    EXPECT_EQ(size("cloud.rgbPP"), 3);
    EXPECT_EQ(size("cloud.rgbPP0"), 3);
    EXPECT_EQ(size("cloud.opp"), 3);
    EXPECT_EQ(getDoubles("cloud.rgbPP"), std::vector<double>(9, 0.0));
    EXPECT_EQ(getDoubles("cloud.opacityPP"), std::vector<double>(3, 0.0));

    // An empty object's attribute holds an empty array, not nothing.
    ok("particle -n none; addAttr -ln rgbPP -dt vectorArray none");
    EXPECT_FALSE(dataOf("none.rgbPP").isNull());
    EXPECT_EQ(size("none.rgbPP"), 0);

    // Not per-particle: array attributes, numbers, other data, and other nodes.
    ok("addAttr -ln many -dt doubleArray -m cloud; addAttr -ln single -at double cloud");
    ok("addAttr -ln label -dt string cloud");
    EXPECT_EQ(size("cloud.many"), 0);
    EXPECT_EQ(getDouble("cloud.single"), 0.0);
    ok("createNode cmdTestNode -n other; addAttr -ln rgbPP -dt vectorArray other");
    EXPECT_EQ(size("other.rgbPP"), 0);
}

TEST_F(PerParticle, EmitAppendsParticlesAndEveryArrayFollows) {
    ok("particle -p 0 0 0 -p 1 0 0 -n cloud; addAttr -ln rgbPP -dt vectorArray cloud;"
       "addAttr -ln opacityPP -dt doubleArray cloud; setAttr cloud.opacityPP -type doubleArray 2 0.25 0.5");
    EXPECT_EQ(ids("emit -object cloud -position 5 0 0 -position 6 0 0 -pos 7 0 0"), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(getDoubles("cloud.position"), (std::vector<double>{0, 0, 0, 1, 0, 0, 5, 0, 0, 6, 0, 0, 7, 0, 0}));
    EXPECT_EQ(getDoubles("cloud.velocity"), std::vector<double>(15, 0.0));
    EXPECT_EQ(getDoubles("cloud.mass"), std::vector<double>(5, 1.0));
    EXPECT_EQ(getDoubles("cloud.opacityPP"), (std::vector<double>{0.25, 0.5, 0, 0, 0}));
    EXPECT_EQ(size("cloud.rgbPP"), 5);
    ok("getAttr cloud.count");
    int count = 0;
    ASSERT_TRUE(result.getResult(count));
    EXPECT_EQ(count, 5);

    // Values for the new particles, in order; missing ones take the default.
    EXPECT_EQ(ids("emit -o cloud -pos 8 0 0 -pos 9 0 0 -at velocity -vv 0 1 0 -vv 0 2 0 "
                  "-attribute opacityPP -floatValue 0.75 -at mass -fv 3"),
              (std::vector<int>{5, 6}));
    const std::vector<double> velocity = getDoubles("cloud.velocity");
    EXPECT_EQ(std::vector<double>(velocity.begin() + 15, velocity.end()), (std::vector<double>{0, 1, 0, 0, 2, 0}));
    EXPECT_EQ(getDoubles("cloud.opacityPP"), (std::vector<double>{0.25, 0.5, 0, 0, 0, 0.75, 0}));
    EXPECT_EQ(getDoubles("cloud.mass"), (std::vector<double>{1, 1, 1, 1, 1, 3, 1}));

    // The ids as a script keeps them.
    ok("int $ids[] = `emit -o cloud -pos 1 1 1 -pos 2 2 2`; print($ids[1] + size($ids));");
    EXPECT_EQ(out, "10");

    // No positions: nothing added.
    EXPECT_EQ(ids("emit -o cloud"), std::vector<int>{});
    EXPECT_EQ(size("cloud.position"), 9);
}

TEST_F(PerParticle, EmitBringsUnevenArraysToTheCountFirstAndHonoursMaxCount) {
    // Arrays set to other lengths are cut or padded to the old count before the append.
    ok("particle -p 0 0 0 -p 1 0 0 -n cloud; addAttr -ln temp -dt doubleArray cloud;"
       "setAttr cloud.temp -type doubleArray 3 7 8 9; setAttr cloud.mass -type doubleArray 1 2");
    ok("emit -o cloud -pos 2 0 0");
    EXPECT_EQ(getDoubles("cloud.temp"), (std::vector<double>{7, 8, 0}));
    EXPECT_EQ(getDoubles("cloud.mass"), (std::vector<double>{2, 1, 1}));

    ok("setAttr cloud.maxCount 4");
    EXPECT_EQ(ids("emit -o cloud -pos 3 0 0 -pos 4 0 0"), std::vector<int>{3});
    EXPECT_EQ(size("cloud.position"), 4);
    EXPECT_EQ(size("cloud.temp"), 4);
    EXPECT_EQ(ids("emit -o cloud -pos 5 0 0"), std::vector<int>{});
}

TEST_F(PerParticle, EmitGrowsTheArraysInPlace) {
    ok("particle -p 0 0 0 -n cloud; addAttr -ln rgbPP -dt vectorArray cloud");
    const MObject position = dataOf("cloud.position");
    const MObject rgb = dataOf("cloud.rgbPP");
    for (int k = 0; k < 100; ++k)
        ok("emit -o cloud -pos 1 2 3");
    EXPECT_EQ(dataOf("cloud.position").impl(), position.impl());
    EXPECT_EQ(dataOf("cloud.rgbPP").impl(), rgb.impl());
    EXPECT_EQ(MFnVectorArrayData(position).length(), 101u);
    EXPECT_EQ(MFnVectorArrayData(rgb).length(), 101u);
    // What reads the positions sees them change.
    EXPECT_EQ(getDouble("cloud.count"), 101.0);
}

TEST_F(PerParticle, EmitRefusesBadInputAndChangesNothing) {
    ok("particle -p 0 0 0 -n cloud; addAttr -ln opacityPP -dt doubleArray cloud; createNode cmdTestNode -n a");
    fails("emit -pos 1 2 3", {"emit", "No particle object"});
    fails("emit -o nowhere -pos 1 2 3", {"No object matches name: nowhere"});
    fails("emit -o a -pos 1 2 3", {"'a' is not a particle object"});
    fails("emit -o cloud -pos 1 2", {"-pos", "3 numbers"});
    fails("emit -o cloud -pos 1 2 x", {"'x' is not a number"});
    fails("emit -o cloud -pos 1 2 3 -at nothing -fv 1", {"'nothing' is not a per-particle attribute"});
    fails("emit -o cloud -pos 1 2 3 -at position -vv 1 1 1", {"'position'"});
    fails("emit -o cloud -pos 1 2 3 -at count -fv 1", {"'count'"});
    fails("emit -o cloud -pos 1 2 3 -fv 1", {"-attribute before"});
    fails("emit -o cloud -pos 1 2 3 -at opacityPP -fv 1 -fv 2", {"2 values for 1 particle"});
    fails("emit -o cloud -pos 1 2 3 -at opacityPP -fv 1 -vv 1 1 1", {"mix"});
    fails("emit -o cloud -pos 1 2 3 -bogus", {"Invalid flag"});
    fails("emit -o cloud -o cloud -pos 1 2 3", {"more than once"});
    EXPECT_EQ(size("cloud.position"), 1);
    EXPECT_EQ(size("cloud.opacityPP"), 1);

    // An array fed by another object's is that object's data: emit leaves both alone.
    ok("particle -p 5 5 5 -n source; particle -n copy; connectAttr source.position copy.position");
    fails("emit -o copy -pos 1 2 3", {"'position' is fed by a connection"});
    EXPECT_EQ(size("source.position"), 1);
    EXPECT_EQ(size("copy.position"), 1);
}

TEST_F(PerParticle, EveryWayOfSettingParticlesKeepsAddedArraysAtTheCount) {
    ok("particle -p 0 0 0 -p 1 0 0 -p 2 0 0 -n cloud; addAttr -ln rgbPP -dt vectorArray cloud");
    const MObject cloud = host::nodeByName("cloud");
    MVectorArray two;
    two.append(MVector(1, 1, 1));
    two.append(MVector(2, 2, 2));
    ASSERT_EQ(host::setParticles(cloud, two), MStatus::kSuccess);
    EXPECT_EQ(size("cloud.rgbPP"), 2);

    // An attribute added through the API (no value yet) is taken along on the next append.
    MFnTypedAttribute typed;
    MObject attribute = typed.create("userPP", "upp", MFnData::kDoubleArray);
    MFnDependencyNode fn(cloud);
    ASSERT_EQ(fn.addAttribute(attribute), MStatus::kSuccess);
    EXPECT_TRUE(host::isPerParticleAttribute(cloud, attribute));
    EXPECT_FALSE(host::isPerParticleAttribute(cloud, particleNode::count));
    ok("emit -o cloud -pos 3 3 3");
    EXPECT_EQ(size("cloud.userPP"), 3);
    EXPECT_EQ(size("cloud.rgbPP"), 3);
}

}  // namespace
