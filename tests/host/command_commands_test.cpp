#include "command_fixture.h"

#include "data/Data.h"

#include <maya/MFnDoubleArrayData.h>
#include <maya/MPlugArray.h>
#include <maya/MTime.h>

using cmdtest::CommandTest;

// ---- createNode, delete, rename ----------------------------------------------------------------

TEST_F(CommandTest, CreateNodeNamesLikeMaya) {
    ok("createNode cmdTestNode");
    MString name;
    result.getResult(name);
    EXPECT_EQ(name, "cmdTestNode1");
    ok("createNode cmdTestNode -n ball");
    ok("createNode cmdTestNode -name ball");
    result.getResult(name);
    EXPECT_EQ(name, "ball1");
    EXPECT_TRUE(host::findNode("ball"));
    EXPECT_TRUE(host::findNode("ball1"));
}

TEST_F(CommandTest, CreateNodeErrorsCreateNothing) {
    fails("createNode noSuchType", {"Unknown node type", "noSuchType"});
    fails("createNode", {"Missing argument"});
    fails("createNode cmdTestNode -n", {"-n", "value"});
    fails("createNode cmdTestNode -n \"bad.name\"", {"bad.name", "not a valid node name"});
    fails("createNode cmdTestNode -bogus x", {"Invalid flag", "-bogus"});
    fails("createNode cmdTestNode extra", {"Too many arguments", "extra"});
    EXPECT_TRUE(host::sceneNodes().empty());
}

TEST_F(CommandTest, DeleteIsAllOrNothing) {
    ok("createNode cmdTestNode -n a; createNode cmdTestNode -n b; createNode cmdTestNode -n c");
    fails("delete a missing b", {"missing"});
    EXPECT_EQ(host::sceneNodes().size(), 3u);
    ok("delete a b a");
    ASSERT_EQ(host::sceneNodes().size(), 1u);
    EXPECT_EQ(host::sceneNodes()[0]->name, "c");
    fails("delete", {"Missing argument"});
}

TEST_F(CommandTest, RenameChecksTheNewName) {
    ok("createNode cmdTestNode -n a; createNode cmdTestNode -n b");
    fails("rename a b", {"already exists"});
    fails("rename a \"1x\"", {"not a valid node name"});
    fails("rename nobody x", {"nobody"});
    fails("rename a", {"Missing argument"});
    EXPECT_TRUE(host::findNode("a"));
    ok("rename a renamed; setAttr renamed.num 4");
    EXPECT_FALSE(host::findNode("a"));
    EXPECT_DOUBLE_EQ(getDouble("renamed.num"), 4.0);
}

// ---- setAttr / getAttr on numbers --------------------------------------------------------------

TEST_F(CommandTest, SetAndGetNumbersOfEachNumericKind) {
    ok("createNode cmdTestNode -n a");
    EXPECT_DOUBLE_EQ(getDouble("a.num"), 1.5);
    ok("setAttr a.num -2.25e1; setAttr a.cnt 7; setAttr a.flag on; setAttr a.vec 1 -2 3.5");
    EXPECT_DOUBLE_EQ(getDouble("a.num"), -22.5);
    ok("getAttr a.count");
    int count = 0;
    EXPECT_TRUE(result.getResult(count));
    EXPECT_EQ(count, 7);
    ok("getAttr a.flag");
    int flag = 0;
    EXPECT_TRUE(result.getResult(flag));
    EXPECT_EQ(flag, 1);
    for (const char* no : {"false", "off", "no", "0"}) {
        ok(std::string("setAttr a.flag ") + no);
        EXPECT_DOUBLE_EQ(getDouble("a.flag"), 0.0) << no;
    }
    EXPECT_EQ(getDoubles("a.vec"), (std::vector<double>{1.0, -2.0, 3.5}));
    ok("setAttr a.vecY 9");
    EXPECT_EQ(getDoubles("a.vc"), (std::vector<double>{1.0, 9.0, 3.5}));
    ok("setAttr a.vec -type double3 4 5 6");
    EXPECT_EQ(getDoubles("a.vec"), (std::vector<double>{4.0, 5.0, 6.0}));
}

