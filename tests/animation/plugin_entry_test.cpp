// Loading and unloading the vexmoraAnimation plug-in: what gets registered, in which order, which menu
// procedures run, and what a failed step reports.

#include <host/Host.h>

#include "graph/Scene.h"
#include "plugin/CommandRegistry.h"
#include "plugin/Loader.h"

#include <maya/MGlobal.h>
#include <maya/MPxCommand.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string pluginPath = VEXMORA_ANIMATION_PLUGIN;
const std::string dynamicsPath = VEXMORA_DYNAMICS_PLUGIN;

struct TypeInfo {
    const char* name;
    unsigned id;
    MPxNode::Type kind;
};
const TypeInfo animationTypes[] = {
    {"nonLinearBlendShape", 0x1059C4, MPxNode::kDeformerNode},
    {"meshConstraint", 0x1059C6, MPxNode::kDependNode},
    {"renderSamplerInfo", 0x1059C5, MPxNode::kDependNode},
};

std::vector<std::string> menuCalls() {
    std::vector<std::string> calls;
    for (const std::string& text : host::journalCommands())
        if (text.find("Menu") != std::string::npos)
            calls.push_back(text);
    return calls;
}

bool registered(const char* name) { return host::findNodeType(name) != nullptr; }
bool commandRegistered() { return host::findPluginCommand("closestPointOnMesh") != nullptr; }

void* makeHostNode() { return new MPxNode; }
void* makeHostCommand() { return new MPxCommand; }
MStatus noAttributes() { return MStatus::kSuccess; }

class PluginEntry : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        host::setMayaState(MGlobal::kInteractive);
        // The host's own menu procedures, as mayahost-run sources them at start.
        host::clearMenus();
        ASSERT_EQ(host::sourceStartupScripts(), MStatus::kSuccess);
        host::clearJournal();
    }

    // Leaves both plug-ins unloaded whatever state a test left them in: what a failed load did not
    // register is stood in for, so that the plug-in's own unload can run to its end.
    void TearDown() override {
        host::newScene();
        host::setMayaState(MGlobal::kBatch);
        for (const std::string& name : extraTypes)
            if (auto type = host::findNodeType(name))
                host::removeNodeType(type->id);
        if (extraCommand)
            host::removePluginCommand("closestPointOnMesh", "");
        if (auto plugin = host::findPlugin(pluginPath)) {
            for (const TypeInfo& type : animationTypes) {
                if (!host::findNodeType(MTypeId(type.id)))
                    host::registerType(std::string("standIn_") + type.name, MTypeId(type.id), makeHostNode,
                                       noAttributes, MPxNode::kDependNode, MFn::kPluginDependNode, plugin->path);
            }
            if (!commandRegistered())
                host::addPluginCommand({"closestPointOnMesh", makeHostCommand, nullptr, plugin->path});
            host::OutputCapture quiet;
            EXPECT_EQ(host::unloadPlugin(pluginPath), MStatus::kSuccess);
        }
        if (host::findPlugin(dynamicsPath)) {
            EXPECT_EQ(host::unloadPlugin(dynamicsPath), MStatus::kSuccess);
        }
        host::setMayaState(MGlobal::kInteractive);
    }

    void expectAllRegistered() {
        for (const TypeInfo& type : animationTypes) {
            SCOPED_TRACE(type.name);
            auto nodeType = host::findNodeType(type.name);
            ASSERT_NE(nodeType, nullptr);
            EXPECT_EQ(nodeType->id, MTypeId(type.id));
            EXPECT_EQ(nodeType->kind, type.kind);
        }
        EXPECT_TRUE(commandRegistered());
    }

    void expectNoneRegistered() {
        for (const TypeInfo& type : animationTypes)
            EXPECT_FALSE(registered(type.name)) << type.name;
        EXPECT_FALSE(commandRegistered());
    }

    // A host type that takes a name the plug-in wants, so that registering it fails.
    void occupyName(const char* name) {
        ASSERT_EQ(host::registerType(name, MTypeId(0x7FF20 + extraTypes.size()), makeHostNode, noAttributes,
                                     MPxNode::kDependNode, MFn::kPluginDependNode, ""),
                  MStatus::kSuccess);
        extraTypes.push_back(name);
    }

    std::vector<std::string> extraTypes;
    bool extraCommand = false;
};

