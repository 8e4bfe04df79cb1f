#include "command_fixture.h"

#include "plugin/CommandRegistry.h"

using cmdtest::CommandTest;

namespace {

const std::string kTiny = VEXMORA_TINY_PLUGIN;

size_t typeCount() { return host::nodeTypes().size(); }

MObject fakePlugin(const char* path) { return MObject(std::make_shared<host::PluginObject>(path)); }

void* makeNothing() { return nullptr; }
MStatus initNothing() { return MStatus::kSuccess; }

}  // namespace

using PluginLoader = CommandTest;

TEST_F(PluginLoader, LoadRegistersTypesUnderThePluginAndRecordsVendor) {
    host::OutputCapture capture;
    ASSERT_TRUE(host::loadPlugin(kTiny)) << capture.err();
    EXPECT_EQ(capture.err(), "");  // MApiVersion "400": no warning
    EXPECT_TRUE(host::isPluginLoaded("tinyPlugin"));
    EXPECT_TRUE(host::isPluginLoaded(kTiny));
    std::shared_ptr<host::NodeType> type = host::findNodeType("tinyNode");
    ASSERT_TRUE(type);
    EXPECT_EQ(type->apiType, MFn::kPluginDependNode);
    EXPECT_EQ(type->owner, host::findPlugin("tinyPlugin")->path);
    EXPECT_EQ(host::findPlugin("tinyPlugin")->vendor, "tiny vendor");
    EXPECT_EQ(host::findPlugin("tinyPlugin")->version, "0.1 test");

    ok("createNode tinyNode -n t; setAttr t.in 4");
    EXPECT_DOUBLE_EQ(getDouble("t.output"), 8.0);
}

TEST_F(PluginLoader, ListNodeTypesPrintsVendorAndTypesInOrder) {
    ok("loadPlugin \"" + kTiny + "\"");
    ok("listNodeTypes tinyPlugin");
    // tinyNode: the base "message" attribute of a plain node plus input and output.
    EXPECT_EQ(out,
              "plug-in tinyPlugin: vendor \"tiny vendor\", version \"0.1 test\"\n"
              "tinyNode 0x07fe01 3 attributes\n"
              "tinySecond 0x07fe02 1 attributes\n");
    ok("listNodeTypes");
    EXPECT_NE(out.find("tinySecond"), std::string::npos);
    MStringArray names;
    EXPECT_TRUE(result.getResult(names));
    EXPECT_EQ(names.length(), 2u);
}

TEST_F(PluginLoader, BadLibrariesFailClearlyAndChangeNothing) {
    size_t before = typeCount();
    fails("loadPlugin /no/such/plugin.so", {"does not exist", "/no/such/plugin.so"});
    fails("loadPlugin \"" + std::string(VEXMORA_SOURCE_DIR) + "/tests/plugins/tinyPlugin.cpp\"",
          {"cannot open", "as a library"});
    fails("loadPlugin \"" + std::string(VEXMORA_NOT_A_PLUGIN) + "\"", {"is not a plug-in", "initializePlugin"});
    fails("loadPlugin /tmp", {"not a file"});
    fails("loadPlugin", {"Missing argument"});
    EXPECT_EQ(typeCount(), before);
    EXPECT_TRUE(host::loadedPlugins().empty());
}

TEST_F(PluginLoader, OtherApiVersionWarnsButLoads) {
    host::OutputCapture capture;
    ASSERT_TRUE(host::loadPlugin(VEXMORA_TINY_OLD_API_PLUGIN));
    EXPECT_NE(capture.err().find("// Warning: loadPlugin: plug-in \"tinyOldApiPlugin\" was built for API version "
                                 "\"399\""),
              std::string::npos)
        << capture.err();
    EXPECT_TRUE(host::findNodeType("tinyNode"));
}

TEST_F(PluginLoader, LoadingTwiceWarnsAndKeepsOneCopy) {
    ASSERT_TRUE(host::loadPlugin(kTiny));
    host::OutputCapture capture;
    EXPECT_TRUE(host::loadPlugin(kTiny));
    EXPECT_NE(capture.err().find("already loaded"), std::string::npos);
    EXPECT_EQ(host::loadedPlugins().size(), 1u);
}

TEST_F(PluginLoader, UnloadThenLoadAgain) {
    size_t before = typeCount();
    for (int round = 0; round < 3; ++round) {
        ok("loadPlugin \"" + kTiny + "\"");
        ok("createNode tinyNode -n t; setAttr t.input 1.5");
        EXPECT_DOUBLE_EQ(getDouble("t.output"), 3.0);
        ok("delete t; unloadPlugin tinyPlugin");
        EXPECT_FALSE(host::isPluginLoaded("tinyPlugin"));
        EXPECT_FALSE(host::findNodeType("tinyNode"));
        EXPECT_FALSE(host::findPluginCommand("tinyCommand"));
        EXPECT_EQ(typeCount(), before);
    }
    fails("unloadPlugin tinyPlugin", {"not loaded"});
    fails("unloadPlugin", {"Missing argument"});
}