TEST_F(CommandTest, MalformedNumbersChangeNothing) {
    ok("createNode cmdTestNode -n a");
    fails("setAttr a.num 1.5x", {"'1.5x'", "not a number"});
    fails("setAttr a.num nan", {"not a number"});
    fails("setAttr a.num inf", {"not a number"});
    fails("setAttr a.num 0x10", {"not a number"});
    fails("setAttr a.num 1e999", {"not a number"});
    fails("setAttr a.num \"\"", {"not a number"});
    fails("setAttr a.count 2.5", {"not an integer"});
    fails("setAttr a.count 99999999999", {"not an integer"});
    fails("setAttr a.flag maybe", {"not a boolean"});
    fails("setAttr a.vec 1 2 x", {"'x'"});
    EXPECT_DOUBLE_EQ(getDouble("a.num"), 1.5);
    EXPECT_DOUBLE_EQ(getDouble("a.count"), 0.0);
    EXPECT_EQ(getDoubles("a.vec"), (std::vector<double>{0.0, 0.0, 0.0}));
}

TEST_F(CommandTest, SetAttrCountAndTargetErrors) {
    ok("createNode cmdTestNode -n a");
    fails("setAttr a.vec 1 2", {"takes 3 value(s)", "2 were given"});
    fails("setAttr a.num 1 2", {"takes 1 value(s)"});
    fails("setAttr a.num", {"Missing value"});
    fails("setAttr", {"Missing argument"});
    fails("setAttr a.nothing 1", {"'a'", "no attribute", "'nothing'"});
    fails("setAttr b.num 1", {"No node named 'b'"});
    fails("setAttr a 1", {"not a plug name"});
    fails("setAttr a.result 1", {"not writable"});
    fails("setAttr a.list 1", {"array attribute", "a.list[0]"});
    fails("setAttr a.num -type string x", {"Wrong data type", "numbers"});
    EXPECT_DOUBLE_EQ(getDouble("a.num"), 1.5);
}

TEST_F(CommandTest, ArrayElementsAndSize) {
    ok("createNode cmdTestNode -n a; setAttr a.list[3] 1.25; setAttr \"a.ls[0]\" -4");
    EXPECT_DOUBLE_EQ(getDouble("a.list[3]"), 1.25);
    ok("getAttr -size a.list");
    int n = 0;
    EXPECT_TRUE(result.getResult(n));
    EXPECT_EQ(n, 2);
    // A whole numeric multi reads as the numbers of its elements in ascending logical order.
    EXPECT_EQ(getDoubles("a.list"), (std::vector<double>{-4.0, 1.25}));
    fails("getAttr -s a.num", {"-size needs an array"});
}

TEST_F(CommandTest, ConnectedDestinationCannotBeSet) {
    ok("createNode cmdTestNode -n a; createNode cmdTestNode -n b; connectAttr a.num b.num");
    fails("setAttr b.num 3", {"The attribute 'b.num' is locked or connected and cannot be modified."});
    ok("connectAttr a.vecX b.vecZ");
    fails("setAttr b.vec 1 2 3", {"locked or connected"});
    EXPECT_EQ(getDoubles("b.vec"), (std::vector<double>{0.0, 0.0, 0.0}));
}

// ---- setAttr / getAttr on data ----------------------------------------------------------------

TEST_F(CommandTest, SetAndGetTypedData) {
    ok("createNode cmdTestNode -n a");
    ok("setAttr a.text -type \"string\" \"two words; and more\"");
    ok("getAttr a.text");
    MString text;
    EXPECT_TRUE(result.getResult(text));
    EXPECT_EQ(text, "two words; and more");

    ok("setAttr a.values -type doubleArray 3 1 -2 3.5");
    EXPECT_EQ(getDoubles("a.values"), (std::vector<double>{1.0, -2.0, 3.5}));
    ok("getAttr -size a.values");
    int n = 0;
    result.getResult(n);
    EXPECT_EQ(n, 3);
    ok("setAttr a.values -type doubleArray 0");
    EXPECT_TRUE(getDoubles("a.values").empty());

    ok("setAttr -type vectorArray a.vecs 2 1 2 3 4 5 6");
    EXPECT_EQ(getDoubles("a.vecs"), (std::vector<double>{1, 2, 3, 4, 5, 6}));
    ok("getAttr -size a.vecs");
    result.getResult(n);
    EXPECT_EQ(n, 2);

    ok("setAttr a.ints -type Int32Array 2 -7 9");
    ok("getAttr a.ints");
    MIntArray ints;
    EXPECT_TRUE(result.getResult(ints));
    ASSERT_EQ(ints.length(), 2u);
    EXPECT_EQ(ints[0], -7);
    EXPECT_EQ(ints[1], 9);
}

