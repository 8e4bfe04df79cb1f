#include "data/GeometryPoints.h"

#include "data/NurbsCurveData.h"

#include <algorithm>

namespace host {

bool GeometryPoints::isMember(int index) const {
    if (index < 0 || index >= count()) return false;
    return allMembers_ || std::binary_search(members_.begin(), members_.end(), index);
}

bool GeometryPoints::indicesOf(int index, int* out) const {
    if (index < 0 || index >= count()) return false;
    int n = static_cast<int>(componentType_) - static_cast<int>(MFn::kSingleIndexedComponent) + 1;
    if (n == 1) {
        out[0] = index;
    } else if (n == 2) {
        out[0] = index / dims_[1];
        out[1] = index % dims_[1];
    } else {
        out[0] = index % dims_[0];
        out[1] = (index / dims_[0]) % dims_[1];
        out[2] = index / (dims_[0] * dims_[1]);
    }
    return true;
}

int GeometryPoints::indexOf(const int* indices) const {
    int n = static_cast<int>(componentType_) - static_cast<int>(MFn::kSingleIndexedComponent) + 1;
    for (int k = 0; k < n; ++k)
        if (indices[k] < 0 || indices[k] >= dims_[k]) return -1;
    if (n == 1) return indices[0];
    if (n == 2) return indices[0] * dims_[1] + indices[1];
    return indices[0] + dims_[0] * (indices[1] + dims_[1] * indices[2]);
}

namespace {

class CurvePoints : public GeometryPoints {
public:
    explicit CurvePoints(std::shared_ptr<NurbsCurveData> data) : data_(std::move(data)) {
        const geom::NurbsCurve& curve = data_->curve();
        points_ = curve.cvs();
        dims_[0] = count();
        int distinct = count() - (curve.form() == geom::NurbsCurve::kPeriodic ? curve.degree() : 0);
        allMembers_ = distinct == count();
        for (int i = 0; i < distinct; ++i) members_.push_back(i);
    }

    void commit() override {
        const geom::NurbsCurve& curve = data_->curve();
        if (curve.form() == geom::NurbsCurve::kPeriodic) {
            int distinct = count() - curve.degree();
            for (int i = distinct; i < count(); ++i) points_[static_cast<size_t>(i)] = points_[static_cast<size_t>(i - distinct)];
        }
        data_->setCurve(geom::NurbsCurve(curve.degree(), points_, curve.knots()));
    }

private:
    std::shared_ptr<NurbsCurveData> data_;
};

}  // namespace

std::unique_ptr<GeometryPoints> geometryPoints(const MObject& data) {
    if (auto curve = std::dynamic_pointer_cast<NurbsCurveData>(data.impl())) {
        if (!curve->curve().isValid()) return nullptr;
        return std::make_unique<CurvePoints>(curve);
    }
    return nullptr;
}

}  // namespace host
