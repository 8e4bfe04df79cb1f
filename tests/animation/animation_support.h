#ifndef TESTS_ANIMATION_SUPPORT_H
#define TESTS_ANIMATION_SUPPORT_H

// Helpers shared by the animation plug-in tests: running command text, reading numbers back, and a suite
// that loads the plug-in once in batch state.

#include <host/Host.h>
#include <maya/MCommandResult.h>
#include <maya/MDoubleArray.h>
#include <maya/MGlobal.h>
#include <maya/MStatus.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace anim {

inline void run(const std::string& text) {
    ASSERT_EQ(host::execute(text), MStatus::kSuccess) << text;
}

// The numbers a command returns (one number or an array of them); empty when it returns none.
inline std::vector<double> numbers(const std::string& text) {
    MCommandResult result;
    MStatus status = host::execute(text, &result);
    EXPECT_EQ(status, MStatus::kSuccess) << text;
    MDoubleArray array;
    double single = 0.0;
    if (result.getResult(array))
        return std::vector<double>(array.hostVector().begin(), array.hostVector().end());
    if (result.getResult(single))
        return {single};
    return {};
}

// An error line as the plug-in writes it: the status's error string, a blank, the message.
inline std::string errorLine(MStatus::MStatusCode code, const std::string& message) {
    return std::string(MStatus(code).errorString().asChar()) + " " + message + "\n";
}

class AnimationSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host::setMayaState(MGlobal::kBatch);
        ASSERT_EQ(host::loadPlugin(VEXMORA_ANIMATION_PLUGIN), MStatus::kSuccess);
    }
    static void TearDownTestSuite() {
        host::newScene();
        EXPECT_EQ(host::unloadPlugin(VEXMORA_ANIMATION_PLUGIN), MStatus::kSuccess);
        host::setMayaState(MGlobal::kInteractive);
    }
    void SetUp() override {
        host::newScene();
        host::clearJournal();
    }
};

}  // namespace anim

#endif
