// Attribute conformance of every node type the plug-in registers: names, kinds, data types, defaults,
// flags and what affects the force output, checked against tables written out here.

#include "curveField.h"
#include "normalField.h"
#include "shadingField.h"

#include <host/Host.h>

#include "graph/Attribute.h"
#include "graph/NodeType.h"
#include "graph/Scene.h"

#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPxEmitterNode.h>
#include <maya/MPxFieldNode.h>
#include <maya/MPxNode.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const std::string pluginPath = VEXMORA_DYNAMICS_PLUGIN;

enum Kind { Typed, Numeric };

struct Flags {
    bool readable = true;
    bool writable = true;
    bool connectable = true;
    bool storable = true;
    bool keyable = false;
    bool array = false;
};
const Flags plain;
const Flags keyable = [] { Flags f; f.keyable = true; return f; }();
const Flags mapFlags = [] { Flags f; f.array = true; f.readable = false; return f; }();
const Flags toFlags = [] { Flags f; f.array = true; f.readable = false; f.connectable = false; return f; }();

struct Expected {
    const char* longName;
    const char* shortName;
    Kind kind;
    int dataType;  // MFnData::Type for typed attributes, MFnNumericData::Type for numeric ones
    double defaultValue;  // numeric attributes; typed ones have no default data
    Flags flags;
    bool affectsOutput;
};

const int curveData = MFnData::kNurbsCurve;
const int text = MFnData::kString;
const int dbl = MFnNumericData::kDouble;
const int dbl3 = MFnNumericData::k3Double;
const int boolean = MFnNumericData::kBoolean;

const std::vector<Expected> normalFieldTable = {
    {"inputCurve", "ic", Typed, curveData, 0, plain, true},
    {"magnitudePP", "magPP", Typed, text, 0, plain, true},
    {"outNormal", "on", Typed, text, 0, plain, true},
    {"normal", "rn", Typed, text, 0, plain, true},
    {"normalizedNormal", "rnn", Typed, text, 0, plain, true},
    {"uValue", "ruv", Typed, text, 0, plain, true},
};

const std::vector<Expected> curveFieldTable = {
    {"inputCurve", "ic", Typed, curveData, 0, plain, true},
    {"magnitudePP", "magPP", Typed, text, 0, plain, true},
    {"speed", "spd", Numeric, dbl, 5.0, keyable, false},
    {"speedPP", "spdPP", Typed, text, 0, plain, true},
    {"speedMap", "spdMap", Numeric, dbl, 0.0, plain, false},
    {"offset", "cof", Numeric, dbl, 0.0, keyable, false},
    {"offsetPP", "ofsPP", Typed, text, 0, plain, true},
    {"offsetMap", "ofsMap", Numeric, dbl, 0.0, plain, false},
    {"attraction", "attr", Numeric, dbl, 1.0, keyable, false},
    {"attractionPP", "atrPP", Typed, text, 0, plain, true},
    {"attractionMap", "atrMap", Numeric, dbl, 0.0, plain, false},
    {"rotation", "rt", Numeric, dbl, 0.0, keyable, false},
    {"rotationPP", "rPP", Typed, text, 0, plain, true},
    {"rotationMap", "rMap", Numeric, dbl, 0.0, plain, false},
    {"rotationSpeed", "rts", Numeric, dbl, 0.0, keyable, false},
    {"rotationSpeedPP", "rsPP", Typed, text, 0, plain, true},
    {"rotationSpeedMap", "rsMap", Numeric, dbl, 0.0, plain, false},
    {"rotationAttenuation", "rta", Numeric, dbl, 0.0, keyable, false},
    {"normal", "rn", Typed, text, 0, plain, true},
    {"normalizedNormal", "rnn", Typed, text, 0, plain, true},
    {"uValue", "ruv", Typed, text, 0, plain, true},
};

const std::vector<Expected> shadingFieldTable = {
    {"shader", "shdr", Numeric, dbl3, 0.0, plain, true},
    {"enableShadows", "es", Numeric, boolean, 0.0, plain, true},
    {"magnitudePP", "magPP", Typed, text, 0, plain, true},
    {"outColor", "oclr", Typed, text, 0, plain, true},
    {"outTransparency", "otrnsp", Typed, text, 0, plain, true},
    {"outLuminance", "olnsp", Typed, text, 0, plain, true},
    {"map", "mp", Numeric, dbl3, 0.0, mapFlags, false},
    {"to", "too", Typed, text, 0, toFlags, false},
    {"position", "p", Typed, text, 0, plain, true},
    {"refPosition", "rps", Typed, text, 0, plain, true},
    {"normal", "n", Typed, text, 0, plain, true},
    {"uCoord", "uc", Typed, text, 0, plain, true},
    {"vCoord", "vc", Typed, text, 0, plain, true},
    {"tangentU", "tu", Typed, text, 0, plain, true},
    {"tangentV", "tv", Typed, text, 0, plain, true},
};

