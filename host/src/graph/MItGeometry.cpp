#include <maya/MItGeometry.h>

#include "data/Data.h"
#include "data/GeometryPoints.h"
#include "graph/Value.h"

#include <maya/MDataHandle.h>

namespace {

// A writable iterator works on its own copy of the handle's data, which then becomes the handle's value,
// so data shared with other plugs never changes under them.
std::unique_ptr<host::GeometryPoints> pointsOf(MDataHandle& data, bool readOnly) {
    MObject object = data.data();
    if (object.isNull()) return nullptr;
    if (!readOnly) {
        auto d = std::dynamic_pointer_cast<host::Data>(object.impl());
        if (!d) return nullptr;
        MObject copy(d->clone());
        auto points = host::geometryPoints(copy);
        if (points && data.hostValue()) data.hostValue()->data() = copy;  // same kind as the value it replaces
        return points;
    }
    return host::geometryPoints(object);
}

}  // namespace

MItGeometry::MItGeometry(MDataHandle& data, bool readOnly, MStatus* status)
    : points_(pointsOf(data, readOnly)), readOnly_(readOnly) {
    if (status) *status = points_ ? MStatus::kSuccess : MStatus::kInvalidParameter;
    if (points_) {
        if (!points_->allMembers()) members_ = points_->members();
        visit(points_->allMembers());
    }
}

MItGeometry::MItGeometry(std::unique_ptr<host::GeometryPoints> points, std::vector<int> members, bool all, bool readOnly)
    : points_(std::move(points)), members_(std::move(members)), readOnly_(readOnly) {
    if (points_) visit(all);
}

void MItGeometry::visit(bool all) {
    coords_ = points_->copyCoordinates();
    source_ = points_->sourceCoordinates();
    copied_ = points_->copied();
    list_ = all ? nullptr : members_.data();
    size_ = all ? static_cast<size_t>(points_->count()) : members_.size();
    componentType_ = points_->componentType();
    dims_[0] = points_->dimension(0);
    dims_[1] = points_->dimension(1);
}

void MItGeometry::copyPast(size_t i) {
    points_->copyTo(i + kCopyAhead);
    coords_ = points_->copyCoordinates();
    copied_ = points_->copied();
}

MItGeometry::~MItGeometry() {
    if (points_ && changed_ && !readOnly_) points_->commit();
}
