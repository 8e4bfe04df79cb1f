#include <maya/MFnArrayAttrsData.h>

#include "data/ArrayAttrsData.h"
#include "data/ArrayFn.h"

// vectorArray, doubleArray and intArray hand out arrays that write through to the named array of the
// data (made empty on first fetch). A set attached to nothing fails with kFailure; a name that exists
// with another kind fails with kInvalidParameter. Both return an empty array of their own.
// getVectorData and getDoubleData return copies and never make a name.

using host::ArrayAttrsData;

namespace {

std::shared_ptr<ArrayAttrsData> attrs(const MObject& object) {
    return host::dataAs<ArrayAttrsData>(object);
}

ArrayAttrsData::Entry* fetch(const MObject& object, const MString& name, MFnArrayAttrsData::Type kind,
                             MStatus* status) {
    auto data = attrs(object);
    if (!data) {
        host::report(status, MStatus::kFailure);
        return nullptr;
    }
    ArrayAttrsData::Entry* entry = data->fetch(name.asChar(), kind);
    host::report(status, entry ? MStatus::kSuccess : MStatus::kInvalidParameter);
    return entry;
}

const ArrayAttrsData::Entry* existing(const MObject& object, const MString& name,
                                      MFnArrayAttrsData::Type kind, MStatus* status) {
    auto data = attrs(object);
    const ArrayAttrsData::Entry* entry = data ? data->find(name.asChar()) : nullptr;
    if (entry && entry->kind != kind)
        entry = nullptr;
    host::report(status, entry ? MStatus::kSuccess : MStatus::kFailure);
    return entry;
}

}  // namespace

MFnArrayAttrsData::MFnArrayAttrsData(const MObject& object, MStatus* status) {
    obj_ = host::acceptData<ArrayAttrsData>(object, status);
}

MObject MFnArrayAttrsData::create(MStatus* status) {
    obj_ = MObject(std::make_shared<ArrayAttrsData>());
    host::report(status, MStatus::kSuccess);
    return obj_;
}

unsigned MFnArrayAttrsData::count() const {
    auto data = attrs(obj_);
    return data ? static_cast<unsigned>(data->entries.size()) : 0;
}

MStringArray MFnArrayAttrsData::list(MStatus* status) const {
    MStringArray names;
    auto data = attrs(obj_);
    host::report(status, data ? MStatus::kSuccess : MStatus::kFailure);
    if (data)
        for (const ArrayAttrsData::Entry& e : data->entries)
            names.append(MString(e.name.c_str()));
    return names;
}

// False with kFailure on a set attached to nothing; a missing name is false with kSuccess. type is
// kInvalid whenever the answer is false.
bool MFnArrayAttrsData::checkArrayExist(const MString& name, Type& type, MStatus* status) const {
    type = kInvalid;
    auto data = attrs(obj_);
    host::report(status, data ? MStatus::kSuccess : MStatus::kFailure);
    const ArrayAttrsData::Entry* entry = data ? data->find(name.asChar()) : nullptr;
    if (!entry)
        return false;
    type = entry->kind;
    return true;
}

MVectorArray MFnArrayAttrsData::vectorArray(const MString& name, MStatus* status) {
    ArrayAttrsData::Entry* entry = fetch(obj_, name, kVectorArray, status);
    if (!entry)
        return MVectorArray();
    return MVectorArray::fromShared(entry->vectors);  // a prvalue, so the caller's array is the alias
}

MDoubleArray MFnArrayAttrsData::doubleArray(const MString& name, MStatus* status) {
    ArrayAttrsData::Entry* entry = fetch(obj_, name, kDoubleArray, status);
    if (!entry)
        return MDoubleArray();
    return MDoubleArray::fromShared(entry->doubles);  // a prvalue, so the caller's array is the alias
}

MIntArray MFnArrayAttrsData::intArray(const MString& name, MStatus* status) {
    ArrayAttrsData::Entry* entry = fetch(obj_, name, kIntArray, status);
    if (!entry)
        return MIntArray();
    return MIntArray::fromShared(entry->ints);  // a prvalue, so the caller's array is the alias
}

MVectorArray MFnArrayAttrsData::getVectorData(const MString& name, MStatus* status) const {
    const ArrayAttrsData::Entry* entry = existing(obj_, name, kVectorArray, status);
    MVectorArray out;
    if (entry)
        out.hostVector() = *entry->vectors;
    return out;
}

MDoubleArray MFnArrayAttrsData::getDoubleData(const MString& name, MStatus* status) const {
    const ArrayAttrsData::Entry* entry = existing(obj_, name, kDoubleArray, status);
    MDoubleArray out;
    if (entry)
        out.hostVector() = *entry->doubles;
    return out;
}

MStatus MFnArrayAttrsData::clear() {
    auto data = attrs(obj_);
    if (!data)
        return MStatus::kFailure;
    data->entries.clear();
    return MStatus::kSuccess;
}
