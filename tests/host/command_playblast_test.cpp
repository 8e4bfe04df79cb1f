// playblast and the camera commands: pictures of a tiny known scene, file names, frames and errors.
#include "render/PngFile.h"

#include <host/Host.h>
#include <maya/MCommandResult.h>
#include <maya/MTime.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    bool load(const std::string& path) {
        std::string error;
        return host::readPngFile(path, width, height, rgb, error);
    }
    const unsigned char* at(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * width + x)]; }
    bool isGrey(int x, int y) const {
        const unsigned char* p = at(x, y);
        return std::abs(p[0] - p[1]) < 4 && std::abs(p[1] - p[2]) < 4;
    }
};

class Playblast : public ::testing::Test {
protected:
    void SetUp() override {
        host::setMayaState(MGlobal::kBatch);
        host::newScene();
        host::clearJournal();
        dir_ = fs::path(::testing::TempDir()) / ("playblast_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // One red particle at the origin, a straight curve one unit above it from x = -3 to 3, seen from
    // (0, 0, 10): one world unit is 19.44 pixels across a 200 x 100 picture, the origin at its centre.
    void buildKnownScene() {
        ASSERT_EQ(host::execute("particle -p 0 0 0 -n dot; addAttr -ln rgbPP -dt vectorArray dot;"
                                "setAttr dot.rgbPP -type vectorArray 1 1 0 0;"
                                "curve -d 1 -p -3 1 0 -p 3 1 0 -n rail;"
                                "createNode transform -n camXf; createNode camera -n cam -p camXf; viewPlace -eye 0 0 10 -lookAt 0 0 0 cam; lookThru cam"),
                  MStatus::kSuccess);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    MStatus run(const std::string& command, MCommandResult* result = nullptr) {
        return host::execute(command, result);
    }

    fs::path dir_;
};

TEST_F(Playblast, DrawsTheParticleAndTheCurveWhereTheCameraSeesThem) {
    buildKnownScene();
    MCommandResult result;
    ASSERT_EQ(run("playblast -format image -compression png -viewer false -widthHeight 200 100 -frame 1 -filename \"" +
                      path("known") + "\"",
                  &result),
              MStatus::kSuccess);
    MString pattern;
    result.getResult(pattern);
    EXPECT_EQ(std::string(pattern.asChar()), path("known") + ".####.png");
    Picture picture;
    ASSERT_TRUE(picture.load(path("known.0001.png")));
    ASSERT_EQ(picture.width, 200);
    ASSERT_EQ(picture.height, 100);
    // The particle: a red two-pixel point around the centre.
    for (int x : {99, 100})
        for (int y : {49, 50}) {
            EXPECT_EQ(picture.at(x, y)[0], 255);
            EXPECT_EQ(picture.at(x, y)[1], 0);
            EXPECT_EQ(picture.at(x, y)[2], 0);
        }
    // The curve at row 50 - 19.44 = 30.56, light against the background, from x = 41.7 to 158.3.
    for (int x : {45, 100, 155}) {
        EXPECT_GT(picture.at(x, 30)[0], 200) << x;
        EXPECT_TRUE(picture.isGrey(x, 40)) << x;
    }
    EXPECT_LT(picture.at(100, 33)[0], 130);
    EXPECT_LT(picture.at(35, 30)[0], 130);
    EXPECT_LT(picture.at(165, 30)[0], 130);
    // Elsewhere the neutral background, lighter at the top.
    EXPECT_TRUE(picture.isGrey(10, 5));
    EXPECT_TRUE(picture.isGrey(190, 95));
    EXPECT_GT(picture.at(10, 5)[0], picture.at(190, 95)[0]);
}

TEST_F(Playblast, HonoursOpacityAndParticleSize) {
    buildKnownScene();
    ASSERT_EQ(run("addAttr -ln opacityPP -dt doubleArray dot; setAttr dot.opacityPP -type doubleArray 1 0"),
              MStatus::kSuccess);
    ASSERT_EQ(run("playblast -wh 200 100 -fr 1 -f \"" + path("hidden") + "\""), MStatus::kSuccess);
    Picture picture;
    ASSERT_TRUE(picture.load(path("hidden.0001.png")));
    EXPECT_TRUE(picture.isGrey(100, 50));
    ASSERT_EQ(run("setAttr dot.opacityPP -type doubleArray 1 1; addAttr -ln pointSize -at long -dv 12 dot;"
                  "playblast -wh 200 100 -fr 1 -f \"" + path("big") + "\""),
              MStatus::kSuccess);
    ASSERT_TRUE(picture.load(path("big.0001.png")));
    EXPECT_GT(picture.at(102, 50)[0], 200);  // a disc 12 pixels across, darker toward its rim
    EXPECT_LT(picture.at(102, 50)[1], 40);
    EXPECT_LT(picture.at(105, 50)[0], picture.at(102, 50)[0]);
    EXPECT_TRUE(picture.isGrey(108, 50));
}

TEST_F(Playblast, PlaysFramesAndNamesFilesLikeMaya) {
    buildKnownScene();
    // A field-free particle with a velocity moves one unit a second: 1/24 a frame.
    ASSERT_EQ(run("setAttr dot.velocity -type vectorArray 1 24 0 0"), MStatus::kSuccess);
    ASSERT_EQ(run("playblast -wh 40 20 -st 1 -et 3 -f \"" + path("range") + "\""), MStatus::kSuccess);
    for (const char* name : {"range.0001.png", "range.0002.png", "range.0003.png"})
        EXPECT_TRUE(fs::exists(path(name))) << name;
    EXPECT_FALSE(fs::exists(path("range.0004.png")));
    MCommandResult now;
    ASSERT_EQ(run("currentTime -q", &now), MStatus::kSuccess);
    double frame = 0.0;
    now.getResult(frame);
    EXPECT_DOUBLE_EQ(frame, 3.0);

    ASSERT_EQ(run("playblast -wh 40 20 -fr 7 -fr 5 -fp 2 -f \"" + path("sub/dir/picked") + "\""), MStatus::kSuccess);
    EXPECT_TRUE(fs::exists(path("sub/dir/picked.07.png")));
    EXPECT_TRUE(fs::exists(path("sub/dir/picked.05.png")));
    // Without frames: the current frame alone; -percent scales the size.
    ASSERT_EQ(run("playblast -wh 40 20 -p 50 -f \"" + path("now") + "\""), MStatus::kSuccess);
    Picture picture;
    ASSERT_TRUE(picture.load(path("now.0005.png")));
    EXPECT_EQ(picture.width, 20);
    EXPECT_EQ(picture.height, 10);
}

TEST_F(Playblast, BadRequestsAreErrorsAndWriteNothing) {
    buildKnownScene();
    const std::string name = " -f \"" + path("bad") + "\"";
    for (const std::string flags :
         {"-format movie", "-compression jpg", "-wh 0 10", "-wh 10 9000", "-wh 10", "-width x", "-fr 1 -st 1",
          "-st 5 -et 4", "-st 1 -et 20000", "-fr", "-fr x", "-viewer maybe", "-fp 12", "-unknownFlag 1",
          "-st 1e17 -et 1e17", "-st 1e300", "-fr -2e9", "-fr nan",
          "extra", "-f \"\""}) {
        EXPECT_EQ(run("playblast " + flags + (flags.rfind("-f ", 0) == 0 ? "" : name)), MStatus::kFailure) << flags;
    }
    EXPECT_TRUE(fs::is_empty(dir_));
    EXPECT_EQ(run("playblast -wh 10 10 -f \"/proc/no-such-dir/bad\""), MStatus::kFailure);
    ASSERT_FALSE(host::journalErrors().empty());
    EXPECT_NE(host::journalErrors().back().find("playblast"), std::string::npos);
}

TEST_F(Playblast, WithoutACameraFramesTheSceneThroughANewPersp) {
    ASSERT_EQ(run("particle -p 100 0 0 -p 140 20 -10 -n far; addAttr -ln pointSize -at long -dv 6 far"),
              MStatus::kSuccess);
    ASSERT_EQ(run("playblast -wh 160 90 -fr 0 -f \"" + path("fit") + "\""), MStatus::kSuccess);
    ASSERT_FALSE(host::nodeByName("persp").isNull());
    Picture picture;
    ASSERT_TRUE(picture.load(path("fit.0000.png")));
    int drawn = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            drawn += !picture.isGrey(x, y);
    EXPECT_GE(drawn, 40);  // both 6-pixel discs, far from Maya's default view of the origin

    // A "persp" that is not a camera leaves nothing to look through.
    host::newScene();
    ASSERT_EQ(run("shadingNode -asTexture ramp -n persp"), MStatus::kSuccess);
    EXPECT_EQ(run("playblast -wh 16 9 -f \"" + path("none") + "\""), MStatus::kFailure);
    EXPECT_FALSE(fs::exists(path("none.0000.png")));
}

TEST_F(Playblast, DrawsMeshesAndSurfacesShadedWithTheirWireframes) {
    // A 4 x 4 plane of 2 x 2 faces seen from straight above at 10 units: one unit is 19.44 pixels, +x to
    // the right and +z downwards in the picture.
    for (const std::string shape : {"polyPlane -w 4 -h 4 -sx 2 -sy 2 -n grid", "nurbsPlane -w 4 -u 2 -v 2 -n grid"}) {
        host::newScene();
        ASSERT_EQ(run(shape + "; createNode camera -n top; viewPlace -eye 0 10 0 -lookAt 0 0 0 top; lookThru top;"
                              "playblast -wh 200 100 -fr 1 -f \"" + path("grid") + "\""),
                  MStatus::kSuccess)
            << shape;
        Picture picture;
        ASSERT_TRUE(picture.load(path("grid.0001.png")));
        // Inside a face: flat grey, lit head on, lighter than the background anywhere.
        EXPECT_TRUE(picture.isGrey(119, 69)) << shape;
        EXPECT_GT(picture.at(119, 69)[0], 140) << shape;
        EXPECT_GT(picture.at(119, 69)[0], picture.at(5, 5)[0]) << shape;
        // Where the edges cross at the centre, and along an edge (which falls between rows 49 and 50):
        // the dark wireframe.
        EXPECT_LT(picture.at(100, 50)[0], 90) << shape;
        EXPECT_LT(picture.at(110, 49)[0], 100) << shape;
        EXPECT_LT(picture.at(110, 50)[0], 100) << shape;
        // Beyond the plane's edge at x = 2 (pixel 138.9): the background.
        EXPECT_LT(picture.at(145, 60)[0], 120) << shape;
    }
}

TEST_F(Playblast, HiddenShapesAndShapesUnderHiddenTransformsAreNotDrawn) {
    buildKnownScene();
    ASSERT_EQ(run("polyPlane -w 2 -h 2 -sx 1 -sy 1 -n board; setAttr board.rotateX 90; setAttr board.translateZ -1;"
                  "setAttr board.visibility 0;"
                  "playblast -wh 200 100 -fr 1 -f \"" + path("hidden") + "\""),
              MStatus::kSuccess);
    Picture picture;
    ASSERT_TRUE(picture.load(path("hidden.0001.png")));
    EXPECT_EQ(picture.at(100, 50)[0], 255);  // the red particle, not the plane
    EXPECT_TRUE(picture.isGrey(115, 60));
    ASSERT_EQ(run("setAttr board.visibility 1; playblast -wh 200 100 -fr 1 -f \"" + path("shown") + "\""),
              MStatus::kSuccess);
    ASSERT_TRUE(picture.load(path("shown.0001.png")));
    EXPECT_GT(picture.at(115, 60)[0], 140);  // the plane's face, lit head on
    ASSERT_EQ(run("setAttr boardShape.visibility 0; playblast -wh 200 100 -fr 1 -f \"" + path("shape") + "\""),
              MStatus::kSuccess);
    ASSERT_TRUE(picture.load(path("shape.0001.png")));
    EXPECT_TRUE(picture.isGrey(115, 60));
}

TEST_F(Playblast, CameraCommands) {
    buildKnownScene();
    MCommandResult result;
    ASSERT_EQ(run("lookThru -q", &result), MStatus::kSuccess);
    MString name;
    result.getResult(name);
    EXPECT_EQ(std::string(name.asChar()), "cam");
    EXPECT_EQ(run("lookThru dot"), MStatus::kFailure);
    EXPECT_EQ(run("lookThru nothing"), MStatus::kFailure);
    EXPECT_EQ(run("viewPlace -eye 1 2 3 -lookAt 1 2 3 cam"), MStatus::kFailure);
    EXPECT_EQ(run("viewPlace -eye 1 2 cam"), MStatus::kFailure);
    // Only -lookAt turns the camera where it stands: straight down from (0, 0, 10) to (0, -10, 10).
    ASSERT_EQ(run("viewPlace -lookAt 0 -10 10"), MStatus::kSuccess);
    ASSERT_EQ(run("getAttr camXf.translate", &result), MStatus::kSuccess);
    MDoubleArray values;
    result.getResult(values);
    ASSERT_EQ(values.length(), 3u);
    EXPECT_DOUBLE_EQ(values[2], 10.0);
    ASSERT_EQ(run("getAttr camXf.rotate", &result), MStatus::kSuccess);
    result.getResult(values);
    ASSERT_EQ(values.length(), 3u);
    EXPECT_NEAR(values[0], -90.0, 1e-9);  // degrees in scripts
    // viewFit keeps the direction and backs off until the scene fits.
    ASSERT_EQ(run("viewPlace -eye 0 0 1000 -lookAt 0 0 0; viewFit; getAttr camXf.translate", &result),
              MStatus::kSuccess);
    result.getResult(values);
    ASSERT_EQ(values.length(), 3u);
    EXPECT_GT(values[2], 3.0);
    EXPECT_LT(values[2], 20.0);
}

}  // namespace
