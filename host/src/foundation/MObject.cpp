#include "foundation/Object.h"

#include <maya/MObject.h>

#include <ostream>

MObject MObject::kNullObj;

MFn::Type MObject::apiType() const {
    return p_ ? p_->apiType() : point_.type;
}

bool MObject::hasFn(MFn::Type type) const {
    if (p_) return p_->hasFn(type);
    return point_.type != MFn::kInvalid && (type == point_.type || type == MFn::kComponent || type == MFn::kBase);
}

std::ostream& operator<<(std::ostream& os, const MObject& object) {
    if (object.isNull()) return os << "MObject(null)";
    return os << "MObject(type " << static_cast<int>(object.apiType()) << ")";
}
