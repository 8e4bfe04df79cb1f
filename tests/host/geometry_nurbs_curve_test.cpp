#include "geometry/NurbsCurve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using host::geom::NurbsCurve;
using host::geom::Vec3;

namespace {

constexpr double kPi = 3.14159265358979323846;

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// Independent evaluation: Cox-de Boor basis recursion on the textbook knot vector (Maya's plus one
// knot at each end).
Vec3 referencePoint(const NurbsCurve& c, double t) {
    std::vector<double> u = c.knots();
    u.insert(u.begin(), u.front());
    u.push_back(u.back());
    const int n = c.numCVs(), d = c.degree();
    int span = d;
    while (span < n - 1 && t >= u[span + 1]) ++span;
    std::vector<double> basis(u.size() - 1, 0.0);
    basis[span] = 1.0;
    for (int k = 1; k <= d; ++k) {
        for (int i = 0; i + k + 1 < static_cast<int>(u.size()); ++i) {
            double v = 0.0;
            if (u[i + k] > u[i]) v += (t - u[i]) / (u[i + k] - u[i]) * basis[i];
            if (u[i + k + 1] > u[i + 1]) v += (u[i + k + 1] - t) / (u[i + k + 1] - u[i + 1]) * basis[i + 1];
            basis[i] = v;
        }
    }
    Vec3 p;
    for (int i = 0; i < n; ++i) p += c.cvs()[i] * basis[i];
    return p;
}

std::vector<Vec3> randomPoints(std::mt19937& rng, int count) {
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<Vec3> pts;
    for (int i = 0; i < count; ++i) pts.push_back({u(rng) * 3.0, u(rng) * 3.0, u(rng)});
    return pts;
}

// Cubic through random CVs with random (non-uniform) knot spacing.
NurbsCurve randomCubic(std::mt19937& rng, int cvCount) {
    std::uniform_real_distribution<double> gap(0.2, 2.0);
    std::vector<double> knots{0.0, 0.0, 0.0};
    for (int i = 0; i < cvCount - 4; ++i) knots.push_back(knots.back() + gap(rng));
    const double end = knots.back() + gap(rng);
    knots.insert(knots.end(), 3, end);
    return NurbsCurve(3, randomPoints(rng, cvCount), knots);
}

// Brute force: dense samples, then golden-section refinement around every sampled local minimum.
double bruteForceDistance(const NurbsCurve& c, const Vec3& p) {
    double start = 0.0, end = 0.0;
    c.knotDomain(start, end);
    const int samples = 4000;
    const double step = (end - start) / samples;
    std::vector<double> d(samples + 1);
    for (int i = 0; i <= samples; ++i) d[i] = host::geom::distance(c.pointAt(start + i * step), p);
    double best = std::min(d.front(), d.back());
    for (int i = 1; i < samples; ++i) {
        if (d[i] > d[i - 1] || d[i] > d[i + 1]) continue;
        double a = start + (i - 1) * step, b = start + (i + 1) * step;
        const double g = (std::sqrt(5.0) - 1.0) / 2.0;
        for (int it = 0; it < 80; ++it) {
            const double x1 = b - g * (b - a), x2 = a + g * (b - a);
            if (host::geom::distance(c.pointAt(x1), p) < host::geom::distance(c.pointAt(x2), p)) b = x2;
            else a = x1;
        }
        best = std::min({best, d[i], host::geom::distance(c.pointAt(0.5 * (a + b)), p)});
    }
    return best;
}

}  // namespace

TEST(NurbsCurve, RejectsInvalidInputWithoutCrashing) {
    const std::vector<Vec3> four{{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 0, 0}};
    const std::vector<NurbsCurve> bad{
        NurbsCurve(3, four, {0, 0, 0, 1, 1}),             // wrong knot count
        NurbsCurve(3, four, {0, 0, 1, 0, 1, 1}),          // decreasing knots
        NurbsCurve(3, {{0, 0, 0}, {1, 0, 0}}, {0, 0, 1, 1}),  // too few CVs
        NurbsCurve(0, four, {0, 1, 2}),                   // degree 0
        NurbsCurve(3, four, {0, 0, 0, 0, 1, 1}),          // multiplicity above the degree
        NurbsCurve(1, {{0, 0, 0}, {NAN, 0, 0}}, {0, 1}),  // non-finite CV
        NurbsCurve(1, {{0, 0, 0}, {1, 0, 0}}, {1, 1}),    // empty domain
        NurbsCurve(), NurbsCurve::openUniform(3, {{0, 0, 0}}), NurbsCurve::periodicUniform(3, {{0, 0, 0}})};
    for (const NurbsCurve& c : bad) {
        EXPECT_FALSE(c.isValid());
        EXPECT_FALSE(c.error().empty());
        EXPECT_EQ(c.form(), NurbsCurve::kInvalid);
        EXPECT_EQ(c.numSpans(), 0);
        EXPECT_EQ(c.pointAt(0.5), Vec3{});
        EXPECT_EQ(c.tangent(0.5), Vec3{});
        EXPECT_FALSE(c.closestPoint({1, 1, 1}).found);
    }
}

