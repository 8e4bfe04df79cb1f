// Dependency graph behaviour that the plug-ins rely on: attribute tables, plugs and connections,
// pull evaluation, dirty propagation along declared affects only, and no automatic clean.
#include "graph/Scene.h"

#include <host/Host.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MIntArray.h>
#include <maya/MPlugArray.h>
#include <maya/MPxNode.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A node whose output "sum" is input "a" + input "b"; "free" affects nothing. It records the plugs it
// is asked for and marks them clean only while `cleanUp` is set.
struct Adder : MPxNode {
    static MObject a, b, sum, free, list, outList;
    static std::vector<std::string> requests;
    static bool cleanUp;
    static void* creator() { return new Adder; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        a = n.create("inputA", "a", MFnNumericData::kDouble, 1.0);
        b = n.create("inputB", "b", MFnNumericData::kDouble, 2.0);
        sum = n.create("sum", "s", MFnNumericData::kDouble, 0.0);
        free = n.create("free", "f", MFnNumericData::kDouble, 0.0);
        list = n.create("list", "l", MFnNumericData::kDouble, 0.0);
        n.setArray(true);
        outList = n.create("outList", "ol", MFnNumericData::kDouble, 0.0);
        n.setArray(true);
        for (MObject* o : {&a, &b, &sum, &free, &list, &outList}) addAttribute(*o);
        attributeAffects(a, sum);
        attributeAffects(b, sum);
        attributeAffects(list, outList);
        return MStatus::kSuccess;
    }
    MStatus compute(const MPlug& plug, MDataBlock& block) override {
        requests.push_back(plug.name().asChar());
        if (plug == sum) {
            double v = block.inputValue(a).asDouble() + block.inputValue(b).asDouble();
            block.outputValue(sum).set(v);
        } else if (plug == outList) {
            MArrayDataHandle in = block.inputArrayValue(list);
            double total = 0;
            for (unsigned i = 0; i < in.elementCount(); ++i, in.next()) total += in.inputValue().asDouble();
            MArrayDataBuilder builder = block.outputArrayValue(outList).builder();
            builder.addElement(plug.logicalIndex()).set(total * (plug.logicalIndex() + 1));
        } else {
            return MStatus::kUnknownParameter;
        }
        if (cleanUp) block.setClean(plug);
        return MStatus::kSuccess;
    }
};
MObject Adder::a, Adder::b, Adder::sum, Adder::free, Adder::list, Adder::outList;
std::vector<std::string> Adder::requests;
bool Adder::cleanUp = true;

class GraphTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(host::registerType("testAdder", MTypeId(0x7f001), Adder::creator, Adder::initialize,
                                     MPxNode::kDependNode, MFn::kPluginDependNode, "test"),
                  MStatus::kSuccess);
    }
    void SetUp() override {
        host::newScene();
        Adder::requests.clear();
        Adder::cleanUp = true;
    }
    static double value(const std::string& plug) {
        double v = -1;
        EXPECT_EQ(host::plugByName(plug).getValue(v), MStatus::kSuccess) << plug;
        return v;
    }
    static MObject make(const std::string& name) {
        MStatus status;
        auto node = host::createNode("testAdder", name, &status);
        EXPECT_EQ(status, MStatus::kSuccess);
        return MObject(node);
    }
};

TEST_F(GraphTest, RegistrationRefusesTakenNamesAndIds) {
    EXPECT_NE(host::registerType("testAdder", MTypeId(0x7f0ff), Adder::creator, Adder::initialize,
                                 MPxNode::kDependNode, MFn::kPluginDependNode, "test"),
              MStatus::kSuccess);
    EXPECT_NE(host::registerType("otherAdder", MTypeId(0x7f001), Adder::creator, Adder::initialize,
                                 MPxNode::kDependNode, MFn::kPluginDependNode, "test"),
              MStatus::kSuccess);
    EXPECT_FALSE(host::findNodeType("otherAdder"));
}

