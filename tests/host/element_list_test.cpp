// The storage of multi attribute elements: kept in ascending logical order whatever the order of
// insertion and removal, walked by array data handles, and fast enough that scripts setting many
// elements out of order finish.
#include "graph/Scene.h"
#include "graph/Value.h"

#include <host/Host.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MIntArray.h>
#include <maya/MPxNode.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using host::ElementList;

host::Value numberValue(double x) {
    host::Value v;
    v.num[0] = x;
    return v;
}

// The list holds exactly the reference's elements, in order, in chunks none empty or over the bound.
void expectSame(const ElementList& list, const std::map<unsigned, double>& reference) {
    ASSERT_EQ(list.size(), reference.size());
    auto expected = reference.begin();
    for (const auto& [index, value] : list) {
        ASSERT_NE(expected, reference.end());
        EXPECT_EQ(index, expected->first);
        EXPECT_EQ(value.num[0], expected->second);
        ++expected;
    }
    size_t counted = 0;
    for (const auto& chunk : list.chunks()) {
        EXPECT_FALSE(chunk.empty());
        EXPECT_LE(chunk.size(), ElementList::maxChunk);
        counted += chunk.size();
    }
    EXPECT_EQ(counted, reference.size());
}

TEST(ElementListTest, KeepsIndexOrderThroughInsertionsAndRemovalsInAnyOrder) {
    std::vector<unsigned> order(5000);
    std::iota(order.begin(), order.end(), 0u);
    std::mt19937 random(7);
    for (int pattern = 0; pattern < 3; ++pattern) {
        if (pattern == 1) std::reverse(order.begin(), order.end());
        if (pattern == 2) std::shuffle(order.begin(), order.end(), random);
        ElementList list;
        std::map<unsigned, double> reference;
        for (unsigned i : order) {
            const unsigned index = i * 3;  // sparse
            auto [it, added] = list.emplace(index, numberValue(index + 0.5));
            EXPECT_TRUE(added);
            EXPECT_EQ(it->first, index);
            EXPECT_EQ(it->second.num[0], index + 0.5);
            reference[index] = index + 0.5;
        }
        EXPECT_FALSE(list.emplace(3, numberValue(-1.0)).second);  // an existing index keeps its value
        expectSame(list, reference);
        EXPECT_EQ(list.find(4), list.end());
        EXPECT_EQ(list.find(3 * 4999)->second.num[0], 3 * 4999 + 0.5);
        EXPECT_EQ(list.lower_bound(4)->first, 6u);
        EXPECT_EQ(list.lower_bound(3 * 4999 + 1), list.end());
        EXPECT_EQ(list.at(10)->first, 30u);
        EXPECT_EQ(list.at(5000), list.end());
        EXPECT_EQ(list.back().first, 3u * 4999u);

        std::shuffle(order.begin(), order.end(), random);
        for (size_t k = 0; k < order.size(); k += 2) {
            EXPECT_EQ(list.erase(order[k] * 3), 1u);
            reference.erase(order[k] * 3);
        }
        EXPECT_EQ(list.erase(1), 0u);
        expectSame(list, reference);

        ElementList copy = list;
        list.clear();
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(list.begin(), list.end());
        expectSame(copy, reference);
    }
}

struct Holder : MPxNode {
    static MObject list;
    static void* creator() { return new Holder; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        list = n.create("list", "l", MFnNumericData::kDouble, 0.0);
        n.setArray(true);
        addAttribute(list);
        return MStatus::kSuccess;
    }
};
MObject Holder::list;

class ElementScriptTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!host::findNodeType("elementHolder")) {
            ASSERT_EQ(host::registerType("elementHolder", MTypeId(0x7f0e1), Holder::creator, Holder::initialize,
                                         MPxNode::kDependNode, MFn::kPluginDependNode, "test"),
                      MStatus::kSuccess);
        }
    }
    void SetUp() override {
        host::newScene();
        ASSERT_EQ(host::execute("createNode elementHolder -n h"), MStatus::kSuccess);
    }
    // Every index below n exists and holds its own number.
    static void expectAll(unsigned n) {
        auto node = host::findNode("h");
        MDataBlock block(node.get());
        MArrayDataHandle handle = block.inputArrayValue(Holder::list);
        ASSERT_EQ(handle.elementCount(), n);
        for (unsigned i = 0; i < n; ++i, handle.next()) {
            ASSERT_EQ(handle.elementIndex(), i);
            ASSERT_EQ(handle.inputValue().asDouble(), static_cast<double>(i));
        }
        EXPECT_NE(handle.next(), MStatus::kSuccess);
    }
};

TEST_F(ElementScriptTest, ManyElementsSetInDescendingOrderAreAllKept) {
    ASSERT_EQ(host::execute("for ($i = 99999; $i >= 0; $i--) setAttr (\"h.list[\" + $i + \"]\") $i;"),
              MStatus::kSuccess);
    expectAll(100000);
}

TEST_F(ElementScriptTest, ManyElementsSetInScatteredOrderAreAllKept) {
    // 7919 is prime, so i * 7919 modulo 100000 visits every index once, far from the previous one.
    ASSERT_EQ(host::execute("for ($i = 0; $i < 100000; $i++) { int $k = ($i * 7919) % 100000;"
                            " setAttr (\"h.list[\" + $k + \"]\") $k; }"),
              MStatus::kSuccess);
    expectAll(100000);
}

TEST_F(ElementScriptTest, HandleOnARemovedPositionFailsInsteadOfReadingPastTheEnd) {
    ASSERT_EQ(host::execute("for ($i = 0; $i < 300; $i++) setAttr (\"h.list[\" + $i + \"]\") $i;"),
              MStatus::kSuccess);
    auto node = host::findNode("h");
    MDataBlock block(node.get());
    MArrayDataHandle handle = block.inputArrayValue(Holder::list);
    ASSERT_EQ(handle.jumpToElement(299), MStatus::kSuccess);
    EXPECT_EQ(handle.elementIndex(), 299u);  // the handle has found its element before the array changes
    MArrayDataBuilder builder = handle.builder();
    for (unsigned i = 0; i < 300; i += 2) ASSERT_EQ(builder.removeElement(i), MStatus::kSuccess);
    MStatus status;
    EXPECT_EQ(handle.elementIndex(&status), static_cast<unsigned>(-1));
    EXPECT_NE(status, MStatus::kSuccess);
    EXPECT_TRUE(handle.inputValue().isNull());
    EXPECT_NE(handle.next(), MStatus::kSuccess);
    EXPECT_EQ(handle.jumpToArrayElement(149), MStatus::kSuccess);
    EXPECT_EQ(handle.elementIndex(), 299u);
    EXPECT_EQ(builder.elementCount(), 150u);
}

TEST_F(ElementScriptTest, HandleStandsOnItsPositionWhenElementsAreAddedBeforeIt) {
    ASSERT_EQ(host::execute("for ($i = 10; $i < 20; $i++) setAttr (\"h.list[\" + $i + \"]\") $i;"), MStatus::kSuccess);
    auto node = host::findNode("h");
    MDataBlock block(node.get());
    MArrayDataHandle handle = block.inputArrayValue(Holder::list);
    ASSERT_EQ(handle.next(), MStatus::kSuccess);
    EXPECT_EQ(handle.elementIndex(), 11u);
    MArrayDataBuilder builder = handle.builder();
    builder.addElement(3).set(3.0);
    EXPECT_EQ(handle.elementIndex(), 10u);  // position 1 now holds index 10
    EXPECT_EQ(handle.inputValue().asDouble(), 10.0);
    unsigned walked = 1;
    while (handle.next() == MStatus::kSuccess) ++walked;
    EXPECT_EQ(walked, 10u);
}

}  // namespace
