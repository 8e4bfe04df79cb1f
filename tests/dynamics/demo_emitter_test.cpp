// The demo scene's emitter: sparks are born on the plane with the colours of its colour map, more each
// report, and the curveField carries them along the curve.
#include <host/Host.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

struct Row {
    double frame, particles, distance, u, r, g, b;
};

TEST(DemoScene, SparksAreBornWithSurfaceColoursAndCarriedAlong) {
    std::ifstream in(std::string(VEXMORA_SOURCE_DIR) + "/scenes/demo.mel");
    std::stringstream text;
    text << in.rdbuf();
    // One directory per process: other builds of the project may run this test at the same time.
    const std::string dir = testing::TempDir() + "demo_emitter_" + std::to_string(::getpid());
    std::string scene = replaced(text.str(), "loadPlugin vexmoraDynamics;",
                                 std::string("loadPlugin \"") + VEXMORA_DYNAMICS_PLUGIN + "\";");
    scene = replaced(scene, "\"swarm_final.mel\"", "\"" + dir + "/final.mel\"");
    scene = replaced(scene, "-filename pictures/swarm", "-filename " + dir + "/swarm");

    host::newScene();
    host::OutputCapture capture;
    ASSERT_EQ(host::execute(scene), MStatus::kSuccess) << capture.err();
    std::filesystem::remove_all(dir);

    std::vector<Row> rows;
    std::istringstream lines(capture.out());
    std::string line;
    while (std::getline(lines, line)) {
        Row r{};
        if (std::sscanf(line.c_str(), "sparks %lf %lf %lf %lf %lf %lf %lf", &r.frame, &r.particles, &r.distance, &r.u,
                        &r.r, &r.g, &r.b) == 7)
            rows.push_back(r);
    }
    ASSERT_EQ(rows.size(), 13u) << capture.out();
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_GT(rows[i].particles, rows[i - 1].particles) << rows[i].frame;
    // The rate map keeps about half of the 10 candidates a frame.
    EXPECT_GT(rows.back().particles, 48 * 10 * 0.3);
    EXPECT_LT(rows.back().particles, 48 * 10 * 0.7);
    // Colours between the glow ramp's yellow and red.
    for (const Row& r : rows) {
        EXPECT_NEAR(r.r, 1.0, 1e-6);
        EXPECT_GT(r.g, 0.1);
        EXPECT_LT(r.g, 0.9);
    }
    EXPECT_GT(rows.back().u, rows.front().u + 0.1);
}

}  // namespace
