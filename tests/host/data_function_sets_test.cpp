#include "data/ArrayData.h"

#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnStringData.h>
#include <maya/MFnVectorArrayData.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

MObject doubles(std::initializer_list<double> values) {
    MDoubleArray a;
    for (double v : values) a.append(v);
    return MFnDoubleArrayData().create(a);
}

MObject vectors(unsigned n) {
    MVectorArray a;
    for (unsigned i = 0; i < n; ++i) a.append(MVector(i, 2.0 * i, 3.0 * i));
    return MFnVectorArrayData().create(a);
}

MObject ints() {
    MIntArray a;
    a.append(4);
    return MFnIntArrayData().create(a);
}

std::vector<double> valuesOf(const MDoubleArray& a) { return a.hostVector(); }

}  // namespace

TEST(DataObjects, ApiTypesAndDataKinds) {
    EXPECT_EQ(doubles({}).apiType(), 559);
    EXPECT_EQ(vectors(0).apiType(), 580);
    MObject i = ints();
    EXPECT_NE(i.apiType(), 559);
    EXPECT_NE(i.apiType(), 580);
    EXPECT_EQ(i.apiType(), MFn::kIntArrayData);
    EXPECT_EQ(MFnStringData().create("x").apiType(), MFn::kStringData);
    EXPECT_EQ(MFnNumericData().create(MFnNumericData::kDouble).apiType(), MFn::kNumericData);
    EXPECT_TRUE(i.hasFn(MFn::kData));
    EXPECT_FALSE(i.hasFn(MFn::kDoubleArrayData));
    EXPECT_EQ(host::dataTypeOf(vectors(1)), MFnData::kVectorArray);
}

// A set refused on construction copies nothing: out keeps what it had, array() is empty, and set()
// reaches neither the refused object nor anything else.
TEST(DataFunctionSets, DoubleArraySetRefusesEveryOtherKind) {
    MObject vec = vectors(2);
    for (const MObject& other : {vec, ints(), MFnStringData().create("a"), MObject()}) {
        MStatus status;
        MFnDoubleArrayData fn(other, &status);
        EXPECT_EQ(status, MStatus::kInvalidParameter);

        MDoubleArray out(2, 7.0);
        EXPECT_NE(fn.copyTo(out), MStatus::kSuccess);
        EXPECT_EQ(valuesOf(out), std::vector<double>({7.0, 7.0}));

        MDoubleArray copy = fn.array(&status);
        EXPECT_NE(status, MStatus::kSuccess);
        EXPECT_EQ(copy.length(), 0u);
        EXPECT_EQ(fn.length(&status), 0u);
        EXPECT_NE(status, MStatus::kSuccess);
        EXPECT_NE(fn.set(MDoubleArray(3, 1.0)), MStatus::kSuccess);
    }
    EXPECT_EQ(MFnVectorArrayData(vec).length(), 2u);
}

