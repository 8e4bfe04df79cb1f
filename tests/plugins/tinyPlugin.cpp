// A small plug-in for the loader tests. It registers two node types, "tinyNode" (output = 2 * input)
// and "tinySecond", and a command "tinyCommand". Unloading deregisters "tinySecond" without looking at
// the result (so a load that failed on it can still be unloaded), then "tinyNode", whose failure is
// the failure of the unload.
//
// Built twice: with TINY_API_VERSION set, it exports another API version.

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>

#ifndef TINY_API_VERSION
#define TINY_API_VERSION "400"
#endif

PLUGIN_EXPORT char MApiVersion[4] = TINY_API_VERSION;

namespace {

class TinyNode : public MPxNode {
public:
    static void* creator() { return new TinyNode; }

    static MStatus initialize() {
        MFnNumericAttribute fn;
        input = fn.create("input", "in", MFnNumericData::kDouble, 0.0);
        output = fn.create("output", "out", MFnNumericData::kDouble, 0.0);
        fn.setWritable(false);
        MStatus status = addAttribute(input);
        if (status)
            status = addAttribute(output);
        if (status)
            status = attributeAffects(input, output);
        return status;
    }

    MStatus compute(const MPlug& plug, MDataBlock& block) override {
        if (plug != output)
            return MStatus::kUnknownParameter;
        MDataHandle out = block.outputValue(output);
        out.set(2.0 * block.inputValue(input).asDouble());
        out.setClean();
        return MStatus::kSuccess;
    }

    static MObject input;
    static MObject output;
    static const MTypeId id;
};

MObject TinyNode::input;
MObject TinyNode::output;
const MTypeId TinyNode::id(0x7FE01);

class TinySecond : public MPxNode {
public:
    static void* creator() { return new TinySecond; }
    static MStatus initialize() { return MStatus::kSuccess; }
    static const MTypeId id;
};

const MTypeId TinySecond::id(0x7FE02);

void* noCommand() { return nullptr; }

}  // namespace

PLUGIN_EXPORT MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "tiny vendor", "0.1 test", "any");
    MStatus status = plugin.registerNode("tinyNode", TinyNode::id, TinyNode::creator, TinyNode::initialize);
    if (!status)
        return status;
    status = plugin.registerNode("tinySecond", TinySecond::id, TinySecond::creator, TinySecond::initialize);
    if (!status)
        return status;
    return plugin.registerCommand("tinyCommand", noCommand);
}

PLUGIN_EXPORT MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    plugin.deregisterCommand("tinyCommand");
    plugin.deregisterNode(TinySecond::id);
    return plugin.deregisterNode(TinyNode::id);
}
