#include <maya/MFnNumericData.h>

#include "data/ArrayFn.h"
#include "data/NumericData.h"

#include <initializer_list>

// getData and setData move as many numbers as the data's type has: a call with another count (getData
// of one double on k3Double data, say) fails with kInvalidParameter and changes nothing. Integer types
// store truncated values, kBoolean 0 or 1.

using host::NumericData;

namespace {

std::shared_ptr<NumericData> numeric(const MObject& object) {
    return host::dataAs<NumericData>(object);
}

MStatus check(const std::shared_ptr<NumericData>& data, unsigned count) {
    if (!data)
        return MStatus::kFailure;
    return data->components() == count ? MStatus::kSuccess : MStatus::kInvalidParameter;
}

MStatus store(const MObject& object, std::initializer_list<double> values) {
    auto data = numeric(object);
    MStatus status = check(data, static_cast<unsigned>(values.size()));
    if (status != MStatus::kSuccess)
        return status;
    unsigned i = 0;
    for (double v : values)
        data->store(i++, v);
    return MStatus::kSuccess;
}

}  // namespace

MFnNumericData::MFnNumericData(const MObject& object, MStatus* status) {
    obj_ = host::acceptData<NumericData>(object, status);
}

// kInvalid and kLast are not types of numbers: refused with kInvalidParameter, the set unchanged.
MObject MFnNumericData::create(Type type, MStatus* status) {
    if (NumericData::componentsOf(type) == 0) {
        host::report(status, MStatus::kInvalidParameter);
        return MObject();
    }
    obj_ = MObject(std::make_shared<NumericData>(type));
    host::report(status, MStatus::kSuccess);
    return obj_;
}

MFnNumericData::Type MFnNumericData::numericType(MStatus* status) const {
    auto data = numeric(obj_);
    host::report(status, data ? MStatus::kSuccess : MStatus::kFailure);
    return data ? data->type : kInvalid;
}

MStatus MFnNumericData::getData(double& a) const {
    auto data = numeric(obj_);
    MStatus status = check(data, 1);
    if (status == MStatus::kSuccess)
        a = data->values[0];
    return status;
}

MStatus MFnNumericData::getData(double& a, double& b) const {
    auto data = numeric(obj_);
    MStatus status = check(data, 2);
    if (status == MStatus::kSuccess) {
        a = data->values[0];
        b = data->values[1];
    }
    return status;
}

MStatus MFnNumericData::getData(double& a, double& b, double& c) const {
    auto data = numeric(obj_);
    MStatus status = check(data, 3);
    if (status == MStatus::kSuccess) {
        a = data->values[0];
        b = data->values[1];
        c = data->values[2];
    }
    return status;
}

MStatus MFnNumericData::getData(float& a, float& b, float& c) const {
    double x = 0, y = 0, z = 0;
    MStatus status = getData(x, y, z);
    if (status == MStatus::kSuccess) {
        a = static_cast<float>(x);
        b = static_cast<float>(y);
        c = static_cast<float>(z);
    }
    return status;
}

MStatus MFnNumericData::getData(int& a) const {
    double x = 0;
    MStatus status = getData(x);
    if (status == MStatus::kSuccess)
        a = host::toInt(x);
    return status;
}

MStatus MFnNumericData::setData(double a) { return store(obj_, {a}); }
MStatus MFnNumericData::setData(double a, double b) { return store(obj_, {a, b}); }
MStatus MFnNumericData::setData(double a, double b, double c) { return store(obj_, {a, b, c}); }
MStatus MFnNumericData::setData(float a, float b, float c) { return store(obj_, {a, b, c}); }
MStatus MFnNumericData::setData(int a) { return store(obj_, {static_cast<double>(a)}); }
