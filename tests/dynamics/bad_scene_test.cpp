// Scenes with the plug-ins that a user may get wrong: connections of the wrong kind into the fields and
// the particle object, masses at or below -1.
// Each is refused with an error that changes nothing, or gives finite, documented results.

#include "scene_support.h"

#include <cmath>

namespace {

using scene::PluginSuite;
using scene::run;

class BadScene : public PluginSuite {
protected:
    void SetUp() override {
        host::newScene();
        run("curve -d 1 -p 0 0 0 -p 10 0 0 -n guide; particle -p 1 1 0 -p 2 2 0 -p 3 1 1 -n p;"
            "createNode curveField -n f; createNode shadingField -n s;");
    }

    // The connection fails, and the destination stays unconnected.
    void refused(const std::string& src, const std::string& dst) {
        host::OutputCapture quiet;
        EXPECT_NE(host::execute("connectAttr " + src + " " + dst), MStatus::kSuccess) << src << " -> " << dst;
        EXPECT_FALSE(host::plugByName(dst).isConnected()) << dst;
        std::vector<std::string> errors = host::journalErrors();
        ASSERT_FALSE(errors.empty());
        EXPECT_NE(errors.back().find("connectAttr"), std::string::npos) << errors.back();
    }

    static bool finite(const std::vector<MVector>& vectors) {
        for (const MVector& v : vectors)
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
                return false;
        return true;
    }
};

TEST_F(BadScene, ConnectionsThePluginsCannotUseAreRefused) {
    refused("guide.worldSpace[0]", "f.speed");       // a curve into a double
    refused("f.speed", "f.speedPP");                 // a double into a string
    refused("p.position", "f.inputCurve");           // a vector array into a curve input
    refused("f.speed", "p.position");                // anything but a vector array into "position"
    refused("s.map[0]", "f.speed");                  // "map" is not readable
    refused("guide.worldSpace", "f.inputCurve");     // a whole array into one curve
    // What the plug-ins rely on stays legal.
    run("connectAttr guide.worldSpace[0] f.inputCurve; connectDynamic -f f p; connectDynamic -f s p;");
    run("shadingNode -asTexture ramp -n r; connectAttr r.outColor f.speedMap; connectAttr r.outColor s.map[0];");
    run("sets -renderable true -noSurfaceShader true -empty -n sg; connectAttr sg.message s.shader;");
}

// A mass at or below -1 leaves the particle without force (mass + 1 would be zero or negative); the
// others move as usual, and nothing infinite or NaN reaches the particles.
TEST_F(BadScene, MassesAtOrBelowMinusOneGetNoForce) {
    run("setAttr p.mass -type doubleArray 3 -1 -3 1;"
        "connectAttr guide.worldSpace[0] f.inputCurve; connectDynamic -f f p; setAttr f.speed 10;"
        "playFrames 1 5 \"print \\\"\\\"\";");
    std::vector<MVector> positions = scene::vectorsOf("p.position");
    std::vector<MVector> velocities = scene::vectorsOf("p.velocity");
    ASSERT_EQ(positions.size(), 3u);
    EXPECT_TRUE(finite(positions));
    EXPECT_TRUE(finite(velocities));
    EXPECT_EQ(velocities[0], MVector(0, 0, 0));
    EXPECT_EQ(velocities[1], MVector(0, 0, 0));
    EXPECT_GT(velocities[2].length(), 0.0);
}

// A field's result names may name the particle object's fieldData children, which carry its own
// position, velocity and mass: the field writes into a copy, and the particles keep their data.
TEST_F(BadScene, FieldResultsNamingFieldDataLeaveTheParticlesAlone) {
    run("setAttr p.mass -type doubleArray 3 2 3 4; setAttr p.velocity -type vectorArray 3 1 0 0 0 1 0 0 0 1;"
        "createNode normalField -n nf; connectAttr guide.worldSpace[0] nf.inputCurve; connectDynamic -f nf p;"
        "addAttr -ln uPP -dt doubleArray p; setAttr p.uPP -type doubleArray 0;"
        "setAttr nf.outNormal -type \"string\" \"fieldDataPosition\";"
        "setAttr nf.normal -type \"string\" \"fieldDataVelocity\";"
        "setAttr nf.normalizedNormal -type \"string\" \"fieldDataPosition\";"
        "setAttr nf.uValue -type \"string\" \"fieldDataMass\";");
    const std::vector<MVector> positions = scene::vectorsOf("p.position");
    const std::vector<MVector> velocities = scene::vectorsOf("p.velocity");
    {
        host::OutputCapture quiet;
        EXPECT_EQ(host::evaluate("nf.outputForce[0]"), MStatus::kSuccess);
    }
    EXPECT_EQ(scene::vectorsOf("p.position"), positions);
    EXPECT_EQ(scene::vectorsOf("p.velocity"), velocities);
    EXPECT_EQ(scene::doublesOf("p.mass"), (std::vector<double>{2, 3, 4}));
    EXPECT_EQ(scene::doublesOf("p.fieldDataMass"), (std::vector<double>{2, 3, 4}));

    // The same names pointed at attributes of its own are written as usual.
    run("setAttr nf.uValue -type \"string\" \"uPP\"; setAttr nf.attenuation 1;");
    {
        host::OutputCapture quiet;
        EXPECT_EQ(host::evaluate("nf.outputForce[0]"), MStatus::kSuccess);
    }
    EXPECT_EQ(scene::doublesOf("p.uPP").size(), 3u);
    EXPECT_EQ(scene::doublesOf("p.mass"), (std::vector<double>{2, 3, 4}));
}

}  // namespace