TEST_F(PluginEntry, InteractiveLoadAndUnloadRunTheMenuProceduresInTheirOrders) {
    ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
    expectAllRegistered();
    EXPECT_EQ(menuCalls(), (std::vector<std::string>{"addNonLinearBlendShapeMenu", "addMeshConstraintMenu",
                                                     "addRenderSamplerInfoMenu"}));
    auto plugin = host::findPlugin(pluginPath);
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->vendor, "the tunnimor inc. - vexmoraAnimation");
    EXPECT_EQ(plugin->version, "1.0 CG");
    EXPECT_EQ(plugin->apiVersion, "any");
    // The menu procedures put the items into the host's menus; the command has none.
    EXPECT_EQ(host::menuItemLabels("hostDeformMenu"), std::vector<std::string>{"Non-Linear Blend Shape"});
    EXPECT_EQ(host::menuItemLabels("hostConstrainMenu"), std::vector<std::string>{"Mesh Constraint"});
    EXPECT_EQ(host::menuItemLabels("hostRenderMenu"), std::vector<std::string>{"Render Sampler Info"});
    EXPECT_TRUE(host::journalErrors().empty());

    host::clearJournal();
    host::OutputCapture capture;
    ASSERT_EQ(host::unloadPlugin(pluginPath), MStatus::kSuccess);
    EXPECT_EQ(menuCalls(), (std::vector<std::string>{"removeNonLinearBlendShapeMenu", "removeMeshConstraintMenu",
                                                     "removeRenderSamplerInfoMenu"}));
    expectNoneRegistered();
    for (const char* menu : {"hostDeformMenu", "hostConstrainMenu", "hostRenderMenu"})
        EXPECT_TRUE(host::menuItemLabels(menu).empty()) << menu;
    EXPECT_TRUE(host::journalErrors().empty());
    EXPECT_EQ(capture.err(), "");
    EXPECT_EQ(capture.out(), "");
}

TEST_F(PluginEntry, OtherStatesRegisterTheSameAndRunNoMel) {
    for (MGlobal::MMayaState state : {MGlobal::kBatch, MGlobal::kLibraryApp, MGlobal::kBaseUIMode}) {
        SCOPED_TRACE(static_cast<int>(state));
        host::setMayaState(state);
        host::clearJournal();
        ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
        expectAllRegistered();
        ASSERT_EQ(host::unloadPlugin(pluginPath), MStatus::kSuccess);
        expectNoneRegistered();
        EXPECT_TRUE(menuCalls().empty());
    }
}

TEST_F(PluginEntry, MeshConstraintFailingToRegisterKeepsWhatCameBefore) {
    occupyName("meshConstraint");
    host::OutputCapture capture;
    const MStatus status = host::loadPlugin(pluginPath);
    ASSERT_NE(status, MStatus::kSuccess);
    EXPECT_TRUE(registered("nonLinearBlendShape"));
    EXPECT_TRUE(commandRegistered());
    EXPECT_EQ(host::findNodeType(MTypeId(0x1059C6)), nullptr);
    EXPECT_FALSE(registered("renderSamplerInfo"));
    EXPECT_EQ(menuCalls(), (std::vector<std::string>{"addNonLinearBlendShapeMenu"}));
    const std::string expected = std::string("meshConstraint registerNode: ") + status.errorString().asChar() + "\n";
    EXPECT_EQ(capture.err().substr(0, expected.size()), expected) << capture.err();
}

