// Input a new user may give by mistake: connections of the wrong type, frame ranges and numbers of any
// size, files that cannot be written safely, a directory instead of a script. Each is refused with an
// error that names what is wrong and changes nothing, or gives a sound result.

#include "command_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using cmdtest::CommandTest;

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class TemporaryDirectory {
public:
    TemporaryDirectory() {
        char name[] = "/tmp/bad_input_XXXXXX";
        path_ = ::mkdtemp(name) ? name : "/tmp";
    }
    ~TemporaryDirectory() { std::system(("rm -rf " + path_).c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

class BadInput : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        ok("createNode cmdTestNode -n a; createNode cmdTestNode -n b");
    }

    // The connection is refused with a message naming both plugs and the reason, and nothing is connected.
    void refused(const std::string& src, const std::string& dst, const char* why) {
        fails("connectAttr " + src + " " + dst, {"connectAttr", src.c_str(), dst.c_str(), why});
        EXPECT_FALSE(host::plugByName(dst).isConnected()) << dst;
    }
};

TEST_F(BadInput, ConnectionsOfTheWrongTypeAreRefused) {
    refused("a.num", "b.text", "(double) cannot feed 'b.text' (string data)");
    refused("a.vecs", "b.values", "(vectorArray data) cannot feed 'b.values' (doubleArray data)");
    refused("a.values", "b.num", "(doubleArray data) cannot feed");
    refused("a.num", "b.vec", "(double) cannot feed 'b.vec' (double3)");
    refused("a.list", "b.num", "(array of double) cannot feed");
    refused("a.num", "b.result", "is not writable");
    // A plug into its own child or element: one plug, not a connection.
    refused("a.vec", "a.vecX", "are parts of one plug");
    refused("a.list", "a.list[0]", "are parts of one plug");
    EXPECT_FALSE(host::plugByName("a.list").isConnected());
}

TEST_F(BadInput, ConnectionsOfFittingTypesAreMade) {
    ok("connectAttr a.num b.count");       // numbers of one component
    ok("connectAttr a.vec b.num");         // a colour into a single-number connection point
    ok("connectAttr a.values b.values");   // the same data type
    ok("connectAttr a.list b.list");       // whole array to whole array
    ok("connectAttr a.list[2] b.flag");    // an element is a number
    ok("connectAttr a.vecY b.vecZ");       // a child is a number
    EXPECT_DOUBLE_EQ(getDouble("b.num"), 0.0);
}

TEST_F(BadInput, FrameRangesOfAnySizeEndOrAreRefused) {
    ok("playFrames 2147483647 2147483647 \"print x\"");
    EXPECT_EQ(out, "x");
    ok("playFrames -every 1000 -2147483648 -2147483647 \"print y\"");
    EXPECT_EQ(out, "yy");  // the first frame and the last
    size_t entries = host::journal().size();
    fails("playFrames 1 2000000 \"print z\"", {"playFrames", "2000000 frames are more than the 1000000"});
    fails("playFrames 1 900000 \"" + std::string(200, ' ') + "print z\"", {"playFrames", "900000 times"});
    EXPECT_EQ(out, "");
    EXPECT_EQ(host::journal().size(), entries + 4);  // two commands, two errors
}

TEST_F(BadInput, WideNumbersPrintWhole) {
    ok("curve -d 1 -p 0 0 0 -p 10 0 0 -n line; particle -p 1e300 1e300 0 -n p1; currentTime 1e6");
    ok("particleStats -color position p1 line");
    EXPECT_NE(out.find("1000000  "), std::string::npos) << out;
    EXPECT_GT(out.size(), 600u);  // two 300-digit numbers (positions are the colour here)
}

TEST_F(BadInput, CurvesWhoseArithmeticOverflowsAreRefused) {
    fails("curve -d 1 -p 0 0 0 -p 1e300 0 0", {"curve", "point 2 lies beyond 1e150"});
    fails("curve -d 1 -p 0 0 0 -p 1 0 0 -k -1e200 -k 1e200", {"curve", "knot 1 lies beyond 1e150"});
    EXPECT_FALSE(host::findNode("curve1"));
    ok("curve -d 1 -p 0 0 0 -p 1e150 0 0 -k -1e150 -k 1e150");
}

TEST_F(BadInput, WriteParticlesRefusesWhatItCannotWriteSafely) {
    TemporaryDirectory dir;
    ok("particle -p 1 2 3 -n p1");
    fails("writeParticles p1 \"" + dir.path() + "\"", {"writeParticles", "not a regular file"});
    fails("writeParticles p1 /dev/null", {"writeParticles", "/dev/null", "not a regular file"});
    // An existing file is replaced only once the new one is complete; nothing is left beside it.
    std::string file = dir.path() + "/out.mel";
    std::ofstream(file) << "old";
    ok("writeParticles p1 \"" + file + "\"");
    EXPECT_NE(readFile(file).find("-p 1 2 3"), std::string::npos);
    EXPECT_EQ(std::system(("test $(ls -A " + dir.path() + " | wc -l) -eq 1").c_str()), 0);
}

// A failed write (here a file-size limit, as a full disk would) is an error and keeps the old file.
TEST_F(BadInput, AFailedWriteIsAnErrorAndKeepsTheOldFile) {
    TemporaryDirectory dir;
    std::string file = dir.path() + "/out.mel";
    std::ofstream(file) << "old";
    std::ostringstream script;
    script << "particle -n p1";
    for (int i = 0; i < 2000; ++i)
        script << " -p " << i << " 0 0";
    script << ";\nwriteParticles p1 \"" << file << "\";\n";
    std::ofstream(dir.path() + "/scene.mel") << script.str();
    std::string command = "sh -c \"trap '' XFSZ; ulimit -f 4; exec " + std::string(VEXMORA_HOST_RUN) + " " +
                          dir.path() + "/scene.mel\" > " + dir.path() + "/log 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(readFile(dir.path() + "/log").find("scene.mel:2: writeParticles: cannot write"), std::string::npos)
        << readFile(dir.path() + "/log");
    EXPECT_EQ(readFile(file), "old");
}

TEST_F(BadInput, ADirectoryIsNotAScript) {
    TemporaryDirectory dir;
    std::string command = std::string(VEXMORA_HOST_RUN) + " " + dir.path() + " > " + dir.path() + "/log 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(readFile(dir.path() + "/log").find("it is a directory"), std::string::npos);
}

}  // namespace

