// The query commands a script uses to look at a scene: listAttr, attributeQuery, objExists, nodeType,
// ls, listConnections, isConnected.

#include "command_fixture.h"

#include <maya/MFnCompoundAttribute.h>
#include <maya/MStringArray.h>

#include <algorithm>

namespace {

// A node with an array of compounds, for how listAttr names children below an array.
class PairsNode : public MPxNode {
public:
    static void* creator() { return new PairsNode; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        first = n.create("first", "fst", MFnNumericData::kDouble, 0.0);
        second = n.create("second", "snd", MFnNumericData::kLong, 0);
        MFnCompoundAttribute c;
        pairs = c.create("pairs", "prs");
        c.addChild(first);
        c.addChild(second);
        c.setArray(true);
        return addAttribute(pairs);
    }
    static inline MObject pairs, first, second;
};

const MTypeId pairsNodeId(0x7FE11);

class Queries : public cmdtest::CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        if (!host::findNodeType("pairsNode")) {
            ASSERT_EQ(host::registerType("pairsNode", pairsNodeId, PairsNode::creator, PairsNode::initialize,
                                         MPxNode::kDependNode, MFn::kPluginDependNode, "test"),
                      MStatus::kSuccess);
        }
    }

    // The result of text as words (a string array, or the text of any other result split at blanks).
    std::vector<std::string> strings(const std::string& text) {
        ok(text);
        MStringArray array;
        std::vector<std::string> out;
        if (result.getResult(array)) {
            for (unsigned i = 0; i < array.length(); ++i)
                out.push_back(array[i].asChar());
            return out;
        }
        MString single;
        if (result.getResult(single))
            out.push_back(single.asChar());
        return out;
    }



    using Words = std::vector<std::string>;
};

TEST_F(Queries, ListAttrNamesEveryAttributeInOrderWithChildren) {
    ok("createNode cmdTestNode -n a");
    EXPECT_EQ(strings("listAttr a"), (Words{"message", "num", "count", "flag", "vec", "vecX", "vecY", "vecZ", "list",
                                            "result", "text", "values", "vecs", "ints"}));
    EXPECT_EQ(strings("listAttr a.vec"), (Words{"vec", "vecX", "vecY", "vecZ"}));
    EXPECT_EQ(strings("listAttr -ud a"), Words{});
    ok("addAttr -ln extra -at double a; addAttr -ln perPoint -dt doubleArray a");
    EXPECT_EQ(strings("listAttr -userDefined a"), (Words{"extra", "perPoint"}));
    EXPECT_EQ(strings("listAttr -ud a.extra"), Words{"extra"});
    EXPECT_EQ(strings("listAttr -ud a.num"), Words{});
    // Several objects: their lists one after the other.
    ok("createNode cmdTestNode -n b; addAttr -ln other -at long b");
    EXPECT_EQ(strings("listAttr -ud a b"), (Words{"extra", "perPoint", "other"}));
}

TEST_F(Queries, ListAttrMultiAddsExistingElementsAndDotsChildrenBelowArrays) {
    ok("createNode pairsNode -n p");
    EXPECT_EQ(strings("listAttr p"), (Words{"message", "pairs", "pairs.first", "pairs.second"}));
    ok("setAttr p.pairs[3].first 1; setAttr p.pairs[1].second 2");
    EXPECT_EQ(strings("listAttr -m p"), (Words{"message", "pairs", "pairs[1]", "pairs[1].first", "pairs[1].second",
                                               "pairs[3]", "pairs[3].first", "pairs[3].second", "pairs.first",
                                               "pairs.second"}));
    ok("createNode cmdTestNode -n a; setAttr a.list[2] 5; setAttr a.list[0] 1");
    const Words all = strings("listAttr -multi a");
    const Words expected = {"list", "list[0]", "list[2]", "result"};
    auto at = std::search(all.begin(), all.end(), expected.begin(), expected.end());
    EXPECT_NE(at, all.end());
    // Without -multi no element is named.
    for (const std::string& name : strings("listAttr a"))
        EXPECT_EQ(name.find('['), std::string::npos) << name;
}

TEST_F(Queries, ListAttrRefusesMissingObjects) {
    fails("listAttr", {"listAttr", "No object given"});
    fails("listAttr nowhere", {"No object matches name: nowhere"});
    ok("createNode cmdTestNode -n a");
    fails("listAttr a.nothing", {"No attribute 'nothing'"});
    fails("listAttr -bogus a", {"Invalid flag"});
}

