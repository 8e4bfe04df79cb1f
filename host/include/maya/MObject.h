#ifndef MOBJECT_H
#define MOBJECT_H

#include <maya/MFn.h>

#include <iosfwd>
#include <memory>

namespace host {
class Object;
}

// Handle to a node, an attribute, a data object or a component. Copies refer to the same object.
class MObject {
public:
    MObject() = default;
    explicit MObject(std::shared_ptr<host::Object> object) : p_(std::move(object)) {}

    bool isNull() const { return !p_; }
    MFn::Type apiType() const;
    bool hasFn(MFn::Type type) const;

    bool operator==(const MObject& other) const { return p_ == other.p_; }
    bool operator!=(const MObject& other) const { return p_ != other.p_; }

    const std::shared_ptr<host::Object>& impl() const { return p_; }

    static MObject kNullObj;

private:
    std::shared_ptr<host::Object> p_;
};

std::ostream& operator<<(std::ostream& os, const MObject& object);

#endif
