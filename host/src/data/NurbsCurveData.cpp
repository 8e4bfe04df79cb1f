#include "data/NurbsCurveData.h"

#include <utility>
#include <vector>

namespace host {

NurbsCurveData::NurbsCurveData() : curve_(std::make_shared<geom::NurbsCurve>()), world_(curve_) {}

NurbsCurveData::NurbsCurveData(geom::NurbsCurve curve, const MMatrix& world)
    : curve_(std::make_shared<geom::NurbsCurve>(std::move(curve))), world_(curve_), matrix_(world) {
    rebuildWorld();
}

NurbsCurveData::NurbsCurveData(std::shared_ptr<const geom::NurbsCurve> curve, const MMatrix& world)
    : curve_(curve ? std::move(curve) : std::make_shared<geom::NurbsCurve>()), world_(curve_), matrix_(world) {
    rebuildWorld();
}

void NurbsCurveData::setCurve(geom::NurbsCurve curve) {
    curve_ = std::make_shared<geom::NurbsCurve>(std::move(curve));
    rebuildWorld();
}

void NurbsCurveData::setWorldMatrix(const MMatrix& world) {
    matrix_ = world;
    rebuildWorld();
}

void NurbsCurveData::rebuildWorld() {
    if (matrix_ == MMatrix::identity || !curve_->isValid()) {
        world_ = curve_;
        return;
    }
    const double(*m)[4] = matrix_.matrix;
    std::vector<geom::Vec3> cvs;
    cvs.reserve(curve_->cvs().size());
    for (const geom::Vec3& p : curve_->cvs()) {
        cvs.push_back({p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
                       p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
                       p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]});
    }
    world_ = std::make_shared<geom::NurbsCurve>(curve_->degree(), std::move(cvs), curve_->knots());
}

MObject makeNurbsCurveData(geom::NurbsCurve curve, const MMatrix& world) {
    return MObject(std::make_shared<NurbsCurveData>(std::move(curve), world));
}

}  // namespace host