TEST_F(GraphTest, AddAttributeRefusesTakenLongOrShortNames) {
    host::NodeType type;
    MFnNumericAttribute n;
    ASSERT_EQ(type.addAttribute(host::attributeOf(n.create("speed", "spd", MFnNumericData::kDouble))), MStatus::kSuccess);
    EXPECT_NE(type.addAttribute(host::attributeOf(n.create("speed", "other", MFnNumericData::kDouble))), MStatus::kSuccess);
    EXPECT_NE(type.addAttribute(host::attributeOf(n.create("other", "spd", MFnNumericData::kDouble))), MStatus::kSuccess);
    EXPECT_NE(type.addAttribute(host::attributeOf(n.create("spd", "x", MFnNumericData::kDouble))), MStatus::kSuccess);
    EXPECT_EQ(type.attributes.size(), 1u);
}

TEST_F(GraphTest, FindPlugMatchesLongAndShortNamesAndRefusesMissingOnes) {
    MFnDependencyNode fn(make("n1"));
    MStatus status;
    EXPECT_EQ(fn.findPlug("inputA", &status).name(), MString("n1.inputA"));
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(fn.findPlug("a", &status).name(), MString("n1.inputA"));
    EXPECT_TRUE(fn.findPlug("nothing", &status).isNull());
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_TRUE(fn.findPlug("", &status).isNull());
    EXPECT_EQ(status, MStatus::kInvalidParameter);

    MFnDependencyNode unattached;
    EXPECT_TRUE(unattached.findPlug("inputA", &status).isNull());
    EXPECT_EQ(status, MStatus::kFailure);
    MFnDependencyNode onNull(MObject::kNullObj, &status);
    EXPECT_NE(status, MStatus::kSuccess);
    MObject nothing;
    EXPECT_NE(MPlug().getValue(nothing), MStatus::kSuccess);
    EXPECT_TRUE(nothing.isNull());
    EXPECT_TRUE(MPlug().node().isNull());
}

TEST_F(GraphTest, ComputeRunsOnDemandWithTheRequestedPlugAndCachesWhenClean) {
    make("n1");
    EXPECT_EQ(value("n1.sum"), 3.0);
    EXPECT_EQ(value("n1.sum"), 3.0);
    EXPECT_EQ(Adder::requests, std::vector<std::string>{"n1.sum"});
    ASSERT_EQ(host::plugByName("n1.a").setValue(5.0), MStatus::kSuccess);
    EXPECT_FALSE(host::isPlugClean("n1.sum"));
    EXPECT_EQ(value("n1.sum"), 7.0);
    EXPECT_EQ(Adder::requests.size(), 2u);
}

TEST_F(GraphTest, OnlyDeclaredAffectsDirty) {
    make("n1");
    value("n1.sum");
    ASSERT_TRUE(host::isPlugClean("n1.sum"));
    host::plugByName("n1.free").setValue(9.0);
    EXPECT_TRUE(host::isPlugClean("n1.sum"));
}

TEST_F(GraphTest, HostNeverCleansOnItsOwn) {
    make("n1");
    Adder::cleanUp = false;
    value("n1.sum");
    EXPECT_FALSE(host::isPlugClean("n1.sum"));
    value("n1.sum");
    EXPECT_EQ(Adder::requests.size(), 2u);
}

TEST_F(GraphTest, ConnectionsPullAndPropagateDirt) {
    make("up");
    make("down");
    ASSERT_EQ(host::connect(host::plugByName("up.sum"), host::plugByName("down.a"), false), MStatus::kSuccess);
    EXPECT_EQ(value("down.sum"), 5.0);  // (1 + 2) + 2
    host::plugByName("up.b").setValue(10.0);
    EXPECT_FALSE(host::isPlugClean("down.sum"));
    EXPECT_EQ(value("down.sum"), 13.0);
    // A second source needs force, which replaces the first.
    EXPECT_NE(host::connect(host::plugByName("up.free"), host::plugByName("down.a"), false), MStatus::kSuccess);
    EXPECT_EQ(host::connect(host::plugByName("up.free"), host::plugByName("down.a"), true), MStatus::kSuccess);
    MPlugArray sources;
    ASSERT_TRUE(host::plugByName("down.a").connectedTo(sources, true, false));
    ASSERT_EQ(sources.length(), 1u);
    EXPECT_EQ(sources[0].name(), MString("up.free"));
    MPlugArray none;
    EXPECT_FALSE(host::plugByName("up.sum").connectedTo(none, false, true));
    EXPECT_TRUE(none[0].isNull());
}

