#include <maya/MFnComponent.h>
#include <maya/MFnDoubleIndexedComponent.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MFnTripleIndexedComponent.h>

#include "data/Component.h"

// The component function sets. Each derived set attaches only to components of its own kind. A
// component is either a shared host::Component or a one-element component held by value in the MObject.

namespace {

MStatus report(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

}  // namespace

// The shared components; the header takes the ones held by value. Only host::Component objects carry
// the component types, so the type alone decides. A refused object leaves the set attached to nothing.
void MFnComponent::attach(const MObject& component, MFn::Type kind, MStatus* status) {
    const host::Component* c = host::Component::of(component);
    bool ok = c && (kind == MFn::kComponent || c->apiType() == kind);
    obj_ = ok ? component : MObject();
    report(status, ok ? MStatus::kSuccess : MStatus::kInvalidParameter);
}

host::Component* MFnComponent::component() const {
    return host::Component::of(obj_);
}

MFnComponent::View MFnComponent::view() const {
    const host::PointComponent& p = obj_.pointComponent();
    if (p.type != MFn::kInvalid) return {p.type, p.index, 1};
    if (const host::Component* c = component()) return {c->apiType(), c->elements.data(), c->count()};
    return {MFn::kInvalid, nullptr, 0};
}

int MFnComponent::elementCount(MStatus* status) const {
    const View e = view();
    report(status, e.type != MFn::kInvalid ? MStatus::kSuccess : MStatus::kFailure);
    return e.count;
}

bool MFnComponent::isEmpty(MStatus* status) const {
    return elementCount(status) == 0;
}

MFn::Type MFnComponent::componentType(MStatus* status) const {
    const View e = view();
    report(status, e.type != MFn::kInvalid ? MStatus::kSuccess : MStatus::kFailure);
    return e.type;
}

MObject MFnComponent::createOfKind(MFn::Type kind, MStatus* status) {
    obj_ = MObject(std::make_shared<host::Component>(kind));
    report(status, MStatus::kSuccess);
    return obj_;
}

bool MFnComponent::read(int element, int* out, int count, MStatus& status) const {
    const View e = view();
    const bool ok = element >= 0 && element < e.count && count == host::Component::indicesOf(e.type);
    if (ok)
        for (int i = 0; i < count; ++i) out[i] = e.data[static_cast<size_t>(element * count + i)];
    status = ok ? MStatus::kSuccess : MStatus::kFailure;
    return ok;
}

MStatus MFnComponent::append(const int* values, int count) {
    const host::PointComponent& p = obj_.pointComponent();
    if (p.type != MFn::kInvalid) {
        // A component held by value becomes a shared one of its element, which can take more.
        auto shared = std::make_shared<host::Component>(p.type);
        shared->elements.assign(p.index, p.index + host::Component::indicesOf(p.type));
        obj_ = MObject(std::move(shared));
    }
    host::Component* c = component();
    if (!c) return MStatus::kFailure;
    c->elements.insert(c->elements.end(), values, values + count);
    return MStatus::kSuccess;
}

// ---- single --------------------------------------------------------------------------------------

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

MStatus MFnSingleIndexedComponent::getSharedElements(MIntArray& elements) const {
    host::Component* c = component();
    if (!c) return MStatus::kFailure;
    elements.hostVector() = c->elements;
    return MStatus::kSuccess;
}

// ---- double --------------------------------------------------------------------------------------

MObject MFnDoubleIndexedComponent::create(MFn::Type, MStatus* status) {
    return createOfKind(MFn::kDoubleIndexedComponent, status);
}

MStatus MFnDoubleIndexedComponent::addElement(int u, int v) {
    int values[2] = {u, v};
    return append(values, 2);
}

MStatus MFnDoubleIndexedComponent::getSharedElement(int index, int& u, int& v) const {
    int values[2];
    MStatus s;
    if (read(index, values, 2, s)) {
        u = values[0];
        v = values[1];
    }
    return s;
}

MStatus MFnDoubleIndexedComponent::getElements(MIntArray& uIndices, MIntArray& vIndices) const {
    const View e = view();
    if (e.type == MFn::kInvalid) return MStatus::kFailure;
    uIndices.clear();
    vIndices.clear();
    for (int i = 0; i < e.count; ++i) {
        uIndices.append(e.data[2 * i]);
        vIndices.append(e.data[2 * i + 1]);
    }
    return MStatus::kSuccess;
}

// ---- triple --------------------------------------------------------------------------------------

MObject MFnTripleIndexedComponent::create(MFn::Type, MStatus* status) {
    return createOfKind(MFn::kTripleIndexedComponent, status);
}

MStatus MFnTripleIndexedComponent::addElement(int s, int t, int u) {
    int values[3] = {s, t, u};
    return append(values, 3);
}

MStatus MFnTripleIndexedComponent::getSharedElement(int index, int& s, int& t, int& u) const {
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
    const View e = view();
    if (e.type == MFn::kInvalid) return MStatus::kFailure;
    sIndices.clear();
    tIndices.clear();
    uIndices.clear();
    for (int i = 0; i < e.count; ++i) {
        sIndices.append(e.data[3 * i]);
        tIndices.append(e.data[3 * i + 1]);
        uIndices.append(e.data[3 * i + 2]);
    }
    return MStatus::kSuccess;
}