namespace {

// A run budget (what the fuzz target sets) stops the commands that play time once it is spent, with an
// error saying so; without one they play on.
TEST_F(BadInput, ARunBudgetStopsLongPlays) {
    struct Unlimited {
        ~Unlimited() { host::setRunBudget(-1, -1); }
    } restore;
    host::setRunBudget(5, -1);
    fails("playFrames 1 10 \"print x\"", {"playFrames", "stopped at frame 6", "frame budget"});
    fails("currentTime 20", {"currentTime", "frame budget"});
    EXPECT_EQ(host::currentTime().as(MTime::uiUnit()), 5.0);

    TemporaryDirectory dir;
    host::setRunBudget(-1, 250);
    fails("playblast -wh 10 10 -st 1 -et 3 -f \"" + dir.path() + "/shot\"",
          {"playblast", "stopped at frame 3", "pixel budget"});
    EXPECT_EQ(readFile(dir.path() + "/shot.0003.png"), "");
    EXPECT_NE(readFile(dir.path() + "/shot.0002.png"), "");
    fails("playblast -wh 100 100 -f \"" + dir.path() + "/big\"", {"playblast", "pixel budget"});

    host::setRunBudget(-1, -1);
    ok("playFrames 1 10 \"print x\"");
    EXPECT_EQ(host::currentTime().as(MTime::uiUnit()), 10.0);
}

}  // namespace