TEST_F(CommandTest, TypedDataErrorsChangeNothing) {
    ok("createNode cmdTestNode -n a; setAttr a.values -type doubleArray 2 1 2");
    fails("setAttr a.values -type doubleArray 3 1 2", {"count 3 needs 3 values", "2 were given"});
    fails("setAttr a.values -type doubleArray 1 1 2", {"count 1"});
    fails("setAttr a.values -type doubleArray -1", {"element count"});
    fails("setAttr a.values -type doubleArray x 1", {"element count", "'x'"});
    fails("setAttr a.values -type doubleArray", {"Missing value"});
    fails("setAttr a.values -type doubleArray 2 1 bad", {"'bad'", "not a number"});
    fails("setAttr a.values -type vectorArray 1 1 2 3", {"Wrong data type", "doubleArray"});
    fails("setAttr a.values -type matrix 1", {"Unknown data type", "matrix"});
    fails("setAttr a.values 1 2", {"-type doubleArray"});
    fails("setAttr a.vecs -type vectorArray 2 1 2 3 4 5", {"needs 6 values"});
    fails("setAttr a.ints -type Int32Array 1 1.5", {"not an integer"});
    fails("setAttr a.text -type string two words", {"one text"});
    fails("setAttr a.text hello", {"-type string"});
    fails("setAttr a.values -type", {"-type", "value"});
    EXPECT_EQ(getDoubles("a.values"), (std::vector<double>{1.0, 2.0}));
}

// ---- addAttr ----------------------------------------------------------------------------------

TEST_F(CommandTest, AddAttrAddsUsableDynamicAttributes) {
    ok("createNode cmdTestNode -n a");
    ok("addAttr -ln rgbPP -dt vectorArray a");
    ok("setAttr a.rgbPP -type vectorArray 1 0.5 0.25 1");
    EXPECT_EQ(getDoubles("a.rgbPP"), (std::vector<double>{0.5, 0.25, 1.0}));
    ok("addAttr -ln lifespanPP -sn lpp -dt doubleArray a; setAttr a.lpp -type doubleArray 1 4");
    EXPECT_EQ(getDoubles("a.lifespanPP"), (std::vector<double>{4.0}));
    ok("addAttr -ln steps -at long -dv 3 a");
    EXPECT_DOUBLE_EQ(getDouble("a.steps"), 3.0);
    ok("addAttr -longName on -attributeType bool -defaultValue yes a");
    EXPECT_DOUBLE_EQ(getDouble("a.on"), 1.0);
    ok("addAttr -ln weights -at double -m a; setAttr a.weights[2] 0.5");
    EXPECT_DOUBLE_EQ(getDouble("a.weights[2]"), 0.5);
}

TEST_F(CommandTest, AddAttrErrorsAddNothing) {
    ok("createNode cmdTestNode -n a");
    fails("addAttr -ln num -at double a", {"already has an attribute named 'num'"});
    fails("addAttr -ln fresh -sn nm -at double a", {"'nm'"});
    fails("addAttr -dt doubleArray a", {"Missing -ln"});
    fails("addAttr -ln x a", {"exactly one of -dt"});
    fails("addAttr -ln x -dt doubleArray -at double a", {"exactly one of -dt"});
    fails("addAttr -ln x -dt matrix a", {"Unknown data type"});
    fails("addAttr -ln x -at vector a", {"Unknown attribute type"});
    fails("addAttr -ln x -dt doubleArray -dv 1 a", {"-dv"});
    fails("addAttr -ln x -at long -dv 1.5 a", {"not an integer"});
    fails("addAttr -ln \"a b\" -at long a", {"not a valid attribute name"});
    fails("addAttr -ln x -at long nobody", {"nobody"});
    fails("addAttr -ln x -at long", {"Missing argument"});
    EXPECT_EQ(host::findNode("a")->dynamicAttributes.size(), 0u);
}

