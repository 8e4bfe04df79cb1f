#ifndef HOST_ARRAYFN_H
#define HOST_ARRAYFN_H

#include "data/ArrayData.h"

#include <maya/MStatus.h>

// The shared work of the array-data function sets (MFnDoubleArrayData, MFnVectorArrayData,
// MFnIntArrayData). A set attached to nothing fails with kFailure and leaves every output as it was.
namespace host {

inline void report(MStatus* status, MStatus code) {
    if (status)
        *status = code;
}

// The object when it holds data of class D; otherwise a null object and kInvalidParameter.
template <class D>
MObject acceptData(const MObject& object, MStatus* status) {
    if (!dataAs<D>(object)) {
        report(status, MStatus::kInvalidParameter);
        return MObject();
    }
    report(status, MStatus::kSuccess);
    return object;
}

template <class D>
unsigned arrayLength(const MObject& object, MStatus* status) {
    auto data = dataAs<D>(object);
    report(status, data ? MStatus::kSuccess : MStatus::kFailure);
    return data ? data->length() : 0;
}

// The data's own array (changes to it change the data), or an empty array and kFailure.
template <class D, class Array>
Array arrayOf(const MObject& object, MStatus* status) {
    auto data = dataAs<D>(object);
    report(status, data ? MStatus::kSuccess : MStatus::kFailure);
    if (!data)
        return Array();
    return data->shared();
}

template <class D, class Array>
MStatus arrayCopyTo(const MObject& object, Array& out) {
    auto data = dataAs<D>(object);
    if (!data)
        return MStatus::kFailure;
    out.hostVector() = data->elements();
    return MStatus::kSuccess;
}

template <class D, class Array>
MStatus arraySet(const MObject& object, const Array& values) {
    auto data = dataAs<D>(object);
    if (!data)
        return MStatus::kFailure;
    data->assign(values);
    return MStatus::kSuccess;
}

}  // namespace host

#endif