TEST_F(PluginEntry, EachRegistrationFailureHasItsText) {
    struct Case {
        const char* occupied;  // a node type name, or the command's
        const char* text;
        unsigned menusBefore;
    };
    const Case cases[] = {
        {"nonLinearBlendShape", "nonLinearBlendShape registerNode", 0},
        {"closestPointOnMesh", "closestPointOnMesh registerCommand", 1},
        {"renderSamplerInfo", "renderSamplerIfno registerNode", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.occupied);
        if (std::string(c.occupied) == "closestPointOnMesh") {
            ASSERT_TRUE(host::addPluginCommand({"closestPointOnMesh", makeHostCommand, nullptr, ""}));
            extraCommand = true;
        } else {
            occupyName(c.occupied);
        }
        host::clearJournal();
        host::OutputCapture capture;
        const MStatus status = host::loadPlugin(pluginPath);
        ASSERT_NE(status, MStatus::kSuccess);
        const std::string expected = std::string(c.text) + ": " + status.errorString().asChar() + "\n";
        EXPECT_EQ(capture.err().substr(0, expected.size()), expected) << capture.err();
        EXPECT_EQ(menuCalls().size(), c.menusBefore);
        TearDown();
        extraTypes.clear();
        extraCommand = false;
        SetUp();
    }
}

TEST_F(PluginEntry, MeshConstraintFailingToDeregisterStopsTheUnload) {
    ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
    ASSERT_EQ(host::execute("createNode meshConstraint -n mc1"), MStatus::kSuccess);
    host::clearJournal();
    host::OutputCapture capture;
    const MStatus status = host::unloadPlugin(pluginPath);
    ASSERT_NE(status, MStatus::kSuccess);
    EXPECT_FALSE(registered("nonLinearBlendShape"));
    EXPECT_TRUE(registered("meshConstraint"));
    EXPECT_TRUE(commandRegistered());
    EXPECT_TRUE(registered("renderSamplerInfo"));
    EXPECT_EQ(menuCalls(), (std::vector<std::string>{"removeNonLinearBlendShapeMenu", "removeMeshConstraintMenu"}));
    const std::string expected = std::string("deregisterNode meshConstraint: ") + status.errorString().asChar() + "\n";
    EXPECT_EQ(capture.err().substr(0, expected.size()), expected) << capture.err();
}

TEST_F(PluginEntry, RenderSamplerInfoFailingToDeregisterIsTheLastStep) {
    ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
    ASSERT_EQ(host::execute("createNode renderSamplerInfo -n rsi1"), MStatus::kSuccess);
    host::clearJournal();
    host::OutputCapture capture;
    const MStatus status = host::unloadPlugin(pluginPath);
    ASSERT_NE(status, MStatus::kSuccess);
    EXPECT_FALSE(registered("nonLinearBlendShape"));
    EXPECT_FALSE(registered("meshConstraint"));
    EXPECT_FALSE(commandRegistered());
    EXPECT_TRUE(registered("renderSamplerInfo"));
    EXPECT_EQ(menuCalls().back(), "removeRenderSamplerInfoMenu");
    const std::string expected = std::string("deregisterNode renderSamplerInfo: ") + status.errorString().asChar() + "\n";
    EXPECT_EQ(capture.err().substr(0, expected.size()), expected) << capture.err();
}

TEST_F(PluginEntry, BothPluginsLoadTogetherAndUnloadInEitherOrder) {
    host::setMayaState(MGlobal::kBatch);
    for (bool animationFirst : {true, false}) {
        SCOPED_TRACE(animationFirst);
        ASSERT_EQ(host::loadPlugin(dynamicsPath), MStatus::kSuccess);
        ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
        expectAllRegistered();
        EXPECT_TRUE(registered("curveField"));
        ASSERT_EQ(host::execute("createNode renderSamplerInfo -n rsi; createNode shadingField -n sf"),
                  MStatus::kSuccess);
        host::newScene();
        const std::string first = animationFirst ? pluginPath : dynamicsPath;
        const std::string second = animationFirst ? dynamicsPath : pluginPath;
        ASSERT_EQ(host::unloadPlugin(first), MStatus::kSuccess);
        // The other plug-in still works after the first has gone.
        ASSERT_EQ(host::execute(animationFirst ? "createNode curveField -n cf" : "createNode meshConstraint -n mc"),
                  MStatus::kSuccess);
        host::newScene();
        ASSERT_EQ(host::unloadPlugin(second), MStatus::kSuccess);
        expectNoneRegistered();
        EXPECT_FALSE(registered("curveField"));
    }
}

}  // namespace
