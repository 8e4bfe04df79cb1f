// Reading and writing per-particle attributes by name, called directly on the field classes' members.

#include "curveField.h"
#include "normalField.h"
#include "shadingField.h"

#include <host/Host.h>

#include <maya/MDoubleArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnData.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MIntArray.h>
#include <maya/MVectorArray.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();

MDoubleArray doubles(std::vector<double> values) {
    MDoubleArray array;
    for (double v : values)
        array.append(v);
    return array;
}

MVectorArray vectors(std::vector<MVector> values) {
    MVectorArray array;
    for (const MVector& v : values)
        array.append(v);
    return array;
}

MFloatVectorArray floatVectors(std::vector<MFloatVector> values) {
    MFloatVectorArray array;
    for (const MFloatVector& v : values)
        array.append(v);
    return array;
}

std::vector<double> toStd(const MDoubleArray& array) {
    std::vector<double> out;
    for (unsigned i = 0; i < array.length(); ++i)
        out.push_back(array[i]);
    return out;
}

std::vector<MVector> toStd(const MVectorArray& array) {
    std::vector<MVector> out;
    for (unsigned i = 0; i < array.length(); ++i)
        out.push_back(array[i]);
    return out;
}

std::vector<float> toStd(const MFloatArray& array) {
    std::vector<float> out;
    for (unsigned i = 0; i < array.length(); ++i)
        out.push_back(array[i]);
    return out;
}

// A particle object "p1" with a few per-particle attributes of each kind, built in a fresh scene.
class ParticleAttributes : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        ASSERT_EQ(host::execute("createNode particle -n p1"), MStatus::kSuccess);
        particle = MFnDependencyNode(host::nodeByName("p1"), &status);
        ASSERT_EQ(status, MStatus::kSuccess);
    }

    void addAttribute(const char* name, MFnData::Type type) {
        MFnTypedAttribute typed;
        MObject attribute = typed.create(name, name, type, MObject::kNullObj, &status);
        ASSERT_EQ(status, MStatus::kSuccess);
        ASSERT_EQ(particle.addAttribute(attribute), MStatus::kSuccess);
    }

    void setDoubles(const char* name, const MDoubleArray& values) {
        addAttribute(name, MFnData::kDoubleArray);
        MFnDoubleArrayData fn;
        MObject data = fn.create(values);
        MPlug plug = particle.findPlug(name);
        ASSERT_EQ(plug.setValue(data), MStatus::kSuccess);
    }

    void setVectors(const char* name, const MVectorArray& values) {
        addAttribute(name, MFnData::kVectorArray);
        MFnVectorArrayData fn;
        MObject data = fn.create(values);
        MPlug plug = particle.findPlug(name);
        ASSERT_EQ(plug.setValue(data), MStatus::kSuccess);
    }

    void setInts(const char* name, const MIntArray& values) {
        addAttribute(name, MFnData::kIntArray);
        MFnIntArrayData fn;
        MObject data = fn.create(values);
        MPlug plug = particle.findPlug(name);
        ASSERT_EQ(plug.setValue(data), MStatus::kSuccess);
    }

    MObject value(const char* name) {
        MObject data;
        particle.findPlug(name).getValue(data);
        return data;
    }

    std::vector<double> storedDoubles(const char* name) {
        MFnDoubleArrayData fn(value(name), &status);
        EXPECT_EQ(status, MStatus::kSuccess) << name << " does not hold double-array data";
        return toStd(fn.array());
    }

    std::vector<MVector> storedVectors(const char* name) {
        MFnVectorArrayData fn(value(name), &status);
        EXPECT_EQ(status, MStatus::kSuccess) << name << " does not hold vector-array data";
        return toStd(fn.array());
    }

    std::vector<int> storedInts(const char* name) {
        MFnIntArrayData fn(value(name), &status);
        EXPECT_EQ(status, MStatus::kSuccess);
        MIntArray a = fn.array();
        std::vector<int> out;
        for (unsigned i = 0; i < a.length(); ++i)
            out.push_back(a[i]);
        return out;
    }

    MStatus status;
    MFnDependencyNode particle;
    normalField normal;
    curveField curve;
    shadingField shading;
};

// The writer with double values behaves the same in all three classes.
using DoubleWriter = std::function<void(const MFnDependencyNode&, const MString&, const MDoubleArray&,
                                        const MDoubleArray&)>;

