#ifndef HOST_DATA_H
#define HOST_DATA_H

#include "foundation/Object.h"

#include <maya/MFnData.h>
#include <maya/MObject.h>

#include <memory>

namespace host {

// A data object: the value of a typed or generic attribute (strings, arrays, geometry ...).
class Data : public Object {
public:
    virtual MFnData::Type dataType() const = 0;
    // Every data object is also of the general data kind.
    bool hasFn(MFn::Type type) const override {
        return type == apiType() || type == MFn::kData || type == MFn::kBase;
    }
    // A deep copy, for values that must not share storage.
    virtual std::shared_ptr<Data> clone() const = 0;
    // What a plug hands out for its value when the value must not be changed through it (the value of
    // an output, which may be another attribute's own data): a view that cannot write into this data,
    // or this data itself where nothing can be written through a handle. Views are never stored: setting
    // one on a plug stores a copy.
    virtual std::shared_ptr<Data> readOnly(const std::shared_ptr<Data>& self) const { return self; }
    virtual bool isReadOnlyView() const { return false; }
};

// The kind of data an object holds; kInvalid for null objects and non-data objects.
MFnData::Type dataTypeOf(const MObject& object);

// The data object behind a handle, or null when it is not data of that class.
template <class T>
std::shared_ptr<T> dataAs(const MObject& object) {
    return std::dynamic_pointer_cast<T>(object.impl());
}

}  // namespace host

#endif