TEST(NurbsCurve, KnotsDomainAndForms) {
    const NurbsCurve bezier = NurbsCurve::openUniform(3, {{0, 0, 0}, {1, 1, 0}, {2, 1, 0}, {3, 0, 0}});
    EXPECT_EQ(bezier.knots(), (std::vector<double>{0, 0, 0, 1, 1, 1}));
    const NurbsCurve open = NurbsCurve::openUniform(3, {{0, 0, 0}, {1, 1, 0}, {2, 1, 0}, {3, 0, 0}, {4, 2, 0}, {5, 0, 0}});
    EXPECT_EQ(open.knots(), (std::vector<double>{0, 0, 0, 1, 2, 3, 3, 3}));
    double s = -1, e = -1;
    ASSERT_TRUE(open.knotDomain(s, e));
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(e, 3.0);
    EXPECT_EQ(open.numSpans(), 3);
    EXPECT_EQ(open.form(), NurbsCurve::kOpen);

    const NurbsCurve closed = NurbsCurve::openUniform(3, {{0, 0, 0}, {1, 1, 0}, {2, 1, 0}, {3, 0, 0}, {0, 0, 0}});
    EXPECT_EQ(closed.form(), NurbsCurve::kClosed);

    const NurbsCurve periodic = NurbsCurve::periodicUniform(3, {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}});
    EXPECT_EQ(periodic.numCVs(), 7);
    EXPECT_EQ(periodic.knots(), (std::vector<double>{-2, -1, 0, 1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(periodic.knotDomain(s, e));
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(e, 4.0);
    EXPECT_EQ(periodic.numSpans(), 4);
    EXPECT_EQ(periodic.form(), NurbsCurve::kPeriodic);
    EXPECT_LT(host::geom::distance(periodic.pointAt(s), periodic.pointAt(e)), 1e-14);
    EXPECT_LT(host::geom::distance(periodic.derivative(s, 1), periodic.derivative(e, 1)), 1e-12);
    EXPECT_LT(host::geom::distance(periodic.derivative(s, 2), periodic.derivative(e, 2)), 1e-12);

    // Repeated CVs with clamped knots are not periodic.
    const NurbsCurve repeated = NurbsCurve::openUniform(3, {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}});
    EXPECT_EQ(repeated.form(), NurbsCurve::kOpen);
}

TEST(NurbsCurve, EvaluationMatchesClosedFormsAndReference) {
    const Vec3 p0{0, 0, 0}, p1{1, 2, 0}, p2{3, 2, 1}, p3{4, 0, 0};
    const NurbsCurve bezier = NurbsCurve::openUniform(3, {p0, p1, p2, p3});
    for (double t : {0.0, 0.3, 0.5, 0.9, 1.0}) {
        const double m = 1 - t;
        const Vec3 expected = p0 * (m * m * m) + p1 * (3 * m * m * t) + p2 * (3 * m * t * t) + p3 * (t * t * t);
        EXPECT_LT(host::geom::distance(bezier.pointAt(t), expected), 1e-14);
    }
    EXPECT_EQ(bezier.pointAt(-5.0), p0);  // clamped into the domain
    EXPECT_EQ(bezier.pointAt(7.0), p3);
    EXPECT_EQ(bezier.pointAt(NAN), p0);

    // Uniform B-spline at its knots: (P[i] + 4 P[i+1] + P[i+2]) / 6.
    const NurbsCurve periodic = NurbsCurve::periodicUniform(3, {p0, p1, p2, p3});
    EXPECT_LT(host::geom::distance(periodic.pointAt(0.0), (p0 + p1 * 4.0 + p2) / 6.0), 1e-14);
    EXPECT_LT(host::geom::distance(periodic.pointAt(3.0), (p3 + p0 * 4.0 + p1) / 6.0), 1e-14);

    std::mt19937 rng(7);
    for (int cvs : {4, 9, 20}) {
        const NurbsCurve c = randomCubic(rng, cvs);
        double s = 0, e = 0;
        c.knotDomain(s, e);
        for (int i = 0; i <= 50; ++i) {
            const double t = s + (e - s) * i / 50.0;
            EXPECT_LT(host::geom::distance(c.pointAt(t), referencePoint(c, t)), 1e-12) << t;
            if (i == 0 || i == 50) continue;
            const double h = 1e-5;
            const Vec3 fd1 = (c.pointAt(t + h) - c.pointAt(t - h)) / (2 * h);
            const Vec3 fd2 = (c.derivative(t + h, 1) - c.derivative(t - h, 1)) / (2 * h);
            EXPECT_LT(host::geom::distance(c.derivative(t, 1), fd1), 1e-6 * (1 + length(fd1)));
            EXPECT_LT(host::geom::distance(c.derivative(t, 2), fd2), 1e-5 * (1 + length(fd2)));
            Vec3 p, d1, d2;
            c.evaluate(t, &p, &d1, &d2);
            EXPECT_EQ(p, c.pointAt(t));
            EXPECT_LT(host::geom::distance(d2, c.derivative(t, 2)), 1e-12 * (1 + length(d2)));
        }
    }
}

TEST(NurbsCurve, TangentAndNormal) {
    // Circle-like periodic cubic: unit tangent along the motion, normal towards the centre.
    std::vector<Vec3> ring;
    for (int i = 0; i < 8; ++i) ring.push_back({2 * std::cos(2 * kPi * i / 8), 2 * std::sin(2 * kPi * i / 8), 0});
    const NurbsCurve circle = NurbsCurve::periodicUniform(3, ring);
    for (double t = 0.0; t <= 8.0; t += 0.37) {
        const Vec3 p = circle.pointAt(t), tan = circle.tangent(t), nrm = circle.normal(t);
        EXPECT_NEAR(length(tan), 1.0, 1e-14);
        EXPECT_NEAR(length(nrm), 1.0, 1e-14);
        EXPECT_NEAR(dot(tan, nrm), 0.0, 1e-14);
        EXPECT_GT(dot(tan, normalized(cross({0, 0, 1}, p))), 0.999);
        EXPECT_LT(dot(nrm, normalized(p)), -0.999);
    }

    // Straight line: tangent along it; normal falls back to the least aligned axis (y before z).
    const NurbsCurve line = NurbsCurve::openUniform(3, {{0, 0, 0}, {1, 0, 0}, {5, 0, 0}, {6, 0, 0}});
    EXPECT_EQ(line.tangent(0.4), (Vec3{1, 0, 0}));
    EXPECT_EQ(line.normal(0.4), (Vec3{0, 1, 0}));

    // Stationary start (P0 == P1): the tangent is the limit direction, along P2 - P0.
    const NurbsCurve cusp = NurbsCurve::openUniform(3, {{0, 0, 0}, {0, 0, 0}, {3, 4, 0}, {6, 0, 0}});
    EXPECT_LT(host::geom::distance(cusp.tangent(0.0), {0.6, 0.8, 0}), 1e-12);
    // At the end the tangent points along the motion (from P2 towards P3).
    EXPECT_LT(host::geom::distance(cusp.tangent(1.0), normalized(Vec3{3, -4, 0})), 1e-12);

    // A whole stationary span hands over to its moving neighbour.
    const NurbsCurve stall(1, {{0, 0, 0}, {0, 0, 0}, {0, 0, 2}}, {0, 1, 2});
    EXPECT_EQ(stall.tangent(0.5), (Vec3{0, 0, 1}));
}

TEST(NurbsCurve, DegenerateCurvesGiveNoNaN) {
    const Vec3 q{1, 2, 3};
    const NurbsCurve point = NurbsCurve::openUniform(3, {q, q, q, q, q});
    ASSERT_TRUE(point.isValid());
    EXPECT_EQ(point.tangent(0.5), Vec3{});
    EXPECT_EQ(point.normal(0.5), Vec3{});
    const auto r = point.closestPoint({5, 5, 5}, 0.01);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.point, q);
    EXPECT_EQ(r.param, 0.0);
    EXPECT_DOUBLE_EQ(r.distance, length(Vec3{4, 3, 2}));

    const NurbsCurve single(1, {{0, 0, 0}, {1, 1, 1}}, {0, 1});
    for (const Vec3& p : {Vec3{0, 0, 0}, Vec3{0.5, 0.5, 0.5}, Vec3{9, -9, 9}, Vec3{1e200, 0, 0}}) {
        const auto c = single.closestPoint(p, 0.01);
        EXPECT_TRUE(c.found && finite(c.point) && std::isfinite(c.param) && !std::isnan(c.distance));
    }
    EXPECT_FALSE(single.closestPoint({NAN, 0, 0}).found);
}

