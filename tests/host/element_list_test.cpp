// The storage of multi attribute elements: kept in ascending logical order whatever the order of
// insertion and removal, walked by array data handles, and fast enough that scripts setting many
// elements out of order finish.
#include "graph/Scene.h"
#include "graph/Value.h"

#include <host/Host.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MCommandResult.h>
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
            auto [it, added] = list.findOrAdd(index, [index] { return numberValue(index + 0.5); });
            EXPECT_TRUE(added);
            EXPECT_EQ(it->first, index);
            EXPECT_EQ(it->second.num[0], index + 0.5);
            reference[index] = index + 0.5;
        }
        bool made = false;
        auto making = [&made] {
            made = true;
            return numberValue(-1.0);
        };
        EXPECT_FALSE(list.findOrAdd(3, making).second);  // an existing index keeps its value
        EXPECT_FALSE(made);                               // and nothing is made for it
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

// Resolving an element without creating it finds none in a never-written array and leaves the array's
// value without storage; creating it makes the element.
TEST_F(ElementScriptTest, ResolvingWithoutCreatingMakesNoStorage) {
    auto node = host::findNode("h");
    const host::Attribute* list = node->findAttribute("list");
    ASSERT_NE(list, nullptr);
    const std::vector<host::PlugStep> path{{list, 3}};
    EXPECT_EQ(host::resolve(*node, path, false).value, nullptr);
    EXPECT_EQ(node->topValue(list).elementsIfAny(), nullptr);
    ASSERT_NE(host::resolve(*node, path, true).value, nullptr);
    EXPECT_EQ(host::resolve(*node, path, true).value, host::resolve(*node, path, false).value);
    EXPECT_EQ(node->topValue(list).elements().size(), 1u);
}

