#include <maya/MItGeometry.h>

#include "data/Component.h"
#include "data/Data.h"
#include "data/GeometryPoints.h"
#include "graph/Value.h"

#include <maya/MDataHandle.h>

#include <cmath>

namespace {

MStatus report(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

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
        if (points && data.hostValue()) data.hostValue()->data = copy;  // same kind as the value it replaces
        return points;
    }
    return host::geometryPoints(object);
}

}  // namespace

MItGeometry::MItGeometry(MDataHandle& data, bool readOnly, MStatus* status)
    : points_(pointsOf(data, readOnly)), readOnly_(readOnly) {
    report(status, points_ ? MStatus::kSuccess : MStatus::kInvalidParameter);
}

MItGeometry::MItGeometry(std::unique_ptr<host::GeometryPoints> points, std::vector<int> members, bool readOnly)
    : points_(std::move(points)), members_(std::move(members)), useOwnMembers_(true), readOnly_(readOnly) {}

MItGeometry::~MItGeometry() {
    if (points_ && changed_ && !readOnly_) points_->commit();
}

int MItGeometry::pointAt(size_t k) const {
    if (!points_) return -1;
    const std::vector<int>& list = useOwnMembers_ ? members_ : points_->members();
    return k < list.size() ? list[k] : -1;
}

int MItGeometry::count(MStatus* status) {
    report(status, MStatus::kSuccess);
    if (!points_) return 0;
    return static_cast<int>(useOwnMembers_ ? members_.size() : points_->members().size());
}

int MItGeometry::exactCount(MStatus* status) {
    return count(status);
}

bool MItGeometry::isDone(MStatus* status) {
    report(status, MStatus::kSuccess);
    return pointAt(cursor_) < 0;
}

MStatus MItGeometry::next() {
    if (pointAt(cursor_) < 0) return MStatus::kFailure;
    ++cursor_;
    return MStatus::kSuccess;
}

MStatus MItGeometry::reset() {
    cursor_ = 0;
    return MStatus::kSuccess;
}

int MItGeometry::index(MStatus* status) {
    int p = pointAt(cursor_);
    report(status, p < 0 ? MStatus::kFailure : MStatus::kSuccess);
    return p;
}

MObject MItGeometry::component(MStatus* status) {
    int p = pointAt(cursor_);
    if (p < 0) {
        report(status, MStatus::kFailure);
        return MObject();
    }
    MFn::Type type = points_->componentType();
    auto* c = static_cast<host::Component*>(component_.impl().get());
    if (!c || component_.impl().use_count() > 1 || c->apiType() != type) {
        component_ = MObject(std::make_shared<host::Component>(type));
        c = static_cast<host::Component*>(component_.impl().get());
    }
    int indices[3];
    points_->indicesOf(p, indices);
    c->elements.assign(indices, indices + host::Component::indicesOf(type));
    report(status, MStatus::kSuccess);
    return component_;
}

MPoint MItGeometry::position(MSpace::Space, MStatus* status) {
    int p = pointAt(cursor_);
    if (p < 0) {
        report(status, MStatus::kFailure);
        return MPoint();
    }
    report(status, MStatus::kSuccess);
    const host::geom::Vec3& v = points_->point(p);
    return MPoint(v.x, v.y, v.z);
}

MStatus MItGeometry::setPosition(const MPoint& point, MSpace::Space) {
    int p = pointAt(cursor_);
    if (p < 0 || readOnly_) return MStatus::kFailure;
    if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z)) return MStatus::kInvalidParameter;
    points_->setPoint(p, {point.x, point.y, point.z});
    changed_ = true;
    return MStatus::kSuccess;
}
