#include "command/Journal.h"
#include "command_fixture.h"

#include <cstdio>
#include <fstream>

using cmdtest::CommandTest;

namespace {

using Kind = host::JournalEntry::Kind;

}  // namespace

TEST_F(CommandTest, UnknownProcedureFailsWithMayasWordingAndIsJournaled) {
    host::OutputCapture capture;
    MCommandResult r;
    MStatus status = MGlobal::executeCommand("noSuchProcedure", r, false, false);
    EXPECT_EQ(status, MStatus::kFailure);
    EXPECT_EQ(MGlobal::executeCommand("notDefinedEither"), MStatus::kFailure);
    const auto& j = host::journal();
    ASSERT_EQ(j.size(), 4u);
    EXPECT_EQ(j[0].kind, Kind::Command);
    EXPECT_EQ(j[0].text, "noSuchProcedure");
    EXPECT_EQ(j[0].status, MStatus::kFailure);
    EXPECT_EQ(j[1].kind, Kind::Error);
    EXPECT_EQ(j[1].text, "Cannot find procedure \"noSuchProcedure\".");
    EXPECT_EQ(host::journalCommands(), (std::vector<std::string>{"noSuchProcedure", "notDefinedEither"}));
    EXPECT_EQ(capture.err(), "// Error: Cannot find procedure \"noSuchProcedure\".\n"
                             "// Error: Cannot find procedure \"notDefinedEither\".\n");
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

// A small journal: the oldest entries go, the count of what went is kept, and the marks the interpreter
// takes stay right across the drops and across a clear.
class BoundedJournal : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        host::setJournalLimits(8, 0);
    }
    void TearDown() override {
        host::setJournalLimits(100000, size_t(32) << 20);
        CommandTest::TearDown();
    }
};

TEST_F(BoundedJournal, KeepsTheLatestEntriesAndCountsTheDropped) {
    for (int i = 0; i < 50; ++i)
        ok("createNode cmdTestNode -n n" + std::to_string(i));
    const auto& j = host::journal();
    ASSERT_LE(j.size(), 8u);
    ASSERT_FALSE(j.empty());
    EXPECT_EQ(j.back().text, "createNode cmdTestNode -n n49");
    EXPECT_EQ(j.back().status, MStatus::kSuccess);
    EXPECT_EQ(host::journalDropped() + j.size(), 50u);
    host::clearJournal();
    EXPECT_EQ(host::journalDropped(), 0u);

    // One long text is kept cut.
    host::journalMessage(host::JournalEntry::Info, std::string(200000, 'x'));
    ASSERT_EQ(j.size(), 1u);
    EXPECT_EQ(j[0].text.size(), 64u * 1024);
    EXPECT_EQ(j[0].text.substr(j[0].text.size() - 4), " ...");
}

TEST_F(BoundedJournal, MarksSurviveDropsAndClears) {
    host::OutputCapture quiet;
    size_t mark = host::journalSize();
    for (int i = 0; i < 20; ++i)
        host::journalMessage(host::JournalEntry::Info, "info");
    EXPECT_EQ(host::lastErrorSince(mark), "");
    MGlobal::displayError("the failure");
    EXPECT_EQ(host::lastErrorSince(mark), "the failure");
    EXPECT_EQ(host::lastErrorSince(host::journalSize()), "");

    // A command's end after a clear does not touch a later command that took its place.
    size_t before = host::journalCommandStart("first");
    host::clearJournal();
    host::journalCommandStart("second");
    host::journalCommandEnd(before, MStatus::kFailure);
    ASSERT_EQ(host::journal().size(), 1u);
    EXPECT_EQ(host::journal()[0].status, MStatus::kSuccess);
}

// A script that fails after its journal wrapped still names the file, the line and the error.
TEST_F(BoundedJournal, ScriptErrorsAreReportedAfterTheJournalWrapped) {
    host::OutputCapture capture;
    std::string path = ::testing::TempDir() + "bounded_journal.mel";
    {
        std::ofstream script(path);
        for (int i = 0; i < 30; ++i)
            script << "createNode cmdTestNode -n m" << i << ";\n";
        script << "setAttr m3.num oops;\n";
    }
    EXPECT_EQ(host::runScript(path), MStatus::kFailure);
    EXPECT_NE(capture.err().find("bounded_journal.mel:31"), std::string::npos) << capture.err();
    EXPECT_NE(capture.err().find("num"), std::string::npos) << capture.err();
    std::remove(path.c_str());
}
