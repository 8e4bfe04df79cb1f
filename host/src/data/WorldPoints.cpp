#include "data/WorldPoints.h"

namespace host {

std::vector<geom::Vec3> transformPoints(const std::vector<geom::Vec3>& points, const MMatrix& matrix) {
    const double(*m)[4] = matrix.matrix;
    std::vector<geom::Vec3> out;
    out.reserve(points.size());
    for (const geom::Vec3& p : points) {
        out.push_back({p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
                       p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
                       p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]});
    }
    return out;
}

bool isMirroring(const MMatrix& matrix) {
    const double(*m)[4] = matrix.matrix;
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    return det < 0.0;
}

}  // namespace host
