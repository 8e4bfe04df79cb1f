#ifndef MFNBASE_H
#define MFNBASE_H

#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

// Base of the function sets: holds the object the set is attached to. Copies of a function set
// refer to the same object.
class MFnBase {
public:
    MFnBase() = default;
    explicit MFnBase(const MObject& object, MStatus* status = nullptr);
    virtual ~MFnBase() = default;

    virtual MFn::Type type() const { return MFn::kBase; }
    bool hasObj(MFn::Type type) const;
    bool hasObj(const MObject& object) const;
    MObject object(MStatus* status = nullptr) const;
    MStatus setObject(const MObject& object);

protected:
    MObject obj_;
};

#endif
