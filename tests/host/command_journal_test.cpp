#include "command_fixture.h"

using cmdtest::CommandTest;

namespace {

using Kind = host::JournalEntry::Kind;

}  // namespace

TEST_F(CommandTest, UnknownProcedureFailsWithMayasWordingAndIsJournaled) {
    host::OutputCapture capture;
    MCommandResult r;
    MStatus status = MGlobal::executeCommand("DynAddCurveFieldMenu", r, false, false);
    EXPECT_EQ(status, MStatus::kFailure);
    EXPECT_EQ(MGlobal::executeCommand("rebuildDynamicsMenus"), MStatus::kFailure);
    const auto& j = host::journal();
    ASSERT_EQ(j.size(), 4u);
    EXPECT_EQ(j[0].kind, Kind::Command);
    EXPECT_EQ(j[0].text, "DynAddCurveFieldMenu");
    EXPECT_EQ(j[0].status, MStatus::kFailure);
    EXPECT_EQ(j[1].kind, Kind::Error);
    EXPECT_EQ(j[1].text, "Cannot find procedure \"DynAddCurveFieldMenu\".");
    EXPECT_EQ(host::journalCommands(), (std::vector<std::string>{"DynAddCurveFieldMenu", "rebuildDynamicsMenus"}));
    EXPECT_EQ(capture.err(), "// Error: Cannot find procedure \"DynAddCurveFieldMenu\".\n"
                             "// Error: Cannot find procedure \"rebuildDynamicsMenus\".\n");
}

TEST_F(CommandTest, DefinedProcedureSucceedsAndDoesNothing) {
    host::defineProcedure("addMeshConstraintMenu");
    EXPECT_TRUE(MGlobal::executeCommand("addMeshConstraintMenu"));
    EXPECT_TRUE(MGlobal::executeCommand("addMeshConstraintMenu extra \"args\""));
    ASSERT_EQ(host::journal().size(), 2u);
    EXPECT_EQ(host::journal()[0].status, MStatus::kSuccess);
    EXPECT_TRUE(host::journalErrors().empty());
}

TEST_F(CommandTest, JournalKeepsCommandsAndMessagesInOrder) {
    host::OutputCapture capture;
    MGlobal::displayInfo("info text");
    MGlobal::displayWarning("warning text");
    MGlobal::executeCommand("createNode cmdTestNode -n a; setAttr a.num oops");
    MGlobal::displayError("plug-in error");
    const auto& j = host::journal();
    ASSERT_EQ(j.size(), 6u);
    EXPECT_EQ(j[0].kind, Kind::Info);
    EXPECT_EQ(j[1].kind, Kind::Warning);
    EXPECT_EQ(j[2].text, "createNode cmdTestNode -n a");
    EXPECT_EQ(j[2].status, MStatus::kSuccess);
    EXPECT_EQ(j[3].text, "setAttr a.num oops");
    EXPECT_EQ(j[3].status, MStatus::kFailure);
    EXPECT_EQ(j[4].kind, Kind::Error);
    EXPECT_EQ(j[5].text, "plug-in error");
    EXPECT_EQ(capture.out(), "info text\n");
    EXPECT_NE(capture.err().find("// Warning: warning text\n"), std::string::npos);
    EXPECT_NE(capture.err().find("// Error: plug-in error\n"), std::string::npos);
    host::clearJournal();
    EXPECT_TRUE(host::journal().empty());
}

TEST_F(CommandTest, ExecutionStopsAtTheFirstFailingStatement) {
    fails("createNode cmdTestNode -n a; noSuchCommand; createNode cmdTestNode -n b", {"noSuchCommand"});
    EXPECT_TRUE(host::findNode("a"));
    EXPECT_FALSE(host::findNode("b"));
}

TEST_F(CommandTest, SyntaxErrorRunsNothingAndIsJournaled) {
    fails("createNode cmdTestNode -n a;\nprint \"unclosed", {"Syntax error", "line 2"});
    EXPECT_FALSE(host::findNode("a"));
    ASSERT_FALSE(host::journalCommands().empty());
    EXPECT_EQ(host::journal().front().status, MStatus::kFailure);
}

TEST_F(CommandTest, ResultReachesTheCallersCommandResult) {
    MCommandResult r;
    ASSERT_TRUE(MGlobal::executeCommand("createNode cmdTestNode -n node", r));
    EXPECT_EQ(r.resultType(), MCommandResult::kString);
    MString name;
    EXPECT_TRUE(r.getResult(name));
    EXPECT_EQ(name, "node");
    double wrongType = 0.0;
    EXPECT_EQ(r.getResult(wrongType), MStatus::kInvalidParameter);
    ASSERT_TRUE(MGlobal::executeCommand("getAttr node.count", r));
    int count = -1;
    double asDouble = -1.0;
    EXPECT_TRUE(r.getResult(count));
    EXPECT_TRUE(r.getResult(asDouble));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(asDouble, 0.0);
    // A failed command leaves no result behind.
    host::OutputCapture capture;
    EXPECT_FALSE(MGlobal::executeCommand("getAttr node.nothing", r));
    EXPECT_EQ(r.resultType(), MCommandResult::kInvalid);
}

TEST_F(CommandTest, StateAndVersionAreSettable) {
    EXPECT_EQ(MGlobal::mayaState(), MGlobal::kBatch);
    host::setMayaState(MGlobal::kInteractive);
    EXPECT_EQ(MGlobal::mayaState(), MGlobal::kInteractive);
    EXPECT_EQ(MGlobal::mayaVersion(), "2026");
    EXPECT_EQ(MGlobal::apiVersion(), 20260000);
    host::setMayaVersion("4.5");
    EXPECT_EQ(MGlobal::mayaVersion(), "4.5");
    EXPECT_EQ(MGlobal::apiVersion(), 450);
    host::setMayaVersion("unknown");
    EXPECT_EQ(MGlobal::apiVersion(), 0);
}

TEST_F(CommandTest, BackQuotedCommandResultBecomesAnArgument) {
    ok("createNode cmdTestNode -n a; setAttr a.num 2.5");
    ok("print \"num=\" + `getAttr a.num` \"and\" `getAttr a.result`");
    EXPECT_EQ(out, "num=2.5 and 25");
    fails("print `getAttr a.missing`", {"missing"});
    EXPECT_TRUE(out.empty());
}
