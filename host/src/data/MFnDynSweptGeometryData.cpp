#include <maya/MFnDynSweptGeometryData.h>

#include "data/ArrayFn.h"
#include "data/SweptGeometryData.h"

using host::SweptGeometryData;

namespace {

MVector toMVector(const host::geom::Vec3& p) {
    return MVector(p.x, p.y, p.z);
}

}  // namespace

MFnDynSweptGeometryData::MFnDynSweptGeometryData(const MObject& object, MStatus* status) {
    MStatus result = setObject(object);
    if (status)
        *status = result;
}

MStatus MFnDynSweptGeometryData::setObject(const MObject& object) {
    MStatus status;
    obj_ = host::acceptData<SweptGeometryData>(object, &status);
    data_ = host::dataAs<SweptGeometryData>(obj_).get();
    return status;
}

int MFnDynSweptGeometryData::triangleCount(MStatus* status) const {
    host::report(status, data_ ? MStatus::kSuccess : MStatus::kFailure);
    return data_ ? data_->triangleCount() : 0;
}

MDynSweptTriangle MFnDynSweptGeometryData::sweptTriangle(int index, MStatus* status) const {
    const SweptGeometryData* data = data_;
    if (!data) {
        host::report(status, MStatus::kFailure);
        return MDynSweptTriangle();
    }
    if (index < 0 || index >= data->triangleCount()) {
        host::report(status, MStatus::kInvalidParameter);
        return MDynSweptTriangle();
    }
    host::geom::Vec3 previousCorners[3];
    host::geom::Vec3 currentCorners[3];
    double u[3];
    double v[3];
    data->triangle(index, previousCorners, currentCorners, u, v);
    const MVector previous[3] = {toMVector(previousCorners[0]), toMVector(previousCorners[1]),
                                 toMVector(previousCorners[2])};
    const MVector current[3] = {toMVector(currentCorners[0]), toMVector(currentCorners[1]),
                                toMVector(currentCorners[2])};
    host::report(status, MStatus::kSuccess);
    return MDynSweptTriangle(previous, current, u, v);
}

int MFnDynSweptGeometryData::lineCount(MStatus* status) const {
    host::report(status, data_ ? MStatus::kSuccess : MStatus::kFailure);
    return 0;
}

MObject MFnDynSweptGeometryData::create(MStatus* status) {
    auto data = std::make_shared<SweptGeometryData>();
    data_ = data.get();
    obj_ = MObject(data);
    host::report(status, MStatus::kSuccess);
    return obj_;
}