std::vector<std::pair<const char*, DoubleWriter>> doubleWriters(normalField& n, curveField& c, shadingField& s) {
    return {
        {"normalField", [&n](auto& p, auto& name, auto& sel, auto& v) { n.setData(p, name, sel, v); }},
        {"curveField", [&c](auto& p, auto& name, auto& sel, auto& v) { c.setData(p, name, sel, v); }},
        {"shadingField", [&s](auto& p, auto& name, auto& sel, auto& v) { s.setData(p, name, sel, v); }},
    };
}

TEST_F(ParticleAttributes, MergeGivesSelectedParticlesTheNextValueInEveryClass) {
    for (auto& [cls, write] : doubleWriters(normal, curve, shading)) {
        SCOPED_TRACE(cls);
        SetUp();
        setDoubles("d", doubles({10, 20, 30, 40}));
        setVectors("v", vectors({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}}));
        // 1.0 and exactly 0.5 select; 0.0 and NaN keep the old value; the third value is never used.
        const MDoubleArray selection = doubles({1.0, 0.0, 0.5, nan});
        write(particle, "d", selection, doubles({-1, -2, -3}));
        EXPECT_EQ(storedDoubles("d"), (std::vector<double>{-1, 20, -2, 40}));
        write(particle, "v", selection, doubles({7, 8, 9}));
        EXPECT_EQ(storedVectors("v"), (std::vector<MVector>{{7, 7, 7}, {2, 2, 2}, {8, 8, 8}, {4, 4, 4}}));
    }
}

TEST_F(ParticleAttributes, MergeWithVectorValuesIntoBothKinds) {
    setDoubles("d", doubles({10, 20, 30}));
    setVectors("v", vectors({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}));
    const MDoubleArray selection = doubles({0.0, 0.49999, 1.0});

    // A vector stored as a double is the mean of its components, not its length.
    normal.setData(particle, "d", selection, vectors({{1, 2, 6}}));
    EXPECT_EQ(storedDoubles("d"), (std::vector<double>{10, 20, 3.0}));
    normal.setData(particle, "v", selection, vectors({{5, 6, 7}}));
    EXPECT_EQ(storedVectors("v"), (std::vector<MVector>{{1, 1, 1}, {2, 2, 2}, {5, 6, 7}}));

    // Float vectors are widened first, in both classes that take them.
    curve.setData(particle, "d", selection, floatVectors({{0.5f, 0.25f, 0.75f}}));
    EXPECT_DOUBLE_EQ(storedDoubles("d")[2], 0.5);
    shading.setData(particle, "v", selection, floatVectors({{0.1f, 0.2f, 0.3f}}));
    const MVector stored = storedVectors("v")[2];
    EXPECT_EQ(stored.x, static_cast<double>(0.1f));
    EXPECT_EQ(stored.y, static_cast<double>(0.2f));
    EXPECT_EQ(stored.z, static_cast<double>(0.3f));
    curve.setData(particle, "v", selection, floatVectors({{1.0f, 2.0f, 3.0f}}));
    EXPECT_EQ(storedVectors("v")[2], MVector(1, 2, 3));
}

TEST_F(ParticleAttributes, LengthMismatchReplacesTheAttributeWithTheValues) {
    // An empty attribute on a particle object with particles: the selection has one entry per particle.
    setDoubles("d", MDoubleArray());
    setVectors("v", MVectorArray());
    const MDoubleArray selection = doubles({1, 0, 1, 0, 1});
    curve.setData(particle, "d", selection, doubles({4, 5}));
    EXPECT_EQ(storedDoubles("d"), (std::vector<double>{4, 5}));
    normal.setData(particle, "v", selection, vectors({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 1, 1}, {2, 2, 2},
                                                       {3, 3, 3}, {4, 4, 4}}));
    EXPECT_EQ(storedVectors("v").size(), 7u);
    EXPECT_EQ(storedVectors("v")[6], MVector(4, 4, 4));

    // A longer attribute shrinks to the values; the selection is ignored.
    shading.setData(particle, "d", doubles({1, 1, 1}), doubles({9}));
    EXPECT_EQ(storedDoubles("d"), (std::vector<double>{9}));
    // No values at all empty it.
    shading.setData(particle, "d", doubles({1, 1, 1}), MDoubleArray());
    EXPECT_TRUE(storedDoubles("d").empty());
}