// A connection between elements of one array whose destination is gone when it is pulled: making the
// destination again moves the source within its chunk, and the pull still copies the source's value.
TEST_F(ElementScriptTest, ConnectionWithinOneArrayCopiesTheSourceAfterMakingTheDestination) {
    ASSERT_EQ(host::execute("setAttr h.list[5] 5; setAttr h.list[7] 7; connectAttr h.list[7] h.list[6];"
                            " connectAttr h.list[5] h.list[2]"),
              MStatus::kSuccess);
    auto node = host::findNode("h");
    MDataBlock block(node.get());
    MArrayDataBuilder builder = block.inputArrayValue(Holder::list).builder();
    ASSERT_EQ(builder.removeElement(6), MStatus::kSuccess);
    ASSERT_EQ(builder.removeElement(2), MStatus::kSuccess);
    for (const char* plug : {"h.list[6]", "h.list[2]"}) {
        MCommandResult result;
        ASSERT_EQ(host::execute(std::string("getAttr ") + plug, &result), MStatus::kSuccess);
        double value = 0.0;
        ASSERT_EQ(result.getResult(value), MStatus::kSuccess);
        EXPECT_EQ(value, plug[7] == '6' ? 7.0 : 5.0) << plug;
    }
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

// A walk that crosses chunk boundaries, starting from a jump, on sparse indices; elements written out of
// order through a builder are found in index order.
TEST_F(ElementScriptTest, HandleWalksSparseElementsAcrossChunksFromAJump) {
    auto node = host::findNode("h");
    MDataBlock block(node.get());
    MArrayDataHandle handle = block.inputArrayValue(Holder::list);
    MArrayDataBuilder builder = handle.builder();
    const unsigned n = 3 * static_cast<unsigned>(ElementList::maxChunk) + 7;
    for (unsigned i = n; i-- > 0;) builder.addElement(i * 5).set(static_cast<double>(i));  // descending
    ASSERT_EQ(handle.elementCount(), n);
    const unsigned start = static_cast<unsigned>(ElementList::maxChunk) - 3;
    ASSERT_EQ(handle.jumpToElement(start * 5), MStatus::kSuccess);
    EXPECT_EQ(handle.jumpToElement(start * 5 + 1), MStatus::kInvalidParameter);  // no such index: stays
    for (unsigned i = start; i < n; ++i) {
        MStatus status;
        ASSERT_EQ(handle.elementIndex(&status), i * 5);
        ASSERT_EQ(status, MStatus::kSuccess);
        ASSERT_EQ(handle.inputValue().asDouble(), static_cast<double>(i));
        handle.outputValue().set(i + 0.5);
        ASSERT_EQ(handle.next(), i + 1 < n ? MStatus::kSuccess : MStatus::kFailure);
    }
    MStatus status;
    EXPECT_EQ(handle.elementIndex(&status), static_cast<unsigned>(-1));
    EXPECT_EQ(status, MStatus::kFailure);
    EXPECT_NE(handle.next(), MStatus::kSuccess);
    EXPECT_TRUE(handle.outputValue().isNull());
    // Jumping back after the end stands on the element again.
    ASSERT_EQ(handle.jumpToElement(0), MStatus::kSuccess);
    EXPECT_EQ(handle.inputValue().asDouble(), 0.0);
    ASSERT_EQ(handle.jumpToElement((n - 1) * 5), MStatus::kSuccess);
    EXPECT_EQ(handle.inputValue().asDouble(), n - 1 + 0.5);
}

// Elements added or removed while a walk is under way, in the walk's chunk and in others: the walk goes on
// from its position over what the array now holds, and every read agrees with the array.
TEST_F(ElementScriptTest, WalkGoesOnOverTheArrayAsChangedUnderIt) {
    auto node = host::findNode("h");
    MDataBlock block(node.get());
    MArrayDataHandle handle = block.inputArrayValue(Holder::list);
    MArrayDataBuilder builder = handle.builder();
    const unsigned n = 2 * static_cast<unsigned>(ElementList::maxChunk);
    for (unsigned i = 0; i < n; ++i) builder.addElement(2 * i).set(2.0 * i);
    ASSERT_EQ(handle.jumpToArrayElement(10), MStatus::kSuccess);
    ASSERT_EQ(handle.elementIndex(), 20u);
    builder.addElement(2 * n + 1).set(1.0);  // after the end, in the last chunk
    EXPECT_EQ(handle.elementIndex(), 20u);
    ASSERT_EQ(handle.next(), MStatus::kSuccess);
    EXPECT_EQ(handle.elementIndex(), 22u);
    builder.addElement(21).set(21.0);  // before the handle in its chunk: the position now holds 21
    EXPECT_EQ(handle.elementIndex(), 21u);
    EXPECT_EQ(handle.inputValue().asDouble(), 21.0);
    ASSERT_EQ(builder.removeElement(2 * n - 2), MStatus::kSuccess);
    unsigned previous = handle.elementIndex();
    unsigned walked = 1;
    while (handle.next() == MStatus::kSuccess) {
        const unsigned index = handle.elementIndex();
        ASSERT_GT(index, previous);
        ASSERT_EQ(handle.inputValue().asDouble(), index == 2 * n + 1 ? 1.0 : static_cast<double>(index));
        previous = index;
        ++walked;
    }
    EXPECT_EQ(previous, 2 * n + 1);
    EXPECT_EQ(walked, handle.elementCount() - 11);  // all but the first eleven positions
    // Emptied under the handle: every read fails.
    ASSERT_EQ(handle.jumpToElement(0), MStatus::kSuccess);
    while (handle.elementCount() > 0) builder.removeElement(handle.elementIndex());
    EXPECT_EQ(handle.elementIndex(), static_cast<unsigned>(-1));
    EXPECT_TRUE(handle.inputValue().isNull());
    EXPECT_NE(handle.next(), MStatus::kSuccess);
    EXPECT_EQ(handle.jumpToElement(0), MStatus::kInvalidParameter);
}

}  // namespace
