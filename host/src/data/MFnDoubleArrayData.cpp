#include <maya/MFnDoubleArrayData.h>

#include "data/ArrayFn.h"

using host::DoubleArrayData;

MFnDoubleArrayData::MFnDoubleArrayData(const MObject& object, MStatus* status) {
    obj_ = host::acceptData<DoubleArrayData>(object, status);
}

unsigned MFnDoubleArrayData::length(MStatus* status) const {
    return host::arrayLength<DoubleArrayData>(obj_, status);
}

MDoubleArray MFnDoubleArrayData::array(MStatus* status) {
    return host::arrayOf<DoubleArrayData, MDoubleArray>(obj_, status);
}

MStatus MFnDoubleArrayData::copyTo(MDoubleArray& out) const {
    return host::arrayCopyTo<DoubleArrayData>(obj_, out);
}

MStatus MFnDoubleArrayData::set(const MDoubleArray& values) {
    return host::arraySet<DoubleArrayData>(obj_, values);
}

MObject MFnDoubleArrayData::create(const MDoubleArray& values, MStatus* status) {
    obj_ = MObject(std::make_shared<DoubleArrayData>(values));
    host::report(status, MStatus::kSuccess);
    return obj_;
}

MObject MFnDoubleArrayData::create(MStatus* status) {
    return create(MDoubleArray(), status);
}

// Past the end (or on a set attached to nothing, which has no elements) this aborts, like the arrays.
double MFnDoubleArrayData::operator[](unsigned index) const {
    auto data = host::dataAs<DoubleArrayData>(obj_);
    unsigned n = data ? data->length() : 0;
    if (index >= n)
        host::arrayIndexFault("MFnDoubleArrayData", index, n);
    return data->elements()[index];
}
