#include "geometry/NurbsSurface.h"
#include "geometry/NurbsSurfacePrimitives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using host::geom::NurbsSurface;
using host::geom::SurfaceTriangle;
using host::geom::Vec3;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Independent basis: Cox-de Boor recursion on the textbook knot vector (Maya's plus one knot at each end).
std::vector<double> referenceBasis(std::vector<double> u, int n, int d, double t) {
    u.insert(u.begin(), u.front());
    u.push_back(u.back());
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
    basis.resize(n);
    return basis;
}

Vec3 referencePoint(const NurbsSurface& s, double u, double v) {
    const std::vector<double> bu = referenceBasis(s.knotsInU(), s.numCVsInU(), s.degreeU(), u);
    const std::vector<double> bv = referenceBasis(s.knotsInV(), s.numCVsInV(), s.degreeV(), v);
    Vec3 p;
    for (int i = 0; i < s.numCVsInU(); ++i) {
        for (int j = 0; j < s.numCVsInV(); ++j) p += s.cvs()[i * s.numCVsInV() + j] * (bu[i] * bv[j]);
    }
    return p;
}

std::vector<double> randomKnots(std::mt19937& rng, int n, int d) {
    std::uniform_real_distribution<double> gap(0.2, 2.0);
    std::vector<double> knots(d, 0.5);
    for (int i = 0; i < n - d - 1; ++i) knots.push_back(knots.back() + gap(rng));
    const double end = knots.back() + gap(rng);
    knots.insert(knots.end(), d, end);
    return knots;
}

NurbsSurface randomSurface(std::mt19937& rng, int du, int dv, int nu, int nv) {
    std::uniform_real_distribution<double> c(-2.0, 2.0);
    std::vector<Vec3> cvs;
    for (int i = 0; i < nu * nv; ++i) cvs.push_back({c(rng), c(rng), c(rng)});
    return NurbsSurface(du, dv, nu, nv, cvs, randomKnots(rng, nu, du), randomKnots(rng, nv, dv));
}

void expectNear(const Vec3& a, const Vec3& b, double tol) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

}  // namespace

TEST(NurbsSurfaceGeometry, EvaluationAndDerivativesMatchAnIndependentBasis) {
    std::mt19937 rng(7);
    for (const auto& degrees : {std::pair{3, 3}, std::pair{2, 5}, std::pair{1, 7}, std::pair{4, 1}}) {
        const NurbsSurface s = randomSurface(rng, degrees.first, degrees.second, degrees.first + 4, degrees.second + 3);
        ASSERT_TRUE(s.isValid()) << s.error();
        double u0, u1, v0, v1;
        ASSERT_TRUE(s.knotDomain(u0, u1, v0, v1));
        EXPECT_EQ(u0, 0.5);
        EXPECT_EQ(v0, 0.5);
        for (int k = 0; k <= 10; ++k) {
            const double u = u0 + (u1 - u0) * k / 10.0;
            const double v = v0 + (v1 - v0) * (10 - k) / 10.0 * 0.97;
            Vec3 p, su, sv;
            s.evaluate(u, v, &p, &su, &sv);
            expectNear(p, referencePoint(s, u, v), 1e-12);
            // Central differences away from the ends (the knots inside are crossed too: the surface is C1
            // there for degrees above 1, and the difference straddling a degree-1 knot is checked loosely).
            const double h = 1e-6;
            if (u > u0 + h && u < u1 - h && degrees.first > 1) {
                expectNear(su, (s.pointAt(u + h, v) - s.pointAt(u - h, v)) / (2 * h), 1e-5);
            }
            if (v > v0 + h && v < v1 - h && degrees.second > 1) {
                expectNear(sv, (s.pointAt(u, v + h) - s.pointAt(u, v - h)) / (2 * h), 1e-5);
            }
        }
        // Outside the domain the parameters are clamped; NaN reads as the start.
        expectNear(s.pointAt(u0 - 5.0, v1 + 5.0), s.pointAt(u0, v1), 0.0);
        expectNear(s.pointAt(std::nan(""), std::nan("")), s.pointAt(u0, v0), 0.0);
    }
}

TEST(NurbsSurfaceGeometry, RefusesMalformedInput) {
    const std::vector<Vec3> cvs(16);
    const std::vector<double> k{0, 0, 0, 1, 1, 1};
    EXPECT_TRUE(NurbsSurface(3, 3, 4, 4, cvs, k, k).isValid());
    EXPECT_FALSE(NurbsSurface(3, 3, 4, 4, cvs, k, {0, 0, 0, 1, 1, 1, 1}).isValid());  // knot count
    EXPECT_FALSE(NurbsSurface(3, 3, 4, 4, std::vector<Vec3>(15), k, k).isValid());     // CV count
    EXPECT_FALSE(NurbsSurface(3, 3, 4, 4, cvs, {0, 0, 0, 2, 1, 1}, k).isValid());     // decreasing
    EXPECT_FALSE(NurbsSurface(3, 3, 4, 4, cvs, k, {0, 0, 0, 0, 1, 1}).isValid());     // multiplicity
    EXPECT_FALSE(NurbsSurface(3, 3, 4, 4, cvs, k, {1, 1, 1, 1, 1, 1}).isValid());     // empty domain
    EXPECT_FALSE(NurbsSurface(8, 3, 9, 4, std::vector<Vec3>(36), std::vector<double>(16, 0.0), k).isValid());
    EXPECT_FALSE(NurbsSurface(3, 3, -4, -4, cvs, k, k).isValid());
    std::vector<Vec3> bad = cvs;
    bad[5].y = std::nan("");
    const NurbsSurface invalid(3, 3, 4, 4, bad, k, k);
    EXPECT_FALSE(invalid.isValid());
    EXPECT_FALSE(invalid.error().empty());
    EXPECT_EQ(invalid.formInU(), NurbsSurface::kInvalid);
    EXPECT_EQ(invalid.area(0.01), 0.0);
    EXPECT_TRUE(invalid.tessellate().empty());
    EXPECT_EQ(invalid.normal(0.5, 0.5), Vec3{});
}

