// Cycles, deep graphs and many nodes: connections that loop are made with a warning and evaluation
// terminates; chains far deeper than the call stack allows evaluate; names resolve in constant time.

#include "command_fixture.h"

namespace {

using cmdtest::CommandTest;

class GraphCycles : public CommandTest {
protected:
    std::vector<std::string> warnings() {
        std::vector<std::string> found;
        for (const host::JournalEntry& e : host::journal())
            if (e.kind == host::JournalEntry::Warning)
                found.push_back(e.text);
        return found;
    }

    std::string text() {
        MString s;
        EXPECT_TRUE(result.getResult(s));
        return s.str();
    }
};

// A script making a chain of nodes <prefix>0 ... <prefix>(length - 1), each one's attribute fed by the one
// before.
std::string chain(const std::string& prefix, const std::string& attribute, int length) {
    return "proc chain(string $prefix, string $attribute, int $length) {\n"
           "    createNode cmdTestNode -n ($prefix + 0);\n"
           "    for ($i = 1; $i < $length; $i++) {\n"
           "        createNode cmdTestNode -n ($prefix + $i);\n"
           "        connectAttr ($prefix + ($i - 1) + \".\" + $attribute) ($prefix + $i + \".\" + $attribute);\n"
           "    }\n"
           "}\n"
           "chain " + prefix + " " + attribute + " " + std::to_string(length) + ";";
}

TEST_F(GraphCycles, TwoNodeLoopIsMadeWithAWarningAndEvaluationTerminates) {
    ok("createNode cmdTestNode -n a; createNode cmdTestNode -n b; setAttr a.num 2");
    EXPECT_DOUBLE_EQ(getDouble("a.result"), 20.0);
    ok("connectAttr a.result b.num");
    EXPECT_TRUE(warnings().empty());
    ok("connectAttr b.result a.num");
    ASSERT_EQ(warnings().size(), 1u);
    EXPECT_EQ(warnings()[0], "Cycle on 'b.result' may not evaluate as expected (b.result -> a.num -> a.result -> "
                             "b.num -> b.result).");
    // The read goes once around: where the cycle comes back, a.result gives the value it had.
    EXPECT_DOUBLE_EQ(getDouble("a.result"), 2000.0);
    EXPECT_DOUBLE_EQ(getDouble("b.result"), 200.0);
    EXPECT_DOUBLE_EQ(getDouble("a.result"), 2000.0);
    ok("disconnectAttr b.result a.num; setAttr a.num 3");
    EXPECT_DOUBLE_EQ(getDouble("b.result"), 300.0);
}

TEST_F(GraphCycles, PlainPlugLoopsAndSelfLoopsThroughAffects) {
    ok("createNode cmdTestNode -n a; createNode cmdTestNode -n b; createNode cmdTestNode -n c");
    ok("connectAttr a.count b.count; connectAttr b.count c.count");
    ok("connectAttr c.count a.count");
    ASSERT_EQ(warnings().size(), 1u);
    EXPECT_NE(warnings()[0].find("c.count -> a.count -> b.count -> c.count"), std::string::npos) << warnings()[0];
    ok("getAttr b.count; getAttr a.count");
    // A node feeding its own input through what that input affects.
    ok("setAttr c.num 3");
    EXPECT_DOUBLE_EQ(getDouble("c.result"), 30.0);
    ok("connectAttr c.result c.num");
    ASSERT_EQ(warnings().size(), 2u);
    EXPECT_DOUBLE_EQ(getDouble("c.result"), 300.0);
}

TEST_F(GraphCycles, ChainsDeeperThanTheStackEvaluateAndBuildInLinearTime) {
    const int length = 20000;
    ok(chain("n", "count", length));
    ok("setAttr n0.count 7");
    EXPECT_DOUBLE_EQ(getDouble("n" + std::to_string(length - 1) + ".count"), 7.0);
    // Default names keep counting from the lowest free number.
    ok("createNode cmdTestNode");
    EXPECT_EQ(text(), "cmdTestNode1");
    ok("delete n5; createNode cmdTestNode -n n12");
    EXPECT_EQ(text(), "n5");
}

TEST_F(GraphCycles, DeepComputeChainEvaluates) {
    const int length = 10000;
    ok(chain("m", "num", length));
    ok("connectAttr m" + std::to_string(length - 2) + ".result m" + std::to_string(length - 1) + ".num -f");
    ok("setAttr m0.num 0.25");
    EXPECT_DOUBLE_EQ(getDouble("m" + std::to_string(length - 1) + ".result"), 25.0);
}

}  // namespace
