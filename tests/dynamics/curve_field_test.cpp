// curveField driven through the host: guide curves, particle objects wired with connectDynamic, forces read
// from the field's output element and compared with numbers worked out here, by hand for a straight guide
// along x (closest point (clamp(x, 0, 10), 0, 0), tangent (1, 0, 0), u = x / 10) and by a small model of the
// force written below for the rest.

#include <host/Host.h>

#include "render/SamplerRecord.h"

#include <maya/MDoubleArray.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPointArray.h>
#include <maya/MVectorArray.h>

#include "scene_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using scene::dataOf;
using scene::doublesOf;
using scene::errorLine;
using scene::run;
using scene::vectorsOf;


const char* const straightGuide = "curve -d 1 -p 0 0 0 -p 10 0 0 -n guide";
const char* const cubicGuide = "curve -d 3 -p 0 0 0 -p 3 4 0 -p 6 -2 1 -p 10 0 0 -n guide";

void expectVectors(const std::vector<MVector>& actual, const std::vector<MVector>& expected, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(std::isfinite(actual[i].x) && std::isfinite(actual[i].y) && std::isfinite(actual[i].z))
            << what << ", particle " << i;
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-6) << what << ", particle " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, 1e-6) << what << ", particle " << i;
        EXPECT_NEAR(actual[i].z, expected[i].z, 1e-6) << what << ", particle " << i;
    }
}

// ---- Reference model of the force -------------------------------------------------------------------

struct Settings {
    double magnitude = 1.0, attenuation = 1.0, maxDistance = -1.0;
    bool useMaxDistance = false;
    double speed = 5.0, attraction = 1.0, offset = 0.0, rotation = 0.0, rotationSpeed = 0.0;
    double rotationAttenuation = 0.0;
};

MVector unit(const MVector& v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0.0 ? MVector(v.x / length, v.y / length, v.z / length) : MVector(0, 0, 0);
}

