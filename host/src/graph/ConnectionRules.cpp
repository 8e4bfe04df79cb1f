#include "graph/ConnectionRules.h"

#include "graph/Attribute.h"

#include <algorithm>

namespace host {

namespace {

// How many numbers an attribute carries, or 0 when it is not numeric.
size_t components(const Attribute& a) {
    if (a.kind == AttrKind::Numeric || a.kind == AttrKind::Unit)
        return a.children.empty() ? 1 : a.children.size();
    if (a.kind != AttrKind::Compound || a.children.empty())
        return 0;
    for (const auto& child : a.children)
        if (child->array || child->kind == AttrKind::Compound || components(*child) != 1)
            return 0;
    return a.children.size();
}

bool accepts(const Attribute& generic, MFnData::Type type) {
    return std::find(generic.accepts.begin(), generic.accepts.end(), type) != generic.accepts.end();
}

bool fits(const Attribute& s, const Attribute& d);

bool childrenFit(const Attribute& s, const Attribute& d) {
    if (s.children.size() != d.children.size())
        return false;
    for (size_t i = 0; i < s.children.size(); ++i) {
        const Attribute& sc = *s.children[i];
        const Attribute& dc = *d.children[i];
        if (sc.kind != AttrKind::Message && dc.kind != AttrKind::Message && sc.array != dc.array)
            return false;
        if (!fits(sc, dc))
            return false;
    }
    return true;
}

bool fits(const Attribute& s, const Attribute& d) {
    if (s.kind == AttrKind::Message || d.kind == AttrKind::Message)
        return true;
    size_t sn = components(s);
    size_t dn = components(d);
    if (sn && dn)
        return sn == dn || dn == 1;
    if (s.kind == AttrKind::Generic) {
        if (d.kind == AttrKind::Typed)
            return accepts(s, d.dataType);
        return d.kind == AttrKind::Generic || dn != 0;
    }
    if (d.kind == AttrKind::Generic) {
        if (s.kind == AttrKind::Typed)
            return accepts(d, s.dataType);
        return sn != 0 && accepts(d, MFnData::kNumeric);
    }
    if (s.kind == AttrKind::Typed && d.kind == AttrKind::Typed)
        return s.dataType == d.dataType;
    if (sn == 0 && dn == 0 && s.isCompound() && d.isCompound())
        return childrenFit(s, d);
    return false;
}

const char* numericName(MFnNumericData::Type type) {
    switch (type) {
    case MFnNumericData::kBoolean: return "bool";
    case MFnNumericData::kLong: return "long";
    case MFnNumericData::kFloat: return "float";
    case MFnNumericData::kDouble: return "double";
    case MFnNumericData::k2Double: return "double2";
    case MFnNumericData::k3Double: return "double3";
    case MFnNumericData::k3Float: return "float3";
    default: return "number";
    }
}

const char* dataName(MFnData::Type type) {
    switch (type) {
    case MFnData::kString: return "string";
    case MFnData::kMatrix: return "matrix";
    case MFnData::kStringArray: return "stringArray";
    case MFnData::kDoubleArray: return "doubleArray";
    case MFnData::kIntArray: return "intArray";
    case MFnData::kPointArray: return "pointArray";
    case MFnData::kVectorArray: return "vectorArray";
    case MFnData::kMesh: return "mesh";
    case MFnData::kLattice: return "lattice";
    case MFnData::kNurbsCurve: return "nurbsCurve";
    case MFnData::kNurbsSurface: return "nurbsSurface";
    case MFnData::kDynArrayAttrs: return "dynArrayAttrs";
    default: return "data";
    }
}

// What a plug carries, for messages: "double3", "nurbsCurve data", "compound", "array of double"...
std::string describe(const Attribute& a, bool wholeArray) {
    std::string text;
    switch (a.kind) {
    case AttrKind::Numeric:
        text = a.children.empty() || a.numericType != MFnNumericData::kInvalid ? numericName(a.numericType)
                                                                                : "numeric compound";
        break;
    case AttrKind::Unit: text = a.isTimeUnit() ? "time" : "number with a unit"; break;
    case AttrKind::Typed: text = std::string(dataName(a.dataType)) + " data"; break;
    case AttrKind::Generic: text = "generic data"; break;
    case AttrKind::Compound: text = components(a) ? "numeric compound" : "compound"; break;
    case AttrKind::Message: text = "message"; break;
    }
    return wholeArray ? "array of " + text : text;
}

bool isWholeArray(const MPlug& plug) {
    const PlugStep& last = plug.hostPath().back();
    return last.attr->array && last.index < 0;
}

// Whether inner is a child or element somewhere under outer.
bool inside(const std::vector<PlugStep>& outer, const std::vector<PlugStep>& inner) {
    if (outer.size() > inner.size())
        return false;
    for (size_t i = 0; i < outer.size(); ++i)
        if (outer[i].attr != inner[i].attr || (outer[i].index >= 0 && outer[i].index != inner[i].index))
            return false;
    return outer.size() < inner.size() || (outer.back().index < 0 && inner.back().index >= 0);
}

std::string quote(const MPlug& plug) {
    return "'" + plug.name().str() + "'";
}

}  // namespace

std::string connectionProblem(const MPlug& src, const MPlug& dst) {
    if (src.isNull() || dst.isNull())
        return "a plug is missing";
    const Attribute& s = *src.hostPath().back().attr;
    const Attribute& d = *dst.hostPath().back().attr;
    if (!s.readable)
        return "the source " + quote(src) + " is not readable";
    if (!s.connectable)
        return "the source " + quote(src) + " is not connectable";
    if (!d.writable)
        return "the destination " + quote(dst) + " is not writable";
    if (!d.connectable)
        return "the destination " + quote(dst) + " is not connectable";
    if (src.hostNode() == dst.hostNode() &&
        (inside(src.hostPath(), dst.hostPath()) || inside(dst.hostPath(), src.hostPath())))
        return quote(src) + " and " + quote(dst) + " are parts of one plug";
    bool message = s.kind == AttrKind::Message || d.kind == AttrKind::Message;
    bool wholeS = isWholeArray(src);
    bool wholeD = isWholeArray(dst);
    if (message || (wholeS == wholeD && fits(s, d)))
        return "";
    return quote(src) + " (" + describe(s, wholeS) + ") cannot feed " + quote(dst) + " (" + describe(d, wholeD) + ")";
}

}  // namespace host
