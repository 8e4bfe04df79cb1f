#include "command_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

using cmdtest::CommandTest;

namespace {

// A script file in the temporary directory, removed at the end of the test.
class ScriptFile {
public:
    explicit ScriptFile(const std::string& text) {
        char name[] = "/tmp/command_script_XXXXXX";
        int fd = ::mkstemp(name);
        path_ = name;
        if (fd >= 0)
            ::close(fd);
        std::ofstream(path_) << text;
    }
    ~ScriptFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

TEST_F(CommandTest, ScriptErrorNamesFileAndLineAndStops) {
    ScriptFile script(
        "// a scene\n"
        "createNode cmdTestNode -n a;\n"
        "setAttr a.num\n"
        "   nonsense;\n"
        "createNode cmdTestNode -n b;\n");
    host::OutputCapture capture;
    EXPECT_EQ(host::runScript(script.path()), MStatus::kFailure);
    EXPECT_TRUE(host::findNode("a"));
    EXPECT_FALSE(host::findNode("b"));
    std::string expected = script.path() + ":3: setAttr: 'nonsense' is not a number (for 'a.num').\n";
    EXPECT_NE(capture.err().find(expected), std::string::npos) << capture.err();
}

TEST_F(CommandTest, ScriptSyntaxErrorRunsNothing) {
    ScriptFile script("createNode cmdTestNode -n a;\n\nprint \"no end\n");
    host::OutputCapture capture;
    EXPECT_EQ(host::runScript(script.path()), MStatus::kFailure);
    EXPECT_FALSE(host::findNode("a"));
    EXPECT_NE(capture.err().find(script.path() + ":3: syntax error"), std::string::npos) << capture.err();
}

TEST_F(CommandTest, ScriptRunsToTheEnd) {
    ScriptFile script("createNode cmdTestNode -n a; setAttr a.num 2;\n/* done */ print `getAttr a.result`;");
    host::OutputCapture capture;
    EXPECT_TRUE(host::runScript(script.path()));
    EXPECT_EQ(capture.out(), "20");
    EXPECT_EQ(capture.err(), "");
}

TEST_F(CommandTest, MissingScriptFails) {
    host::OutputCapture capture;
    EXPECT_EQ(host::runScript("/tmp/no/such/script.mel"), MStatus::kFailure);
    EXPECT_NE(capture.err().find("/tmp/no/such/script.mel"), std::string::npos);
}

// The executable: exit status 0 on success, 1 on a script error (reported as file:line), 2 on bad
// options.
TEST(HostExecutable, ExitStatusFollowsTheScript) {
    ScriptFile good("print \"fine\";");
    ScriptFile bad("print ok;\ncreateNode noSuchType;\n");
    std::string run = VEXMORA_HOST_RUN;
    auto exitCode = [](const std::string& command) {
        int status = std::system((command + " > /dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(exitCode(run + " " + good.path()), 0);
    EXPECT_EQ(exitCode(run + " --interactive --version 4.5 " + good.path()), 0);
    EXPECT_EQ(exitCode(run + " " + bad.path()), 1);
    EXPECT_EQ(exitCode(run + " --bogus " + good.path()), 2);
    EXPECT_EQ(exitCode(run), 2);
    ScriptFile err("");
    std::system((run + " " + bad.path() + " 2> " + err.path() + " > /dev/null").c_str());
    std::ifstream in(err.path());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find(bad.path() + ":2: createNode: Unknown node type 'noSuchType'."), std::string::npos) << text;
}