TEST_F(GraphTest, ArrayElementsExistInAscendingOrderAndHandlesWalkThem) {
    make("n1");
    for (int i : {7, 0, 3}) host::plugByName("n1.list[" + std::to_string(i) + "]").setValue(double(i));
    MIntArray indices;
    host::plugByName("n1.list").getExistingArrayAttributeIndices(indices);
    ASSERT_EQ(indices.length(), 3u);
    EXPECT_EQ(indices[0], 0);
    EXPECT_EQ(indices[1], 3);
    EXPECT_EQ(indices[2], 7);
    EXPECT_EQ(host::plugByName("n1.list").elementByPhysicalIndex(2).name(), MString("n1.list[7]"));

    auto node = host::findNode("n1");
    MDataBlock block(node.get());
    MArrayDataHandle h = block.inputArrayValue(Adder::list);
    EXPECT_EQ(h.elementIndex(), 0u);
    EXPECT_NE(h.jumpToElement(5), MStatus::kSuccess);
    EXPECT_EQ(h.elementIndex(), 0u);  // a failed jump leaves the position
    EXPECT_EQ(h.jumpToElement(3), MStatus::kSuccess);
    EXPECT_EQ(h.inputValue().asDouble(), 3.0);
    EXPECT_EQ(h.next(), MStatus::kSuccess);
    EXPECT_NE(h.next(), MStatus::kSuccess);
    MStatus status;
    EXPECT_EQ(h.elementIndex(&status), static_cast<unsigned>(-1));
    EXPECT_NE(status, MStatus::kSuccess);
}

TEST_F(GraphTest, OutputElementsAreComputedOnePerRequest) {
    make("n1");
    host::plugByName("n1.list[0]").setValue(2.0);
    EXPECT_EQ(value("n1.outList[1]"), 4.0);
    EXPECT_EQ(value("n1.outList[2]"), 6.0);
    EXPECT_EQ(Adder::requests, (std::vector<std::string>{"n1.outList[1]", "n1.outList[2]"}));
}

TEST_F(GraphTest, PlugComparisons) {
    MFnDependencyNode fn(make("n1"));
    MPlug element = fn.findPlug("outList").elementByLogicalIndex(4);
    EXPECT_TRUE(element == Adder::outList);
    EXPECT_FALSE(element == Adder::list);
    EXPECT_EQ(element.logicalIndex(), 4u);
    MStatus status;
    fn.findPlug("outList").logicalIndex(&status);
    EXPECT_NE(status, MStatus::kSuccess);
    fn.findPlug("sum").elementByLogicalIndex(0, &status);
    EXPECT_NE(status, MStatus::kSuccess);
    EXPECT_TRUE(fn.findPlug("outList").elementByLogicalIndex(1) == fn.findPlug("outList").elementByLogicalIndex(2));
}

TEST_F(GraphTest, DeletedNodesDisconnectAndFunctionSetsFail) {
    MObject up = make("up");
    make("down");
    host::connect(host::plugByName("up.sum"), host::plugByName("down.a"), false);
    ASSERT_EQ(host::deleteNode(host::findNode("up")), MStatus::kSuccess);
    MPlugArray sources;
    EXPECT_FALSE(host::plugByName("down.a").connectedTo(sources, true, false));
    MStatus status;
    MFnDependencyNode fn(up, &status);
    EXPECT_NE(status, MStatus::kSuccess);
}

TEST_F(GraphTest, PlugNamesRoundTrip) {
    make("n1");
    for (const char* name : {"n1.list[12]", "n1.inputA"}) {
        MStatus status;
        MPlug plug = host::plugFromName(name, &status);
        ASSERT_EQ(status, MStatus::kSuccess) << name;
        EXPECT_EQ(plug.name(), MString(name));
    }
    for (const char* bad : {"n1.", "n1.list[", "n1.list[x]", "n1.inputA[0]", "n1.nothing", "nobody.a", "n1.list[-1]"}) {
        MStatus status;
        EXPECT_TRUE(host::plugFromName(bad, &status).isNull()) << bad;
        EXPECT_NE(status, MStatus::kSuccess) << bad;
    }
}

}  // namespace