TEST_F(PluginLoader, FailedInitializeKeepsWhatItRegistered) {
    MObject fake = fakePlugin("/test/squatter.so");
    MFnPlugin squatter(fake);
    ASSERT_TRUE(squatter.registerNode("tinySecond", MTypeId(0x7FE3F), makeNothing, initNothing));

    host::OutputCapture capture;
    MStatus status = host::loadPlugin(kTiny);
    EXPECT_FALSE(status);
    EXPECT_NE(capture.err().find("initializePlugin of \"tinyPlugin\" failed"), std::string::npos);
    EXPECT_TRUE(host::findNodeType("tinyNode"));
    EXPECT_TRUE(host::isPluginLoaded("tinyPlugin"));
    EXPECT_FALSE(host::findPlugin("tinyPlugin")->initialized);

    EXPECT_TRUE(host::unloadPlugin("tinyPlugin"));
    EXPECT_FALSE(host::findNodeType("tinyNode"));
    EXPECT_TRUE(squatter.deregisterNode(MTypeId(0x7FE3F)));
}

TEST_F(PluginLoader, FailedUninitializeKeepsThePluginLoaded) {
    ok("loadPlugin \"" + kTiny + "\"; createNode tinyNode -n t");
    host::OutputCapture capture;
    EXPECT_FALSE(host::unloadPlugin("tinyPlugin"));
    EXPECT_NE(capture.err().find("uninitializePlugin of \"tinyPlugin\" failed"), std::string::npos);
    EXPECT_TRUE(host::isPluginLoaded("tinyPlugin"));
    EXPECT_TRUE(host::findNodeType("tinyNode"));
    ok("setAttr t.input 2");
    EXPECT_DOUBLE_EQ(getDouble("t.output"), 4.0);
    ok("delete t");
    EXPECT_TRUE(host::unloadPlugin("tinyPlugin"));
}

TEST_F(PluginLoader, PluginCommandWhoseCreatorGivesNothingFails) {
    ok("loadPlugin \"" + kTiny + "\"");
    fails("tinyCommand -p 1 2 3", {"tinyCommand", "could not create the command"});
    EXPECT_EQ(host::journalCommands().back(), "tinyCommand -p 1 2 3");
}

TEST(PluginRegistry, FunctionSetNeedsThePluginObject) {
    MObject notAPlugin;
    MStatus status;
    MFnPlugin fn(notAPlugin, "v", "1", "any", &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_EQ(fn.registerNode("x", MTypeId(0x7FE30), makeNothing, initNothing), MStatus::kInvalidParameter);
    EXPECT_EQ(fn.registerCommand("x", makeNothing), MStatus::kInvalidParameter);
    fn.vendor(&status);
    EXPECT_EQ(status, MStatus::kFailure);
}

TEST(PluginRegistry, NodeKindDecidesApiTypeAndOwnershipGuardsDeregistration) {
    MObject a = fakePlugin("/test/a.so");
    MObject b = fakePlugin("/test/b.so");
    MFnPlugin fa(a);
    MFnPlugin fb(b);
    ASSERT_TRUE(fa.registerNode("regPlain", MTypeId(0x7FE20), makeNothing, initNothing));
    EXPECT_EQ(host::findNodeType("regPlain")->apiType, MFn::kPluginDependNode);
    EXPECT_EQ(fa.registerNode("regPlain", MTypeId(0x7FE21), makeNothing, initNothing), MStatus::kFailure);
    EXPECT_FALSE(fa.registerNode("regOther", MTypeId(0x7FE20), makeNothing, initNothing));
    EXPECT_EQ(fa.registerNode("", MTypeId(0x7FE22), makeNothing, initNothing), MStatus::kInvalidParameter);
    EXPECT_EQ(fb.deregisterNode(MTypeId(0x7FE20)), MStatus::kFailure);
    EXPECT_EQ(fa.deregisterNode(MTypeId(0x7FE29)), MStatus::kFailure);
    EXPECT_TRUE(fa.deregisterNode(MTypeId(0x7FE20)));
}

TEST(PluginRegistry, CommandTable) {
    MObject a = fakePlugin("/test/a.so");
    MObject b = fakePlugin("/test/b.so");
    MFnPlugin fa(a);
    MFnPlugin fb(b);
    ASSERT_TRUE(fa.registerCommand("regCommand", makeNothing));
    EXPECT_EQ(fb.registerCommand("regCommand", makeNothing), MStatus::kFailure);
    EXPECT_EQ(fa.registerCommand("setAttr", makeNothing), MStatus::kFailure);
    EXPECT_EQ(fa.registerCommand("nullCreator", nullptr), MStatus::kInvalidParameter);
    EXPECT_EQ(fb.deregisterCommand("regCommand"), MStatus::kFailure);
    EXPECT_EQ(fa.deregisterCommand("unknownCommand"), MStatus::kFailure);
    EXPECT_TRUE(fa.deregisterCommand("regCommand"));
    EXPECT_EQ(fa.deregisterCommand("regCommand"), MStatus::kFailure);
}