TEST(NurbsCurve, ClosestPointOnLinesIsTheClampedProjection) {
    const NurbsCurve line(1, {{0, 0, 0}, {4, 0, 0}}, {2, 6});
    auto r = line.closestPoint({1, 3, 0}, 0.01);
    EXPECT_NEAR(r.param, 3.0, 1e-14);
    EXPECT_NEAR(r.distance, 3.0, 1e-14);
    EXPECT_EQ(line.closestPoint({-1, 5, 0}).param, 2.0);  // beyond the start: exactly the start
    EXPECT_EQ(line.closestPoint({9, -1, 2}).param, 6.0);

    // Polyline corner: points in the corner's outer quadrant map to the corner knot.
    const NurbsCurve corner(1, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}}, {0, 1, 2});
    EXPECT_NEAR(corner.closestPoint({3, -1, 0}).param, 1.0, 1e-14);
    EXPECT_NEAR(corner.closestPoint({1.9, 1.5, 0}).param, 1.75, 1e-14);

    // Straight cubic with uneven speed: the point is the projection.
    const NurbsCurve straight = NurbsCurve::openUniform(3, {{0, 0, 0}, {0.2, 0.2, 0}, {3, 3, 0}, {4, 4, 0}});
    r = straight.closestPoint({3, 1, 0}, 0.01);
    EXPECT_LT(host::geom::distance(r.point, {2, 2, 0}), 1e-12);
    EXPECT_LT(host::geom::distance(straight.pointAt(r.param), {2, 2, 0}), 1e-12);
}

