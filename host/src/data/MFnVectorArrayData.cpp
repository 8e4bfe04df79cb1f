#include <maya/MFnVectorArrayData.h>

#include "data/ArrayFn.h"

using host::VectorArrayData;

MFnVectorArrayData::MFnVectorArrayData(const MObject& object, MStatus* status) {
    obj_ = host::acceptData<VectorArrayData>(object, status);
}

unsigned MFnVectorArrayData::length(MStatus* status) const {
    return host::arrayLength<VectorArrayData>(obj_, status);
}

MVectorArray MFnVectorArrayData::array(MStatus* status) {
    return host::arrayOf<VectorArrayData, MVectorArray>(obj_, status);
}

MStatus MFnVectorArrayData::copyTo(MVectorArray& out) const {
    return host::arrayCopyTo<VectorArrayData>(obj_, out);
}

MStatus MFnVectorArrayData::set(const MVectorArray& values) {
    return host::arraySet<VectorArrayData>(obj_, values);
}

MObject MFnVectorArrayData::create(const MVectorArray& values, MStatus* status) {
    obj_ = MObject(std::make_shared<VectorArrayData>(values));
    host::report(status, MStatus::kSuccess);
    return obj_;
}

MObject MFnVectorArrayData::create(MStatus* status) {
    return create(MVectorArray(), status);
}
