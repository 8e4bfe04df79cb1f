#include <maya/MFnArrayAttrsData.h>
#include <maya/MFnDoubleArrayData.h>

#include <gtest/gtest.h>

namespace {

// Like an emitter's emit(): takes the function set by value and appends to arrays fetched by name.
void emitInto(MFnArrayAttrsData out, unsigned n) {
    MVectorArray pos = out.vectorArray("position");
    MDoubleArray u = out.doubleArray("parentU");
    for (unsigned i = 0; i < n; ++i) {
        pos.append(MVector(i, 0, 0));
        u.append(0.5 * i);
    }
}

}  // namespace

TEST(ArrayAttrsData, AppendsThroughFetchedArraysLandInTheData) {
    MFnArrayAttrsData fn;
    MStatus status;
    MObject data = fn.create(&status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(data.apiType(), MFn::kDynArrayAttrsData);
    EXPECT_EQ(fn.count(), 0u);

    emitInto(fn, 3);
    emitInto(MFnArrayAttrsData(data), 2);

    MFnArrayAttrsData reader(data);
    MVectorArray pos = reader.getVectorData("position", &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    ASSERT_EQ(pos.length(), 5u);
    EXPECT_EQ(pos[2], MVector(2, 0, 0));
    EXPECT_EQ(pos[4], MVector(1, 0, 0));
    EXPECT_EQ(reader.getDoubleData("parentU").length(), 5u);

    // getVectorData hands out a copy.
    pos.append(MVector());
    EXPECT_EQ(reader.vectorArray("position").length(), 5u);
}

TEST(ArrayAttrsData, FirstFetchMakesAnEmptyNameInFetchOrder) {
    MFnArrayAttrsData fn;
    fn.create();
    MFnArrayAttrsData::Type type = MFnArrayAttrsData::kVectorArray;
    MStatus status;
    EXPECT_FALSE(fn.checkArrayExist("parentV", type, &status));
    EXPECT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(type, MFnArrayAttrsData::kInvalid);

    EXPECT_EQ(fn.doubleArray("parentV").length(), 0u);
    fn.vectorArray("velocity");
    fn.intArray("id").append(7);
    EXPECT_TRUE(fn.checkArrayExist("parentV", type));
    EXPECT_EQ(type, MFnArrayAttrsData::kDoubleArray);
    EXPECT_TRUE(fn.checkArrayExist("id", type));
    EXPECT_EQ(type, MFnArrayAttrsData::kIntArray);
    EXPECT_EQ(fn.intArray("id")[0], 7);

    MStringArray names = fn.list();
    ASSERT_EQ(names.length(), 3u);
    EXPECT_EQ(names[0], MString("parentV"));
    EXPECT_EQ(names[1], MString("velocity"));
    EXPECT_EQ(names[2], MString("id"));

    // Readers never make names.
    EXPECT_EQ(fn.getDoubleData("missing", &status).length(), 0u);
    EXPECT_NE(status, MStatus::kSuccess);
    EXPECT_EQ(fn.count(), 3u);
}

TEST(ArrayAttrsData, FetchingAsAnotherKindFailsWithAnUnsharedArray) {
    MFnArrayAttrsData fn;
    fn.create();
    fn.vectorArray("rgbPP").append(MVector(1, 2, 3));

    MStatus status;
    MDoubleArray wrong = fn.doubleArray("rgbPP", &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_EQ(wrong.length(), 0u);
    wrong.append(9.0);  // lands nowhere

    MFnArrayAttrsData::Type type;
    ASSERT_TRUE(fn.checkArrayExist("rgbPP", type));
    EXPECT_EQ(type, MFnArrayAttrsData::kVectorArray);
    ASSERT_EQ(fn.getVectorData("rgbPP").length(), 1u);
    EXPECT_EQ(fn.getDoubleData("rgbPP", &status).length(), 0u);
    EXPECT_NE(status, MStatus::kSuccess);
    EXPECT_EQ(fn.count(), 1u);
}

TEST(ArrayAttrsData, RefusedSetFailsEverywhere) {
    MStatus status;
    MFnArrayAttrsData fn(MFnDoubleArrayData().create(), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    MFnArrayAttrsData nullSet(MObject(), &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);

    MVectorArray pos = fn.vectorArray("position", &status);
    EXPECT_EQ(status, MStatus::kFailure);
    EXPECT_EQ(pos.length(), 0u);
    pos.append(MVector());
    EXPECT_EQ(fn.count(), 0u);
    EXPECT_EQ(fn.list(&status).length(), 0u);
    EXPECT_NE(status, MStatus::kSuccess);
    EXPECT_NE(fn.clear(), MStatus::kSuccess);
}

TEST(ArrayAttrsData, ClearDetachesArraysHandedOutBefore) {
    MFnArrayAttrsData fn;
    fn.create();
    MVectorArray pos = fn.vectorArray("position");
    pos.append(MVector(1, 1, 1));
    ASSERT_EQ(fn.clear(), MStatus::kSuccess);
    EXPECT_EQ(fn.count(), 0u);
    pos.append(MVector(2, 2, 2));  // still a valid array, no longer the data's
    EXPECT_EQ(pos.length(), 2u);
    EXPECT_EQ(fn.vectorArray("position").length(), 0u);
}
