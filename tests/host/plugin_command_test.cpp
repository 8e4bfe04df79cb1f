// Plug-in commands: MArgList as a command sees it, and running a registered command from the command
// language with its result visible to scripts.

#include "command_fixture.h"

#include "plugin/CommandRegistry.h"

#include <maya/MArgList.h>
#include <maya/MPxCommand.h>

#include <string>
#include <vector>

namespace {

MArgList argsOf(const std::vector<const char*>& words) {
    MArgList list;
    for (const char* w : words) list.addArg(MString(w));
    return list;
}

TEST(ArgList, StringsAndNumbers) {
    MArgList args = argsOf({"-p", "1.5", "x", "-7"});
    MStatus status;
    EXPECT_EQ(args.length(), 4u);
    EXPECT_EQ(args.asString(0, &status), "-p");
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(args.asString(4, &status), "");
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_EQ(args.asDouble(1, &status), 1.5);
    EXPECT_TRUE(status);
    EXPECT_EQ(args.asDouble(2, &status), 0.0);
    EXPECT_FALSE(status);
    EXPECT_EQ(args.asInt(3, &status), -7);
    EXPECT_TRUE(status);
    args.asInt(1, &status);
    EXPECT_FALSE(status) << "a fraction is no int";
    EXPECT_EQ(argsOf({"2"}).asString(0), "2") << "a number reads as its text";
}

TEST(ArgList, AsPointLeavesTheIndexOnTheLastNumberRead) {
    MArgList args = argsOf({"-p", "1", "2", "3", "-m", "mesh"});
    unsigned i = 1;
    MStatus status;
    MPoint p = args.asPoint(i, 3, &status);
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(p, MPoint(1, 2, 3, 1));
    EXPECT_EQ(i, 3u);

    unsigned j = 1;
    MVector v = argsOf({"-v", "4", "5"}).asVector(j, 2, &status);
    EXPECT_TRUE(status);
    EXPECT_EQ(v, MVector(4, 5, 0));
    EXPECT_EQ(j, 2u);
}

TEST(ArgList, AsPointFailureStopsBeforeTheBadArgument) {
    struct Case {
        std::vector<const char*> words;
        unsigned start;
        unsigned index;  // where the index is left
    };
    const Case cases[] = {
        {{"-p", "1", "x", "3"}, 1, 1},        // "x" at 2
        {{"-p", "a", "2", "3"}, 1, 0},        // the first one
        {{"-p", "1", "2", "-m", "m"}, 1, 2},  // a flag where the third number belongs
        {{"-p", "1", "2"}, 1, 2},             // the list runs out: just before the end
        {{"-p"}, 1, 0},
        {{"-p", "1", "2", "nan"}, 1, 2},
        {{"-p", "1", "2", "1e999"}, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words.size());
        MArgList args = argsOf(c.words);
        unsigned i = c.start;
        MStatus status;
        MPoint p = args.asPoint(i, 3, &status);
        EXPECT_EQ(status, MStatus::kInvalidParameter);
        EXPECT_EQ(i, c.index);
        EXPECT_EQ(p, MPoint()) << "the origin on failure";
    }
    unsigned huge = 0xFFFFFFFEu;
    MStatus status;
    argsOf({"1", "2", "3"}).asPoint(huge, 3, &status);
    EXPECT_FALSE(status) << "an index that wraps around reads nothing";
}

// A command that echoes its arguments as its result, or fails on "-fail"; "-nested" runs another
// command first (results of the inner command stay its own).
class EchoCommand : public MPxCommand {
public:
    static void* creator() {
        ++created;
        return new EchoCommand;
    }
    ~EchoCommand() override { ++deleted; }
    MStatus doIt(const MArgList& args) override {
        MStringArray words;
        for (unsigned i = 0; i < args.length(); ++i) {
            if (args.asString(i) == "-fail") {
                MGlobal::displayError("echo failed");
                return MStatus::kFailure;
            }
            if (args.asString(i) == "-nested") {
                MCommandResult inner;
                MGlobal::executeCommand("sumArgs 1 2", inner);
                continue;
            }
            words.append(args.asString(i));
        }
        clearResult();
        setResult(words);
        return MStatus::kSuccess;
    }
    static inline int created = 0;
    static inline int deleted = 0;
};

class SumCommand : public MPxCommand {
public:
    static void* creator() { return new SumCommand; }
    MStatus doIt(const MArgList& args) override {
        MDoubleArray values;
        double sum = 0.0;
        for (unsigned i = 0; i < args.length(); ++i) sum += args.asDouble(i);
        values.append(sum);
        values.append(0.5);
        setResult(values);
        return MStatus::kSuccess;
    }
};

class PluginCommandTest : public cmdtest::CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        ASSERT_TRUE(host::addPluginCommand({"echoArgs", EchoCommand::creator, nullptr, "/test/cmd.so"}));
        ASSERT_TRUE(host::addPluginCommand({"sumArgs", SumCommand::creator, nullptr, "/test/cmd.so"}));
    }
    void TearDown() override {
        host::removePluginCommand("echoArgs", "/test/cmd.so");
        host::removePluginCommand("sumArgs", "/test/cmd.so");
        CommandTest::TearDown();
    }
};

TEST_F(PluginCommandTest, RunsWithRawArgumentsAndDeletesTheObject) {
    const int created = EchoCommand::created;
    const int deleted = EchoCommand::deleted;
    ok("echoArgs -p 1 2 \"two words\" `sumArgs 1 2`");
    MStringArray words;
    ASSERT_TRUE(result.getResult(words));
    ASSERT_EQ(words.length(), 6u);
    EXPECT_EQ(words[0], "-p");
    EXPECT_EQ(words[3], "two words");
    EXPECT_EQ(words[4], "3") << "a back-quoted array arrives as one word per element";
    EXPECT_EQ(words[5], "0.5");
    EXPECT_EQ(EchoCommand::created, created + 1);
    EXPECT_EQ(EchoCommand::deleted, deleted + 1);
}

TEST_F(PluginCommandTest, ResultsReachScriptsAndExecuteCommand) {
    ok("print `sumArgs 1 2.25`");
    EXPECT_EQ(out, "3.25\n0.5\n") << "print writes an array one element a line";
    MCommandResult r;
    ASSERT_TRUE(MGlobal::executeCommand("sumArgs 4", r));
    MDoubleArray values;
    ASSERT_TRUE(r.getResult(values));
    EXPECT_EQ(values.length(), 2u);
    EXPECT_EQ(values[0], 4.0);
    // A command run inside another keeps its own result.
    ok("echoArgs -nested a");
    MStringArray words;
    ASSERT_TRUE(result.getResult(words));
    ASSERT_EQ(words.length(), 1u);
    EXPECT_EQ(words[0], "a");
}

TEST_F(PluginCommandTest, FailureIsTheCommandsStatusAndStopsAScript) {
    fails("echoArgs -fail; echoArgs never", {"echo failed"});
    EXPECT_EQ(host::journalCommands().back(), "echoArgs -fail");
    // Outside a running command, setting a result does nothing.
    MPxCommand::setResult(1.0);
    MPxCommand::clearResult();
}

}  // namespace