TEST(DataFunctionSets, VectorAndIntSetsRefuseOtherKinds) {
    MObject dbl = doubles({1, 2});
    for (const MObject& other : {dbl, ints(), MObject()}) {
        MStatus status;
        MFnVectorArrayData fn(other, &status);
        EXPECT_EQ(status, MStatus::kInvalidParameter);
        MVectorArray out(1, MVector(5, 5, 5));
        EXPECT_NE(fn.copyTo(out), MStatus::kSuccess);
        ASSERT_EQ(out.length(), 1u);
        EXPECT_EQ(out[0], MVector(5, 5, 5));
        EXPECT_EQ(fn.array(&status).length(), 0u);
        EXPECT_NE(status, MStatus::kSuccess);
    }
    MStatus status;
    MFnIntArrayData fnInt(dbl, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    MIntArray out(1, 9);
    EXPECT_NE(fnInt.copyTo(out), MStatus::kSuccess);
    EXPECT_EQ(out[0], 9);
    EXPECT_EQ(MFnDoubleArrayData(dbl).length(), 2u);
}

TEST(DataFunctionSets, ArrayWritesThroughCopiesAreIndependentAndSetReplacesInPlace) {
    MObject data = doubles({1, 2, 3});
    MObject sameData = data;  // a second handle
    MFnDoubleArrayData fn(data);

    MDoubleArray own = fn.array();
    own[1] = 20.0;
    EXPECT_EQ(valuesOf(MFnDoubleArrayData(sameData).array()), std::vector<double>({1, 20, 3}));
    own[1] = 2.0;
    MDoubleArray copy;
    copy = fn.array();  // assignment copies
    copy[0] = 100.0;
    copy.append(4.0);
    EXPECT_EQ(fn.length(), 3u);
    MDoubleArray out(5, 9.0);
    ASSERT_EQ(fn.copyTo(out), MStatus::kSuccess);
    EXPECT_EQ(valuesOf(out), std::vector<double>({1, 2, 3}));  // whole content replaced, not merged

    MFnDoubleArrayData byCopy = fn;  // function-set copies refer to the same data
    ASSERT_EQ(byCopy.set(copy), MStatus::kSuccess);
    EXPECT_EQ(valuesOf(MFnDoubleArrayData(sameData).array()), std::vector<double>({100, 2, 3, 4}));
    EXPECT_EQ(fn.length(), 4u);
    EXPECT_EQ(fn[3], 4.0);
}

TEST(DataFunctionSets, SetFromAnArrayAliasingTheSameDataKeepsIt) {
    MObject data = vectors(3);
    auto stored = host::dataAs<host::VectorArrayData>(data);
    MVectorArray alias = stored->shared();
    EXPECT_EQ(MFnVectorArrayData(data).set(alias), MStatus::kSuccess);
    EXPECT_EQ(MFnVectorArrayData(data).length(), 3u);
    alias.append(MVector(1, 1, 1));
    EXPECT_EQ(MFnVectorArrayData(data).length(), 4u);
}

TEST(DataFunctionSets, CreateAttachesAndSetObjectRefusalDetaches) {
    MFnVectorArrayData fn;
    MVectorArray out(1, MVector(1, 1, 1));
    EXPECT_NE(fn.copyTo(out), MStatus::kSuccess);  // attached to nothing yet
    MStatus status;
    MObject made = fn.create(&status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_FALSE(made.isNull());
    EXPECT_EQ(fn.object(), made);
    EXPECT_EQ(fn.length(), 0u);  // zero-length data, not null

    EXPECT_EQ(fn.setObject(doubles({1})), MStatus::kInvalidParameter);
    EXPECT_TRUE(fn.object().isNull());
    EXPECT_NE(fn.copyTo(out), MStatus::kSuccess);
    EXPECT_EQ(out.length(), 1u);
    EXPECT_EQ(fn.setObject(vectors(2)), MStatus::kSuccess);
    EXPECT_EQ(fn.length(), 2u);
}

TEST(DataFunctionSets, CloneIsDeep) {
    MObject data = doubles({1, 2});
    MObject copy(host::dataAs<host::Data>(data)->clone());
    MFnDoubleArrayData(data).set(MDoubleArray(1, 5.0));
    EXPECT_EQ(valuesOf(MFnDoubleArrayData(copy).array()), std::vector<double>({1, 2}));
}

TEST(DataFunctionSetsDeathTest, IndexPastTheEndAborts) {
    MFnDoubleArrayData fn(doubles({1}));
    EXPECT_DEATH((void)fn[1], "MFnDoubleArrayData");
    MFnDoubleArrayData unattached;
    EXPECT_DEATH((void)unattached[0], "MFnDoubleArrayData");
}

TEST(NumericData, ComponentCountMustMatch) {
    MFnNumericData fn;
    MStatus status;
    MObject data = fn.create(MFnNumericData::k3Double, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(fn.numericType(), MFnNumericData::k3Double);
    double r = -1, g = -1, b = -1;
    ASSERT_EQ(fn.getData(r, g, b), MStatus::kSuccess);
    EXPECT_EQ(r + g + b, 0.0);  // new data holds zeros
    ASSERT_EQ(fn.setData(0.25, 0.5, 0.75), MStatus::kSuccess);
    ASSERT_EQ(MFnNumericData(data).getData(r, g, b), MStatus::kSuccess);
    EXPECT_EQ(r, 0.25);
    EXPECT_EQ(b, 0.75);

    double single = 42.0;
    EXPECT_EQ(fn.getData(single), MStatus::kInvalidParameter);
    EXPECT_EQ(single, 42.0);
    EXPECT_EQ(fn.setData(1.0), MStatus::kInvalidParameter);
    ASSERT_EQ(fn.getData(r, g, b), MStatus::kSuccess);
    EXPECT_EQ(r, 0.25);

    EXPECT_TRUE(fn.create(MFnNumericData::kInvalid, &status).isNull());
    EXPECT_EQ(status, MStatus::kInvalidParameter);
}

TEST(NumericData, IntegerTypesKeepIntegralValuesAndConvertSafely) {
    MFnNumericData fn;
    fn.create(MFnNumericData::kLong);
    int i = 0;
    fn.setData(2.9);
    ASSERT_EQ(fn.getData(i), MStatus::kSuccess);
    EXPECT_EQ(i, 2);
    fn.setData(1e300);
    fn.getData(i);
    EXPECT_EQ(i, INT_MAX);
    fn.setData(std::nan(""));
    fn.getData(i);
    EXPECT_EQ(i, 0);

    fn.create(MFnNumericData::kBoolean);
    fn.setData(5);
    double d = 0;
    fn.getData(d);
    EXPECT_EQ(d, 1.0);

    MStatus status;
    MFnNumericData refused(doubles({1}), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_NE(refused.getData(d), MStatus::kSuccess);
}

TEST(StringData, CreateSetAndRefusal) {
    MFnStringData fn;
    MObject s = fn.create("abc");
    EXPECT_EQ(MFnStringData(s).string(), MString("abc"));
    ASSERT_EQ(fn.set("xyz"), MStatus::kSuccess);
    EXPECT_EQ(MFnStringData(s).string(), MString("xyz"));

    MStatus status;
    MFnStringData refused(doubles({}), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_EQ(refused.string(&status), MString(""));
    EXPECT_NE(status, MStatus::kSuccess);
}