TEST(NurbsCurve, ClosestPointOnCircleFollowsTheAngle) {
    std::vector<Vec3> ring;
    for (int i = 0; i < 12; ++i) ring.push_back({std::cos(2 * kPi * i / 12), std::sin(2 * kPi * i / 12), 0});
    const NurbsCurve circle = NurbsCurve::periodicUniform(3, ring);
    double previous = circle.closestPoint({2.5, 0, 0}).param;
    for (int i = 1; i < 360; ++i) {
        const double a = 2 * kPi * i / 360;
        for (double radius : {0.3, 2.5}) {
            const Vec3 p{radius * std::cos(a), radius * std::sin(a), 0.1};
            const auto r = circle.closestPoint(p, 0.01);
            // The cubic is not quite round, so the foot is only near the ray through p.
            EXPECT_LT(std::fabs(std::remainder(std::atan2(r.point.y, r.point.x) - a, 2 * kPi)), 5e-3);
            EXPECT_NEAR(r.distance, std::hypot(radius - length(r.point), 0.1), 1e-4);
            if (radius > 1) {  // the parameter advances with the angle (modulo the period 12)
                const double advance = std::remainder(r.param - previous, 12.0);
                EXPECT_GT(advance, 0.0);
                EXPECT_LT(advance, 0.1);
                previous = r.param;
            }
        }
    }
}

TEST(NurbsCurve, ClosestPointMatchesBruteForceOnRandomCubics) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int cvs : {8, 32, 128}) {
        const NurbsCurve c = cvs == 32 ? NurbsCurve::openUniform(3, randomPoints(rng, cvs)) : randomCubic(rng, cvs);
        double s = 0, e = 0;
        c.knotDomain(s, e);
        for (int q = 0; q < 24; ++q) {
            const double spread = q % 2 ? 0.2 : 6.0;  // near the curve, and far from it
            const Vec3 p = c.pointAt(s + (e - s) * (0.5 + 0.5 * u(rng))) + Vec3{u(rng), u(rng), u(rng)} * spread;
            const auto r = c.closestPoint(p, 0.01);
            const double ref = bruteForceDistance(c, p);
            EXPECT_NEAR(r.distance, ref, 1e-9) << cvs << " query " << q;
            EXPECT_LT(host::geom::distance(c.pointAt(r.param), r.point), 1e-12);
            EXPECT_DOUBLE_EQ(r.distance, host::geom::distance(r.point, p));
        }
        // Points on the curve, and beyond its ends along the end tangents.
        for (int q = 0; q < 20; ++q) {
            const Vec3 on = c.pointAt(s + (e - s) * q / 19.0);
            EXPECT_LT(c.closestPoint(on, 0.01).distance, 1e-12);
        }
        EXPECT_EQ(c.closestPoint(c.pointAt(s) - c.tangent(s) * 0.01).param, s);
        EXPECT_EQ(c.closestPoint(c.pointAt(e) + c.tangent(e) * 0.01).param, e);
    }
}
