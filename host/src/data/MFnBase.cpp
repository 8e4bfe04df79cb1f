#include <maya/MFnBase.h>

// The base set attaches to any object but a null one. hasObj(object) asks whether the object is of the
// set's own kind (object.hasFn(type())); the base set, of kind kBase, takes every object.

MFnBase::MFnBase(const MObject& object, MStatus* status) : obj_(object) {
    if (status)
        *status = object.isNull() ? MStatus::kInvalidParameter : MStatus::kSuccess;
}

bool MFnBase::hasObj(MFn::Type type) const {
    return type != MFn::kInvalid && (this->type() == MFn::kBase || type == this->type());
}

bool MFnBase::hasObj(const MObject& object) const {
    if (object.isNull())
        return false;
    return type() == MFn::kBase || object.hasFn(type());
}

MObject MFnBase::object(MStatus* status) const {
    if (status)
        *status = obj_.isNull() ? MStatus::kFailure : MStatus::kSuccess;
    return obj_;
}

// Refuses (kInvalidParameter) a null object or one of another kind, and is then attached to nothing, so
// that a set reused for a refused object never goes on working on the previous one.
MStatus MFnBase::setObject(const MObject& object) {
    if (!hasObj(object)) {
        obj_ = MObject();
        return MStatus::kInvalidParameter;
    }
    obj_ = object;
    return MStatus::kSuccess;
}
