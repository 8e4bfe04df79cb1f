// normalField driven through the host: a straight guide curve along x from 0 to 10 (parameter 0..2),
// a particle object wired to the field, results read back from the particle object's attributes.

#include <host/Host.h>

#include <maya/MDoubleArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPointArray.h>
#include <maya/MVectorArray.h>

#include "scene_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

using scene::dataOf;
using scene::doublesOf;
using scene::run;
using scene::vectorsOf;



// Particles before the start, beside the curve, on it, past the end and below it, with their vectors
// from the curve, the unit vectors and u (x / 10 clamped to the curve).
const char* const particles = "-p -1 2 0 -p 2 3 0 -p 7 0 0 -p 12 0 0 -p 5 0 -4";
const std::vector<MVector> offsets = {{-1, 2, 0}, {0, 3, 0}, {0, 0, 0}, {2, 0, 0}, {0, 0, -4}};
const std::vector<MVector> units = {{-1 / std::sqrt(5.0), 2 / std::sqrt(5.0), 0}, {0, 1, 0}, {0, 0, 0}, {1, 0, 0},
                                    {0, 0, -1}};
const std::vector<double> us = {0.0, 0.2, 0.7, 1.0, 0.5};
const MVector mark(9, 9, 9);  // what result attributes hold before a write

void expectVectors(const std::vector<MVector>& actual, const std::vector<MVector>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-6) << "entry " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, 1e-6) << "entry " << i;
        EXPECT_NEAR(actual[i].z, expected[i].z, 1e-6) << "entry " << i;
    }
}

void expectDoubles(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-6) << "entry " << i;
}

// Fills a vector attribute of p1 with count marks.
void setMarks(const std::string& name, unsigned count) {
    std::string set = "setAttr p1." + name + " -type vectorArray " + std::to_string(count);
    for (unsigned i = 0; i < count; ++i)
        set += " 9 9 9";
    run(set);
}

void addVectors(const std::string& name, unsigned count) {
    run("addAttr -ln " + name + " -dt vectorArray p1");
    setMarks(name, count);
}

// Sets a double attribute of p1 to the values written out in values.
void setDoubles(const std::string& name, const std::string& values) {
    std::istringstream words(values);
    std::string word;
    unsigned count = 0;
    while (words >> word)
        ++count;
    run("setAttr p1." + name + " -type doubleArray " + std::to_string(count) + " " + values);
}

void addDoubles(const std::string& name, const std::string& values) {
    run("addAttr -ln " + name + " -dt doubleArray p1");
    setDoubles(name, values);
}

void name(const std::string& attribute, const std::string& value) {
    run("setAttr nf." + attribute + " -type \"string\" \"" + value + "\"");
}

// Entry i of expected where selected[i], else the mark.
std::vector<MVector> merged(const std::vector<MVector>& expected, const std::vector<bool>& selected) {
    std::vector<MVector> out;
    for (size_t i = 0; i < expected.size(); ++i)
        out.push_back(selected[i] ? expected[i] : mark);
    return out;
}

class NormalField : public scene::PluginSuite {
protected:
    void SetUp() override {
        host::newScene();
        run("curve -d 1 -p 0 0 0 -p 5 0 0 -p 10 0 0 -n guide");
        run("createNode normalField -n nf");
        run("connectAttr guide.worldSpace[0] nf.inputCurve");
        run(std::string("particle ") + particles + " -n p1");
        addVectors("outNormal", 0);
        name("outNormal", "outNormal");
        run("connectDynamic -f nf p1");
    }

    // Evaluates the force element, keeping what was written to standard error. Changes to the particle
    // object's own attributes do not dirty the field, so an unused field input does it first.
    MStatus evaluate(const std::string& plugName = "nf.outputForce[0]") {
        run("setAttr nf.attenuation 1");
        host::OutputCapture capture;
        MStatus status = host::evaluate(plugName);
        err = capture.err();
        return status;
    }

