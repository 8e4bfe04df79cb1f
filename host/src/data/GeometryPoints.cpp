#include "data/GeometryPoints.h"

#include "data/LatticeData.h"
#include "data/MeshData.h"
#include "data/NurbsCurveData.h"
#include "data/NurbsSurfaceData.h"

#include <algorithm>

namespace host {

static_assert(sizeof(geom::Vec3) == 3 * sizeof(double), "points are stored as three packed doubles");

void GeometryPoints::copyTo(size_t end) {
    if (end > count_) end = count_;
    if (end <= points_.size()) return;
    if (points_.capacity() < count_) points_.reserve(count_);  // the coordinates then never move
    points_.insert(points_.end(), source_ + points_.size(), source_ + end);
}

void GeometryPoints::copyAll(const std::vector<geom::Vec3>& points) {
    points_ = points;
    source_ = points_.data();
    count_ = points_.size();
}

bool GeometryPoints::isMember(int index) const {
    if (index < 0 || index >= count()) return false;
    return allMembers_ || std::binary_search(members_.begin(), members_.end(), index);
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
        copyAll(curve.cvs());
        dims_[0] = count();
        int distinct = count() - (curve.form() == geom::NurbsCurve::kPeriodic ? curve.degree() : 0);
        allMembers_ = distinct == count();
        if (!allMembers_)
            for (int i = 0; i < distinct; ++i) members_.push_back(i);
    }

    void commitPoints() override {
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

class MeshPoints : public GeometryPoints {
public:
    explicit MeshPoints(std::shared_ptr<MeshData> data) : data_(std::move(data)), mesh_(data_->sharedMesh()) {
        source_ = mesh_->points().data();
        count_ = mesh_->points().size();
        dims_[0] = count();
    }

    // The points came from the valid mesh and the geometry iterator writes only finite ones.
    void commitPoints() override {
        data_->setMesh(std::make_shared<const geom::PolyMesh>(mesh_->withFinitePoints(std::move(points_))));
    }

private:
    std::shared_ptr<MeshData> data_;
    std::shared_ptr<const geom::PolyMesh> mesh_;  // the mesh whose points are read until copied
};

class SurfacePoints : public GeometryPoints {
public:
    explicit SurfacePoints(std::shared_ptr<NurbsSurfaceData> data) : data_(std::move(data)) {
        const geom::NurbsSurface& s = data_->surface();
        componentType_ = MFn::kDoubleIndexedComponent;
        copyAll(s.cvs());
        dims_[0] = s.numCVsInU();
        dims_[1] = s.numCVsInV();
        distinct_[0] = dims_[0] - (s.formInU() == geom::NurbsSurface::kPeriodic ? s.degreeU() : 0);
        distinct_[1] = dims_[1] - (s.formInV() == geom::NurbsSurface::kPeriodic ? s.degreeV() : 0);
        allMembers_ = distinct_[0] == dims_[0] && distinct_[1] == dims_[1];
        if (!allMembers_)
            for (int i = 0; i < distinct_[0]; ++i)
                for (int j = 0; j < distinct_[1]; ++j) members_.push_back(i * dims_[1] + j);
    }

    void commitPoints() override {
        const geom::NurbsSurface& s = data_->surface();
        for (int i = 0; i < dims_[0]; ++i)
            for (int j = 0; j < dims_[1]; ++j)
                points_[static_cast<size_t>(i * dims_[1] + j)] =
                    points_[static_cast<size_t>((i % distinct_[0]) * dims_[1] + j % distinct_[1])];
        data_->setSurface(geom::NurbsSurface(s.degreeU(), s.degreeV(), dims_[0], dims_[1], points_, s.knotsInU(),
                                             s.knotsInV()));
    }

private:
    std::shared_ptr<NurbsSurfaceData> data_;
    int distinct_[2] = {0, 0};
};

class LatticePoints : public GeometryPoints {
public:
    explicit LatticePoints(std::shared_ptr<LatticeData> data) : data_(std::move(data)) {
        const geom::Lattice& l = data_->lattice();
        componentType_ = MFn::kTripleIndexedComponent;
        copyAll(l.points());
        dims_[0] = l.sDivisions();
        dims_[1] = l.tDivisions();
        dims_[2] = l.uDivisions();
    }

    void commitPoints() override {
        const geom::Lattice& l = data_->lattice();
        data_->setLattice(geom::Lattice(l.sDivisions(), l.tDivisions(), l.uDivisions(), points_));
    }

private:
    std::shared_ptr<LatticeData> data_;
};

}  // namespace

std::unique_ptr<GeometryPoints> geometryPoints(const MObject& data) {
    if (auto curve = std::dynamic_pointer_cast<NurbsCurveData>(data.impl())) {
        if (!curve->curve().isValid()) return nullptr;
        return std::make_unique<CurvePoints>(curve);
    }
    if (auto mesh = std::dynamic_pointer_cast<MeshData>(data.impl())) {
        if (!mesh->mesh().isValid()) return nullptr;
        return std::make_unique<MeshPoints>(mesh);
    }
    if (auto surface = std::dynamic_pointer_cast<NurbsSurfaceData>(data.impl())) {
        if (!surface->surface().isValid()) return nullptr;
        return std::make_unique<SurfacePoints>(surface);
    }
    if (auto lattice = std::dynamic_pointer_cast<LatticeData>(data.impl())) {
        if (!lattice->lattice().isValid()) return nullptr;
        return std::make_unique<LatticePoints>(lattice);
    }
    return nullptr;
}

}  // namespace host
