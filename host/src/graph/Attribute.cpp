#include "graph/Attribute.h"

#include <maya/MFnUnitAttribute.h>

namespace host {

MFn::Type Attribute::apiType() const {
    switch (kind) {
    case AttrKind::Numeric: return MFn::kNumericAttribute;
    case AttrKind::Typed: return MFn::kTypedAttribute;
    case AttrKind::Generic: return MFn::kGenericAttribute;
    case AttrKind::Compound: return MFn::kCompoundAttribute;
    case AttrKind::Unit: return MFn::kUnitAttribute;
    case AttrKind::Message: return MFn::kAttribute;
    }
    return MFn::kAttribute;
}

bool Attribute::hasFn(MFn::Type type) const {
    return type == apiType() || type == MFn::kAttribute || type == MFn::kBase;
}

int Attribute::childIndex(const Attribute* child) const {
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i].get() == child) return static_cast<int>(i);
    return -1;
}

const Attribute* Attribute::top() const {
    const Attribute* a = this;
    while (a->parent) a = a->parent;
    return a;
}

bool Attribute::isTimeUnit() const {
    return kind == AttrKind::Unit && unitType == MFnUnitAttribute::kTime;
}

std::shared_ptr<Attribute> attributeOf(const MObject& object) {
    return std::dynamic_pointer_cast<Attribute>(object.impl());
}

}  // namespace host
