#ifndef TESTS_COMMAND_FIXTURE_H
#define TESTS_COMMAND_FIXTURE_H

// Shared set-up of the command and plug-in tests: a fresh scene, an empty journal, batch state, and a
// node type "cmdTestNode" with one attribute of each kind the commands handle (registered once, under a
// made-up plug-in path).

#include "graph/Scene.h"
#include "plugin/Loader.h"
#include "plugin/PluginObject.h"

#include <host/Host.h>
#include <maya/MCommandResult.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MGlobal.h>
#include <maya/MPxNode.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace cmdtest {

// result = 10 * num.
class TestNode : public MPxNode {
public:
    static void* creator() { return new TestNode; }

    static MStatus initialize() {
        MFnNumericAttribute n;
        MFnTypedAttribute t;
        num = n.create("num", "nm", MFnNumericData::kDouble, 1.5);
        count = n.create("count", "cnt", MFnNumericData::kLong, 0);
        flag = n.create("flag", "fl", MFnNumericData::kBoolean, 0);
        vec = n.create("vec", "vc", MFnNumericData::k3Double, 0);
        list = n.create("list", "ls", MFnNumericData::kDouble, 0);
        n.setArray(true);
        result = n.create("result", "res", MFnNumericData::kDouble, 0);
        n.setWritable(false);
        text = t.create("text", "tx", MFnData::kString);
        values = t.create("values", "vals", MFnData::kDoubleArray);
        vecs = t.create("vecs", "vcs", MFnData::kVectorArray);
        ints = t.create("ints", "is", MFnData::kIntArray);
        for (MObject* a : {&num, &count, &flag, &vec, &list, &result, &text, &values, &vecs, &ints}) {
            MStatus status = addAttribute(*a);
            if (!status)
                return status;
        }
        return attributeAffects(num, result);
    }

    MStatus compute(const MPlug& plug, MDataBlock& block) override {
        if (plug != result)
            return MStatus::kUnknownParameter;
        MDataHandle out = block.outputValue(result);
        out.set(10.0 * block.inputValue(num).asDouble());
        return block.setClean(plug);
    }

    static inline MObject num, count, flag, vec, list, result, text, values, vecs, ints;
};

inline const char* kFixturePluginPath = "/test/commandFixture.so";

inline MObject fixturePlugin() { return MObject(std::make_shared<host::PluginObject>(kFixturePluginPath)); }

inline void registerTestType() {
    if (host::findNodeType("cmdTestNode"))
        return;
    MObject plugin = fixturePlugin();
    MFnPlugin fn(plugin);
    ASSERT_TRUE(fn.registerNode("cmdTestNode", MTypeId(0x7FE10), TestNode::creator, TestNode::initialize));
}

inline void unloadAllPlugins() {
    std::vector<std::string> names;
    for (const auto& p : host::loadedPlugins())
        names.push_back(p->name);
    for (const std::string& name : names)
        host::unloadPlugin(name);
}

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        host::setMayaState(MGlobal::kBatch);
        host::setMayaVersion("2026");
        registerTestType();
        host::clearJournal();
    }

    void TearDown() override {
        host::newScene();
        unloadAllPlugins();
        host::setMayaState(MGlobal::kBatch);
        host::setMayaVersion("2026");
    }

    // Runs text with output captured; the last error shown, or "" if none.
    MStatus run(const std::string& text) {
        host::OutputCapture capture;
        size_t before = host::journalErrors().size();
        MStatus status = host::execute(text, &result);
        std::vector<std::string> errors = host::journalErrors();
        lastError = errors.size() > before ? errors.back() : std::string();
        out = capture.out();
        err = capture.err();
        return status;
    }

    // Runs text that must succeed.
    void ok(const std::string& text) {
        MStatus status = run(text);
        ASSERT_TRUE(status) << text << " -> " << lastError;
    }

    // Runs text that must fail with an error containing every fragment.
    void fails(const std::string& text, std::initializer_list<const char*> fragments) {
        MStatus status = run(text);
        EXPECT_EQ(status, MStatus::kFailure) << text;
        EXPECT_FALSE(lastError.empty()) << text;
        for (const char* f : fragments)
            EXPECT_NE(lastError.find(f), std::string::npos) << text << "\n error was: " << lastError
                                                            << "\n expected to contain: " << f;
    }

    double getDouble(const std::string& plug) {
        ok("getAttr " + plug);
        double v = -12345.0;
        EXPECT_TRUE(result.getResult(v)) << plug;
        return v;
    }

    std::vector<double> getDoubles(const std::string& plug) {
        ok("getAttr " + plug);
        MDoubleArray a;
        EXPECT_TRUE(result.getResult(a)) << plug;
        return std::vector<double>(a.hostVector().begin(), a.hostVector().end());
    }

    // Runs command, which must succeed, and returns its integer result.
    int integer(const std::string& command) {
        ok(command);
        int value = -1;
        EXPECT_TRUE(result.getResult(value)) << command;
        return value;
    }

    // Runs command, which must succeed, and returns its string result.
    std::string text(const std::string& command) {
        ok(command);
        MString value;
        EXPECT_TRUE(result.getResult(value)) << command;
        return value.asChar();
    }

    MCommandResult result;
    std::string lastError;
    std::string out;
    std::string err;
};

}  // namespace cmdtest

#endif