// ---- connectAttr / disconnectAttr ---------------------------------------------------------------

TEST_F(CommandTest, ConnectPullsAndForceReplaces) {
    ok("createNode cmdTestNode -n a; createNode cmdTestNode -n b; createNode cmdTestNode -n c");
    ok("setAttr a.num 2; setAttr c.num 3; connectAttr a.result b.num");
    EXPECT_DOUBLE_EQ(getDouble("b.result"), 200.0);
    fails("connectAttr a.result b.num", {"already connected to"});
    fails("connectAttr c.result b.num", {"already connected from", "-f"});
    EXPECT_DOUBLE_EQ(getDouble("b.num"), 20.0);
    ok("connectAttr -f c.result b.num");
    EXPECT_DOUBLE_EQ(getDouble("b.num"), 30.0);
    MPlugArray sources;
    host::plugByName("b.num").connectedTo(sources, true, false);
    ASSERT_EQ(sources.length(), 1u);
    EXPECT_EQ(sources[0].name(), "c.result");
}

TEST_F(CommandTest, ConnectionErrors) {
    ok("createNode cmdTestNode -n a; createNode cmdTestNode -n b");
    fails("connectAttr a.result", {"Missing argument"});
    fails("connectAttr a.nothing b.num", {"no attribute", "'nothing'"});
    fails("connectAttr a.result z.num", {"No node named 'z'"});
    fails("disconnectAttr a.result b.num", {"is not connected to"});
    ok("connectAttr a.result b.num");
    fails("disconnectAttr b.result b.num", {"is not connected to"});
    ok("disconnectAttr a.result b.num");
    EXPECT_FALSE(host::incomingConnection(host::plugByName("b.num")));
    ok("setAttr b.num 5");
}

// ---- currentTime, print, evaluate ---------------------------------------------------------------

TEST_F(CommandTest, CurrentTimeUsesTheUiUnit) {
    ok("currentTime 12");
    EXPECT_DOUBLE_EQ(host::currentTime().as(MTime::kFilm), 12.0);
    MTime::setUIUnit(MTime::kSeconds);
    ok("currentTime 2");
    EXPECT_DOUBLE_EQ(host::currentTime().as(MTime::kFilm), 48.0);
    ok("currentTime -q");
    double t = 0.0;
    EXPECT_TRUE(result.getResult(t));
    EXPECT_DOUBLE_EQ(t, 2.0);
    fails("currentTime soon", {"'soon'", "not a time"});
    fails("currentTime -q 3", {"Too many arguments"});
    host::newScene();
    EXPECT_EQ(MTime::uiUnit(), MTime::kFilm);
    EXPECT_DOUBLE_EQ(host::currentTime().as(MTime::kFilm), 0.0);
}

TEST_F(CommandTest, CurrentTimeQueryReturnsUiUnitValue) {
    ok("currentTime 30");
    ok("currentTime");
    double t = 0.0;
    EXPECT_TRUE(result.getResult(t));
    EXPECT_DOUBLE_EQ(t, 30.0);
}

TEST_F(CommandTest, PrintWritesWithoutAddingALineEnd) {
    ok("print \"hello\\n\"; print a + \"b\" c");
    EXPECT_EQ(out, "hello\nab c");
    fails("print", {"Missing argument"});
}

TEST_F(CommandTest, EvaluateAndCleanState) {
    ok("createNode cmdTestNode -n a; setAttr a.num 4");
    EXPECT_FALSE(host::isPlugClean("a.result"));
    EXPECT_TRUE(host::evaluate("a.result"));
    EXPECT_TRUE(host::isPlugClean("a.result"));
    EXPECT_FALSE(host::isPlugClean("a.missing"));
    host::OutputCapture capture;
    EXPECT_EQ(host::evaluate("a.missing"), MStatus::kInvalidParameter);
    EXPECT_FALSE(host::nodeByName("a").isNull());
    EXPECT_TRUE(host::nodeByName("zz").isNull());
}

TEST_F(CommandTest, ListNodeTypesOfAnUnknownPluginFails) {
    fails("listNodeTypes nothingLoaded", {"not loaded"});
    ok("listNodeTypes");
    EXPECT_EQ(out, "");
}
