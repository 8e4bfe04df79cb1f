#include <maya/MFnAttribute.h>

#include "graph/Attribute.h"

#include <algorithm>

using host::Attribute;

namespace {

Attribute* attr(const MObject& object) {
    return dynamic_cast<Attribute*>(object.impl().get());
}

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

bool flag(const MObject& object, bool Attribute::*member, MStatus* status) {
    Attribute* a = attr(object);
    setStatus(status, a ? MStatus::kSuccess : MStatus::kFailure);
    return a && a->*member;
}

MStatus setFlag(const MObject& object, bool Attribute::*member, bool state) {
    Attribute* a = attr(object);
    if (!a) return MStatus::kFailure;
    a->*member = state;
    return MStatus::kSuccess;
}

}  // namespace

MFnAttribute::MFnAttribute(const MObject& attribute, MStatus* status) {
    if (!attr(attribute)) {
        setStatus(status, MStatus::kInvalidParameter);
        return;
    }
    obj_ = attribute;
    setStatus(status, MStatus::kSuccess);
}

MString MFnAttribute::name(MStatus* status) const {
    Attribute* a = attr(obj_);
    setStatus(status, a ? MStatus::kSuccess : MStatus::kFailure);
    return a ? MString(a->longName) : MString();
}

MString MFnAttribute::shortName(MStatus* status) const {
    Attribute* a = attr(obj_);
    setStatus(status, a ? MStatus::kSuccess : MStatus::kFailure);
    return a ? MString(a->shortName) : MString();
}

MObject MFnAttribute::parent(MStatus* status) const {
    Attribute* a = attr(obj_);
    if (!a || !a->parent) {
        setStatus(status, MStatus::kFailure);
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return MObject(a->parent->shared_from_this());
}

bool MFnAttribute::isReadable(MStatus* status) const { return flag(obj_, &Attribute::readable, status); }
bool MFnAttribute::isWritable(MStatus* status) const { return flag(obj_, &Attribute::writable, status); }
bool MFnAttribute::isConnectable(MStatus* status) const { return flag(obj_, &Attribute::connectable, status); }
bool MFnAttribute::isStorable(MStatus* status) const { return flag(obj_, &Attribute::storable, status); }
bool MFnAttribute::isCached(MStatus* status) const { return flag(obj_, &Attribute::cached, status); }
bool MFnAttribute::isArray(MStatus* status) const { return flag(obj_, &Attribute::array, status); }
bool MFnAttribute::isKeyable(MStatus* status) const { return flag(obj_, &Attribute::keyable, status); }
bool MFnAttribute::isHidden(MStatus* status) const { return flag(obj_, &Attribute::hidden, status); }
bool MFnAttribute::isUsedAsColor(MStatus* status) const { return flag(obj_, &Attribute::usedAsColor, status); }
bool MFnAttribute::indexMatters(MStatus* status) const { return flag(obj_, &Attribute::indexMatters, status); }

MStatus MFnAttribute::setReadable(bool state) { return setFlag(obj_, &Attribute::readable, state); }
MStatus MFnAttribute::setWritable(bool state) { return setFlag(obj_, &Attribute::writable, state); }
MStatus MFnAttribute::setConnectable(bool state) { return setFlag(obj_, &Attribute::connectable, state); }
MStatus MFnAttribute::setStorable(bool state) { return setFlag(obj_, &Attribute::storable, state); }
MStatus MFnAttribute::setCached(bool state) { return setFlag(obj_, &Attribute::cached, state); }
MStatus MFnAttribute::setArray(bool state) { return setFlag(obj_, &Attribute::array, state); }
MStatus MFnAttribute::setKeyable(bool state) { return setFlag(obj_, &Attribute::keyable, state); }
MStatus MFnAttribute::setHidden(bool state) { return setFlag(obj_, &Attribute::hidden, state); }
MStatus MFnAttribute::setUsedAsColor(bool state) { return setFlag(obj_, &Attribute::usedAsColor, state); }
MStatus MFnAttribute::setIndexMatters(bool state) { return setFlag(obj_, &Attribute::indexMatters, state); }

MStatus MFnAttribute::setParent(const MObject& compound) {
    Attribute* child = attr(obj_);
    Attribute* parent = attr(compound);
    if (!child || !parent || child == parent || parent->kind != host::AttrKind::Compound) return MStatus::kInvalidParameter;
    if (child->parent && child->parent != parent) return MStatus::kInvalidParameter;
    if (parent->childIndex(child) < 0)
        parent->children.push_back(std::static_pointer_cast<Attribute>(child->shared_from_this()));
    child->parent = parent;
    return MStatus::kSuccess;
}