TEST_F(ParticleAttributes, EmptyAttributeWithEmptySelectionStaysEmpty) {
    setDoubles("d", MDoubleArray());
    setVectors("v", MVectorArray());
    normal.setData(particle, "d", MDoubleArray(), doubles({1, 2, 3}));
    curve.setData(particle, "v", MDoubleArray(), floatVectors({{1, 2, 3}}));
    EXPECT_TRUE(storedDoubles("d").empty());
    EXPECT_TRUE(storedVectors("v").empty());
}

TEST_F(ParticleAttributes, TooFewValuesForTheSelectionWriteNothing) {
    setDoubles("d", doubles({1, 2, 3, 4}));
    setVectors("v", vectors({{1, 1, 1}, {2, 2, 2}}));
    normal.setData(particle, "d", doubles({1, 1, 1, 1}), doubles({9, 9}));
    EXPECT_EQ(storedDoubles("d"), (std::vector<double>{1, 2, 3, 4}));
    curve.setData(particle, "v", doubles({1, 1}), MFloatVectorArray());
    EXPECT_EQ(storedVectors("v"), (std::vector<MVector>{{1, 1, 1}, {2, 2, 2}}));
    // Exactly enough values is fine.
    shading.setData(particle, "d", doubles({0, 1, 0, 1}), doubles({7, 8}));
    EXPECT_EQ(storedDoubles("d"), (std::vector<double>{1, 7, 3, 8}));
}

