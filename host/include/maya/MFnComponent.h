#ifndef MFNCOMPONENT_H
#define MFNCOMPONENT_H

#include <maya/MFnBase.h>

namespace host {
class Component;
}

// Base of the component function sets: a component is a list of elements of one, two or three indices.
// The derived sets attach only to components of their own kind; this one to any component.
//
// The one-element components of the geometry iterator are held by value in their MObject (see there):
// the sets attach to them and read them inline, since a deformer takes one for every point. Adding an
// element to one first makes the set's own object a shared component of that element.
class MFnComponent : public MFnBase {
public:
    MFnComponent() = default;
    explicit MFnComponent(const MObject& component, MStatus* status = nullptr)
        : MFnComponent(component, MFn::kComponent, status) {}

    MFn::Type type() const override { return MFn::kComponent; }
    int elementCount(MStatus* status = nullptr) const;
    bool isEmpty(MStatus* status = nullptr) const;
    // The component's type (kSingleIndexedComponent, ...), kInvalid when attached to nothing.
    MFn::Type componentType(MStatus* status = nullptr) const;

protected:
    // Attaches to a component of the given kind (any component for kComponent).
    MFnComponent(const MObject& component, MFn::Type kind, MStatus* status) {
        const host::PointComponent& p = component.pointComponent();
        if (p.type != MFn::kInvalid && (p.type == kind || kind == MFn::kComponent)) {
            obj_ = component;
            if (status) *status = MStatus::kSuccess;
        } else {
            attach(component, kind, status);
        }
    }
    // The one-element component held by value that the set is attached to, if it is of the kind.
    const int* pointIndices(MFn::Type kind) const {
        const host::PointComponent& p = obj_.pointComponent();
        return p.type == kind ? p.index : nullptr;
    }
    // New empty component of this kind; the set attaches to it.
    MObject createOfKind(MFn::Type kind, MStatus* status);
    // The shared component the set is attached to; null for none and for one held by value.
    host::Component* component() const;
    // The elements of the component the set is attached to, held by value or shared: its type (kInvalid
    // when attached to nothing), its indices stored flat, and the number of elements.
    struct View {
        MFn::Type type;
        const int* data;
        int count;
    };
    View view() const;
    // Element index of the kind's indices; false (and kFailure) when out of range.
    bool read(int element, int* out, int count, MStatus& status) const;
    MStatus append(const int* values, int count);

private:
    void attach(const MObject& component, MFn::Type kind, MStatus* status);
};

#endif