    // Three result attributes of count marks each, named on the field.
    void addResults(unsigned count) {
        addVectors("vecPP", count);
        addVectors("unitPP", count);
        addDoubles("uPP", count ? "9 9 9 9 9" : "");
        name("normal", "vecPP");
        name("normalizedNormal", "unitPP");
        name("uValue", "uPP");
    }

    std::string err;
};

TEST_F(NormalField, WritesEveryResultAndOnlyMarksTheForceClean) {
    addResults(0);
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(err, "");
    expectVectors(vectorsOf("p1.outNormal"), offsets);
    expectVectors(vectorsOf("p1.vecPP"), offsets);
    expectVectors(vectorsOf("p1.unitPP"), units);  // the particle on the curve gets (0, 0, 0), not NaN
    expectDoubles(doublesOf("p1.uPP"), us);        // 0 before the start, 1 past the end
    EXPECT_TRUE(host::isPlugClean("nf.outputForce[0]"));
    EXPECT_TRUE(dataOf("nf.outputForce[0]").isNull());
}

TEST_F(NormalField, SelectsByMagnitudeArray) {
    addResults(5);
    // Another length selects every particle, and each receives its own value.
    addDoubles("magPP", "0 0");
    name("magnitudePP", "magPP");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    expectVectors(vectorsOf("p1.vecPP"), offsets);
    expectDoubles(doublesOf("p1.uPP"), us);

    // 0s and 1s, and values below 0.5, which take no part: every processed particle gets its own value.
    struct Selection {
        std::string values;
        std::vector<bool> selected;
    };
    const Selection selections[] = {{"1 0 1 0 1", {true, false, true, false, true}},
                                    {"0.3 1 0.2 0.5 -1", {false, true, false, true, false}}};
    for (const Selection& selection : selections) {
        SCOPED_TRACE(selection.values);
        const std::vector<bool>& selected = selection.selected;
        for (const char* attribute : {"vecPP", "unitPP", "outNormal"})
            setMarks(attribute, 5);
        setDoubles("uPP", "9 9 9 9 9");
        setDoubles("magPP", selection.values);
        ASSERT_EQ(evaluate(), MStatus::kSuccess);
        expectVectors(vectorsOf("p1.vecPP"), merged(offsets, selected));
        expectVectors(vectorsOf("p1.outNormal"), merged(offsets, selected));
        expectVectors(vectorsOf("p1.unitPP"), merged(units, selected));
        std::vector<double> u = doublesOf("p1.uPP");
        for (size_t i = 0; i < u.size(); ++i)
            EXPECT_NEAR(u[i], selected[i] ? us[i] : 9.0, 1e-6) << "entry " << i;
    }

    // Nothing selected: attributes of one entry per particle keep theirs, others are emptied.
    setMarks("outNormal", 2);
    setDoubles("magPP", "0 0 -1 0 0.1");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(vectorsOf("p1.outNormal").size(), 0u);
    expectVectors(vectorsOf("p1.unitPP"), merged(units, {false, true, false, true, false}));
}

TEST_F(NormalField, OutNormalDecidesWhetherAnythingIsWritten) {
    addResults(5);
    for (const char* outName : {"", "noSuchAttribute"}) {
        SCOPED_TRACE(outName);
        name("outNormal", outName);
        ASSERT_EQ(evaluate(), MStatus::kSuccess);
        EXPECT_EQ(err, "");
        EXPECT_TRUE(host::isPlugClean("nf.outputForce[0]"));
        expectVectors(vectorsOf("p1.vecPP"), merged(offsets, {false, false, false, false, false}));
        EXPECT_EQ(vectorsOf("p1.outNormal").size(), 0u);
    }

    addDoubles("scalarPP", "");
    name("outNormal", "scalarPP");
    EXPECT_EQ(evaluate(), MStatus::kUnknownParameter);
    EXPECT_EQ(err, "Invalid parameter ERROR creating outNormalData\n\n");
    EXPECT_FALSE(host::isPlugClean("nf.outputForce[0]"));
    expectVectors(vectorsOf("p1.vecPP"), merged(offsets, {false, false, false, false, false}));
}