const std::vector<Expected> samplerEmitterTable = {
    {"speedMap", "smap", Numeric, dbl3, 0.0, plain, false},
    {"rateMap", "rmap", Numeric, dbl3, 0.0, plain, false},
    {"inheritMap", "ihmap", Numeric, dbl3, 0.0, plain, false},
    {"enableShadows", "es", Numeric, boolean, 0.0, plain, false},
    {"colorMap", "colmap", Numeric, dbl3, 0.0, plain, false},
    {"opacityMap", "opmap", Numeric, dbl3, 0.0, plain, false},
    {"map", "mp", Numeric, dbl3, 0.0, mapFlags, false},
    {"to", "tu", Typed, text, 0, toFlags, false},
};

void* makeHostNode() { return new MPxNode; }
MStatus noAttributes() { return MStatus::kSuccess; }

// The number of top-level attributes a type of this kind has before its class adds any.
size_t baseAttributeCount(MPxNode::Type kind, unsigned id) {
    const std::string name = "bareType" + std::to_string(id);
    EXPECT_EQ(host::registerType(name, MTypeId(id), makeHostNode, noAttributes, kind, MFn::kPluginDependNode, ""),
              MStatus::kSuccess);
    auto type = host::findNodeType(name);
    const size_t count = type ? type->attributes.size() : 0;
    host::removeNodeType(MTypeId(id));
    return count;
}

class NodeAttributes : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host::setMayaState(MGlobal::kBatch);
        host::setMayaVersion("2026");
        ASSERT_EQ(host::loadPlugin(pluginPath), MStatus::kSuccess);
    }
    static void TearDownTestSuite() {
        host::newScene();
        EXPECT_EQ(host::unloadPlugin(pluginPath), MStatus::kSuccess);
        host::setMayaState(MGlobal::kInteractive);
    }
    void SetUp() override { host::newScene(); }

    void checkType(const char* typeName, unsigned id, MPxNode::Type kind, const std::vector<Expected>& table);
};

