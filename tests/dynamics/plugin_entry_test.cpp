// Loading and unloading the vexmoraDynamics plug-in: what gets registered, in which order, which menu
// procedures run, and what a failed step reports.

#include <host/Host.h>

#include "graph/Scene.h"
#include "plugin/Loader.h"

#include <maya/MGlobal.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string pluginPath = VEXMORA_DYNAMICS_PLUGIN;

const std::vector<std::string> menuProcedures = {
    "DynAddCurveFieldMenu",        "DynAddNormalFieldMenu",     "DynAddShadingFieldMenu",
    "DynAddSamplerEmitterMenu",    "DynRemoveNormalFieldMenu",  "DynRemoveCurveFieldMenu",
    "DynRemoveShadingFieldMenu",   "DynRemoveSamplerEmitterMenu", "rebuildDynamicsMenus",
};

struct TypeInfo {
    const char* name;
    unsigned id;
    MPxNode::Type kind;
};
const TypeInfo dynamicsTypes[] = {
    {"curveField", 0x1059C1, MPxNode::kFieldNode},
    {"normalField", 0x1059C2, MPxNode::kFieldNode},
    {"shadingField", 0x1059C0, MPxNode::kFieldNode},
    {"samplerEmitter", 0x1059C3, MPxNode::kEmitterNode},
};

// The menu procedures the journal recorded, in order.
std::vector<std::string> menuCalls() {
    std::vector<std::string> calls;
    const std::set<std::string> known(menuProcedures.begin(), menuProcedures.end());
    for (const std::string& text : host::journalCommands()) {
        if (known.count(text) || text.find("Dyn") != std::string::npos || text.find("rebuild") != std::string::npos)
            calls.push_back(text);
    }
    return calls;
}

bool registered(const char* name) { return host::findNodeType(name) != nullptr; }

void* makeHostNode() { return new MPxNode; }
MStatus noAttributes() { return MStatus::kSuccess; }

// A type owned by the plug-in that stands in for one of its types (same id), so that the plug-in's
// deregistration of that id succeeds when the real type is not registered.
void standInFor(const TypeInfo& type, const std::string& owner) {
    if (host::findNodeType(MTypeId(type.id)))
        return;
    host::registerType(std::string("standIn_") + type.name, MTypeId(type.id), makeHostNode, noAttributes,
                       MPxNode::kDependNode, MFn::kPluginDependNode, owner);
}

class PluginEntry : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        host::setMayaState(MGlobal::kInteractive);
        host::setMayaVersion("2026");
        // The host's own menu procedures, as mayahost-run sources them at start.
        host::clearMenus();
        ASSERT_EQ(host::sourceStartupScripts(), MStatus::kSuccess);
        host::clearJournal();
    }

    // Leaves the plug-in unloaded whatever state a test left it in.
    void TearDown() override {
        host::newScene();
        host::setMayaState(MGlobal::kBatch);
        host::setMayaVersion("2026");
        for (const std::string& name : extraTypes)
            if (auto type = host::findNodeType(name))
                host::removeNodeType(type->id);
        if (auto plugin = host::findPlugin(pluginPath)) {
            for (const TypeInfo& type : dynamicsTypes)
                standInFor(type, plugin->path);
            host::OutputCapture quiet;
            EXPECT_EQ(host::unloadPlugin(pluginPath), MStatus::kSuccess);
        }
        for (const TypeInfo& type : dynamicsTypes)
            if (host::findNodeType(MTypeId(type.id)))
                host::removeNodeType(MTypeId(type.id));
        host::setMayaState(MGlobal::kInteractive);
    }

    void expectRegistered(bool withEmitter) {
        for (const TypeInfo& type : dynamicsTypes) {
            SCOPED_TRACE(type.name);
            auto nodeType = host::findNodeType(type.name);
            if (!withEmitter && type.kind == MPxNode::kEmitterNode) {
                EXPECT_EQ(nodeType, nullptr);
                continue;
            }
            ASSERT_NE(nodeType, nullptr);
            EXPECT_EQ(nodeType->id, MTypeId(type.id));
            EXPECT_EQ(nodeType->kind, type.kind);
        }
    }

    void expectNoneRegistered() {
        for (const TypeInfo& type : dynamicsTypes)
            EXPECT_FALSE(registered(type.name)) << type.name;
    }

    std::vector<std::string> extraTypes;
};