TEST_F(NormalField, UnnamedOrMissingResultsAreSkipped) {
    addResults(5);
    name("normal", "");
    name("normalizedNormal", "noSuchAttribute");
    name("uValue", "");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    expectVectors(vectorsOf("p1.outNormal"), offsets);
    expectVectors(vectorsOf("p1.vecPP"), merged(offsets, {false, false, false, false, false}));
    expectVectors(vectorsOf("p1.unitPP"), merged(units, {false, false, false, false, false}));
    expectDoubles(doublesOf("p1.uPP"), {9, 9, 9, 9, 9});
}

TEST_F(NormalField, FailsSilentlyWithoutMagnitudes) {
    auto expectSilentFailure = [this] {
        EXPECT_EQ(evaluate(), MStatus::kUnknownParameter);
        EXPECT_EQ(err, "");
        EXPECT_FALSE(host::isPlugClean("nf.outputForce[0]"));
        EXPECT_EQ(vectorsOf("p1.outNormal").size(), 0u);
    };
    run("setAttr nf.magnitude 0");
    expectSilentFailure();
    name("magnitudePP", "noSuchAttribute");
    expectSilentFailure();
    addDoubles("emptyPP", "");
    name("magnitudePP", "emptyPP");
    expectSilentFailure();

    // A magnitude of 0 does not matter once a per-particle magnitude is named.
    addDoubles("magPP", "1 1 1 1 1");
    name("magnitudePP", "magPP");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    expectVectors(vectorsOf("p1.outNormal"), offsets);
}

TEST_F(NormalField, EachElementServesItsOwnParticleObject) {
    run("particle -p 3 1 0 -n p2");
    run("addAttr -ln outNormal -dt vectorArray p2");
    run("setAttr p2.outNormal -type vectorArray 0");
    run("connectDynamic -f nf p2");
    ASSERT_EQ(evaluate("nf.outputForce[1]"), MStatus::kSuccess);
    expectVectors(vectorsOf("p2.outNormal"), {{0, 1, 0}});
    EXPECT_EQ(vectorsOf("p1.outNormal").size(), 0u);

    EXPECT_EQ(evaluate("nf.outputForce[5]"), MStatus::kUnknownParameter);
    EXPECT_EQ(err, "Invalid parameter ERROR creating particleFn function set.\n\n");
}

TEST_F(NormalField, CurveRange) {
    // A curve held on the attribute itself: its knot domain (2 .. 4 here) gives the range.
    run("disconnectAttr guide.worldSpace[0] nf.inputCurve");
    MPointArray cvs;
    cvs.append(MPoint(0, 0, 0));
    cvs.append(MPoint(5, 0, 0));
    cvs.append(MPoint(10, 0, 0));
    MDoubleArray knots;
    knots.append(2);
    knots.append(3);
    knots.append(4);
    MFnNurbsCurve curveFn;
    MObject curve = curveFn.create(cvs, knots, 1, MFnNurbsCurve::kOpen, false, false);
    ASSERT_EQ(host::plugByName("nf.inputCurve").setValue(curve), MStatus::kSuccess);
    addDoubles("uPP", "");
    name("uValue", "uPP");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    expectDoubles(doublesOf("p1.uPP"), us);

    // The range is read from the node feeding the curve; one of zero width maps every particle to 0.
    run("createNode curveSource -n source");
    run("connectAttr guide.worldSpace[0] source.curve");
    run("connectAttr -f source.outCurve nf.inputCurve");
    EXPECT_EQ(evaluate(), MStatus::kUnknownParameter);
    EXPECT_EQ(err, "Invalid parameter ERROR finding minValue.\n\n");
    run("addAttr -ln minValue -at double source");
    run("setAttr source.minValue 1");
    EXPECT_EQ(evaluate(), MStatus::kUnknownParameter);
    EXPECT_EQ(err, "Invalid parameter ERROR finding maxValue.\n\n");
    expectDoubles(doublesOf("p1.uPP"), us);
    run("addAttr -ln maxValue -at double source");
    run("setAttr source.maxValue 1");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(err, "");
    expectDoubles(doublesOf("p1.uPP"), {0, 0, 0, 0, 0});
}

}  // namespace
