#include <maya/MFnNumericAttribute.h>

#include "graph/Attribute.h"

using host::Attribute;
using host::AttrKind;

namespace {

Attribute* attr(const MObject& object) {
    return dynamic_cast<Attribute*>(object.impl().get());
}

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

int componentCount(MFnNumericData::Type type) {
    switch (type) {
    case MFnNumericData::k2Short:
    case MFnNumericData::k2Long:
    case MFnNumericData::k2Float:
    case MFnNumericData::k2Double: return 2;
    case MFnNumericData::k3Short:
    case MFnNumericData::k3Long:
    case MFnNumericData::k3Float:
    case MFnNumericData::k3Double: return 3;
    default: return 1;
    }
}

MFnNumericData::Type componentType(MFnNumericData::Type type) {
    switch (type) {
    case MFnNumericData::k2Short:
    case MFnNumericData::k3Short: return MFnNumericData::kShort;
    case MFnNumericData::k2Long:
    case MFnNumericData::k3Long: return MFnNumericData::kLong;
    case MFnNumericData::k2Float:
    case MFnNumericData::k3Float: return MFnNumericData::kFloat;
    default: return MFnNumericData::kDouble;
    }
}

std::shared_ptr<Attribute> numeric(const std::string& longName, const std::string& shortName, MFnNumericData::Type type) {
    auto a = std::make_shared<Attribute>();
    a->kind = AttrKind::Numeric;
    a->longName = longName;
    a->shortName = shortName;
    a->numericType = type;
    return a;
}

}  // namespace

MFnNumericAttribute::MFnNumericAttribute(const MObject& attribute, MStatus* status) {
    Attribute* a = attr(attribute);
    if (!a || a->kind != AttrKind::Numeric) {
        setStatus(status, MStatus::kInvalidParameter);
        return;
    }
    obj_ = attribute;
    setStatus(status, MStatus::kSuccess);
}

MObject MFnNumericAttribute::create(const MString& longName, const MString& shortName, MFnNumericData::Type type,
                                    double defaultValue, MStatus* status) {
    if (longName.length() == 0 || type == MFnNumericData::kInvalid || type >= MFnNumericData::k4Double) {
        setStatus(status, MStatus::kInvalidParameter);
        return MObject();
    }
    auto a = numeric(longName.str(), shortName.str(), type);
    int n = componentCount(type);
    for (int i = 0; i < 3; ++i) a->defaults[i] = i < n ? defaultValue : 0.0;
    if (n > 1) {
        static const char* suffixLong[] = {"X", "Y", "Z"};
        static const char* suffixShort[] = {"x", "y", "z"};
        for (int i = 0; i < n; ++i) {
            auto c = numeric(longName.str() + suffixLong[i], shortName.str() + suffixShort[i], componentType(type));
            c->defaults[0] = defaultValue;
            c->parent = a.get();
            a->children.push_back(c);
        }
    }
    obj_ = MObject(a);
    setStatus(status, MStatus::kSuccess);
    return obj_;
}

MObject MFnNumericAttribute::create(const MString& longName, const MString& shortName, const MObject& child1,
                                    const MObject& child2, const MObject& child3, MStatus* status) {
    Attribute* c[3] = {attr(child1), attr(child2), attr(child3)};
    for (Attribute* ci : c) {
        if (!ci || ci->parent || !ci->children.empty()) {
            setStatus(status, MStatus::kInvalidParameter);
            return MObject();
        }
    }
    auto a = numeric(longName.str(), shortName.str(), MFnNumericData::k3Double);
    for (Attribute* ci : c) {
        ci->parent = a.get();
        a->children.push_back(std::static_pointer_cast<Attribute>(ci->shared_from_this()));
    }
    for (int i = 0; i < 3; ++i) a->defaults[i] = c[i]->defaults[0];
    obj_ = MObject(a);
    setStatus(status, MStatus::kSuccess);
    return obj_;
}

MObject MFnNumericAttribute::createColor(const MString& longName, const MString& shortName, MStatus* status) {
    MObject o = create(longName, shortName, MFnNumericData::k3Float, 0.0, status);
    if (Attribute* a = attr(o)) {
        static const char* suffixLong[] = {"R", "G", "B"};
        static const char* suffixShort[] = {"r", "g", "b"};
        for (int i = 0; i < 3; ++i) {
            a->children[i]->longName = longName.str() + suffixLong[i];
            a->children[i]->shortName = shortName.str() + suffixShort[i];
        }
        a->usedAsColor = true;
    }
    return o;
}

MObject MFnNumericAttribute::createPoint(const MString& longName, const MString& shortName, MStatus* status) {
    return create(longName, shortName, MFnNumericData::k3Double, 0.0, status);
}

MFnNumericData::Type MFnNumericAttribute::unitType(MStatus* status) const {
    Attribute* a = attr(obj_);
    setStatus(status, a ? MStatus::kSuccess : MStatus::kFailure);
    return a ? a->numericType : MFnNumericData::kInvalid;
}

MStatus MFnNumericAttribute::setDefault(bool value) {
    return setDefault(value ? 1.0 : 0.0);
}

MStatus MFnNumericAttribute::setDefault(int value) {
    return setDefault(static_cast<double>(value));
}

MStatus MFnNumericAttribute::setDefault(double value) {
    Attribute* a = attr(obj_);
    if (!a) return MStatus::kFailure;
    a->defaults[0] = value;
    if (!a->children.empty()) a->children[0]->defaults[0] = value;
    return MStatus::kSuccess;
}

MStatus MFnNumericAttribute::setDefault(double x, double y, double z) {
    Attribute* a = attr(obj_);
    if (!a) return MStatus::kFailure;
    double v[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        a->defaults[i] = v[i];
        if (static_cast<size_t>(i) < a->children.size()) a->children[static_cast<size_t>(i)]->defaults[0] = v[i];
    }
    return MStatus::kSuccess;
}

MStatus MFnNumericAttribute::getDefault(double& value) {
    Attribute* a = attr(obj_);
    if (!a) return MStatus::kFailure;
    value = a->defaults[0];
    return MStatus::kSuccess;
}

MStatus MFnNumericAttribute::getDefault(double& x, double& y, double& z) {
    Attribute* a = attr(obj_);
    if (!a) return MStatus::kFailure;
    x = a->defaults[0];
    y = a->defaults[1];
    z = a->defaults[2];
    return MStatus::kSuccess;
}
