#ifndef MOBJECT_H
#define MOBJECT_H

#include <maya/MFn.h>

#include <iosfwd>
#include <memory>

namespace host {
class Object;

// A component of one element held by value in an MObject: its type (kSingleIndexedComponent,
// kDoubleIndexedComponent or kTripleIndexedComponent; kInvalid when the object is not one) and the
// element's 1, 2 or 3 indices.
struct PointComponent {
    MFn::Type type = MFn::kInvalid;
    int index[3] = {0, 0, 0};

    PointComponent() = default;
    // Copied field by field: the iterator writes the fields one by one just before a function set copies
    // them, and one wide read of fields written separately would wait for the writes to land.
    PointComponent(const PointComponent& o) noexcept : type(o.type), index{o.index[0], o.index[1], o.index[2]} {}
    PointComponent& operator=(const PointComponent& o) noexcept {
        type = o.type;
        index[0] = o.index[0];
        index[1] = o.index[1];
        index[2] = o.index[2];
        return *this;
    }

    bool operator==(const PointComponent& o) const {
        return type == o.type && index[0] == o.index[0] && index[1] == o.index[1] && index[2] == o.index[2];
    }
};
}  // namespace host

// Handle to a node, an attribute, a data object or a component. Copies refer to the same object.
//
// Host choice: the one-element components that the geometry iterator makes for every point it visits
// are held by value in the handle (no shared object behind it), so that taking them costs no allocation
// or reference count. Such an object is a component like any other to the function sets; a set that
// adds elements to one works on a shared copy of its own from then on, which other handles to the
// one-element component do not see. Two of them are equal when they hold the same element.
class MObject {
public:
    MObject() = default;
    explicit MObject(std::shared_ptr<host::Object> object) : p_(std::move(object)) {}
    // Host-only: a one-element component held by value.
    explicit MObject(const host::PointComponent& component) : point_(component) {}

    bool isNull() const { return !p_ && point_.type == MFn::kInvalid; }
    MFn::Type apiType() const;
    bool hasFn(MFn::Type type) const;

    bool operator==(const MObject& other) const { return p_ == other.p_ && point_ == other.point_; }
    bool operator!=(const MObject& other) const { return !(*this == other); }

    // Host-only: the shared object behind the handle; null for a null handle and for a component held
    // by value.
    const std::shared_ptr<host::Object>& impl() const { return p_; }
    // Host-only: the component held by value; its type is kInvalid for every other handle.
    const host::PointComponent& pointComponent() const { return point_; }

    static MObject kNullObj;

private:
    std::shared_ptr<host::Object> p_;
    host::PointComponent point_;
};

std::ostream& operator<<(std::ostream& os, const MObject& object);

#endif
