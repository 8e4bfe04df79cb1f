#include <maya/MDataHandle.h>

#include "data/Data.h"
#include "data/NumericData.h"
#include "graph/Node.h"

#include <maya/MString.h>
#include <maya/MTime.h>

#include <algorithm>

using host::Attribute;
using host::AttrKind;

namespace {

std::shared_ptr<Attribute> shared(const Attribute* attr) {
    return std::static_pointer_cast<Attribute>(const_cast<Attribute*>(attr)->shared_from_this());
}

}  // namespace

MObject MDataHandle::attribute() {
    return attr_ ? MObject(shared(attr_)) : MObject();
}

double MDataHandle::asDouble() const {
    if (!value_) return 0.0;
    return value_->num[component_ >= 0 ? component_ : 0];
}

float MDataHandle::asFloat() const {
    return static_cast<float>(asDouble());
}

bool MDataHandle::asBool() const {
    return asDouble() != 0.0;
}

// Numbers beyond the integer range (a double connected into a long) read as the nearest integer.
int MDataHandle::asLong() const {
    return host::toInt(asDouble());
}

int MDataHandle::asInt() const {
    return asLong();
}

short MDataHandle::asShort() const {
    return static_cast<short>(std::clamp(host::toInt(asDouble()), -32768, 32767));
}

double3& MDataHandle::asDouble3() const {
    static double3 none = {0.0, 0.0, 0.0};
    if (!value_) return none;
    return value_->num;
}

MString& MDataHandle::asString() const {
    static MString none;
    if (!value_) {
        none = MString();
        return none;
    }
    return value_->str();
}

MTime MDataHandle::asTime() const {
    MTime seconds(asDouble(), MTime::kSeconds);
    return MTime(seconds.as(MTime::uiUnit()), MTime::uiUnit());
}

MObject MDataHandle::data() const {
    return value_ ? std::as_const(*value_).data() : MObject();
}

MObject MDataHandle::asMesh() const {
    return type() == MFnData::kMesh ? data() : MObject();
}

MObject MDataHandle::asNurbsCurve() const {
    return type() == MFnData::kNurbsCurve ? data() : MObject();
}

MObject MDataHandle::asNurbsSurface() const {
    return type() == MFnData::kNurbsSurface ? data() : MObject();
}

MFnData::Type MDataHandle::type() const {
    if (!value_ || !attr_) return MFnData::kInvalid;
    if (attr_->kind == AttrKind::Typed && attr_->dataType == MFnData::kString) return MFnData::kString;
    if (attr_->kind == AttrKind::Typed || attr_->kind == AttrKind::Generic) return host::dataTypeOf(std::as_const(*value_).data());
    if (attr_->kind == AttrKind::Numeric || attr_->kind == AttrKind::Unit) return MFnData::kNumeric;
    return MFnData::kInvalid;
}

MDataHandle MDataHandle::child(const MObject& attribute) {
    auto a = host::attributeOf(attribute);
    if (!value_ || !attr_ || !a) return MDataHandle();
    int index = attr_->childIndex(a.get());
    if (index < 0) return MDataHandle();
    if (attr_->isNumericCompound()) return MDataHandle(node_, a.get(), value_, index);
    auto i = static_cast<size_t>(index);
    while (value_->children().size() <= i) value_->children().push_back(host::defaultValue(*attr_->children[value_->children().size()], false));
    return MDataHandle(node_, a.get(), &value_->children()[i]);
}

MStatus MDataHandle::set(const MObject& data) {
    if (!value_ || !attr_) return MStatus::kInvalidParameter;
    MFnData::Type kind = host::dataTypeOf(data);
    if (attr_->kind == AttrKind::Typed) {
        if (!data.isNull() && kind != attr_->dataType) return MStatus::kInvalidParameter;
    } else if (attr_->kind == AttrKind::Generic) {
        if (!data.isNull() && !attr_->accepts.empty() &&
            std::find(attr_->accepts.begin(), attr_->accepts.end(), kind) == attr_->accepts.end())
            return MStatus::kInvalidParameter;
    } else {
        return MStatus::kInvalidParameter;
    }
    // A read-only view (a value read from an output's plug) is stored as a copy, data of its own.
    auto view = host::dataAs<host::Data>(data);
    value_->data() = view && view->isReadOnlyView() ? MObject(view->clone()) : data;
    return MStatus::kSuccess;
}

void MDataHandle::set(double value) {
    if (value_) value_->num[component_ >= 0 ? component_ : 0] = value;
}

void MDataHandle::set(float value) {
    set(static_cast<double>(value));
}

void MDataHandle::set(int value) {
    set(static_cast<double>(value));
}

void MDataHandle::set(bool value) {
    set(value ? 1.0 : 0.0);
}

void MDataHandle::set(double x, double y, double z) {
    if (!value_) return;
    value_->num[0] = x;
    value_->num[1] = y;
    value_->num[2] = z;
}

void MDataHandle::set(const MString& value) {
    if (value_) value_->str() = value;
}

void MDataHandle::set(const MTime& value) {
    set(value.as(MTime::kSeconds));
}

void MDataHandle::setClean() {}
