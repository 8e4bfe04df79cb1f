#include "command_fixture.h"
#include "nodes/particle.h"

#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPlugArray.h>
#include <maya/MPxFieldNode.h>

namespace {

// A field that computes nothing; only its connections matter here.
class stillField : public MPxFieldNode {
public:
    static void* creator() { return new stillField(); }
    static MStatus initialize() { return MStatus::kSuccess; }
};

const MTypeId stillFieldId(0x7F0000F3);

class DynamicsCommands : public cmdtest::CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        host::removeNodeType(stillFieldId);
        ASSERT_EQ(host::registerType("stillField", stillFieldId, stillField::creator, stillField::initialize,
                                     MPxNode::kFieldNode, MFn::kPluginFieldNode, "test"),
                  MStatus::kSuccess);
    }
    void TearDown() override {
        CommandTest::TearDown();
        host::removeNodeType(stillFieldId);
    }

    std::string resultText() {
        MString text;
        EXPECT_TRUE(result.getResult(text));
        return text.asChar();
    }
    static MVectorArray vectors(const std::string& plugName) {
        MObject data;
        EXPECT_EQ(host::plugByName(plugName).getValue(data), MStatus::kSuccess) << plugName;
        MVectorArray values;
        MFnVectorArrayData(data).copyTo(values);
        return values;
    }
    // The source feeding a plug, by name, or "" when none.
    static std::string sourceOf(const std::string& plugName) {
        MPlugArray sources;
        host::plugByName(plugName).connectedTo(sources, true, false);
        return sources.length() == 1 ? sources[0].name().asChar() : std::string();
    }
    static size_t connectionCount() {
        size_t n = 0;
        for (const auto& node : host::sceneNodes())
            n += node->incoming.size();
        return n;
    }
};

TEST_F(DynamicsCommands, ParticleMakesParticleObjects) {
    ok("particle -p 1 2 3 -position -4 5.5 6e1");
    EXPECT_EQ(resultText(), "particle1");
    MVectorArray p = vectors("particle1.position");
    ASSERT_EQ(p.length(), 2u);
    EXPECT_EQ(p[0], MVector(1, 2, 3));
    EXPECT_EQ(p[1], MVector(-4, 5.5, 60));
    MVectorArray v = vectors("particle1.velocity");
    ASSERT_EQ(v.length(), 2u);
    EXPECT_EQ(v[1], MVector(0, 0, 0));
    EXPECT_EQ(getDoubles("particle1.mass"), std::vector<double>({1.0, 1.0}));

    ok("particle -p 0 0 0");
    EXPECT_EQ(resultText(), "particle2");
    ok("particle -n cloud");
    EXPECT_EQ(resultText(), "cloud");
    EXPECT_EQ(host::particleCount(host::nodeByName("cloud")), 0u);
    ok("particle -p 0 0 0 -n cloud");
    EXPECT_EQ(resultText(), "cloud1");
    // The scene's time node comes with the first particle object.
    ASSERT_TRUE(host::findNode("time1"));
    EXPECT_EQ(host::findNode("time1")->type->name, "time");
}

TEST_F(DynamicsCommands, ParticleErrorsCreateNothing) {
    fails("particle -p 1 2", {"-p", "three coordinates"});
    fails("particle -p 1 2 -n a", {"-p", "three coordinates"});
    fails("particle -p 0 0 0 -p 1 x 3", {"'x'", "not a number", "position 2"});
    fails("particle -p 1 2 nan", {"'nan'", "not a number"});
    fails("particle -n", {"-n", "name"});
    fails("particle -n a -n b", {"more than once"});
    fails("particle -n \"1bad\"", {"1bad", "not a valid node name"});
    fails("particle -jbp 1", {"Invalid flag", "-jbp"});
    fails("particle -p 1 2 3 extra", {"Unexpected argument", "extra"});
    EXPECT_TRUE(host::sceneNodes().empty());
}