void NodeAttributes::checkType(const char* typeName, unsigned id, MPxNode::Type kind,
                               const std::vector<Expected>& table) {
    ASSERT_EQ(host::execute(std::string("createNode ") + typeName + " -n node1"), MStatus::kSuccess);
    MStatus status;
    MFnDependencyNode node(host::nodeByName("node1"), &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(node.typeId(), MTypeId(id));
    EXPECT_EQ(node.typeName(), MString(typeName));

    // The class adds exactly these attributes, in this order, after its base's.
    auto type = host::findNodeType(typeName);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->kind, kind);
    const size_t base = baseAttributeCount(kind, 0x7FF20 + id % 16);
    ASSERT_EQ(type->attributes.size(), base + table.size());
    for (size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(type->attributes[base + i]->longName, table[i].longName) << "attribute " << i;

    const host::Attribute* outputForce =
        kind == MPxNode::kFieldNode ? host::attributeOf(MPxFieldNode::mOutputForce).get() : nullptr;
    for (const Expected& row : table) {
        SCOPED_TRACE(std::string(typeName) + "." + row.longName);
        MObject attribute = node.attribute(row.longName, &status);
        ASSERT_EQ(status, MStatus::kSuccess);
        EXPECT_EQ(node.attribute(row.shortName), attribute);

        MFnAttribute fn(attribute);
        EXPECT_EQ(fn.name(), MString(row.longName));
        EXPECT_EQ(fn.shortName(), MString(row.shortName));
        EXPECT_EQ(fn.isReadable(), row.flags.readable);
        EXPECT_EQ(fn.isWritable(), row.flags.writable);
        EXPECT_EQ(fn.isConnectable(), row.flags.connectable);
        EXPECT_EQ(fn.isStorable(), row.flags.storable);
        EXPECT_EQ(fn.isKeyable(), row.flags.keyable);
        EXPECT_EQ(fn.isArray(), row.flags.array);

        if (row.kind == Typed) {
            ASSERT_EQ(attribute.apiType(), MFn::kTypedAttribute);
            MFnTypedAttribute typed(attribute);
            EXPECT_EQ(typed.attrType(), row.dataType);
            MObject defaultData;
            typed.getDefault(defaultData);
            EXPECT_TRUE(defaultData.isNull());
        } else {
            ASSERT_EQ(attribute.apiType(), MFn::kNumericAttribute);
            MFnNumericAttribute numeric(attribute);
            EXPECT_EQ(numeric.unitType(), row.dataType);
            if (row.dataType == dbl3) {
                double x = -1, y = -1, z = -1;
                numeric.getDefault(x, y, z);
                EXPECT_EQ(x, row.defaultValue);
                EXPECT_EQ(y, row.defaultValue);
                EXPECT_EQ(z, row.defaultValue);
            } else {
                double value = -1;
                numeric.getDefault(value);
                EXPECT_EQ(value, row.defaultValue);
            }
        }

        // What the attribute affects: the force output, or nothing at all.
        const host::Attribute* own = host::attributeOf(attribute).get();
        std::vector<const host::Attribute*> affected;
        auto found = type->affects.find(own);
        if (found != type->affects.end())
            affected = found->second;
        if (row.affectsOutput)
            EXPECT_EQ(affected, std::vector<const host::Attribute*>{outputForce});
        else
            EXPECT_TRUE(affected.empty());
    }
}

TEST_F(NodeAttributes, NormalField) { checkType("normalField", 0x1059C2, MPxNode::kFieldNode, normalFieldTable); }

TEST_F(NodeAttributes, CurveField) { checkType("curveField", 0x1059C1, MPxNode::kFieldNode, curveFieldTable); }

TEST_F(NodeAttributes, ShadingField) {
    checkType("shadingField", 0x1059C0, MPxNode::kFieldNode, shadingFieldTable);
}

TEST_F(NodeAttributes, SamplerEmitter) {
    checkType("samplerEmitter", 0x1059C3, MPxNode::kEmitterNode, samplerEmitterTable);
}

// initialize run by hand on a type that already has an attribute of one of the class's names.
struct InitializeFailure {
    MStatus status;
    std::string err;
    std::vector<std::string> added;  // the class's attributes that made it onto the type
};

InitializeFailure initializeWithTakenName(MInitializeFunction initialize, const char* takenName) {
    host::NodeType type;
    type.name = "initializeProbe";
    type.kind = MPxNode::kFieldNode;
    host::addBaseAttributes(type);
    const size_t base = type.attributes.size();
    MFnNumericAttribute numeric;
    MObject taken = numeric.create(takenName, "tkn", MFnNumericData::kDouble, 0.0);
    EXPECT_EQ(type.addAttribute(host::attributeOf(taken)), MStatus::kSuccess);

    InitializeFailure result;
    {
        host::OutputCapture capture;
        host::setTypeBeingInitialized(&type);
        result.status = initialize();
        host::setTypeBeingInitialized(nullptr);
        result.err = capture.err();
    }
    for (size_t i = base + 1; i < type.attributes.size(); ++i)
        result.added.push_back(type.attributes[i]->longName);
    return result;
}

// The error line: some status's error string, a blank, the message with its own line feed, a line end.
void expectErrorLine(const std::string& err, const std::string& message) {
    const std::string tail = " " + message + "\n";
    ASSERT_GT(err.size(), tail.size()) << err;
    EXPECT_EQ(err.substr(err.size() - tail.size()), tail);
    const std::string prefix = err.substr(0, err.size() - tail.size());
    bool known = false;
    for (int code = MStatus::kFailure; code <= MStatus::kEndOfFile; ++code)
        known = known || prefix == MStatus(static_cast<MStatus::MStatusCode>(code)).errorString().asChar();
    EXPECT_TRUE(known) << "\"" << prefix << "\" is not a failure's error string";
}

TEST_F(NodeAttributes, FailedAttributeStopsInitializeWithItsMessage) {
    InitializeFailure curve = initializeWithTakenName(curveField::initialize, "speed");
    EXPECT_EQ(curve.status, MStatus::kUnknownParameter);
    expectErrorLine(curve.err, "ERROR adding speed attribute.\n");
    EXPECT_EQ(curve.added, (std::vector<std::string>{"inputCurve", "magnitudePP"}));

    InitializeFailure normal = initializeWithTakenName(normalField::initialize, "normal");
    EXPECT_EQ(normal.status, MStatus::kUnknownParameter);
    expectErrorLine(normal.err, "ERROR adding resultNormal attribute.\n");
    EXPECT_EQ(normal.added, (std::vector<std::string>{"inputCurve", "magnitudePP", "outNormal"}));

    InitializeFailure shadows = initializeWithTakenName(shadingField::initialize, "enableShadows");
    EXPECT_EQ(shadows.status, MStatus::kUnknownParameter);
    expectErrorLine(shadows.err, "ERROR adding enableShadows attribute.\n");

    InitializeFailure map = initializeWithTakenName(shadingField::initialize, "map");
    EXPECT_EQ(map.status, MStatus::kUnknownParameter);
    expectErrorLine(map.err, "ERROR adding map attribute.\n");

    InitializeFailure output = initializeWithTakenName(shadingField::initialize, "outTransparency");
    EXPECT_EQ(output.status, MStatus::kUnknownParameter);
    expectErrorLine(output.err, "ERROR adding output attribute.\n");
}

}  // namespace
