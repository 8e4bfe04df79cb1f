// The demo scene runs from start to end with the real plug-in: the swarm travels along the guide curve,
// stays near it, and takes on the colours of the ramp; it writes its pictures.
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

TEST(DemoScene, SwarmFlowsAlongTheCurveAndChangesColour) {
    std::ifstream in(std::string(VEXMORA_SOURCE_DIR) + "/scenes/demo.mel");
    std::stringstream text;
    text << in.rdbuf();
    std::string output = testing::TempDir() + "demo_swarm_final.mel";
    std::string scene = replaced(text.str(), "loadPlugin vexmoraDynamics;", std::string("loadPlugin \"") + VEXMORA_DYNAMICS_PLUGIN + "\";");
    scene = replaced(scene, "\"swarm_final.mel\"", "\"" + output + "\"");
    // One directory per process: other builds of the project may run this test at the same time.
    const std::string pictures = testing::TempDir() + "demo_pictures_" + std::to_string(::getpid());
    scene = replaced(scene, "-filename pictures/swarm", "-filename " + pictures + "/swarm");

    host::newScene();
    host::OutputCapture capture;
    ASSERT_EQ(host::execute(scene), MStatus::kSuccess) << capture.err();
    std::remove(output.c_str());
    for (const char* frame : {"0001", "0005", "0045", "0048"})
        EXPECT_TRUE(std::filesystem::exists(pictures + "/swarm." + frame + ".png")) << frame;
    std::filesystem::remove_all(pictures);

    std::vector<Row> rows;
    std::istringstream lines(capture.out());
    std::string line;
    while (std::getline(lines, line)) {
        Row r{};
        if (std::sscanf(line.c_str(), "%lf %lf %lf %lf %lf %lf %lf", &r.frame, &r.particles, &r.distance, &r.u, &r.r,
                        &r.g, &r.b) == 7)
            rows.push_back(r);
    }
    ASSERT_EQ(rows.size(), 14u) << capture.out();
    const Row& first = rows[1];
    const Row& last = rows.back();
    EXPECT_EQ(last.frame, 48.0);
    EXPECT_EQ(last.particles, 300.0);
    EXPECT_GT(last.u, first.u + 0.3);     // travelled along the curve
    EXPECT_LT(last.distance, 4.0);        // and stayed near it
    EXPECT_GT(last.r, first.r + 0.2);     // from the ramp's blue toward its orange
    EXPECT_LT(last.b, first.b - 0.2);
}

}  // namespace