TEST_F(DynamicsCommands, ConnectDynamicWiresFirstFreeIndices) {
    ok("particle -p 0 0 0 -n a; particle -p 1 1 1 -n b; particle -n c");
    ok("createNode stillField -n f1; createNode stillField -n f2");
    // Taken by hand beforehand: f1.inputData[0] and b.inputForce[0].
    ok("connectAttr c.fieldData f1.inputData[0]");
    ok("connectAttr f2.outputForce[5] b.inputForce[0]");

    ok("connectDynamic -f f1 a b");
    EXPECT_EQ(sourceOf("f1.inputData[1]"), "a.fieldData");
    EXPECT_EQ(sourceOf("a.inputForce[0]"), "f1.outputForce[1]");
    EXPECT_EQ(sourceOf("f1.inputData[2]"), "b.fieldData");
    EXPECT_EQ(sourceOf("b.inputForce[1]"), "f1.outputForce[2]");

    // The field reads the particle data through the element it was given.
    EXPECT_EQ(vectors("f1.inputData[2].inputPositions")[0], MVector(1, 1, 1));

    // A link made by hand counts as a connection of the pair.
    fails("connectDynamic -f f1 c", {"already connected"});

    // Two fields at once; f2's outputForce[5] is taken but inputData[0] is free.
    ok("particle -n d");
    ok("connectDynamic -fields f1 -f f2 d");
    EXPECT_EQ(sourceOf("f1.inputData[3]"), "d.fieldData");
    EXPECT_EQ(sourceOf("d.inputForce[0]"), "f1.outputForce[3]");
    EXPECT_EQ(sourceOf("f2.inputData[0]"), "d.fieldData");
    EXPECT_EQ(sourceOf("d.inputForce[1]"), "f2.outputForce[0]");
}

TEST_F(DynamicsCommands, ConnectDynamicErrorsChangeNothing) {
    ok("particle -p 0 0 0 -n a; particle -n b; createNode stillField -n f1; createNode stillField -n f2");
    ok("createNode cmdTestNode -n plain");
    ok("connectDynamic -f f2 a");
    size_t before = connectionCount();

    fails("connectDynamic -f f2 a", {"'a'", "already connected", "'f2'"});
    // f1 would be fine, but f2 is already connected: neither happens.
    fails("connectDynamic -f f1 -f f2 a", {"already connected"});
    fails("connectDynamic -f f2 b a", {"already connected"});
    fails("connectDynamic -f nobody a", {"nobody"});
    fails("connectDynamic -f f1 nobody", {"nobody"});
    fails("connectDynamic -f plain a", {"'plain'", "not a field"});
    fails("connectDynamic -f b a", {"'b'", "not a field"});
    fails("connectDynamic -f f1 f2", {"'f2'", "not a particle object"});
    fails("connectDynamic -f f1 -f f1 a", {"more than once"});
    fails("connectDynamic -f f1 a a", {"more than once"});
    fails("connectDynamic a", {"No field"});
    fails("connectDynamic -f f1", {"No particle object"});
    fails("connectDynamic -f", {"-f", "field name"});
    fails("connectDynamic -em f1 a", {"not an emitter", "f1"});
    fails("connectDynamic -x f1 a", {"Invalid flag", "-x"});
    fails("connectDynamic -d -f f1 a", {"'a'", "not connected", "'f1'"});
    EXPECT_EQ(connectionCount(), before);
    EXPECT_EQ(sourceOf("f1.inputData[0]"), "");
}

TEST_F(DynamicsCommands, ConnectDynamicDeleteRemovesBothConnections) {
    ok("particle -p 0 0 0 -n a; particle -p 0 0 0 -n b; createNode stillField -n f1");
    ok("connectDynamic -f f1 a b");
    ok("connectDynamic -delete -f f1 a");
    EXPECT_EQ(sourceOf("f1.inputData[0]"), "");
    EXPECT_EQ(sourceOf("a.inputForce[0]"), "");
    EXPECT_EQ(sourceOf("f1.inputData[1]"), "b.fieldData");
    EXPECT_EQ(sourceOf("b.inputForce[0]"), "f1.outputForce[1]");
    // The freed indices are used again.
    ok("connectDynamic -f f1 a");
    EXPECT_EQ(sourceOf("f1.inputData[0]"), "a.fieldData");
    EXPECT_EQ(sourceOf("a.inputForce[0]"), "f1.outputForce[0]");
}

}  // namespace