TEST_F(Queries, AttributeQueryTellsKindAndFlags) {
    ok("createNode cmdTestNode -n a; createNode transform -n t");
    EXPECT_EQ(text("attributeQuery -node a -attributeType num"), "double");
    EXPECT_EQ(text("attributeQuery -n a -at count"), "long");
    EXPECT_EQ(text("attributeQuery -n a -at flag"), "bool");
    EXPECT_EQ(text("attributeQuery -n a -at vec"), "double3");
    EXPECT_EQ(text("attributeQuery -n a -at vecY"), "double");
    EXPECT_EQ(text("attributeQuery -n a -at values"), "typed");
    EXPECT_EQ(text("attributeQuery -n a -at message"), "message");
    EXPECT_EQ(text("attributeQuery -n t -at rotateX"), "doubleAngle");
    EXPECT_EQ(text("attributeQuery -n a -longName nm"), "num");
    EXPECT_EQ(text("attributeQuery -n a -shortName num"), "nm");

    EXPECT_EQ(integer("attributeQuery -n a -multi list"), 1);
    EXPECT_EQ(integer("attributeQuery -n a -m num"), 0);
    EXPECT_EQ(integer("attributeQuery -n a -writable result"), 0);
    EXPECT_EQ(integer("attributeQuery -n a -w num"), 1);
    EXPECT_EQ(integer("attributeQuery -n a -readable result"), 1);
    EXPECT_EQ(integer("attributeQuery -n a -connectable num"), 1);
    EXPECT_EQ(integer("attributeQuery -n t -keyable translate"), 1);
    EXPECT_EQ(integer("attributeQuery -n a -k num"), 0);
    ok("shadingNode -asShader lambert -n skin");
    EXPECT_EQ(integer("attributeQuery -n skin -usedAsColor color"), 1);
    EXPECT_EQ(integer("attributeQuery -n a -uac vec"), 0);

    EXPECT_EQ(strings("attributeQuery -n a -listChildren vec"), (Words{"vecX", "vecY", "vecZ"}));
    EXPECT_EQ(strings("attributeQuery -n a -lc num"), Words{});
}

TEST_F(Queries, AttributeQueryListDefaultGivesNumbersInScriptUnits) {
    ok("createNode cmdTestNode -n a; createNode transform -n t");
    ok("attributeQuery -n a -listDefault num");
    MDoubleArray values;
    ASSERT_TRUE(result.getResult(values));
    ASSERT_EQ(values.length(), 1u);
    EXPECT_EQ(values[0], 1.5);
    ok("attributeQuery -n t -ld scale");
    ASSERT_TRUE(result.getResult(values));
    EXPECT_EQ(values.length(), 3u);
    EXPECT_EQ(values[2], 1.0);
    fails("attributeQuery -n a -ld text", {"typed", "no numeric default"});
}

TEST_F(Queries, AttributeQueryExistsAndItsErrors) {
    ok("createNode cmdTestNode -n a; addAttr -ln extra -at double a");
    EXPECT_EQ(integer("attributeQuery -node a -exists num"), 1);
    EXPECT_EQ(integer("attributeQuery -n a -ex vecZ"), 1);
    EXPECT_EQ(integer("attributeQuery -n a -ex extra"), 1);
    EXPECT_EQ(integer("attributeQuery -n a -ex nothing"), 0);
    // -type looks at the type's attributes, not at what one node has added.
    EXPECT_EQ(integer("attributeQuery -type cmdTestNode -ex num"), 1);
    EXPECT_EQ(integer("attributeQuery -type cmdTestNode -ex extra"), 0);

    fails("attributeQuery -n a -at nothing", {"No attribute named 'nothing'"});
    fails("attributeQuery -n nowhere -ex num", {"No object matches name: nowhere"});
    fails("attributeQuery -n a num", {"No query flag"});
    fails("attributeQuery -n a -ex -at num", {"one query flag at a time"});
    fails("attributeQuery -ex num", {"-node"});
    fails("attributeQuery -n a -ex", {"No attribute given"});
    fails("attributeQuery -type noSuchType -ex num", {"noSuchType"});
}

TEST_F(Queries, ObjExistsNodeTypeAndLs) {
    ok("createNode cmdTestNode -n a; createNode cmdTestNode -n ab; polyCube -n box; particle -n cloud");
    EXPECT_EQ(integer("objExists a"), 1);
    EXPECT_EQ(integer("objExists a.num"), 1);
    EXPECT_EQ(integer("objExists a.vecX"), 1);
    EXPECT_EQ(integer("objExists a.nothing"), 0);
    EXPECT_EQ(integer("objExists nowhere"), 0);
    EXPECT_EQ(integer("objExists nowhere.num"), 0);
    EXPECT_EQ(integer("objExists |box|boxShape"), 1);
    EXPECT_EQ(integer("objExists |boxShape"), 0);
    fails("objExists", {"objExists"});

    EXPECT_EQ(text("nodeType a"), "cmdTestNode");
    EXPECT_EQ(text("nodeType box"), "transform");
    EXPECT_EQ(text("nodeType boxShape"), "mesh");
    EXPECT_EQ(text("nodeType a.num"), "cmdTestNode");
    fails("nodeType nowhere", {"No object matches name: nowhere"});

    EXPECT_EQ(strings("ls -type cmdTestNode"), (Words{"a", "ab"}));
    EXPECT_EQ(strings("ls -type particle"), Words{"cloud"});
    EXPECT_EQ(strings("ls -type mesh -type particle"), (Words{"boxShape", "cloud"}));
    EXPECT_EQ(strings("ls -type noSuchType"), Words{});
    EXPECT_EQ(strings("ls \"a*\""), (Words{"a", "ab"}));
    EXPECT_EQ(strings("ls -type cmdTestNode ab box"), Words{"ab"});
    EXPECT_EQ(strings("ls -type shape"), (Words{"boxShape"}));
    EXPECT_EQ(strings("ls \"?b\" \"b*e\""), (Words{"ab", "boxShape"}));
    EXPECT_EQ(strings("ls \"*o*S*\""), Words{"boxShape"});
    // A pattern of many stars that cannot match takes no time to refuse.
    ok("createNode cmdTestNode -n " + std::string(200, 'a'));
    std::string stars;
    for (int k = 0; k < 40; ++k)
        stars += "*a";
    EXPECT_EQ(strings("ls \"" + stars + "*b\""), Words{});
    EXPECT_EQ(strings("ls \"" + stars + "\"").size(), 1u);
    const Words all = strings("ls");
    for (const char* name : {"a", "ab", "box", "boxShape", "cloud"})
        EXPECT_NE(std::find(all.begin(), all.end(), name), all.end()) << name;
}

