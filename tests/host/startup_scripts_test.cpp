// The host's own MEL scripts, sourced at start: the plug-ins' menu procedures and the main menus they
// put their items in.

#include "command_fixture.h"

#include <maya/MStringArray.h>

namespace {

class StartupScripts : public cmdtest::CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        host::clearMenus();
    }
    void TearDown() override {
        host::clearMenus();
        CommandTest::TearDown();
    }
};

const char* const mainMenus[] = {"hostFieldsMenu", "hostParticlesMenu", "hostDeformMenu", "hostConstrainMenu",
                                 "hostRenderMenu"};

TEST_F(StartupScripts, DefineEveryMenuProcedureOfThePlugIns) {
    const std::string directory = host::startupScriptDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.substr(directory.size() - 4), "/mel");
    ASSERT_EQ(host::sourceStartupScripts(), MStatus::kSuccess);
    for (const char* name :
         {"DynAddCurveFieldMenu", "DynAddNormalFieldMenu", "DynAddShadingFieldMenu", "DynAddSamplerEmitterMenu",
          "DynRemoveNormalFieldMenu", "DynRemoveCurveFieldMenu", "DynRemoveShadingFieldMenu",
          "DynRemoveSamplerEmitterMenu", "rebuildDynamicsMenus", "addNonLinearBlendShapeMenu", "addMeshConstraintMenu",
          "addRenderSamplerInfoMenu", "removeNonLinearBlendShapeMenu", "removeMeshConstraintMenu",
          "removeRenderSamplerInfoMenu"})
        EXPECT_EQ(integer(std::string("exists(\"") + name + "\")"), 1) << name;
    EXPECT_TRUE(host::journalErrors().empty());
    // In batch state no menu is made until an item goes into it.
    for (const char* menu : mainMenus)
        EXPECT_EQ(integer(std::string("menu -exists ") + menu), 0) << menu;
}

TEST_F(StartupScripts, InteractiveStartMakesTheMainMenus) {
    host::setMayaState(MGlobal::kInteractive);
    ASSERT_EQ(host::sourceStartupScripts(), MStatus::kSuccess);
    for (const char* menu : mainMenus)
        EXPECT_EQ(integer(std::string("menu -exists ") + menu), 1) << menu;
    ok("menu -q -label hostFieldsMenu");
    MString label;
    ASSERT_TRUE(result.getResult(label));
    EXPECT_STREQ(label.asChar(), "Fields");
    // Sourcing again keeps the menus as they are.
    ok("DynAddCurveFieldMenu");
    ASSERT_EQ(host::sourceStartupScripts(), MStatus::kSuccess);
    EXPECT_EQ(host::menuItemLabels("hostFieldsMenu"), std::vector<std::string>{"Curve Field"});
}

TEST_F(StartupScripts, MenuProceduresAddAndRemoveTheirItemsOnce) {
    ASSERT_EQ(host::sourceStartupScripts(), MStatus::kSuccess);
    ok("DynAddCurveFieldMenu; DynAddShadingFieldMenu; DynAddCurveFieldMenu");
    // Added again, an item moves to the end rather than appearing twice.
    EXPECT_EQ(host::menuItemLabels("hostFieldsMenu"), (std::vector<std::string>{"Shading Field", "Curve Field"}));
    ok("menuItem -q -command curveFieldItem");
    MString command;
    ASSERT_TRUE(result.getResult(command));
    EXPECT_STREQ(command.asChar(), "createNode curveField");
    ok("DynRemoveCurveFieldMenu; DynRemoveCurveFieldMenu; DynRemoveSamplerEmitterMenu; rebuildDynamicsMenus");
    EXPECT_EQ(host::menuItemLabels("hostFieldsMenu"), std::vector<std::string>{"Shading Field"});
    EXPECT_EQ(integer("menu -exists hostParticlesMenu"), 1);
    ok("addMeshConstraintMenu; addRenderSamplerInfoMenu; removeMeshConstraintMenu");
    EXPECT_TRUE(host::menuItemLabels("hostConstrainMenu").empty());
    EXPECT_EQ(host::menuItemLabels("hostRenderMenu"), std::vector<std::string>{"Render Sampler Info"});
    EXPECT_TRUE(host::journalErrors().empty());
    // Names that no script defines still fail as before.
    fails("DynAddUnknownMenu", {"Cannot find procedure \"DynAddUnknownMenu\"."});
}

}  // namespace
