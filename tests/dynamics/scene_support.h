#ifndef TESTS_SCENE_SUPPORT_H
#define TESTS_SCENE_SUPPORT_H

// Small helpers shared by the plug-in tests that build scenes with the command language and read
// per-particle attributes back.

#include <host/Host.h>
#include <maya/MGlobal.h>
#include <maya/MDoubleArray.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MVectorArray.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scene {

// Runs command-language text, failing the test when it fails.
inline void run(const std::string& text) {
    ASSERT_EQ(host::execute(text), MStatus::kSuccess) << text;
}

// The data object a plug holds (null when none).
inline MObject dataOf(const std::string& plugName) {
    MObject data;
    host::plugByName(plugName).getValue(data);
    return data;
}

// The values of a double-array or vector-array plug; empty when it holds no such data.
inline std::vector<double> doublesOf(const std::string& plugName) {
    MDoubleArray array;
    MFnDoubleArrayData(dataOf(plugName)).copyTo(array);
    return std::vector<double>(array.hostVector().begin(), array.hostVector().end());
}

inline std::vector<MVector> vectorsOf(const std::string& plugName) {
    MVectorArray array;
    MFnVectorArrayData(dataOf(plugName)).copyTo(array);
    return std::vector<MVector>(array.hostVector().begin(), array.hostVector().end());
}

// An error line as the plug-ins write it: the status's error string, a blank, the message.
inline std::string errorLine(MStatus::MStatusCode code, const std::string& message) {
    return std::string(MStatus(code).errorString().asChar()) + " " + message + "\n";
}

// A test suite that loads the plug-in once, in batch state (no menu procedures), and unloads it after.
class PluginSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host::setMayaState(MGlobal::kBatch);
        ASSERT_EQ(host::loadPlugin(VEXMORA_DYNAMICS_PLUGIN), MStatus::kSuccess);
    }
    static void TearDownTestSuite() {
        host::newScene();
        EXPECT_EQ(host::unloadPlugin(VEXMORA_DYNAMICS_PLUGIN), MStatus::kSuccess);
        host::setMayaState(MGlobal::kInteractive);
    }
};

}  // namespace scene

#endif