TEST(NurbsSurfaceGeometry, PlaneHasItsWidthAreaNormalAndLinearParameters) {
    for (const int degree : {1, 2, 3, 5}) {
        const NurbsSurface plane = host::geom::makePlane(2.0, 1.5, 3, 2, degree, {0.0, 1.0, 0.0});
        ASSERT_TRUE(plane.isValid()) << plane.error();
        EXPECT_EQ(plane.numCVsInU(), 3 + degree);
        EXPECT_EQ(plane.numKnotsInV(), 2 + 2 * degree - 1);
        EXPECT_EQ(plane.numSpansInU(), 3);
        EXPECT_EQ(plane.formInU(), NurbsSurface::kOpen);
        EXPECT_EQ(plane.formInV(), NurbsSurface::kOpen);
        double u0, u1, v0, v1;
        plane.knotDomain(u0, u1, v0, v1);
        EXPECT_EQ(u0, 0.0);
        EXPECT_EQ(u1, 3.0);
        EXPECT_EQ(v1, 2.0);
        EXPECT_NEAR(plane.area(0.01), 2.0 * 3.0, 1e-9);
        // Width along x, length along -z, normal +y; the parameterisation is linear.
        expectNear(plane.pointAt(0.0, 0.0), {-1.0, 0.0, 1.5}, 1e-12);
        expectNear(plane.pointAt(3.0, 2.0), {1.0, 0.0, -1.5}, 1e-12);
        expectNear(plane.pointAt(1.0, 1.5), {-1.0 + 2.0 / 3.0, 0.0, -0.75}, 1e-12);
        expectNear(plane.normal(0.3, 1.7), {0.0, 1.0, 0.0}, 1e-12);
    }
    const NurbsSurface tilted = host::geom::makePlane(1.0, 2.0, 1, 1, 3, {1.0, 1.0, 0.0});
    expectNear(tilted.normal(0.5, 0.5), {std::sqrt(0.5), std::sqrt(0.5), 0.0}, 1e-12);
    EXPECT_NEAR(tilted.area(1e-6), 2.0, 1e-9);
    EXPECT_FALSE(host::geom::makePlane(1.0, 1.0, 1, 1, 3, {0.0, 0.0, 0.0}).isValid());
}

TEST(NurbsSurfaceGeometry, SphereApproachesTheRoundSphere) {
    const double r = 2.0;
    const NurbsSurface sphere = host::geom::makeSphere(r, 8, 4, 3, {0.0, 1.0, 0.0});
    ASSERT_TRUE(sphere.isValid()) << sphere.error();
    EXPECT_EQ(sphere.formInU(), NurbsSurface::kOpen);
    EXPECT_EQ(sphere.formInV(), NurbsSurface::kPeriodic);
    EXPECT_EQ(sphere.numCVsInV(), 11);  // 8 sections plus the 3 repeated
    double u0, u1, v0, v1;
    sphere.knotDomain(u0, u1, v0, v1);
    EXPECT_EQ(u1 - u0, 4.0);
    EXPECT_EQ(v0, 0.0);
    EXPECT_EQ(v1, 8.0);
    const double exact = 4.0 * kPi * r * r;
    EXPECT_NEAR(sphere.area(0.01), exact, 0.01 * exact);
    const NurbsSurface fine = host::geom::makeSphere(r, 32, 16, 3, {0.0, 1.0, 0.0});
    EXPECT_NEAR(fine.area(0.01), exact, 0.001 * exact);
    // The area is converged to the tolerance asked, whatever the surface's own error.
    EXPECT_NEAR(sphere.area(1e-3), sphere.area(1e-7), 1e-3);

    // Poles, the seam at v = 0 in the +x half plane, and the sphere met at every knot crossing.
    expectNear(sphere.pointAt(u0, 3.3), {0.0, -r, 0.0}, 1e-12);
    expectNear(sphere.pointAt(u1, 3.3), {0.0, r, 0.0}, 1e-12);
    for (int i = 0; i <= 4; ++i) {
        for (int j = 0; j <= 8; ++j) EXPECT_NEAR(host::geom::length(sphere.pointAt(i, j)), r, 1e-12);
    }
    const Vec3 seam = sphere.pointAt(2.0, 0.0);
    EXPECT_NEAR(seam.x, r, 1e-12);
    EXPECT_NEAR(seam.z, 0.0, 1e-12);
    EXPECT_GT(sphere.pointAt(2.0, 0.5).z, 0.0);  // turning from +x towards +z

    // Outward normals, close to radial everywhere; exactly the axis at the poles.
    for (double u = u0; u <= u1; u += 0.25) {
        for (double v = v0; v <= v1; v += 0.5) {
            const Vec3 n = sphere.normal(u, v);
            EXPECT_NEAR(host::geom::length(n), 1.0, 1e-12);
            EXPECT_GT(host::geom::dot(n, host::geom::normalized(sphere.pointAt(u, v))), 0.99);
        }
    }
    expectNear(sphere.normal(u0, 1.0), {0.0, -1.0, 0.0}, 1e-5);
    expectNear(sphere.normal(u1, 5.0), {0.0, 1.0, 0.0}, 1e-5);

    // Periodic in V: the seam closes with matching derivatives.
    for (const double u : {0.7, 2.0, 3.1}) {
        Vec3 p0, su0, sv0, p1, su1, sv1;
        sphere.evaluate(u, v0, &p0, &su0, &sv0);
        sphere.evaluate(u, v1, &p1, &su1, &sv1);
        expectNear(p0, p1, 1e-12);
        expectNear(su0, su1, 1e-12);
        expectNear(sv0, sv1, 1e-12);
    }
    EXPECT_FALSE(host::geom::makeSphere(1.0, 2, 4, 3, {0.0, 1.0, 0.0}).isValid());
}

