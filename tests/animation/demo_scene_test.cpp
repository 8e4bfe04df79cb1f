// The animation demo scene runs in the host executable, from the build directory as scripts/demo.sh runs it,
// with the plug-in found by name on MAYA_PLUG_IN_PATH.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string buildDirectory() {
    const std::string plugin = VEXMORA_ANIMATION_PLUGIN;  // <build>/animation/vexmoraAnimation.so
    const std::string dir = plugin.substr(0, plugin.rfind('/'));
    return dir.substr(0, dir.rfind('/'));
}

TEST(AnimationDemo, PrintsQueriesConstraintsAndSamples) {
    const std::string command = "cd '" + buildDirectory() + "' && MAYA_PLUG_IN_PATH='" + buildDirectory() +
                                "/animation' '" + VEXMORA_HOST_RUN + "' --batch '" + VEXMORA_SOURCE_DIR +
                                "/scenes/animation.mel' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << output;

    // Each closest-point line ends in nine numbers.
    std::istringstream lines(output);
    std::string line;
    int queries = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("  from (", 0) != 0)
            continue;
        std::istringstream numbers(line.substr(line.find("):") + 2));
        std::vector<double> values;
        double v = 0.0;
        while (numbers >> v)
            values.push_back(v);
        EXPECT_EQ(values.size(), 9u) << line;
        ++queries;
    }
    EXPECT_EQ(queries, 4) << output;
    EXPECT_NE(output.find("meshConstraint on the sphere"), std::string::npos) << output;
    EXPECT_NE(output.find("renderSamplerInfo of a ramp"), std::string::npos) << output;
    EXPECT_EQ(output.find("Error"), std::string::npos) << output;
}

}  // namespace
