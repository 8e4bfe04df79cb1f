#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnGenericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MTime.h>

#include "data/Data.h"
#include "graph/Attribute.h"

#include <algorithm>

// The typed, compound, generic and unit attribute function sets: each creates one kind of attribute.

using host::Attribute;
using host::AttrKind;

namespace {

Attribute* attr(const MObject& object) {
    return dynamic_cast<Attribute*>(object.impl().get());
}

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

bool attach(MObject& obj, const MObject& attribute, AttrKind kind, MStatus* status) {
    Attribute* a = attr(attribute);
    if (!a || a->kind != kind) {
        setStatus(status, MStatus::kInvalidParameter);
        return false;
    }
    obj = attribute;
    setStatus(status, MStatus::kSuccess);
    return true;
}

MObject make(MObject& obj, const MString& longName, const MString& shortName, AttrKind kind, MStatus* status,
             std::shared_ptr<Attribute>* out = nullptr) {
    if (longName.length() == 0) {
        setStatus(status, MStatus::kInvalidParameter);
        return MObject();
    }
    auto a = std::make_shared<Attribute>();
    a->kind = kind;
    a->longName = longName.str();
    a->shortName = shortName.str();
    if (out) *out = a;
    obj = MObject(a);
    setStatus(status, MStatus::kSuccess);
    return obj;
}

}  // namespace

// ---- Typed -----------------------------------------------------------------------------------------

MFnTypedAttribute::MFnTypedAttribute(const MObject& attribute, MStatus* status) {
    attach(obj_, attribute, AttrKind::Typed, status);
}

MObject MFnTypedAttribute::create(const MString& longName, const MString& shortName, MFnData::Type type,
                                  const MObject& defaultData, MStatus* status) {
    std::shared_ptr<Attribute> a;
    MObject o = make(obj_, longName, shortName, AttrKind::Typed, status, &a);
    if (a) {
        a->dataType = type;
        if (host::dataTypeOf(defaultData) == type) a->defaultData = defaultData;
    }
    return o;
}

MFnData::Type MFnTypedAttribute::attrType(MStatus* status) const {
    Attribute* a = attr(obj_);
    setStatus(status, a ? MStatus::kSuccess : MStatus::kFailure);
    return a ? a->dataType : MFnData::kInvalid;
}

MStatus MFnTypedAttribute::getDefault(MObject& defaultData) {
    Attribute* a = attr(obj_);
    if (!a) return MStatus::kFailure;
    defaultData = a->defaultData;
    return MStatus::kSuccess;
}

MStatus MFnTypedAttribute::setDefault(const MObject& defaultData) {
    Attribute* a = attr(obj_);
    if (!a) return MStatus::kFailure;
    if (!defaultData.isNull() && host::dataTypeOf(defaultData) != a->dataType) return MStatus::kInvalidParameter;
    a->defaultData = defaultData;
    return MStatus::kSuccess;
}

// ---- Compound --------------------------------------------------------------------------------------

MFnCompoundAttribute::MFnCompoundAttribute(const MObject& attribute, MStatus* status) {
    attach(obj_, attribute, AttrKind::Compound, status);
}

MObject MFnCompoundAttribute::create(const MString& longName, const MString& shortName, MStatus* status) {
    return make(obj_, longName, shortName, AttrKind::Compound, status);
}

MStatus MFnCompoundAttribute::addChild(const MObject& child) {
    Attribute* parent = attr(obj_);
    Attribute* c = attr(child);
    if (!parent || !c || c == parent) return MStatus::kInvalidParameter;
    if (c->parent && c->parent != parent) return MStatus::kInvalidParameter;
    if (parent->childIndex(c) < 0) parent->children.push_back(std::static_pointer_cast<Attribute>(c->shared_from_this()));
    c->parent = parent;
    return MStatus::kSuccess;
}

unsigned MFnCompoundAttribute::numChildren(MStatus* status) const {
    Attribute* a = attr(obj_);
    setStatus(status, a ? MStatus::kSuccess : MStatus::kFailure);
    return a ? static_cast<unsigned>(a->children.size()) : 0;
}

MObject MFnCompoundAttribute::child(unsigned index, MStatus* status) const {
    Attribute* a = attr(obj_);
    if (!a || index >= a->children.size()) {
        setStatus(status, MStatus::kFailure);
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return MObject(a->children[index]);
}

// ---- Generic ---------------------------------------------------------------------------------------

MFnGenericAttribute::MFnGenericAttribute(const MObject& attribute, MStatus* status) {
    attach(obj_, attribute, AttrKind::Generic, status);
}

MObject MFnGenericAttribute::create(const MString& longName, const MString& shortName, MStatus* status) {
    return make(obj_, longName, shortName, AttrKind::Generic, status);
}

MStatus MFnGenericAttribute::addAccept(MFnData::Type type) {
    Attribute* a = attr(obj_);
    if (!a) return MStatus::kFailure;
    if (std::find(a->accepts.begin(), a->accepts.end(), type) == a->accepts.end()) a->accepts.push_back(type);
    return MStatus::kSuccess;
}

// ---- Unit ------------------------------------------------------------------------------------------

MFnUnitAttribute::MFnUnitAttribute(const MObject& attribute, MStatus* status) {
    attach(obj_, attribute, AttrKind::Unit, status);
}

MObject MFnUnitAttribute::create(const MString& longName, const MString& shortName, Type unitType, double defaultValue,
                                 MStatus* status) {
    std::shared_ptr<Attribute> a;
    MObject o = make(obj_, longName, shortName, AttrKind::Unit, status, &a);
    if (a) {
        a->unitType = unitType;
        a->numericType = MFnNumericData::kDouble;
        a->defaults[0] = defaultValue;
    }
    return o;
}

MObject MFnUnitAttribute::create(const MString& longName, const MString& shortName, const MTime& defaultValue,
                                 MStatus* status) {
    return create(longName, shortName, kTime, defaultValue.as(MTime::kSeconds), status);
}

MFnUnitAttribute::Type MFnUnitAttribute::unitType(MStatus* status) const {
    Attribute* a = attr(obj_);
    setStatus(status, a ? MStatus::kSuccess : MStatus::kFailure);
    return a ? static_cast<Type>(a->unitType) : kInvalid;
}

MStatus MFnUnitAttribute::setDefault(double value) {
    Attribute* a = attr(obj_);
    if (!a) return MStatus::kFailure;
    a->defaults[0] = value;
    return MStatus::kSuccess;
}
