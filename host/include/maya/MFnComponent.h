#ifndef MFNCOMPONENT_H
#define MFNCOMPONENT_H

#include <maya/MFnBase.h>

namespace host {
class Component;
}

// Base of the component function sets: a component is a list of elements of one, two or three indices.
// The derived sets attach only to components of their own kind; this one to any component.
class MFnComponent : public MFnBase {
public:
    MFnComponent() = default;
    explicit MFnComponent(const MObject& component, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kComponent; }
    int elementCount(MStatus* status = nullptr) const;
    bool isEmpty(MStatus* status = nullptr) const;
    // The component's type (kSingleIndexedComponent, ...), kInvalid when attached to nothing.
    MFn::Type componentType(MStatus* status = nullptr) const;

protected:
    MFnComponent(const MObject& component, MFn::Type kind, MStatus* status);
    // New empty component of this kind; the set attaches to it.
    MObject createOfKind(MFn::Type kind, MStatus* status);
    host::Component* component() const;
    // Element index of the kind's indices; false (and kFailure) when out of range.
    bool read(int element, int* out, int count, MStatus& status) const;
    MStatus append(const int* values, int count);
};

#endif
