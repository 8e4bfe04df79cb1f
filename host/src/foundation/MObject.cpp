#include "foundation/Object.h"

#include <maya/MObject.h>

#include <ostream>

MObject MObject::kNullObj;

MFn::Type MObject::apiType() const {
    return p_ ? p_->apiType() : MFn::kInvalid;
}

bool MObject::hasFn(MFn::Type type) const {
    return p_ && p_->hasFn(type);
}

std::ostream& operator<<(std::ostream& os, const MObject& object) {
    if (object.isNull()) return os << "MObject(null)";
    return os << "MObject(type " << static_cast<int>(object.apiType()) << ")";
}
