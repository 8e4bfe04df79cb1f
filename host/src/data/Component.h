#ifndef HOST_COMPONENT_H
#define HOST_COMPONENT_H

#include "foundation/Object.h"

#include <maya/MObject.h>

#include <typeinfo>
#include <vector>

namespace host {

// A component object: a list of elements of one, two or three indices each (mesh vertices and curve CVs;
// surface CVs as (u, v); lattice points as (s, t, u)), stored flat, `indices` ints per element.
// apiType is kSingleIndexedComponent (680), kDoubleIndexedComponent (681) or kTripleIndexedComponent
// (682).
class Component final : public Object {
public:
    explicit Component(MFn::Type type) : type_(type) {}

    MFn::Type apiType() const override { return type_; }
    bool hasFn(MFn::Type type) const override { return type == type_ || type == MFn::kComponent || type == MFn::kBase; }

    int indices() const { return indicesOf(type_); }
    int count() const { return static_cast<int>(elements.size()) / indices(); }

    // Indices per element of a component type; 0 for types that are not components.
    static int indicesOf(MFn::Type type) {
        switch (type) {
            case MFn::kSingleIndexedComponent: return 1;
            case MFn::kDoubleIndexedComponent: return 2;
            case MFn::kTripleIndexedComponent: return 3;
            default: return 0;
        }
    }

    // The component behind an object, or null: a type check without a virtual call, since function sets
    // take a component for every point a deformer visits.
    static Component* of(const MObject& object) {
        Object* o = object.impl().get();
        return o && typeid(*o) == typeid(Component) ? static_cast<Component*>(o) : nullptr;
    }

    std::vector<int> elements;

private:
    MFn::Type type_;
};

}  // namespace host

#endif