TEST_F(PluginEntry, InteractiveLoadAndUnloadRunTheMenuProceduresInOrder) {
    ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
    expectRegistered(true);
    EXPECT_EQ(menuCalls(), (std::vector<std::string>{"DynAddCurveFieldMenu", "DynAddNormalFieldMenu",
                                                     "DynAddShadingFieldMenu", "DynAddSamplerEmitterMenu"}));
    auto plugin = host::findPlugin(pluginPath);
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->vendor, "the tunnimor inc.");
    EXPECT_EQ(plugin->version, "1.5 CG");
    EXPECT_EQ(plugin->apiVersion, "any");

    // The menu procedures put the items into the host's menus.
    EXPECT_EQ(host::menuItemLabels("hostFieldsMenu"),
              (std::vector<std::string>{"Curve Field", "Normal Field", "Shading Field"}));
    EXPECT_EQ(host::menuItemLabels("hostParticlesMenu"), std::vector<std::string>{"Sampler Emitter"});
    EXPECT_TRUE(host::journalErrors().empty());

    host::clearJournal();
    host::OutputCapture capture;
    ASSERT_EQ(host::unloadPlugin(pluginPath), MStatus::kSuccess);
    EXPECT_EQ(menuCalls(), (std::vector<std::string>{"DynRemoveNormalFieldMenu", "DynRemoveCurveFieldMenu",
                                                     "DynRemoveShadingFieldMenu", "DynRemoveSamplerEmitterMenu",
                                                     "rebuildDynamicsMenus"}));
    expectNoneRegistered();
    EXPECT_FALSE(host::isPluginLoaded(pluginPath));
    EXPECT_TRUE(host::menuItemLabels("hostFieldsMenu").empty());
    EXPECT_TRUE(host::menuItemLabels("hostParticlesMenu").empty());
    EXPECT_TRUE(host::journalErrors().empty());
    EXPECT_EQ(capture.err(), "");
    EXPECT_EQ(capture.out(), "");
}

TEST_F(PluginEntry, Maya45RegistersNoEmitterButStillRebuildsTheMenus) {
    host::setMayaVersion("4.5");
    ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
    expectRegistered(false);
    EXPECT_EQ(menuCalls(), (std::vector<std::string>{"DynAddCurveFieldMenu", "DynAddNormalFieldMenu",
                                                     "DynAddShadingFieldMenu"}));
    EXPECT_TRUE(host::menuItemLabels("hostParticlesMenu").empty());
    host::clearJournal();
    ASSERT_EQ(host::unloadPlugin(pluginPath), MStatus::kSuccess);
    EXPECT_EQ(menuCalls(), (std::vector<std::string>{"DynRemoveNormalFieldMenu", "DynRemoveCurveFieldMenu",
                                                     "DynRemoveShadingFieldMenu", "rebuildDynamicsMenus"}));
    expectNoneRegistered();
}

TEST_F(PluginEntry, OnlyExactly45SkipsTheEmitter) {
    for (const char* version : {"4.5.1", "4.50", " 4.5", "4.", "45", "", "2026"}) {
        SCOPED_TRACE(std::string("version \"") + version + "\"");
        host::setMayaVersion(version);
        host::clearJournal();
        ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
        expectRegistered(true);
        EXPECT_EQ(menuCalls().size(), 4u);
        host::clearJournal();
        ASSERT_EQ(host::unloadPlugin(pluginPath), MStatus::kSuccess);
        EXPECT_EQ(menuCalls().size(), 5u);
        expectNoneRegistered();
    }
}

TEST_F(PluginEntry, BatchAndLibraryStatesRegisterTheSameAndRunNoMel) {
    for (MGlobal::MMayaState state : {MGlobal::kBatch, MGlobal::kLibraryApp, MGlobal::kBaseUIMode}) {
        SCOPED_TRACE(static_cast<int>(state));
        host::setMayaState(state);
        host::clearJournal();
        ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
        expectRegistered(true);
        EXPECT_TRUE(host::menuItemLabels("hostFieldsMenu").empty());
        ASSERT_EQ(host::unloadPlugin(pluginPath), MStatus::kSuccess);
        expectNoneRegistered();
        EXPECT_TRUE(menuCalls().empty());
    }
}

TEST_F(PluginEntry, UnloadThenLoadAgainRegistersWorkingTypes) {
    ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
    ASSERT_EQ(host::unloadPlugin(pluginPath), MStatus::kSuccess);
    host::clearJournal();
    ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
    expectRegistered(true);
    EXPECT_EQ(menuCalls().size(), 4u);
    // The second initialize filled the attribute handles again: nodes of every type have their attributes.
    ASSERT_EQ(host::execute("createNode curveField -n cf; createNode normalField -n nf; "
                            "createNode shadingField -n sf; createNode samplerEmitter -n se"),
              MStatus::kSuccess);
    EXPECT_FALSE(host::plugByName("cf.rotationSpeedMap").isNull());
    EXPECT_FALSE(host::plugByName("nf.outNormal").isNull());
    EXPECT_FALSE(host::plugByName("sf.tangentV").isNull());
    EXPECT_FALSE(host::plugByName("se.opacityMap").isNull());
    host::newScene();
    ASSERT_EQ(host::unloadPlugin(pluginPath), MStatus::kSuccess);
    expectNoneRegistered();
}

