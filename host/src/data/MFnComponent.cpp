#include <maya/MFnComponent.h>
#include <maya/MFnDoubleIndexedComponent.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MFnTripleIndexedComponent.h>

#include "data/Component.h"

// The component function sets. Each derived set attaches only to components of its own kind.

namespace {

MStatus report(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

}  // namespace

MFnComponent::MFnComponent(const MObject& component, MStatus* status) : MFnComponent(component, MFn::kComponent, status) {}

// Only host::Component objects carry the component types, so the type alone decides; the sets take a
// component object for each point a deformer visits, so they spare themselves a dynamic cast.
MFnComponent::MFnComponent(const MObject& component, MFn::Type kind, MStatus* status) {
    const host::Component* c = host::Component::of(component);
    bool ok = c && (kind == MFn::kComponent || c->apiType() == kind);
    if (ok) obj_ = component;
    report(status, ok ? MStatus::kSuccess : MStatus::kInvalidParameter);
}

host::Component* MFnComponent::component() const {
    return host::Component::of(obj_);
}

int MFnComponent::elementCount(MStatus* status) const {
    host::Component* c = component();
    report(status, c ? MStatus::kSuccess : MStatus::kFailure);
    return c ? c->count() : 0;
}

bool MFnComponent::isEmpty(MStatus* status) const {
    return elementCount(status) == 0;
}

MFn::Type MFnComponent::componentType(MStatus* status) const {
    host::Component* c = component();
    report(status, c ? MStatus::kSuccess : MStatus::kFailure);
    return c ? c->apiType() : MFn::kInvalid;
}

MObject MFnComponent::createOfKind(MFn::Type kind, MStatus* status) {
    obj_ = MObject(std::make_shared<host::Component>(kind));
    report(status, MStatus::kSuccess);
    return obj_;
}

bool MFnComponent::read(int element, int* out, int count, MStatus& status) const {
    host::Component* c = component();
    if (!c || element < 0 || element >= c->count()) {
        status = MStatus::kFailure;
        return false;
    }
    for (int i = 0; i < count; ++i) out[i] = c->elements[static_cast<size_t>(element * count + i)];
    status = MStatus::kSuccess;
    return true;
}

MStatus MFnComponent::append(const int* values, int count) {
    host::Component* c = component();
    if (!c) return MStatus::kFailure;
    c->elements.insert(c->elements.end(), values, values + count);
    return MStatus::kSuccess;
}

// ---- single --------------------------------------------------------------------------------------

MFnSingleIndexedComponent::MFnSingleIndexedComponent(const MObject& component, MStatus* status)
    : MFnComponent(component, MFn::kSingleIndexedComponent, status) {}

MObject MFnSingleIndexedComponent::create(MFn::Type, MStatus* status) {
    return createOfKind(MFn::kSingleIndexedComponent, status);
}

MStatus MFnSingleIndexedComponent::addElement(int element) {
    return append(&element, 1);
}

MStatus MFnSingleIndexedComponent::addElements(MIntArray& elements) {
    for (unsigned i = 0; i < elements.length(); ++i) {
        MStatus s = addElement(elements[i]);
        if (s != MStatus::kSuccess) return s;
    }
    return MStatus::kSuccess;
}

int MFnSingleIndexedComponent::element(int index, MStatus* status) const {
    int value = 0;
    MStatus s;
    read(index, &value, 1, s);
    if (status) *status = s;
    return value;
}

MStatus MFnSingleIndexedComponent::getElements(MIntArray& elements) const {
    host::Component* c = component();
    if (!c) return MStatus::kFailure;
    std::vector<int>& out = elements.hostVector();
    if (c->elements.size() == 1) {  // a deformer's per-point component
        out.resize(1);
        out[0] = c->elements[0];
    } else {
        out = c->elements;
    }
    return MStatus::kSuccess;
}

// ---- double --------------------------------------------------------------------------------------

MFnDoubleIndexedComponent::MFnDoubleIndexedComponent(const MObject& component, MStatus* status)
    : MFnComponent(component, MFn::kDoubleIndexedComponent, status) {}

MObject MFnDoubleIndexedComponent::create(MFn::Type, MStatus* status) {
    return createOfKind(MFn::kDoubleIndexedComponent, status);
}

MStatus MFnDoubleIndexedComponent::addElement(int u, int v) {
    int values[2] = {u, v};
    return append(values, 2);
}

MStatus MFnDoubleIndexedComponent::getElement(int index, int& u, int& v) const {
    int values[2];
    MStatus s;
    if (read(index, values, 2, s)) {
        u = values[0];
        v = values[1];
    }
    return s;
}

MStatus MFnDoubleIndexedComponent::getElements(MIntArray& uIndices, MIntArray& vIndices) const {
    host::Component* c = component();
    if (!c) return MStatus::kFailure;
    uIndices.clear();
    vIndices.clear();
    for (int i = 0; i < c->count(); ++i) {
        uIndices.append(c->elements[static_cast<size_t>(2 * i)]);
        vIndices.append(c->elements[static_cast<size_t>(2 * i + 1)]);
    }
    return MStatus::kSuccess;
}

// ---- triple --------------------------------------------------------------------------------------

MFnTripleIndexedComponent::MFnTripleIndexedComponent(const MObject& component, MStatus* status)
    : MFnComponent(component, MFn::kTripleIndexedComponent, status) {}

MObject MFnTripleIndexedComponent::create(MFn::Type, MStatus* status) {
    return createOfKind(MFn::kTripleIndexedComponent, status);
}

MStatus MFnTripleIndexedComponent::addElement(int s, int t, int u) {
    int values[3] = {s, t, u};
    return append(values, 3);
}

MStatus MFnTripleIndexedComponent::getElement(int index, int& s, int& t, int& u) const {
    int values[3];
    MStatus status;
    if (read(index, values, 3, status)) {
        s = values[0];
        t = values[1];
        u = values[2];
    }
    return status;
}

MStatus MFnTripleIndexedComponent::getElements(MIntArray& sIndices, MIntArray& tIndices, MIntArray& uIndices) const {
    host::Component* c = component();
    if (!c) return MStatus::kFailure;
    sIndices.clear();
    tIndices.clear();
    uIndices.clear();
    for (int i = 0; i < c->count(); ++i) {
        sIndices.append(c->elements[static_cast<size_t>(3 * i)]);
        tIndices.append(c->elements[static_cast<size_t>(3 * i + 1)]);
        uIndices.append(c->elements[static_cast<size_t>(3 * i + 2)]);
    }
    return MStatus::kSuccess;
}