TEST_F(Queries, ListConnectionsBothWaysByDefaultWithNodeNames) {
    ok("createNode cmdTestNode -n a; createNode cmdTestNode -n b; createNode cmdTestNode -n c");
    ok("connectAttr a.num b.num; connectAttr a.result b.list[3]; connectAttr b.result c.num");
    EXPECT_EQ(strings("listConnections a"), (Words{"b", "b"}));
    EXPECT_EQ(strings("listConnections b"), (Words{"a", "a", "c"}));
    EXPECT_EQ(strings("listConnections -source true -destination false b"), (Words{"a", "a"}));
    EXPECT_EQ(strings("listConnections -d off b"), (Words{"a", "a"}));
    EXPECT_EQ(strings("listConnections -s 0 b"), Words{"c"});
    EXPECT_EQ(strings("listConnections -s 0 -d 0 b"), Words{});
    EXPECT_EQ(strings("listConnections -plugs true b"), (Words{"a.num", "a.result", "c.num"}));
    EXPECT_EQ(strings("listConnections -p 1 -s 0 a"), (Words{"b.num", "b.list[3]"}));
    // A plug: its own connections and those of its elements and children.
    EXPECT_EQ(strings("listConnections -p 1 b.list"), Words{"a.result"});
    EXPECT_EQ(strings("listConnections b.list[3]"), Words{"a"});
    EXPECT_EQ(strings("listConnections b.list[2]"), Words{});
    EXPECT_EQ(strings("listConnections b.num"), Words{"a"});
    EXPECT_EQ(strings("listConnections -c 1 -p 1 -d 0 b"), (Words{"b.num", "a.num", "b.list[3]", "a.result"}));
    EXPECT_EQ(strings("listConnections -type cmdTestNode -s 0 b"), Words{"c"});
    EXPECT_EQ(strings("listConnections -type particle b"), Words{});
    fails("listConnections nowhere", {"No object matches name: nowhere"});
    fails("listConnections a.nothing", {"No object matches name: a.nothing"});
    fails("listConnections", {"No object given"});
}

TEST_F(Queries, IsConnectedAnswersForOneDirectionAndOneElement) {
    ok("createNode cmdTestNode -n a; createNode cmdTestNode -n b");
    ok("connectAttr a.num b.num; connectAttr a.result b.list[3]");
    EXPECT_EQ(integer("isConnected a.num b.num"), 1);
    EXPECT_EQ(integer("isConnected b.num a.num"), 0);
    EXPECT_EQ(integer("isConnected a.result b.list[3]"), 1);
    EXPECT_EQ(integer("isConnected a.result b.list[2]"), 0);
    EXPECT_EQ(integer("isConnected a.num b.count"), 0);
    fails("isConnected a.num", {"two plugs"});
    fails("isConnected a.num b.nothing", {"No plug named 'b.nothing'"});
}

TEST_F(Queries, ResultsCanBeBackQuotedIntoOtherCommands) {
    ok("createNode cmdTestNode -n a; createNode cmdTestNode -n b; connectAttr a.num b.num");
    ok("print `ls -type cmdTestNode`");
    EXPECT_EQ(out, "a\nb\n") << "print writes an array one element a line";
    // Typed results go into script variables.
    ok("string $attributes[] = `listAttr a.vec`; for ($name in $attributes) print($name + \",\");"
       "int $n = `attributeQuery -n a -ex num`; print($n + \",\" + size(`listConnections a`));");
    EXPECT_EQ(out, "vec,vecX,vecY,vecZ,1,1");
    EXPECT_EQ(integer("getAttr -size a.list"), 0);
    ok("setAttr a.list[4] 1; setAttr a.list[7] 2");
    EXPECT_EQ(integer("getAttr -size a.list"), 2);
}

}  // namespace
