#include <maya/MFnIntArrayData.h>

#include "data/ArrayFn.h"

using host::IntArrayData;

MFnIntArrayData::MFnIntArrayData(const MObject& object, MStatus* status) {
    obj_ = host::acceptData<IntArrayData>(object, status);
}

unsigned MFnIntArrayData::length(MStatus* status) const {
    return host::arrayLength<IntArrayData>(obj_, status);
}

MIntArray MFnIntArrayData::array(MStatus* status) {
    return host::arrayOf<IntArrayData, MIntArray>(obj_, status);
}

MStatus MFnIntArrayData::copyTo(MIntArray& out) const {
    return host::arrayCopyTo<IntArrayData>(obj_, out);
}

MStatus MFnIntArrayData::set(const MIntArray& values) {
    return host::arraySet<IntArrayData>(obj_, values);
}

MObject MFnIntArrayData::create(const MIntArray& values, MStatus* status) {
    obj_ = MObject(std::make_shared<IntArrayData>(values));
    host::report(status, MStatus::kSuccess);
    return obj_;
}
