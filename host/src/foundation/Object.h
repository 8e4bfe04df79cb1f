#ifndef HOST_OBJECT_H
#define HOST_OBJECT_H

#include <maya/MFn.h>

#include <memory>

namespace host {

// Everything an MObject can stand for: nodes, attributes, data objects, components.
class Object : public std::enable_shared_from_this<Object> {
public:
    virtual ~Object() = default;
    virtual MFn::Type apiType() const = 0;
    virtual bool hasFn(MFn::Type type) const { return type == apiType(); }
};

}  // namespace host

#endif