MVector cross(const MVector& a, const MVector& b) {
    return MVector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// Rodrigues' rotation of v about the unit axis k by theta radians.
MVector rotated(const MVector& v, const MVector& k, double theta) {
    const double dot = v.x * k.x + v.y * k.y + v.z * k.z;
    return v * std::cos(theta) + cross(k, v) * std::sin(theta) + k * (dot * (1.0 - std::cos(theta)));
}

MVector referenceForce(const MVector& p, const MVector& c, const MVector& tangent, double mass, const Settings& s) {
    if (s.magnitude <= 0.0)
        return MVector(0, 0, 0);
    double magnitudeFalloff = s.magnitude;
    double rotationFalloff = 1.0;
    const double d = (c - p).length();
    if (s.useMaxDistance) {
        if (d > s.maxDistance)
            return MVector(0, 0, 0);
        if (s.attenuation > 0.0)
            magnitudeFalloff = s.magnitude * std::pow(1.0 - d / s.maxDistance, s.attenuation);
        if (s.rotationAttenuation > 0.0)
            rotationFalloff = std::pow(1.0 - d / s.maxDistance, s.rotationAttenuation);
    }
    MVector total = tangent * s.speed;
    if (s.attraction > 0.0) {
        const MVector aim = s.offset > 0.0 ? c - (p + unit(c - p) * s.offset) : c - p;
        total += unit(aim) * s.attraction;
    }
    if (s.rotation != 0.0) {
        const MVector target = c + rotated(unit(p - c), unit(tangent), s.rotation * 3.14 / 180.0) * (p - c).length();
        total += (target - p) * (s.rotationSpeed * rotationFalloff);
    }
    return total * magnitudeFalloff / (mass + 1.0);
}

// Closest point and tangent on the straight guide.
MVector onStraight(const MVector& p) { return MVector(std::min(10.0, std::max(0.0, p.x)), 0, 0); }
const MVector alongX(1, 0, 0);

std::string particleFlags(const std::vector<MVector>& points) {
    std::string flags;
    for (const MVector& p : points)
        flags += " -p " + std::to_string(p.x) + " " + std::to_string(p.y) + " " + std::to_string(p.z);
    return flags;
}

class CurveField : public scene::PluginSuite {
protected:
    static void TearDownTestSuite() {
        PluginSuite::TearDownTestSuite();
        host::resetSampler();
    }

    // A fresh scene: the guide, field "cf" fed by it, particle object "p1" connected to the field, and the
    // field's settings (they do not dirty the force, so they are set before the first evaluation).
    void build(const std::string& guide, const std::vector<MVector>& points, const Settings& s = Settings(),
               const std::string& masses = "") {
        host::newScene();
        host::resetSampler();
        host::setSamplerRecording(true);
        run(guide);
        run("createNode curveField -n cf; connectAttr guide.worldSpace[0] cf.inputCurve");
        run("particle" + particleFlags(points) + " -n p1");
        if (!masses.empty())
            run("setAttr p1.mass -type doubleArray " + std::to_string(points.size()) + " " + masses);
        run("connectDynamic -f cf p1");
        run("setAttr cf.magnitude " + std::to_string(s.magnitude) + "; setAttr cf.attenuation " +
            std::to_string(s.attenuation) + "; setAttr cf.maxDistance " + std::to_string(s.maxDistance) +
            "; setAttr cf.useMaxDistance " + (s.useMaxDistance ? "1" : "0") + "; setAttr cf.speed " +
            std::to_string(s.speed) + "; setAttr cf.attraction " + std::to_string(s.attraction) +
            "; setAttr cf.offset " + std::to_string(s.offset) + "; setAttr cf.rotation " +
            std::to_string(s.rotation) + "; setAttr cf.rotationSpeed " + std::to_string(s.rotationSpeed) +
            "; setAttr cf.rotationAttenuation " + std::to_string(s.rotationAttenuation));
    }

    void perParticle(const std::string& attribute, const std::string& field, const std::vector<double>& values) {
        run("addAttr -ln " + attribute + " -dt doubleArray p1");
        std::string set = "setAttr p1." + attribute + " -type doubleArray " + std::to_string(values.size());
        for (double v : values)
            set += " " + std::to_string(v);
        run(set);
        if (!field.empty())
            run("setAttr cf." + field + " -type \"string\" " + attribute);
    }

    MStatus evaluate(const std::string& plugName = "cf.outputForce[0]") {
        host::OutputCapture capture;
        MStatus status = host::evaluate(plugName);
        err = capture.err();
        return status;
    }

    std::vector<MVector> forces() { return vectorsOf("cf.outputForce[0]"); }

    // Reference forces on the straight guide with one settings record per particle.
    static std::vector<MVector> straightForces(const std::vector<MVector>& points, const std::vector<Settings>& s,
                                               const std::vector<double>& masses) {
        std::vector<MVector> out;
        for (size_t i = 0; i < points.size(); ++i)
            out.push_back(referenceForce(points[i], onStraight(points[i]), alongX, masses[i], s[i]));
        return out;
    }

    std::string err;
};

const std::vector<MVector> fourParticles = {{2, 3, 0}, {5, 0, -4}, {-1, 2, 0}, {7, 0, 0}};
const std::vector<double> unitMasses(4, 1.0);

TEST_F(CurveField, DefaultSettingsOnAStraightGuide) {
    // Worked by hand: (5 * tangent + unit(closest - position)) / (mass + 1). The last particle lies on the
    // curve: no attraction, and nothing that is not a number.
    build(straightGuide, fourParticles, Settings(), "0 1 3 0.5");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(err, "");
    EXPECT_TRUE(host::isPlugClean("cf.outputForce[0]"));
    const double r5 = std::sqrt(5.0);
    expectVectors(forces(), {{5, -1, 0}, {2.5, 0, 0.5}, {(5 + 1 / r5) / 4, -2 / r5 / 4, 0}, {5 / 1.5, 0, 0}}, "defaults");
}

TEST_F(CurveField, EachSettingMatchesTheModel) {
    struct Case {
        const char* name;
        Settings s;
    };
    auto with = [](auto change) { Settings s; change(s); return s; };
    const std::vector<Case> cases = {
        {"speed 2", with([](Settings& s) { s.speed = 2; })},
        {"attraction 3", with([](Settings& s) { s.attraction = 3; })},
        {"attraction 0", with([](Settings& s) { s.attraction = 0; })},
        {"attraction -1", with([](Settings& s) { s.attraction = -1; })},
        {"offset 1", with([](Settings& s) { s.offset = 1; })},
        {"offset 5, inside the tube", with([](Settings& s) { s.offset = 5; })},
        {"offset 3, on the tube", with([](Settings& s) { s.offset = 3; s.speed = 0; })},
        {"rotation 90", with([](Settings& s) { s.rotation = 90; s.rotationSpeed = 2; })},
        {"rotation -45", with([](Settings& s) { s.rotation = -45; s.rotationSpeed = 0.5; })},
        {"rotation without speed", with([](Settings& s) { s.rotation = 90; })},
        {"magnitude 2.5", with([](Settings& s) { s.magnitude = 2.5; })},
        {"magnitude -1", with([](Settings& s) { s.magnitude = -1; })},
    };
    for (const Case& c : cases) {
        build(straightGuide, fourParticles, c.s);
        ASSERT_EQ(evaluate(), MStatus::kSuccess) << c.name;
        expectVectors(forces(), straightForces(fourParticles, std::vector<Settings>(4, c.s), unitMasses), c.name);
    }
    // A rotation of 90 turns (2, 3, 0) about x by 1.57 rad around (2, 0, 0): the chord to (2, 3cos, 3sin).
    build(straightGuide, {{2, 3, 0}}, with([](Settings& s) { s.speed = 0; s.attraction = 0; s.rotation = 90; s.rotationSpeed = 1; }));
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    expectVectors(forces(), {MVector(0, 3 * std::cos(1.57) - 3, 3 * std::sin(1.57)) / 2}, "chord");
}

TEST_F(CurveField, CubicGuideMatchesTheModel) {
    Settings s;
    s.speed = 2, s.attraction = 1.5, s.offset = 0.5, s.rotation = 30, s.rotationSpeed = 1.2;
    const std::vector<MVector> points = {{1, 1, 1}, {5, 3, -1}, {9, -2, 0.5}, {-2, 0, 0}};
    build(cubicGuide, points, s, "0 2 1 4");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    MFnNurbsCurve curve(dataOf("guide.worldSpace[0]"));
    const std::vector<double> masses = {0, 2, 1, 4};
    std::vector<MVector> expected;
    for (size_t i = 0; i < points.size(); ++i) {
        double t = 0.0;
        const MPoint c = curve.closestPoint(MPoint(points[i]), &t, 1e-6, MSpace::kWorld);
        expected.push_back(referenceForce(points[i], MVector(c), curve.tangent(t, MSpace::kWorld), masses[i], s));
    }
    expectVectors(forces(), expected, "cubic");
}

TEST_F(CurveField, PerParticleFactorsScaleTheSettings) {
    Settings s;
    s.rotation = 40, s.rotationSpeed = 1, s.offset = 1;
    build(straightGuide, fourParticles, s);
    perParticle("spd", "speedPP", {1, 2, 0.5, -1});
    perParticle("atr", "attractionPP", {1, 0, 2, 3});
    perParticle("ofs", "offsetPP", {0.5, 1, 4, 1});
    perParticle("rot", "rotationPP", {1, 0, -1, 2});
    perParticle("rsp", "rotationSpeedPP", {2, 1, 1, 0.5});
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    std::vector<Settings> each(4, s);
    const double spd[] = {1, 2, 0.5, -1}, atr[] = {1, 0, 2, 3}, ofs[] = {0.5, 1, 4, 1}, rot[] = {1, 0, -1, 2},
                 rsp[] = {2, 1, 1, 0.5};
    for (int i = 0; i < 4; ++i) {
        each[i].speed *= spd[i], each[i].attraction *= atr[i], each[i].offset *= ofs[i];
        each[i].rotation *= rot[i], each[i].rotationSpeed *= rsp[i];
    }
    expectVectors(forces(), straightForces(fourParticles, each, unitMasses), "all five per particle");

    // A factor array of the wrong length counts as absent: the scalar rules.
    build(straightGuide, fourParticles);
    perParticle("spd", "speedPP", {2, 2, 2});
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    expectVectors(forces(), straightForces(fourParticles, std::vector<Settings>(4, Settings()), unitMasses), "short");
}

TEST_F(CurveField, TextureMapIsSampledAlongTheCurve) {
    // A black-to-white u ramp has luminance u, so speed i = 5 * u i, times the per-particle factor.
    const std::vector<MVector> points = {{2, 3, 0}, {5, 0, -4}, {-1, 2, 0}, {12, 1, 0}};
    const std::vector<double> us = {0.2, 0.5, 0.0, 1.0};
    build(straightGuide, points);
    run("shadingNode -asTexture ramp -n r1; setAttr r1.type 1; connectAttr r1.outColor cf.speedMap");
    perParticle("spd", "speedPP", {1, 2, 3, 0.5});
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    std::vector<Settings> each(4);
    const double spd[] = {1, 2, 3, 0.5};
    for (int i = 0; i < 4; ++i)
        each[i].speed = 5 * spd[i] * us[i];
    expectVectors(forces(), straightForces(points, each, std::vector<double>(4, 1.0)), "ramp");

    ASSERT_EQ(host::samplerCalls().size(), 1u);
    const host::SamplerCall& call = host::samplerCalls()[0];
    EXPECT_EQ(call.name, "r1.outColor");
    EXPECT_EQ(call.numSamples, 4);
    EXPECT_FALSE(call.useShadowMaps);
    EXPECT_FALSE(call.reuseMaps);
    EXPECT_TRUE(call.points.isNull);
    EXPECT_FALSE(call.uCoords.isNull);
    EXPECT_TRUE(call.vCoordsAreTheUCoords);
    EXPECT_TRUE(call.normals.isNull && call.refPoints.isNull && call.tangentUs.isNull && call.tangentVs.isNull &&
                call.filterSizes.isNull);
    ASSERT_EQ(call.uValues.length(), 4u);
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_NEAR(call.uValues[i], us[i], 1e-6) << i;
}

TEST_F(CurveField, MapThatOnlyFeedsAnotherNodeIsUnconnected) {
    build(straightGuide, fourParticles);
    run("shadingNode -asTexture ramp -n r1; createNode curveField -n other; connectAttr cf.speedMap other.speed");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_TRUE(host::samplerCalls().empty());
    expectVectors(forces(), straightForces(fourParticles, std::vector<Settings>(4), unitMasses), "outgoing map");
}

TEST_F(CurveField, MaxDistanceFallsOff) {
    // On the curve, halfway, exactly at maxDistance, beyond it.
    const std::vector<MVector> points = {{3, 0, 0}, {3, 2, 0}, {3, 0, 4}, {3, 5, 0}};
    auto falloff = [](double attenuation, double rotationAttenuation, double maxDistance) {
        Settings s;
        s.useMaxDistance = true, s.maxDistance = maxDistance, s.attenuation = attenuation;
        s.rotation = 90, s.rotationSpeed = 1, s.rotationAttenuation = rotationAttenuation;
        return s;
    };
    for (const Settings& s : {falloff(1, 0, 4), falloff(2, 1, 4), falloff(0, 0, 4), falloff(0.5, 2, 4)}) {
        build(straightGuide, points, s);
        ASSERT_EQ(evaluate(), MStatus::kSuccess);
        const std::string what = "attenuation " + std::to_string(s.attenuation);
        expectVectors(forces(), straightForces(points, std::vector<Settings>(4, s), unitMasses), what);
    }
    // At maxDistance with attenuation: nothing; without: the full force. Beyond: nothing either way.
    build(straightGuide, points, falloff(1, 0, 4));
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(forces()[2], MVector(0, 0, 0));
    EXPECT_EQ(forces()[3], MVector(0, 0, 0));
    // The default maxDistance of -1 cuts every particle; a maxDistance of 0 leaves the particle on the curve
    // at maxDistance, with a finite force.
    build(straightGuide, points, falloff(1, 1, -1));
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    expectVectors(forces(), std::vector<MVector>(4), "maxDistance -1");
    build(straightGuide, points, falloff(1, 1, 0));
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    expectVectors(forces(), std::vector<MVector>(4), "maxDistance 0, attenuated");
    build(straightGuide, points, falloff(0, 0, 0));
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    expectVectors(forces(), {{2.5, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, "maxDistance 0, not attenuated");
}

TEST_F(CurveField, NoMagnitudeGivesZeroForcesCleanButUnknownParameter) {
    for (const std::string& setup : {std::string("setAttr cf.magnitude 0"),
                                     std::string("setAttr cf.magnitudePP -type \"string\" missingPP")}) {
        build(straightGuide, fourParticles);
        perParticle("uPP", "uValue", {9, 9, 9, 9});
        run(setup);
        EXPECT_EQ(evaluate(), MStatus::kUnknownParameter) << setup;
        EXPECT_EQ(err, "") << setup;
        EXPECT_TRUE(host::isPlugClean("cf.outputForce[0]")) << setup;
        expectVectors(forces(), std::vector<MVector>(4), setup);
        EXPECT_EQ(doublesOf("p1.uPP"), std::vector<double>(4, 9.0)) << setup;
    }
}

TEST_F(CurveField, ResultsAndPerParticleMagnitude) {
    // Particle 0 has magnitude 0 and particle 2 a magnitude below 0.5: neither is selected, so both keep
    // the marks of their u entries, and every selected particle receives its own entry.
    build(straightGuide, fourParticles);
    perParticle("mag", "magnitudePP", {0, 2, 0.25, 1});
    perParticle("uPP", "uValue", {9, 9, 9, 9});
    run("addAttr -ln vecPP -dt vectorArray p1; setAttr p1.vecPP -type vectorArray 0");
    run("addAttr -ln unitPP -dt vectorArray p1; setAttr p1.unitPP -type vectorArray 0");
    run("setAttr cf.normal -type \"string\" vecPP; setAttr cf.normalizedNormal -type \"string\" unitPP");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    const double r5 = std::sqrt(5.0);
    // Empty vector attributes are replaced whole: entry i for particle i, zeros for magnitude 0.
    expectVectors(vectorsOf("p1.vecPP"), {{0, 0, 0}, {0, 0, -4}, {-1, 2, 0}, {0, 0, 0}}, "normal");
    expectVectors(vectorsOf("p1.unitPP"), {{0, 0, 0}, {0, 0, -1}, {-1 / r5, 2 / r5, 0}, {0, 0, 0}}, "unit normal");
    const std::vector<double> u = doublesOf("p1.uPP");
    ASSERT_EQ(u.size(), 4u);
    EXPECT_EQ(u[0], 9.0);
    EXPECT_NEAR(u[1], 0.5, 1e-9);
    EXPECT_EQ(u[2], 9.0);
    EXPECT_NEAR(u[3], 0.7, 1e-9);
    std::vector<Settings> each(4);
    each[0].magnitude = 0, each[1].magnitude = 2, each[2].magnitude = 0.25;
    expectVectors(forces(), straightForces(fourParticles, each, unitMasses), "magnitudePP");

    // A magnitude attribute without one entry per particle: every particle at the field's magnitude.
    build(straightGuide, fourParticles, [] { Settings s; s.magnitude = 3; return s; }());
    perParticle("mag", "magnitudePP", {2, 0, 1});
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    Settings three;
    three.magnitude = 3;
    expectVectors(forces(), straightForces(fourParticles, std::vector<Settings>(4, three), unitMasses), "short");
}

TEST_F(CurveField, CurveRange) {
    // A curve source without a range fails with the message; with a range of its own (here 0 .. 4 over a
    // curve whose domain is 0 .. 1) it normalises by that; an empty range gives u = 0, not a division by 0.
    const std::vector<MVector> points = {{5, 1, 0}};
    build(straightGuide, points);
    run("createNode curveSource -n src; connectAttr guide.worldSpace[0] src.curve");
    run("connectAttr -f src.outCurve cf.inputCurve");
    perParticle("uPP", "uValue", {});
    EXPECT_EQ(evaluate(), MStatus::kUnknownParameter);
    EXPECT_EQ(err, errorLine(MStatus::kInvalidParameter, "ERROR finding minValue.\n"));
    run("addAttr -ln minValue -at double src");
    EXPECT_EQ(evaluate(), MStatus::kUnknownParameter);
    EXPECT_EQ(err, errorLine(MStatus::kInvalidParameter, "ERROR finding maxValue.\n"));
    run("addAttr -ln maxValue -at double src; setAttr src.maxValue 4");
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(err, "");
    ASSERT_EQ(doublesOf("p1.uPP").size(), 1u);
    EXPECT_NEAR(doublesOf("p1.uPP")[0], 0.5 / 4, 1e-9);
    run("setAttr src.minValue 4; setAttr cf.magnitude 1");  // the range does not dirty the force
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(doublesOf("p1.uPP"), std::vector<double>{0.0});
}

TEST_F(CurveField, CurveWithoutConnectionUsesItsKnotDomain) {
    build(straightGuide, {{5, 1, 0}});
    run("disconnectAttr guide.worldSpace[0] cf.inputCurve");
    perParticle("uPP", "uValue", {});
    MPointArray cvs;
    cvs.append(0, 0, 0);
    cvs.append(10, 0, 0);
    MDoubleArray knots;
    knots.append(2.0);
    knots.append(6.0);
    MFnNurbsCurve fn;
    MObject data = fn.create(cvs, knots, 1, MFnNurbsCurve::kOpen, false, false);
    ASSERT_EQ(host::plugByName("cf.inputCurve").setValue(data), MStatus::kSuccess);
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    EXPECT_EQ(err, "");
    ASSERT_EQ(doublesOf("p1.uPP").size(), 1u);
    EXPECT_NEAR(doublesOf("p1.uPP")[0], 0.5, 1e-9);
}

TEST_F(CurveField, InputElementWithoutParticleObjectFails) {
    build(straightGuide, fourParticles);
    EXPECT_EQ(evaluate("cf.outputForce[3]"), MStatus::kUnknownParameter);
    EXPECT_EQ(err, errorLine(MStatus::kInvalidParameter, "ERROR creating particleFn function set.\n"));
}

TEST_F(CurveField, DegenerateCurvesGiveFiniteForces) {
    Settings s;
    s.offset = 1, s.rotation = 90, s.rotationSpeed = 1;
    // Every CV at (1, 1, 1): no tangent, so no speed or rotation; attraction toward the point (off the tube).
    for (const char* guide : {"curve -d 1 -p 1 1 1 -p 1 1 1 -n guide", "curve -d 3 -p 1 1 1 -p 1 1 1 -p 1 1 1 -p 1 1 1 -n guide"}) {
        build(guide, {{1, 1, 1}, {1, 4, 1}, {1, 1, 2}}, s);
        ASSERT_EQ(evaluate(), MStatus::kSuccess) << guide;
        expectVectors(forces(), {{0, 0, 0}, {0, -0.5, 0}, {0, 0, 0}}, guide);
    }
    // Particles on a cubic: only the speed term is left.
    build(cubicGuide, {{0, 0, 0}, {10, 0, 0}}, s);
    ASSERT_EQ(evaluate(), MStatus::kSuccess);
    MFnNurbsCurve curve(dataOf("guide.worldSpace[0]"));
    expectVectors(forces(), {curve.tangent(0.0, MSpace::kWorld) * 2.5, curve.tangent(1.0, MSpace::kWorld) * 2.5},
                  "on the cubic");
}

}  // namespace