TEST_F(PluginEntry, NormalFieldFailingToRegisterStopsTheLoad) {
    // A type named "normalField" already exists, so the plug-in's registration of that name fails.
    ASSERT_EQ(host::registerType("normalField", MTypeId(0x7FF01), makeHostNode, noAttributes, MPxNode::kDependNode,
                                 MFn::kPluginDependNode, ""),
              MStatus::kSuccess);
    extraTypes.push_back("normalField");

    host::OutputCapture capture;
    const MStatus status = host::loadPlugin(pluginPath);
    ASSERT_NE(status, MStatus::kSuccess);
    // curveField stays registered with its menu item; nothing after normalField is tried.
    auto curve = host::findNodeType("curveField");
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->id, MTypeId(0x1059C1));
    EXPECT_EQ(host::findNodeType(MTypeId(0x1059C2)), nullptr);
    EXPECT_FALSE(registered("shadingField"));
    EXPECT_FALSE(registered("samplerEmitter"));
    EXPECT_EQ(menuCalls(), (std::vector<std::string>{"DynAddCurveFieldMenu"}));
    const std::string expected = std::string("normalField registerNode: ") + status.errorString().asChar() + "\n";
    EXPECT_NE(capture.err().find(expected), std::string::npos) << capture.err();
    EXPECT_EQ(capture.err().find("shadingField"), std::string::npos);
}

TEST_F(PluginEntry, CurveFieldFailingToDeregisterStopsTheUnload) {
    ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
    // A node of the type still in the scene makes its deregistration fail.
    ASSERT_EQ(host::execute("createNode curveField -n cf1"), MStatus::kSuccess);
    host::clearJournal();

    host::OutputCapture capture;
    const MStatus status = host::unloadPlugin(pluginPath);
    ASSERT_NE(status, MStatus::kSuccess);
    EXPECT_TRUE(host::isPluginLoaded(pluginPath));
    EXPECT_FALSE(registered("normalField"));
    EXPECT_TRUE(registered("curveField"));
    EXPECT_TRUE(registered("shadingField"));
    EXPECT_TRUE(registered("samplerEmitter"));
    // The curveField menu item is removed before the failure is reported; nothing runs after it.
    EXPECT_EQ(menuCalls(), (std::vector<std::string>{"DynRemoveNormalFieldMenu", "DynRemoveCurveFieldMenu"}));
    const std::string expected = std::string("deregisterNode curveField: ") + status.errorString().asChar() + "\n";
    EXPECT_NE(capture.err().find(expected), std::string::npos) << capture.err();
}

TEST_F(PluginEntry, FailedDeregistrationInBatchReportsWithoutMel) {
    host::setMayaState(MGlobal::kBatch);
    ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
    ASSERT_EQ(host::execute("createNode shadingField -n sf1"), MStatus::kSuccess);
    host::OutputCapture capture;
    const MStatus status = host::unloadPlugin(pluginPath);
    ASSERT_NE(status, MStatus::kSuccess);
    EXPECT_FALSE(registered("normalField"));
    EXPECT_FALSE(registered("curveField"));
    EXPECT_TRUE(registered("shadingField"));
    EXPECT_TRUE(registered("samplerEmitter"));
    EXPECT_TRUE(menuCalls().empty());
    // The plug-in's line comes first; the host may add its own report of the failed unload after it.
    const std::string expected = std::string("deregisterNode shadingField: ") + status.errorString().asChar() + "\n";
    EXPECT_EQ(capture.err().substr(0, expected.size()), expected);
}

}  // namespace

// mayahost-run sources the host's menu procedures at start: an interactive load shows the items, an
// unload takes them away, and no procedure is missing; a batch run makes no menus.
TEST(PluginEntryExecutable, InteractiveRunShowsTheMenuItemsWithoutMissingProcedures) {
    char name[] = "/tmp/plugin_entry_XXXXXX";
    const int fd = ::mkstemp(name);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const std::string script = name;
    std::ofstream(script) << "loadPlugin \"" << pluginPath << "\";\n"
                          << "print(`menu -q -itemArray hostFieldsMenu`);\n"
                          << "print(`menu -q -itemArray hostParticlesMenu`);\n"
                          << "unloadPlugin vexmoraDynamics;\n"
                          << "print(\"after: \" + `menu -q -numberOfItems hostFieldsMenu` + \"\\n\");\n";
    auto run = [&](const std::string& options, std::string& err) {
        const std::string errPath = script + ".err";
        const std::string command = std::string(VEXMORA_HOST_RUN) + " " + options + " " + script + " 2> " + errPath;
        std::string out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[256];
            while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
                out.append(buffer, n);
            ::pclose(pipe);
        }
        std::ifstream in(errPath);
        err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::remove(errPath.c_str());
        return out;
    };
    std::string err;
    EXPECT_EQ(run("--interactive", err),
              "curveFieldItem\nnormalFieldItem\nshadingFieldItem\nsamplerEmitterItem\nafter: 0\n");
    EXPECT_EQ(err.find("Cannot find procedure"), std::string::npos) << err;
    // In batch state nothing runs the menu procedures and there are no menus to ask.
    const std::string batch = run("--batch", err);
    EXPECT_NE(err.find("'hostFieldsMenu' not found"), std::string::npos) << err;
    EXPECT_EQ(err.find("Cannot find procedure"), std::string::npos) << err;
    EXPECT_EQ(batch, "");
    std::remove(script.c_str());
}
