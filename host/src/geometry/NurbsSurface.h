#pragma once

#include "geometry/Vec3.h"

#include <string>
#include <utility>
#include <vector>

namespace host::geom {

// One corner of a tessellation triangle: its point on the surface and the surface parameter there.
struct SurfaceCorner {
    Vec3 point;
    double u = 0.0;
    double v = 0.0;
};

struct SurfaceTriangle {
    SurfaceCorner corner[3];
};

// Non-rational tensor-product B-spline surface in Maya's knot convention: a direction with n CVs of
// degree d carries n + d - 1 knots (the textbook vector without its first and last knot), and its
// parameter domain is [knot[d-1], knot[n-1]].
//
// CVs are stored U-major: CV (i, j), i along U and j along V, is cvs()[i * numCVsInV() + j].
//
// Construction validates and never throws. Invalid: a degree outside 1..7, fewer than d + 1 CVs in a
// direction, a CV count other than numCVsInU * numCVsInV, a knot count other than n + d - 1, decreasing
// knots, a knot repeated more than d times, an empty domain, or a non-finite CV or knot. An invalid
// surface reports isValid() == false with a reason in error(), forms kInvalid, and every query returns
// zeros (area 0, no triangles).
//
// Evaluation: parameters are clamped into the domain in every form (NaN reads as the domain start).
// Derivatives are taken with respect to the knot parameters; at an interior knot they are right-sided
// limits, at the domain end left-sided.
//
// Normal orientation: the unit normal is Su x Sv, the cross product of the partial derivatives in U and V
// taken in that order. Where Su x Sv vanishes (a pole where a whole row of CVs coincides, a collapsed
// edge) the normal is the one a small step (1e-6 of each domain length) inside the domain towards its
// centre, close to the limit of the normal approaching the degenerate point from there.
//
// Queries never change the surface; one surface can be read by many threads at once.
class NurbsSurface {
public:
    enum Form { kInvalid = 0, kOpen = 1, kClosed = 2, kPeriodic = 3 };
    static constexpr int kMaxDegree = 7;

    NurbsSurface() = default;  // invalid, empty
    NurbsSurface(int degreeU, int degreeV, int numCVsU, int numCVsV, std::vector<Vec3> cvs,
                 std::vector<double> knotsU, std::vector<double> knotsV);

    bool isValid() const { return valid_; }
    const std::string& error() const { return error_; }

    // The same degrees and knots over other CVs (U-major, as cvs()); for moving or deforming a surface.
    // In a periodic direction the last d rows of CVs repeat the first d: the surface stays periodic only
    // when the new CVs repeat them too (formInU/V() are found again from the new CVs).
    NurbsSurface withCVs(std::vector<Vec3> cvs) const {
        return NurbsSurface(degree_[0], degree_[1], count_[0], count_[1], std::move(cvs), knots_[0], knots_[1]);
    }

    int degreeU() const { return degree_[0]; }
    int degreeV() const { return degree_[1]; }
    int numCVsInU() const { return count_[0]; }
    int numCVsInV() const { return count_[1]; }
    int numKnotsInU() const { return static_cast<int>(knots_[0].size()); }
    int numKnotsInV() const { return static_cast<int>(knots_[1].size()); }
    int numSpansInU() const { return valid_ ? count_[0] - degree_[0] : 0; }
    int numSpansInV() const { return valid_ ? count_[1] - degree_[1] : 0; }
    const std::vector<Vec3>& cvs() const { return cvs_; }
    const std::vector<double>& knotsInU() const { return knots_[0]; }
    const std::vector<double>& knotsInV() const { return knots_[1]; }
    // False (out unchanged) when (i, j) is outside the CV grid.
    bool getCV(int i, int j, Vec3& out) const;
    // False (arguments unchanged) on an invalid surface.
    bool knotDomain(double& startU, double& endU, double& startV, double& endV) const;

    // Per direction: kPeriodic when the last d rows of CVs repeat the first d and the knot spacing
    // repeats with the period of n - d spans; otherwise kClosed when the two boundary curves across that
    // direction coincide (checked at several parameters along them); otherwise kOpen. Points compare
    // equal within 1e-9 times the diagonal of the CV bounding box (at least 1e-12).
    Form formInU() const { return form_[0]; }
    Form formInV() const { return form_[1]; }

    Vec3 pointAt(double u, double v) const;
    // Point and first partial derivatives in one pass; any pointer may be null.
    void evaluate(double u, double v, Vec3* point, Vec3* du, Vec3* dv) const;
    // Unit normal Su x Sv (see the class comment); zero only where the surface is degenerate all around.
    Vec3 normal(double u, double v) const;

    // Area: the integral of |Su x Sv| over the domain. Each patch (a pair of non-empty knot spans) is
    // integrated by the 5 x 5 Gauss-Legendre rule, with its difference from the 3 x 3 rule as the error
    // estimate; the cell of largest estimate is split into quarters until the estimates add up to at most
    // the tolerance (an absolute error in area units; one that is not positive and finite means 1e-3).
    // Cells stop splitting 10 levels down, and one call makes at most 20000 splits.
    double area(double tolerance) const;

    // Triangles over the domain. Each non-empty knot span is cut into equal steps (stepsU per span in U,
    // stepsV in V; values below 1 read as 1) which makes a grid of parameter lines u0 < u1 < ... and
    // v0 < v1 < ...; each grid cell (a, b), between u(a), u(a+1), v(b) and v(b+1), gives two triangles,
    //     (u(a),v(b)) (u(a+1),v(b)) (u(a+1),v(b+1))   and   (u(a),v(b)) (u(a+1),v(b+1)) (u(a),v(b+1)),
    // so each triangle turns counter-clockwise in (u, v) and its geometric normal follows Su x Sv. Cells go
    // in order of a, and within one a in order of b (V fastest). Corners carry object-space points and
    // their (u, v) in the knot domain; the grid's end lines are exactly the domain ends. Every cell gives
    // its two triangles even where the surface collapses (at a pole one of them has zero area), so the
    // count depends only on the knots and the step counts.
    std::vector<SurfaceTriangle> tessellate(int stepsU, int stepsV) const;
    // Steps per span: 1 for a degree-1 direction, 4 otherwise.
    std::vector<SurfaceTriangle> tessellate() const;

private:
    void fail(const char* why);
    bool validate();
    bool validateDirection(int dir);
    void classifyForms();
    Form classify(int dir) const;
    int findSpan(int dir, double& t) const;
    void basis(int dir, int span, double t, double* n, double* dn) const;
    struct AreaCell {
        double u0, u1, v0, v1;
        double value;
        double error;
        int depth;
    };
    AreaCell areaCell(double u0, double u1, double v0, double v1, int depth) const;
    std::vector<double> gridLines(int dir, int steps) const;

    bool valid_ = false;
    std::string error_ = "empty surface";
    int degree_[2] = {0, 0};
    int count_[2] = {0, 0};
    std::vector<Vec3> cvs_;
    std::vector<double> knots_[2];
    Form form_[2] = {kInvalid, kInvalid};
    double size_ = 0.0;  // diagonal of the CV bounding box
};

}  // namespace host::geom
