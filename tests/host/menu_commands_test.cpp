// The host's menu model and the commands that change and read it (menu, menuItem, deleteUI, setParent),
// and about.

#include "command_fixture.h"

#include <maya/MStringArray.h>

namespace {

class MenuCommands : public cmdtest::CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        host::clearMenus();
    }
    void TearDown() override {
        host::clearMenus();
        CommandTest::TearDown();
    }
    std::vector<std::string> strings(const std::string& text) {
        ok(text);
        MStringArray array;
        EXPECT_TRUE(result.getResult(array)) << text;
        std::vector<std::string> out;
        for (unsigned i = 0; i < array.length(); ++i)
            out.push_back(array[i].asChar());
        return out;
    }
    using Words = std::vector<std::string>;
};

TEST_F(MenuCommands, ItemsAreAddedQueriedEditedAndDeleted) {
    EXPECT_EQ(text("menu -label \"Fields\" fields"), "fields");
    EXPECT_EQ(text("menuItem -label \"Curve Field\" -command \"createNode curveField\" curveItem"), "curveItem");
    // Without a name or -parent: a made-up name, in the current menu.
    EXPECT_EQ(text("menuItem -divider true"), "menuItem1");
    ok("menu -l Particles particles");
    ok("menuItem -l \"Emitter\" -p fields emitterItem");
    EXPECT_EQ(strings("menu -q -itemArray fields"), (Words{"curveItem", "menuItem1", "emitterItem"}));
    EXPECT_EQ(integer("menu -query -numberOfItems particles"), 0);
    EXPECT_EQ(text("menu -q -label fields"), "Fields");
    EXPECT_EQ(text("menuItem -q -label curveItem"), "Curve Field");
    EXPECT_EQ(text("menuItem -q -command curveItem"), "createNode curveField");
    EXPECT_EQ(integer("menuItem -q -divider menuItem1"), 1);
    EXPECT_EQ(integer("menuItem -q -d curveItem"), 0);
    EXPECT_EQ(host::menuItemLabels("fields"), (Words{"Curve Field", "menuItem1", "Emitter"}));

    ok("menuItem -e -label \"Curves\" curveItem; menu -e -label \"Force Fields\" fields");
    EXPECT_EQ(text("menuItem -q -l curveItem"), "Curves");
    EXPECT_EQ(text("menu -q -l fields"), "Force Fields");

    EXPECT_EQ(integer("menuItem -exists curveItem"), 1);
    ok("deleteUI -menuItem curveItem");
    EXPECT_EQ(integer("menuItem -exists curveItem"), 0);
    EXPECT_EQ(strings("menu -q -ia fields"), (Words{"menuItem1", "emitterItem"}));
    ok("deleteUI menuItem1 particles");
    EXPECT_EQ(integer("menu -exists particles"), 0);
    EXPECT_EQ(strings("menu -q -ia fields"), Words{"emitterItem"});
    ok("menu -e -deleteAllItems fields");
    EXPECT_EQ(strings("menu -q -ia fields"), Words{});
    ok("deleteUI -menu fields");
    EXPECT_TRUE(host::menuItemLabels("fields").empty());
}

TEST_F(MenuCommands, SetParentChoosesTheMenuForNewItems) {
    ok("menu -l A a; menu -l B b; setParent -menu a; menuItem -l one one");
    EXPECT_EQ(strings("menu -q -ia a"), Words{"one"});
    EXPECT_EQ(strings("menu -q -ia b"), Words{});
    fails("setParent -menu nowhere", {"'nowhere' not found"});
    fails("setParent a", {"setParent -menu"});
}

TEST_F(MenuCommands, BadNamesAndMissingObjectsAreErrorsThatChangeNothing) {
    fails("menuItem -l orphan", {"No menu to put the item in"});
    ok("menu -l A a; menuItem -l one one");
    fails("menu a", {"'a' is not unique"});
    fails("menuItem one", {"'one' is not unique"});
    fails("menuItem -p nowhere two", {"No menu named 'nowhere'"});
    fails("menuItem -q -label nothing", {"'nothing' not found"});
    fails("menu -q -itemArray nothing", {"'nothing' not found"});
    fails("menu -q a", {"Query one of"});
    fails("menuItem -e -p a one", {"cannot move"});
    // deleteUI checks every name before it deletes any.
    fails("deleteUI one nothing", {"'nothing' not found"});
    fails("deleteUI -menu one", {"'one' not found"});
    fails("deleteUI -menuItem a", {"'a' not found"});
    fails("deleteUI", {"Nothing to delete"});
    EXPECT_EQ(strings("menu -q -ia a"), Words{"one"});
}

// A script cannot grow the menus without end, and made-up names stay cheap to find however many there are.
TEST_F(MenuCommands, MenusHoldABoundedNumberOfEntries) {
    ok("menu -l A a; int $i; for ($i = 1; $i < 100000; $i++) menuItem;");
    EXPECT_EQ(integer("menu -q -ni a"), 99999);
    EXPECT_EQ(integer("menuItem -exists menuItem99999"), 1);
    fails("menuItem", {"already hold 100000"});
    fails("menu b", {"already hold 100000"});
    ok("deleteUI menuItem5");
    EXPECT_EQ(text("menuItem -l again"), "menuItem100000");
    ok("deleteUI -menu a");
    EXPECT_EQ(integer("menuItem -exists menuItem7"), 0);
    EXPECT_EQ(text("menu -l B"), "menu1");
}

TEST_F(MenuCommands, AboutTellsTheStateAndVersion) {
    EXPECT_EQ(integer("about -batch"), 1);
    host::setMayaState(MGlobal::kInteractive);
    EXPECT_EQ(integer("about -b"), 0);
    host::setMayaState(MGlobal::kLibraryApp);
    EXPECT_EQ(integer("about -batch"), 1);
    host::setMayaVersion("4.5");
    EXPECT_EQ(text("about -version"), "4.5");
    fails("about", {"Give one of -batch and -version"});
    fails("about -batch -version", {"Give one of"});
}

}  // namespace
