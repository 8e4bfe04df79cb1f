#include <maya/MFnDynSweptGeometryData.h>

#include "data/ArrayFn.h"
#include "data/SweptGeometryData.h"

using host::SweptGeometryData;

// A triangle reads the points of the data as x, y and z in a row.
static_assert(sizeof(host::geom::Vec3) == 3 * sizeof(double), "a point is three doubles");

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
    const SweptGeometryData::Corners corners = data->corners(index);
    MDynSweptTriangle triangle;
    triangle.previousPoints_ = &corners.previousPoints->x;
    triangle.currentPoints_ = &corners.currentPoints->x;
    triangle.previousIds_ = corners.previousIds;
    triangle.currentIds_ = corners.currentIds;
    triangle.data_ = data;
    triangle.index_ = index;
    host::report(status, MStatus::kSuccess);
    return triangle;
}

MVector MDynSweptTriangle::uvPoint(int k) const {
    if (!data_)
        return MVector(0.0, 0.0, 0.0);
    double u = 0.0;
    double v = 0.0;
    data_->cornerCoordinates(index_, corner(k), u, v);
    return MVector(u, v, 0.0);
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
