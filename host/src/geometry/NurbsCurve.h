#pragma once

#include "geometry/Vec3.h"

#include <string>
#include <vector>

namespace host::geom {

// Result of NurbsCurve::closestPoint. found is false only for an invalid curve or a non-finite query point.
struct CurveClosestPoint {
    bool found = false;
    Vec3 point;
    double param = 0.0;
    double distance = 0.0;
};

// Non-rational B-spline curve in Maya's knot convention: n CVs of degree d carry n + d - 1 knots (the
// textbook vector without its first and last knot). The parameter domain is [knot[d-1], knot[n-1]].
//
// Construction validates and never throws. Invalid: degree < 1 or > 15, fewer than d + 1 CVs, a knot
// count other than n + d - 1, decreasing knots, a knot repeated more than d times, an empty domain, or a
// non-finite CV or knot. An invalid curve reports isValid() == false with a reason in error(),
// form() == kInvalid, and every query returns zeros (closestPoint returns found == false).
//
// Evaluation: every parameter is clamped into the domain (NaN reads as the domain start). Derivatives are
// taken with respect to the knot parameter; at an interior knot they are right-sided limits, at the domain
// end left-sided.
//
// Construction precomputes everything the queries need, and queries never allocate, so one curve can
// serve many threads reading it at once. The curve is cut into segments (each non-empty knot span, halved
// until its Bezier control polygon turns by at most 60 degrees), each holding power-basis coefficients,
// a bounding box, and samples with balls around the curve between them; a box tree groups the segments.
class NurbsCurve {
public:
    enum Form { kInvalid = 0, kOpen = 1, kClosed = 2, kPeriodic = 3 };

    NurbsCurve() = default;  // invalid, empty
    NurbsCurve(int degree, std::vector<Vec3> cvs, std::vector<double> knots);

    // Open curve with clamped ends through the CVs as Maya's `curve -d d -p ...` builds it: knots
    // 0 (d times), 1, 2, ..., n-d-1, n-d (d times). Domain [0, n - d].
    static NurbsCurve openUniform(int degree, const std::vector<Vec3>& cvs);
    // Periodic curve over m distinct points: the CVs are the points followed by the first d points again,
    // knots are uniform -(d-1), ..., m + d - 1. Domain [0, m]. Needs m >= max(d, 2).
    static NurbsCurve periodicUniform(int degree, const std::vector<Vec3>& points);

    bool isValid() const { return valid_; }
    const std::string& error() const { return error_; }

    int degree() const { return degree_; }
    int numCVs() const { return static_cast<int>(cvs_.size()); }
    int numKnots() const { return static_cast<int>(knots_.size()); }
    int numSpans() const { return valid_ ? numCVs() - degree_ : 0; }
    const std::vector<Vec3>& cvs() const { return cvs_; }
    const std::vector<double>& knots() const { return knots_; }
    bool getCV(int index, Vec3& out) const;
    bool knotDomain(double& start, double& end) const;

    // kPeriodic when the last d CVs repeat the first d and the knot spacing repeats with period
    // n - d spans; otherwise kClosed when the end point equals the start point; otherwise kOpen.
    // Points compare equal within 1e-9 times the size of the CV bounding box (absolute 1e-12 at least).
    Form form() const { return form_; }

    Vec3 pointAt(double t) const;
    // order-th derivative with respect to t (order 0 is the point); zero beyond the degree.
    Vec3 derivative(double t, int order) const;
    // Point, first and second derivative in one pass; any pointer may be null.
    void evaluate(double t, Vec3* point, Vec3* d1, Vec3* d2) const;

    // Unit tangent (the first derivative normalised). Where the first derivative vanishes (a cusp or
    // stationary parameterisation) the direction is the limit of the tangent approaching from above
    // (from below at the domain end), i.e. the first non-vanishing higher derivative; where the whole
    // segment is stationary, the tangent of the nearest moving segment (forward first). Zero only when
    // every CV coincides.
    Vec3 tangent(double t) const;

    // Unit principal normal: the part of the second derivative perpendicular to the tangent (higher
    // derivatives if that vanishes). On straight stretches it is the unit vector perpendicular to the
    // tangent closest to the coordinate axis least aligned with the tangent (ties: x before y before z).
    // Zero only when every CV coincides.
    Vec3 normal(double t) const;

    // Global closest point on the whole curve, end points included (a point beyond an end gets that end's
    // parameter exactly). Segments are visited nearest box first and skipped once their box cannot beat
    // the best distance found; within a segment every bracketed minimum is refined by Newton with a
    // bisection safeguard. The parameter is refined to about 1e-13 of the segment whatever the
    // tolerance, which is accepted for callers that state one. Where several points are equally near, any of them
    // may be returned.
    CurveClosestPoint closestPoint(const Vec3& p, double tolerance = 1e-3) const;

private:
    static constexpr int kPieces = 4;  // sample intervals per segment in the closest-point search

    struct Segment {
        double t0;
        double t1;
    };
    struct Sample {  // curve point and derivatives (in s) at s = j / kPieces
        Vec3 point;
        Vec3 d1;
        Vec3 d2;
    };
    struct Piece {  // ball holding the curve over one sample interval (from its Bezier hull)
        Vec3 center;
        double radius;
    };
    struct Box {  // axis-aligned, as centre and half extents
        Vec3 center;
        Vec3 half;
    };
    struct Node {
        Box box;
        int first;  // leaf: first segment; inner: left child
        int count;  // leaf: number of segments (1..kLeafSize); inner: 0, right child is `second`
        int second;
    };
    static constexpr int kLeafSize = 8;

    void fail(const char* why);
    bool validate();
    void buildSegments();
    void addSegment(int span, double a, double b, int depth);
    int buildTree(int first, int last);
    void searchLeaf(const Node& leaf, const Vec3& p, double& bestSq, int& bestSeg, double& bestS) const;
    void classifyForm();
    Vec3 blossom(int span, const double* args) const;
    void bezierPoints(int span, double a, double b, Vec3* out) const;
    int segmentAt(double t, double& s) const;
    const Vec3* coeffs(int seg) const { return &coeffs_[static_cast<size_t>(seg) * (degree_ + 1)]; }
    Vec3 segmentDerivative(int seg, double s, int order) const;
    bool directionAt(int& seg, double& s, bool& fromBelow, Vec3& dir, int& order) const;
    static double hermiteRoot(const Sample& a, const Sample& b, const Vec3& p, double g0, double g1, double w);
    template <int D>
    void searchSegment(int seg, const Vec3& p, double& bestSq, int& bestSeg, double& bestS) const;

    bool valid_ = false;
    std::string error_ = "empty curve";
    int degree_ = 0;
    std::vector<Vec3> cvs_;
    std::vector<double> knots_;
    Form form_ = kInvalid;
    double size_ = 0.0;  // diagonal of the CV bounding box

    std::vector<Segment> segments_;
    std::vector<Vec3> coeffs_;  // (degree + 1) power-basis coefficients per segment, in s = (t - t0)/(t1 - t0)
    std::vector<Sample> samples_;  // kPieces + 1 per segment
    std::vector<Piece> pieces_;    // kPieces per segment
    std::vector<Box> boxes_;       // Bezier hull box per segment
    std::vector<Node> nodes_;      // box tree over runs of segments; nodes_[0] is the root
};

}  // namespace host::geom