TEST(NurbsSurfaceGeometry, ClosedButNotPeriodicDirection) {
    // A clamped cylinder wall: the first and last columns of CVs coincide, the knots do not repeat.
    std::vector<Vec3> cvs;
    const Vec3 ring[5] = {{1, 0, 0}, {0, 0, 1}, {-1, 0, 0}, {0, 0, -1}, {1, 0, 0}};
    for (int i = 0; i < 2; ++i) {
        for (const Vec3& p : ring) cvs.push_back(p + Vec3{0.0, static_cast<double>(i), 0.0});
    }
    const NurbsSurface wall(1, 2, 2, 5, cvs, {0, 1}, {0, 0, 1, 2, 3, 3});
    ASSERT_TRUE(wall.isValid()) << wall.error();
    EXPECT_EQ(wall.formInU(), NurbsSurface::kOpen);
    EXPECT_EQ(wall.formInV(), NurbsSurface::kClosed);
}

TEST(NurbsSurfaceGeometry, TessellationCornersLieOnTheSurfaceInDocumentedOrder) {
    const NurbsSurface sphere = host::geom::makeSphere(1.0, 8, 4, 3, {0.0, 0.0, 1.0});
    const std::vector<SurfaceTriangle> tris = sphere.tessellate(2, 3);
    ASSERT_EQ(tris.size(), 2u * (4 * 2) * (8 * 3));
    for (const SurfaceTriangle& t : tris) {
        for (const auto& c : t.corner) expectNear(c.point, sphere.pointAt(c.u, c.v), 1e-14);
    }
    // The first cell: (0,0) (0.5,0) (0.5,1/3), then (0,0) (0.5,1/3) (0,1/3); V runs fastest.
    EXPECT_EQ(tris[0].corner[1].u, 0.5);
    EXPECT_EQ(tris[0].corner[1].v, 0.0);
    EXPECT_NEAR(tris[0].corner[2].v, 1.0 / 3.0, 1e-15);
    EXPECT_EQ(tris[1].corner[2].u, 0.0);
    EXPECT_NEAR(tris[2].corner[0].v, 1.0 / 3.0, 1e-15);
    // The grid ends on the domain ends exactly.
    EXPECT_EQ(tris.back().corner[1].u, 4.0);
    EXPECT_EQ(tris.back().corner[1].v, 8.0);
    // Non-degenerate triangles face the way the surface normal does.
    int facing = 0;
    for (const SurfaceTriangle& t : tris) {
        const Vec3 n = host::geom::cross(t.corner[1].point - t.corner[0].point, t.corner[2].point - t.corner[0].point);
        if (host::geom::length(n) < 1e-12) continue;
        const double u = (t.corner[0].u + t.corner[1].u + t.corner[2].u) / 3.0;
        const double v = (t.corner[0].v + t.corner[1].v + t.corner[2].v) / 3.0;
        EXPECT_GT(host::geom::dot(n, sphere.normal(u, v)), 0.0);
        ++facing;
    }
    EXPECT_EQ(facing, static_cast<int>(tris.size()) - 2 * 8 * 3);  // one collapsed triangle per pole cell

    // Default steps: 4 per span, 1 along a degree-1 direction.
    const NurbsSurface plane = host::geom::makePlane(1.0, 1.0, 2, 3, 1, {0.0, 1.0, 0.0});
    EXPECT_EQ(plane.tessellate().size(), 2u * 2 * 3);
    EXPECT_EQ(sphere.tessellate().size(), 2u * 16 * 32);
}
