#pragma once

#include "geometry/Vec3.h"

#include <string>
#include <vector>

namespace host::geom {

// A free-form deformation lattice: an S x T x U grid of points. Point (s, t, u) is points()[index(s, t, u)]
// with index = s + S * (t + T * u): s runs fastest, then t, then u. This linear order is also the order in
// which the host walks lattice points.
//
// The default lattice is 2 x 2 x 2. A regular lattice fills the unit cube centred at the origin: point
// (s, t, u) = (s / (S - 1) - 0.5, t / (T - 1) - 0.5, u / (U - 1) - 0.5), so s runs along x, t along y
// and u along z.
//
// Divisions are 2 to kMaxDivisions per direction (and at most kMaxPoints points in all); construction
// with others, or with a point count that does not match, or with a non-finite point, gives an invalid
// lattice with no points and divisions 0 (isValid() false, a reason in error()).
class Lattice {
public:
    static constexpr int kMaxDivisions = 1000;
    static constexpr int kMaxPoints = 1000000;

    Lattice();  // regular 2 x 2 x 2
    // Regular grid of the given divisions.
    Lattice(int s, int t, int u);
    Lattice(int s, int t, int u, std::vector<Vec3> points);

    bool isValid() const { return valid_; }
    const std::string& error() const { return error_; }

    int sDivisions() const { return div_[0]; }
    int tDivisions() const { return div_[1]; }
    int uDivisions() const { return div_[2]; }
    int count() const { return static_cast<int>(points_.size()); }
    const std::vector<Vec3>& points() const { return points_; }

    // -1 when (s, t, u) is outside the grid.
    int index(int s, int t, int u) const;
    // The (s, t, u) of a linear index; false when it is out of range.
    bool indices(int index, int& s, int& t, int& u) const;
    // False (out unchanged) when outside the grid.
    bool getPoint(int s, int t, int u, Vec3& out) const;
    // False when the index is out of range or the point is not finite.
    bool setPoint(int index, const Vec3& p);

    // The same lattice over new divisions: each new point is the trilinear blend of the old grid at the
    // same fractional place, so a regular lattice stays regular and an affine change of the grid
    // survives. False (unchanged) for divisions out of range.
    bool setDivisions(int s, int t, int u);

    // Checks divisions; the reason when they are not acceptable, "" when they are.
    static std::string checkDivisions(int s, int t, int u);

private:
    Vec3 blend(double fs, double ft, double fu) const;
    void fail(const std::string& why);

    bool valid_ = true;
    std::string error_;
    int div_[3] = {2, 2, 2};
    std::vector<Vec3> points_;
};

}  // namespace host::geom
