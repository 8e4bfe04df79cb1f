// The host's scene-driving commands: playFrames, particleStats and writeParticles.
#include <host/Host.h>
#include <maya/MCommandResult.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnVectorArrayData.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

class DemoCommands : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        ASSERT_EQ(host::execute("curve -d 1 -p 0 0 0 -p 10 0 0 -n line; particle -p 2 3 0 -p 6 0 4 -n p1"),
                  MStatus::kSuccess);
    }
    static MVectorArray positions(const char* node) {
        MObject data;
        MFnDependencyNode(host::nodeByName(node)).findPlug("position").getValue(data);
        MVectorArray out;
        MFnVectorArrayData(data).copyTo(out);
        return out;
    }
};

TEST_F(DemoCommands, ParticleStatsReportsMeanDistanceAndCurveParameter) {
    host::OutputCapture capture;
    ASSERT_EQ(host::execute("particleStats -header p1 line"), MStatus::kSuccess);
    // Distances 3 and 4 from the x axis; curve parameters 0.2 and 0.6 of the way along.
    EXPECT_EQ(capture.out(), " frame  particles  mean distance  mean u\n     0          2         3.5000   0.400\n");
}

TEST_F(DemoCommands, ParticleStatsAddsTheMeanColour) {
    ASSERT_EQ(host::execute("addAttr -ln rgbPP -dt vectorArray p1; setAttr p1.rgbPP -type vectorArray 2 1 0 0 0 1 0"),
              MStatus::kSuccess);
    host::OutputCapture capture;
    ASSERT_EQ(host::execute("particleStats -color rgbPP p1 line"), MStatus::kSuccess);
    EXPECT_NE(capture.out().find("0.500 0.500 0.000"), std::string::npos) << capture.out();
    EXPECT_NE(host::execute("particleStats -color nothing p1 line"), MStatus::kSuccess);
}

TEST_F(DemoCommands, BadArgumentsAreErrors) {
    host::OutputCapture capture;
    EXPECT_NE(host::execute("particleStats p1 p1"), MStatus::kSuccess);  // not a curve
    EXPECT_NE(host::execute("particleStats line line"), MStatus::kSuccess);  // not a particle object
    EXPECT_NE(host::execute("playFrames 1 x \"print a\""), MStatus::kSuccess);
    EXPECT_NE(host::execute("playFrames -every 0 1 2 \"print a\""), MStatus::kSuccess);
    EXPECT_NE(host::execute("writeParticles p1 /nonexistent/dir/file.mel"), MStatus::kSuccess);
}

TEST_F(DemoCommands, PlayFramesStepsEveryFrameAndRunsTheCommandsEveryNth) {
    host::OutputCapture capture;
    ASSERT_EQ(host::execute("playFrames -every 2 1 6 \"print \\\"f\\\"\""), MStatus::kSuccess);
    EXPECT_EQ(capture.out(), "ffff");  // frames 1, 3, 5 and the last, 6
    double frame = 0;
    MCommandResult result;
    ASSERT_EQ(host::execute("currentTime -q", &result), MStatus::kSuccess);
    ASSERT_EQ(result.getResult(frame), MStatus::kSuccess);
    EXPECT_EQ(frame, 6.0);
    EXPECT_NE(host::execute("playFrames 1 3 \"noSuchCommand\""), MStatus::kSuccess);
}

TEST_F(DemoCommands, WrittenParticlesRecreateThePositions) {
    char path[] = "/tmp/particlesXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    ASSERT_EQ(host::execute(std::string("writeParticles p1 \"") + path + "\""), MStatus::kSuccess);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::remove(path);
    host::newScene();
    ASSERT_EQ(host::execute(text.str()), MStatus::kSuccess) << text.str();
    MVectorArray p = positions("p1");
    ASSERT_EQ(p.length(), 2u);
    EXPECT_EQ(p[0], MVector(2, 3, 0));
    EXPECT_EQ(p[1], MVector(6, 0, 4));
}

TEST_F(DemoCommands, WriteParticlesReplacesAFileInItsOwnDirectoryButNotALoadedPlugIn) {
    // A new file, then the same file replaced, in a path spelt as the system spells it (backslashes on
    // Windows): the file is written through a temporary one beside it, and nothing else is left there.
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("writeParticles" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    ASSERT_TRUE(std::filesystem::create_directory(dir));
    const std::string path = (dir / "out.mel").string();
    std::string command = "writeParticles p1 \"";
    for (char c : path)
        command += c == '\\' ? std::string(2, c) : std::string(1, c);
    command += "\"";
    for (int pass = 0; pass < 2; ++pass)
        ASSERT_EQ(host::execute(command), MStatus::kSuccess) << command;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"out.mel"});
    std::filesystem::remove_all(dir);

    // The library of a loaded plug-in is refused, however its path is spelt.
    const std::string plugin = VEXMORA_TINY_PLUGIN;
    ASSERT_EQ(host::loadPlugin(plugin), MStatus::kSuccess);
    const auto size = std::filesystem::file_size(plugin);
    const size_t slash = plugin.rfind('/');
    host::OutputCapture capture;
    for (const std::string& spelt : {plugin, plugin.substr(0, slash) + "/./" + plugin.substr(slash + 1)})
        EXPECT_NE(host::execute("writeParticles p1 \"" + spelt + "\""), MStatus::kSuccess) << spelt;
    EXPECT_NE(capture.err().find("it is the loaded plug-in library 'tinyPlugin'"), std::string::npos) << capture.err();
    EXPECT_EQ(std::filesystem::file_size(plugin), size);
    host::unloadPlugin("tinyPlugin");
}

}  // namespace