TEST_F(ParticleAttributes, OtherDataMissingAttributesAndNoValueAreLeftAlone) {
    setInts("ids", MIntArray(3, 5));
    addAttribute("unset", MFnData::kDoubleArray);
    const MDoubleArray selection = doubles({1, 1, 1});
    for (const char* name : {"ids", "noSuchAttribute", "", "unset"}) {
        SCOPED_TRACE(name);
        normal.setData(particle, name, selection, doubles({1, 2, 3}));
        normal.setData(particle, name, selection, vectors({{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}));
        curve.setData(particle, name, selection, floatVectors({{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}));
        shading.setData(particle, name, MDoubleArray(), doubles({1}));
    }
    EXPECT_EQ(storedInts("ids"), (std::vector<int>{5, 5, 5}));
    EXPECT_TRUE(value("unset").isNull());

    // A function set on nothing writes nothing and does not crash.
    MFnDependencyNode nothing;
    normal.setData(nothing, "d", selection, doubles({1, 2, 3}));
}

TEST_F(ParticleAttributes, NonConvertingReadersReplaceOutOnlyWithTheirOwnKind) {
    setDoubles("d", doubles({1.5, 2.5}));
    setVectors("v", vectors({{3, 4, 0}}));
    setInts("ids", MIntArray(2, 1));

    MDoubleArray out = doubles({9, 9, 9});
    normal.getDoubleArrayData(particle, "d", out);
    EXPECT_EQ(toStd(out), (std::vector<double>{1.5, 2.5}));
    out = doubles({9, 9, 9});
    curve.getDoubleArrayData(particle, "d", out);
    EXPECT_EQ(toStd(out), (std::vector<double>{1.5, 2.5}));
    MVectorArray vout = vectors({{9, 9, 9}, {9, 9, 9}});
    normal.getVectorArrayData(particle, "v", vout);
    EXPECT_EQ(toStd(vout), (std::vector<MVector>{{3, 4, 0}}));

    // The other kind, other data, no value, a missing or empty name: out stays as it was.
    addAttribute("unset", MFnData::kVectorArray);
    for (const char* name : {"v", "ids", "unset", "noSuchAttribute", ""}) {
        SCOPED_TRACE(name);
        out = doubles({9});
        normal.getDoubleArrayData(particle, name, out);
        EXPECT_EQ(toStd(out), (std::vector<double>{9}));
        curve.getDoubleArrayData(particle, name, out);
        EXPECT_EQ(toStd(out), (std::vector<double>{9}));
    }
    for (const char* name : {"d", "ids", "noSuchAttribute", ""}) {
        SCOPED_TRACE(name);
        vout = vectors({{9, 9, 9}});
        normal.getVectorArrayData(particle, name, vout);
        EXPECT_EQ(toStd(vout), (std::vector<MVector>{{9, 9, 9}}));
    }
}

TEST_F(ParticleAttributes, ReadersOnAFunctionSetAttachedToNothingLeaveOut) {
    // findPlug on such a set fails with kFailure, which stops every reader.
    MFnDependencyNode nothing;
    MDoubleArray out = doubles({1});
    MVectorArray vout = vectors({{1, 2, 3}});
    MFloatArray fout;
    fout.append(4.0f);
    normal.getDoubleArrayData(nothing, "d", out);
    normal.getVectorArrayData(nothing, "v", vout);
    curve.getDoubleArrayData(nothing, "d", out);
    shading.getDoubleArrayData(nothing, "d", out);
    shading.getVectorArrayData(nothing, "v", vout);
    shading.getFloatArrayData(nothing, "d", fout);
    EXPECT_EQ(toStd(out), (std::vector<double>{1}));
    EXPECT_EQ(toStd(vout), (std::vector<MVector>{{1, 2, 3}}));
    EXPECT_EQ(toStd(fout), (std::vector<float>{4.0f}));
}

TEST_F(ParticleAttributes, ShadingFieldReadersConvertBetweenKinds) {
    setDoubles("d", doubles({2.0, -1.0}));
    setVectors("v", vectors({{3, 4, 0}, {0, 0, 2}, {1, 2, 2}}));

    // A vector read as a double is its length (the writer would store (3 + 4 + 0) / 3 instead).
    MDoubleArray out = doubles({9, 9, 9, 9, 9});
    shading.getDoubleArrayData(particle, "v", out);
    EXPECT_EQ(toStd(out), (std::vector<double>{5, 2, 3}));
    out.clear();
    shading.getDoubleArrayData(particle, "d", out);
    EXPECT_EQ(toStd(out), (std::vector<double>{2, -1}));

    // A double read as a vector is (d, d, d).
    MVectorArray vout;
    shading.getVectorArrayData(particle, "d", vout);
    EXPECT_EQ(toStd(vout), (std::vector<MVector>{{2, 2, 2}, {-1, -1, -1}}));
    shading.getVectorArrayData(particle, "v", vout);
    EXPECT_EQ(vout.length(), 3u);

    // The float reader appends, converting either kind.
    MFloatArray fout;
    fout.append(7.0f);
    fout.append(8.0f);
    shading.getFloatArrayData(particle, "v", fout);
    EXPECT_EQ(toStd(fout), (std::vector<float>{7, 8, 5, 2, 3}));
    shading.getFloatArrayData(particle, "d", fout);
    EXPECT_EQ(toStd(fout), (std::vector<float>{7, 8, 5, 2, 3, 2, -1}));
}

TEST_F(ParticleAttributes, ShadingFieldReadersIgnoreMissingAndForeignData) {
    setInts("ids", MIntArray(3, 1));
    addAttribute("unset", MFnData::kDoubleArray);
    for (const char* name : {"ids", "unset", "noSuchAttribute", ""}) {
        SCOPED_TRACE(name);
        MDoubleArray out = doubles({9});
        MVectorArray vout = vectors({{9, 9, 9}});
        MFloatArray fout(2, 1.0f);
        shading.getDoubleArrayData(particle, name, out);
        shading.getVectorArrayData(particle, name, vout);
        shading.getFloatArrayData(particle, name, fout);
        EXPECT_EQ(toStd(out), (std::vector<double>{9}));
        EXPECT_EQ(toStd(vout), (std::vector<MVector>{{9, 9, 9}}));
        EXPECT_EQ(toStd(fout), (std::vector<float>{1, 1}));
    }
}

TEST_F(ParticleAttributes, WrittenValuesReadBackThroughTheReaders) {
    setVectors("v", vectors({{0, 0, 0}, {0, 0, 0}}));
    normal.setData(particle, "v", doubles({1, 1}), vectors({{1, 0, 0}, {0, 2, 0}}));
    MVectorArray vout;
    normal.getVectorArrayData(particle, "v", vout);
    EXPECT_EQ(toStd(vout), (std::vector<MVector>{{1, 0, 0}, {0, 2, 0}}));
    MDoubleArray lengths;
    shading.getDoubleArrayData(particle, "v", lengths);
    EXPECT_EQ(toStd(lengths), (std::vector<double>{1, 2}));
}

}  // namespace
