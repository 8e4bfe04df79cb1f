#include <maya/MFnStringData.h>

#include "data/ArrayFn.h"
#include "data/StringData.h"

using host::StringData;

MFnStringData::MFnStringData(const MObject& object, MStatus* status) {
    obj_ = host::acceptData<StringData>(object, status);
}

MString MFnStringData::string(MStatus* status) const {
    auto data = host::dataAs<StringData>(obj_);
    host::report(status, data ? MStatus::kSuccess : MStatus::kFailure);
    return data ? data->text : MString();
}

MStatus MFnStringData::set(const MString& text) {
    auto data = host::dataAs<StringData>(obj_);
    if (!data)
        return MStatus::kFailure;
    data->text = text;
    return MStatus::kSuccess;
}

MObject MFnStringData::create(const MString& text, MStatus* status) {
    obj_ = MObject(std::make_shared<StringData>(text));
    host::report(status, MStatus::kSuccess);
    return obj_;
}
