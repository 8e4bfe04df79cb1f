#include "command/AttrValues.h"
#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/QueryArgs.h"
#include "graph/Scene.h"

#include <maya/MCommandResult.h>
#include <maya/MDoubleArray.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MIntArray.h>
#include <maya/MStringArray.h>
#include <maya/MTime.h>

#include <cmath>

// listAttr and attributeQuery: what attributes a node has and what kind each one is.

namespace host {

namespace {

const char* const kListAttr = "listAttr";
const char* const kAttributeQuery = "attributeQuery";

// ---- listAttr ---------------------------------------------------------------------------------------

struct Listing {
    bool multi = false;
    MStringArray names;
};

// An existing element and everything below it: "a[2]", "a[2].child", ...
void listElementTree(const MPlug& plug, const Attribute& attribute, const std::string& path, Listing& out);

void listElements(const MPlug& arrayPlug, const Attribute& attribute, const std::string& path, Listing& out) {
    MIntArray indices;
    arrayPlug.getExistingArrayAttributeIndices(indices);
    for (unsigned k = 0; k < indices.length(); ++k) {
        MPlug element = arrayPlug.elementByLogicalIndex(static_cast<unsigned>(indices[k]));
        listElementTree(element, attribute, path + "[" + std::to_string(indices[k]) + "]", out);
    }
}

void listElementTree(const MPlug& plug, const Attribute& attribute, const std::string& path, Listing& out) {
    out.names.append(MString(path));
    for (unsigned i = 0; i < attribute.children.size(); ++i) {
        const Attribute& child = *attribute.children[i];
        const std::string childPath = path + "." + child.longName;
        MPlug childPlug = plug.child(i);
        if (child.array) {
            out.names.append(MString(childPath));
            listElements(childPlug, child, childPath, out);
        } else {
            listElementTree(childPlug, child, childPath, out);
        }
    }
}

// An attribute and its children, as Maya lists them: a child is shown by its own name, or by its path
// from the top ("a.child") when an attribute above it is an array. With -multi the existing elements of
// an array follow its name.
void listDefinition(const std::shared_ptr<Node>& node, const Attribute& attribute, const std::string& path,
                    bool underArray, Listing& out) {
    out.names.append(MString(underArray ? path : attribute.longName));
    if (out.multi && attribute.array && !underArray) {
        MPlug plug = plugOf(node, &attribute);
        if (!plug.isNull())
            listElements(plug, attribute, path, out);
    }
    for (const std::shared_ptr<Attribute>& child : attribute.children)
        listDefinition(node, *child, path + "." + child->longName, underArray || attribute.array, out);
}

bool isUserDefined(const Node& node, const Attribute* top) {
    for (const std::shared_ptr<Attribute>& attribute : node.dynamicAttributes)
        if (attribute.get() == top)
            return true;
    return false;
}

// The top-level attribute above an attribute.
const Attribute* topOf(const Attribute* attribute) {
    while (attribute->parent)
        attribute = attribute->parent;
    return attribute;
}

// The path of an attribute from its top: "top.child.grandchild".
std::string pathOf(const Attribute* attribute) {
    std::string path = attribute->longName;
    for (const Attribute* up = attribute->parent; up; up = up->parent)
        path = up->longName + "." + path;
    return path;
}

bool hasArrayAbove(const Attribute* attribute) {
    for (const Attribute* up = attribute->parent; up; up = up->parent)
        if (up->array)
            return true;
    return false;
}

MStatus listObject(const std::string& name, bool userDefined, Listing& out) {
    const size_t dot = name.find('.');
    std::shared_ptr<Node> node = lookupNode(name.substr(0, dot));
    if (!node)
        return commandError(kListAttr, "No object matches name: " + name.substr(0, dot));
    if (dot == std::string::npos) {
        for (const Attribute* attribute : topAttributes(*node))
            if (!userDefined || isUserDefined(*node, attribute))
                listDefinition(node, *attribute, attribute->longName, false, out);
        return MStatus::kSuccess;
    }
    // node.attribute: that attribute and what lies below it.
    const std::string attributeName = name.substr(dot + 1);
    const Attribute* attribute = node->findAttribute(attributeName);
    if (!attribute)
        return commandError(kListAttr, "No attribute " + quoted(attributeName) + " on " + quoted(node->name) + ".");
    if (!userDefined || isUserDefined(*node, topOf(attribute)))
        listDefinition(node, *attribute, pathOf(attribute), hasArrayAbove(attribute), out);
    return MStatus::kSuccess;
}

// ---- attributeQuery ---------------------------------------------------------------------------------

std::string numericTypeName(MFnNumericData::Type type) {
    switch (type) {
        case MFnNumericData::kBoolean: return "bool";
        case MFnNumericData::kByte: return "byte";
        case MFnNumericData::kChar: return "char";
        case MFnNumericData::kShort: return "short";
        case MFnNumericData::k2Short: return "short2";
        case MFnNumericData::k3Short: return "short3";
        case MFnNumericData::kLong: return "long";
        case MFnNumericData::k2Long: return "long2";
        case MFnNumericData::k3Long: return "long3";
        case MFnNumericData::kFloat: return "float";
        case MFnNumericData::k2Float: return "float2";
        case MFnNumericData::k3Float: return "float3";
        case MFnNumericData::kDouble: return "double";
        case MFnNumericData::k2Double: return "double2";
        case MFnNumericData::k3Double: return "double3";
        case MFnNumericData::k4Double: return "double4";
        case MFnNumericData::kAddr: return "addr";
        default: return "numeric";
    }
}

// Maya's names for attribute types: "double", "float3", "bool", "long", "time", "doubleAngle",
// "doubleLinear", "typed", "generic", "compound", "message".
std::string attributeTypeName(const Attribute& attribute) {
    switch (attribute.kind) {
        case AttrKind::Numeric: {
            // A numeric compound made of three children takes its name from their type.
            if (attribute.children.size() > 1) {
                const MFnNumericData::Type first = attribute.children[0]->numericType;
                bool same = true;
                for (const std::shared_ptr<Attribute>& child : attribute.children)
                    same = same && child->numericType == first;
                const std::string base = same ? numericTypeName(first) : "double";
                return base + std::to_string(attribute.children.size());
            }
            return numericTypeName(attribute.numericType);
        }
        case AttrKind::Unit:
            switch (attribute.unitType) {
                case MFnUnitAttribute::kAngle: return "doubleAngle";
                case MFnUnitAttribute::kDistance: return "doubleLinear";
                case MFnUnitAttribute::kTime: return "time";
                default: return "double";
            }
        case AttrKind::Typed: return "typed";
        case AttrKind::Generic: return "generic";
        case AttrKind::Compound: return "compound";
        case AttrKind::Message: return "message";
    }
    return "unknown";
}

// A default as scripts see values: times in the UI unit, angles in degrees.
double shownDefault(const Attribute& attribute, double value) {
    if (attribute.kind == AttrKind::Unit && attribute.unitType == MFnUnitAttribute::kTime)
        return MTime(value, MTime::kSeconds).as(MTime::uiUnit());
    if (attribute.kind == AttrKind::Unit && attribute.unitType == MFnUnitAttribute::kAngle)
        return value * 180.0 / M_PI;
    return value;
}

MStatus listDefault(const Attribute& attribute, const std::string& name, MCommandResult& result) {
    if (attribute.kind != AttrKind::Numeric && attribute.kind != AttrKind::Unit)
        return commandError(kAttributeQuery, quoted(name) + " is a " + attributeTypeName(attribute) +
                                                 " attribute and has no numeric default.");
    MDoubleArray values;
    const size_t count = attribute.isNumericCompound() ? attribute.children.size() : 1;
    for (size_t i = 0; i < count && i < 3; ++i)
        values.append(shownDefault(attribute, attribute.defaults[i]));
    CommandResultAccess::setDoubleArray(result, values);
    return MStatus::kSuccess;
}

const std::vector<QueryFlag>& attributeQueryFlags() {
    static const std::vector<QueryFlag> flags = {
        {"node", "n", QueryFlag::Text},          {"type", "typ", QueryFlag::Text},
        {"exists", "ex", QueryFlag::Switch},     {"longName", "ln", QueryFlag::Switch},
        {"shortName", "sn", QueryFlag::Switch},  {"attributeType", "at", QueryFlag::Switch},
        {"multi", "m", QueryFlag::Switch},       {"readable", "r", QueryFlag::Switch},
        {"writable", "w", QueryFlag::Switch},    {"connectable", "c", QueryFlag::Switch},
        {"keyable", "k", QueryFlag::Switch},     {"usedAsColor", "uac", QueryFlag::Switch},
        {"listChildren", "lc", QueryFlag::Switch}, {"listDefault", "ld", QueryFlag::Switch},
        {"hidden", "h", QueryFlag::Switch},      {"storable", "s", QueryFlag::Switch},
        {"listParent", "lp", QueryFlag::Switch},
    };
    return flags;
}

}  // namespace

// listAttr [-userDefined] [-multi] object...: the attribute names of each object (a node, or
// "node.attribute" for that attribute and those below it), as a string array.
MStatus listAttrCommand(const Args& args, MCommandResult& result) {
    QueryArgs parsed;
    MStatus status = parseQueryArgs(kListAttr, args,
                                    {{"userDefined", "ud", QueryFlag::Switch}, {"multi", "m", QueryFlag::Switch}},
                                    parsed);
    if (!status)
        return status;
    if (parsed.positional.empty())
        return commandError(kListAttr, "No object given. Usage: listAttr [-userDefined] [-multi] <object>...");
    Listing listing;
    listing.multi = parsed.has("multi");
    for (const Arg& object : parsed.positional) {
        status = listObject(object.text, parsed.has("userDefined"), listing);
        if (!status)
            return status;
    }
    CommandResultAccess::setStringArray(result, listing.names);
    return MStatus::kSuccess;
}

// attributeQuery -node <node> (or -type <node type>) <one query flag> <attribute>. -exists answers 0 for
// a missing attribute; every other query of a missing attribute is an error. Yes/no queries answer 1 or
// 0; -listChildren gives the children's long names, -listParent the parent's, -listDefault the default
// numbers.
MStatus attributeQueryCommand(const Args& args, MCommandResult& result) {
    QueryArgs parsed;
    MStatus status = parseQueryArgs(kAttributeQuery, args, attributeQueryFlags(), parsed);
    if (!status)
        return status;
    const char* const usage = "attributeQuery -node <node> -<query flag> <attribute>";
    if (parsed.positional.size() != 1)
        return commandError(kAttributeQuery, std::string(parsed.positional.empty() ? "No attribute given"
                                                                                    : "Give one attribute") +
                                                 ". Usage: " + usage);
    if (parsed.has("node") == parsed.has("type"))
        return commandError(kAttributeQuery, "Give one of -node <node> and -type <node type>. Usage: " +
                                                 std::string(usage));
    std::vector<std::string> queries;
    for (const auto& [flag, text] : parsed.given)
        if (flag != "node" && flag != "type")
            queries.push_back(flag);
    if (queries.size() != 1)
        return commandError(kAttributeQuery, std::string(queries.empty() ? "No query flag given"
                                                                         : "Give one query flag at a time") +
                                                 ". Usage: " + usage);
    const std::string& query = queries[0];
    const std::string name = parsed.positional[0].text;

    const Attribute* attribute = nullptr;
    if (parsed.has("node")) {
        std::shared_ptr<Node> node = lookupNode(parsed.value("node"));
        if (!node)
            return commandError(kAttributeQuery, "No object matches name: " + parsed.value("node"));
        attribute = node->findAttribute(name);
    } else {
        std::shared_ptr<NodeType> type = findNodeType(parsed.value("type"));
        if (!type)
            return commandError(kAttributeQuery, "No node type named " + quoted(parsed.value("type")) + ".");
        attribute = type->find(name);
    }
    if (query == "exists") {
        CommandResultAccess::setInt(result, attribute ? 1 : 0);
        return MStatus::kSuccess;
    }
    if (!attribute)
        return commandError(kAttributeQuery, "No attribute named " + quoted(name) + " on " +
                                                 quoted(parsed.has("node") ? parsed.value("node")
                                                                           : parsed.value("type")) +
                                                 ".");
    const Attribute& a = *attribute;
    if (query == "longName" || query == "shortName") {
        CommandResultAccess::setString(result, MString(query == "longName" ? a.longName : a.shortName));
    } else if (query == "attributeType") {
        CommandResultAccess::setString(result, MString(attributeTypeName(a)));
    } else if (query == "listChildren") {
        MStringArray names;
        for (const std::shared_ptr<Attribute>& child : a.children)
            names.append(MString(child->longName));
        CommandResultAccess::setStringArray(result, names);
    } else if (query == "listParent") {
        MStringArray names;
        if (a.parent)
            names.append(MString(a.parent->longName));
        CommandResultAccess::setStringArray(result, names);
    } else if (query == "listDefault") {
        return listDefault(a, name, result);
    } else {
        const bool answer = query == "multi"         ? a.array
                            : query == "readable"    ? a.readable
                            : query == "writable"    ? a.writable
                            : query == "connectable" ? a.connectable
                            : query == "keyable"     ? a.keyable
                            : query == "usedAsColor" ? a.usedAsColor
                            : query == "hidden"      ? a.hidden
                                                     : a.storable;
        CommandResultAccess::setInt(result, answer ? 1 : 0);
    }
    return MStatus::kSuccess;
}

}  // namespace host
