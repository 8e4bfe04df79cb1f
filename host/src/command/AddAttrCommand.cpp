#include "command/AttrValues.h"
#include "command/Builtins.h"
#include "command/SceneArgs.h"
#include "graph/Scene.h"
#include "nodes/particle.h"

#include <maya/MCommandResult.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>

// addAttr -ln name [-sn short] (-dt doubleArray|vectorArray|Int32Array|string | -at double|long|bool|float)
//         [-dv default] [-m] node
// Adds a dynamic attribute. The short name defaults to the long name; both must be free on the node.
// On a particle object, a double-array or vector-array attribute starts with one zero per particle.

namespace host {

namespace {

const char* const kAddAttr = "addAttr";

MFnNumericData::Type numericTypeNamed(const std::string& name) {
    if (name == "double")
        return MFnNumericData::kDouble;
    if (name == "float")
        return MFnNumericData::kFloat;
    if (name == "long")
        return MFnNumericData::kLong;
    if (name == "bool")
        return MFnNumericData::kBoolean;
    return MFnNumericData::kInvalid;
}

struct AttrRequest {
    std::string longName;
    std::string shortName;
    MFnData::Type dataType = MFnData::kInvalid;
    MFnNumericData::Type numericType = MFnNumericData::kInvalid;
    double defaultValue = 0.0;
    bool multi = false;
};

MStatus readRequest(const ParsedArgs& parsed, AttrRequest& request) {
    if (!parsed.has("longName"))
        return commandError(kAddAttr, "Missing -ln <long name>.");
    request.longName = parsed.value("longName");
    request.shortName = parsed.has("shortName") ? parsed.value("shortName") : request.longName;
    for (const std::string* name : {&request.longName, &request.shortName})
        if (!isValidNodeName(*name))
            return commandError(kAddAttr, quoted(*name) + " is not a valid attribute name.");
    if (parsed.has("dataType") == parsed.has("attributeType"))
        return commandError(kAddAttr, "Give exactly one of -dt <data type> and -at <attribute type>.");
    if (parsed.has("dataType")) {
        request.dataType = dataTypeNamed(parsed.value("dataType"));
        if (request.dataType == MFnData::kInvalid)
            return commandError(kAddAttr, "Unknown data type " + quoted(parsed.value("dataType")) +
                                              " (use doubleArray, vectorArray, Int32Array or string).");
        if (parsed.has("defaultValue"))
            return commandError(kAddAttr, "-dv applies to -at attributes only.");
    } else {
        request.numericType = numericTypeNamed(parsed.value("attributeType"));
        if (request.numericType == MFnNumericData::kInvalid)
            return commandError(kAddAttr, "Unknown attribute type " + quoted(parsed.value("attributeType")) +
                                              " (use double, long, bool or float).");
        if (parsed.has("defaultValue")) {
            Attribute probe;
            probe.numericType = request.numericType;
            MStatus status = parseNumberFor(kAddAttr, probe, parsed.value("defaultValue"), request.longName,
                                            request.defaultValue);
            if (!status)
                return status;
        }
    }
    request.multi = parsed.has("multi");
    return MStatus::kSuccess;
}

MObject createAttribute(const AttrRequest& request, MStatus& status) {
    if (request.dataType != MFnData::kInvalid) {
        MFnTypedAttribute fn;
        MObject attribute = fn.create(MString(request.longName), MString(request.shortName), request.dataType,
                                      MObject::kNullObj, &status);
        if (status && request.multi)
            status = fn.setArray(true);
        return attribute;
    }
    MFnNumericAttribute fn;
    MObject attribute = fn.create(MString(request.longName), MString(request.shortName), request.numericType,
                                  request.defaultValue, &status);
    if (status && request.multi)
        status = fn.setArray(true);
    return attribute;
}

}  // namespace

MStatus addAttrCommand(const Args& args, MCommandResult&) {
    ParsedArgs parsed;
    MStatus status = parseArgs(kAddAttr, args,
                               {{"longName", "ln", 1},
                                {"shortName", "sn", 1},
                                {"dataType", "dt", 1},
                                {"attributeType", "at", 1},
                                {"defaultValue", "dv", 1},
                                {"multi", "m", 0}},
                               parsed);
    if (status)
        status = expectCount(kAddAttr, parsed, 1, 1,
                             "addAttr -ln <name> [-sn <short name>] (-dt <data type> | -at <type>) [-dv <default>] "
                             "[-m] <node>");
    if (!status)
        return status;
    AttrRequest request;
    status = readRequest(parsed, request);
    if (!status)
        return status;
    std::shared_ptr<Node> node;
    status = resolveNode(kAddAttr, parsed.positional[0].text, node);
    if (!status)
        return status;
    for (const std::string& name : {request.longName, request.shortName})
        if (node->findAttribute(name))
            return commandError(kAddAttr, "Node " + quoted(node->name) + " already has an attribute named " +
                                              quoted(name) + ".");
    MObject attribute = createAttribute(request, status);
    if (!status || attribute.isNull())
        return commandError(kAddAttr, "Cannot create the attribute " + quoted(request.longName) + " (" +
                                          status.errorString().str() + ").");
    MFnDependencyNode fn(MObject(node), &status);
    if (status)
        status = fn.addAttribute(attribute);
    if (!status)
        return commandError(kAddAttr, "Cannot add " + quoted(request.longName) + " to " + quoted(node->name) + " (" +
                                          status.errorString().str() + ").");
    // A per-particle attribute of a particle object starts with one entry per particle.
    return conformPerParticleAttribute(MObject(node), attribute);
}

}  // namespace host
