#include <maya/MDoubleArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MStringArray.h>
#include <maya/MVectorArray.h>

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <sstream>
#include <utility>
#include <vector>

namespace {

// Two distinct sample values per element type.
template <typename T>
struct Samples;
template <>
struct Samples<MDoubleArray> {
    static double a() { return 1.5; }
    static double b() { return -2.0; }
};
template <>
struct Samples<MIntArray> {
    static int a() { return 7; }
    static int b() { return -3; }
};
template <>
struct Samples<MFloatArray> {
    static float a() { return 0.5f; }
    static float b() { return 4.0f; }
};
template <>
struct Samples<MVectorArray> {
    static MVector a() { return MVector(1.0, 2.0, 3.0); }
    static MVector b() { return MVector(-1.0, 0.0, 0.5); }
};
template <>
struct Samples<MFloatVectorArray> {
    static MFloatVector a() { return MFloatVector(1.0f, 2.0f, 3.0f); }
    static MFloatVector b() { return MFloatVector(0.0f, -1.0f, 0.0f); }
};
template <>
struct Samples<MPointArray> {
    static MPoint a() { return MPoint(1.0, 2.0, 3.0); }
    static MPoint b() { return MPoint(4.0, 5.0, 6.0, 0.0); }
};
template <>
struct Samples<MFloatPointArray> {
    static MFloatPoint a() { return MFloatPoint(1.0f, 2.0f, 3.0f); }
    static MFloatPoint b() { return MFloatPoint(0.0f, 0.0f, 0.0f, 0.0f); }
};
template <>
struct Samples<MStringArray> {
    static MString a() { return MString("position"); }
    static MString b() { return MString("velocity"); }
};

template <typename Array>
class FoundationArray : public ::testing::Test {};

using ArrayTypes = ::testing::Types<MDoubleArray, MIntArray, MFloatArray, MVectorArray, MFloatVectorArray, MPointArray,
                                    MFloatPointArray, MStringArray>;
TYPED_TEST_SUITE(FoundationArray, ArrayTypes);

TYPED_TEST(FoundationArray, BuildsAndEditsWithinBounds) {
    using S = Samples<TypeParam>;
    TypeParam array(3, S::a());
    ASSERT_EQ(array.length(), 3u);
    EXPECT_EQ(array[2], S::a());

    EXPECT_EQ(array.append(S::b()), MS::kSuccess);
    EXPECT_EQ(array.insert(S::b(), 0), MS::kSuccess);
    EXPECT_EQ(array.insert(S::b(), array.length()), MS::kSuccess);  // at the end
    ASSERT_EQ(array.length(), 6u);
    EXPECT_EQ(array[0], S::b());
    EXPECT_EQ(array[1], S::a());
    EXPECT_EQ(array[5], S::b());

    EXPECT_EQ(array.remove(0), MS::kSuccess);
    EXPECT_EQ(array.set(S::b(), 0), MS::kSuccess);
    EXPECT_EQ(array[0], S::b());

    // Bad indices fail and change nothing.
    const unsigned before = array.length();
    EXPECT_EQ(array.insert(S::a(), before + 1), MS::kFailure);
    EXPECT_EQ(array.remove(before), MS::kFailure);
    EXPECT_EQ(array.set(S::a(), before), MS::kFailure);
    EXPECT_EQ(array.length(), before);

    EXPECT_EQ(array.setLength(7), MS::kSuccess);
    EXPECT_EQ(array[6], typename std::decay<decltype(array[0])>::type());
    EXPECT_EQ(array.clear(), MS::kSuccess);
    EXPECT_EQ(array.length(), 0u);

    const auto values = std::vector<typename std::decay<decltype(array[0])>::type>{S::a(), S::b()};
    const TypeParam fromPointer(values.data(), 2);
    ASSERT_EQ(fromPointer.length(), 2u);
    EXPECT_EQ(fromPointer[1], S::b());
}

// Appending an element of the array itself stays valid while the storage grows and moves.
TYPED_TEST(FoundationArray, AppendsItsOwnElementsWhileGrowing) {
    using S = Samples<TypeParam>;
    TypeParam array;
    array.append(S::a());
    array.append(S::b());
    for (unsigned i = 2; i < 40; ++i) {
        ASSERT_EQ(array.append(array[i - 2]), MS::kSuccess);
        ASSERT_EQ(array.length(), i + 1);
    }
    for (unsigned i = 0; i < array.length(); ++i) EXPECT_EQ(array[i], i % 2 ? S::b() : S::a()) << i;
}

TYPED_TEST(FoundationArray, CopiesAreDeep) {
    using S = Samples<TypeParam>;
    TypeParam original(2, S::a());
    TypeParam copy(original);
    copy[0] = S::b();
    copy.append(S::b());
    EXPECT_EQ(original[0], S::a());
    EXPECT_EQ(original.length(), 2u);

    TypeParam assigned;
    assigned = original;
    original.clear();
    EXPECT_EQ(assigned.length(), 2u);

    TypeParam viaCopy;
    EXPECT_EQ(viaCopy.copy(assigned), MS::kSuccess);
    assigned[1] = S::b();
    EXPECT_EQ(viaCopy[1], S::a());
}

TYPED_TEST(FoundationArray, AliasWritesThroughToSharedStorage) {
    using S = Samples<TypeParam>;
    using T = typename std::decay<decltype(std::declval<TypeParam&>()[0])>::type;
    auto storage = std::make_shared<std::vector<T>>();

    TypeParam alias = TypeParam::fromShared(storage);
    alias.append(S::a());
    alias.append(S::b());
    ASSERT_EQ(storage->size(), 2u);
    EXPECT_EQ((*storage)[1], S::b());
    EXPECT_EQ(&alias.hostVector(), storage.get());

    // Copies detach; assignment into the alias keeps it attached.
    TypeParam copy(alias);
    copy.append(S::a());
    EXPECT_EQ(storage->size(), 2u);
    alias = TypeParam(4, S::a());
    EXPECT_EQ(storage->size(), 4u);
    alias.copy(TypeParam(1, S::b()));
    ASSERT_EQ(storage->size(), 1u);
    EXPECT_EQ((*storage)[0], S::b());

    // Moving out of an alias never copies: the new array writes through to the data object, and the
    // moved-from one is left empty and detached.
    TypeParam moved(std::move(alias));
    moved.append(S::a());
    EXPECT_EQ(storage->size(), 2u);
    EXPECT_EQ(&moved.hostVector(), storage.get());
    EXPECT_EQ(alias.length(), 0u);
    alias.append(S::b());
    EXPECT_EQ(storage->size(), 2u);
    // Move assignment out of an alias is a copy: the data object keeps its storage.
    TypeParam moveAssigned;
    moveAssigned = std::move(moved);
    moveAssigned.append(S::a());
    EXPECT_EQ(storage->size(), 2u);
    EXPECT_EQ(&moved.hostVector(), storage.get());
}

// Containers of arrays (the sampler's record, per-object force lists) grow by moving, never by copying.
static_assert(std::is_nothrow_move_constructible<MVectorArray>::value, "moves of value arrays are noexcept");
static_assert(std::is_nothrow_move_constructible<MFloatPointArray>::value, "moves of value arrays are noexcept");

TEST(FoundationArrayAlias, ReturnedAliasLandsInTheDataObject) {
    // The way a data object hands out its own storage: `MVectorArray pos = data.vectorArray("position");`.
    struct Data {
        std::shared_ptr<std::vector<MVector>> position = std::make_shared<std::vector<MVector>>();
        MVectorArray vectorArray() { return MVectorArray::fromShared(position); }
    } data;
    MVectorArray pos = data.vectorArray();
    pos.append(MVector(1.0, 0.0, 0.0));
    pos.append(MVector(0.0, 1.0, 0.0));
    ASSERT_EQ(data.position->size(), 2u);
    EXPECT_EQ((*data.position)[1], MVector(0.0, 1.0, 0.0));
    EXPECT_EQ(data.vectorArray().length(), 2u);

    const MDoubleArray empty = MDoubleArray::fromShared(nullptr);
    EXPECT_EQ(empty.length(), 0u);
}

TEST(FoundationArrayAlias, MovingAnOwnedArrayStealsItsStorage) {
    MDoubleArray big(1000, 1.0);
    const double* data = big.hostVector().data();
    MDoubleArray moved(std::move(big));
    EXPECT_EQ(moved.hostVector().data(), data);
    EXPECT_EQ(big.length(), 0u);
    big.append(2.0);  // still usable
    EXPECT_EQ(big.length(), 1u);
}

TEST(FoundationArrayDefaults, PointsDefaultToTheOrigin) {
    MPointArray points;
    points.setLength(1);
    EXPECT_EQ(points[0], MPoint(0.0, 0.0, 0.0, 1.0));
    points.append(1.0, 2.0);
    EXPECT_EQ(points[1], MPoint(1.0, 2.0, 0.0, 1.0));
    const MFloatPointArray floatPoints(2, MFloatPoint(0.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(floatPoints[1].w, 0.0f);
    EXPECT_EQ(MDoubleArray(3, 1.0)[2], 1.0);
    MIntArray ints(0, 5);
    EXPECT_EQ(ints.length(), 0u);
}

TEST(FoundationArrayPrint, PrintsElementsInBrackets) {
    std::ostringstream os;
    MDoubleArray d;
    d.append(1.0);
    d.append(2.5);
    MStringArray s;
    s.append("a");
    os << d << ' ' << s << ' ' << MIntArray();
    EXPECT_EQ(os.str(), "[1, 2.5] [a] []");
}

TEST(FoundationArrayDeathTest, IndexPastTheEndAborts) {
    MDoubleArray doubles(3, 0.0);
    EXPECT_DEATH(doubles[3] = 1.0, "MDoubleArray: index 3 is out of range \\(length 3\\)");
    const MVectorArray vectors;
    EXPECT_DEATH(static_cast<void>(vectors[0]), "MVectorArray: index 0 is out of range \\(length 0\\)");
    MFloatPointArray points(2, MFloatPoint());
    const int negative = -1;
    EXPECT_DEATH(static_cast<void>(points[negative]), "MFloatPointArray: index 4294967295 is out of range \\(length 2\\)");
}

}  // namespace
