#include "command/AttrValues.h"
#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/SceneArgs.h"
#include "data/Data.h"
#include "data/NumericData.h"
#include "graph/Scene.h"

#include <maya/MCommandResult.h>
#include <maya/MDoubleArray.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnStringData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MIntArray.h>
#include <maya/MVectorArray.h>

#include <algorithm>

// setAttr <plug> <values> and getAttr [-size] <plug>.
// Numbers go to numeric and unit attributes (1 number, or 2/3 for numeric compounds; times in the UI
// unit, angles in degrees). Typed data needs -type: string, doubleArray N v.., vectorArray N x y z..,
// Int32Array N i... Every value is checked before anything is set, so a failed setAttr changes nothing.

namespace host {

namespace {

const char* const kSetAttr = "setAttr";
const char* const kGetAttr = "getAttr";

bool isUnsetArray(const MPlug& plug, const Attribute& attribute) {
    return attribute.array && plug.hostPath().back().index < 0;
}

// The plug, an array element or compound above it, or a number below it takes a connection.
bool isDrivenByConnection(const MPlug& plug, const Attribute& attribute) {
    const std::vector<PlugStep>& path = plug.hostPath();
    for (size_t k = 1; k <= path.size(); ++k) {
        MPlug prefix(plug.hostNode(), std::vector<PlugStep>(path.begin(), path.begin() + k));
        if (incomingConnection(prefix))
            return true;
    }
    if (attribute.isNumericCompound()) {
        for (unsigned i = 0; i < attribute.children.size(); ++i) {
            MPlug child = plug.child(i);
            if (!child.isNull() && incomingConnection(child))
                return true;
        }
    }
    return false;
}

bool acceptsData(const Attribute& attribute, MFnData::Type type) {
    if (attribute.kind == AttrKind::Typed)
        return attribute.dataType == type;
    if (attribute.kind == AttrKind::Generic)
        return std::find(attribute.accepts.begin(), attribute.accepts.end(), type) != attribute.accepts.end();
    return false;
}

MStatus setFailed(const std::string& plugName, MStatus status) {
    return commandError(kSetAttr, "Cannot set " + quoted(plugName) + " (" + status.errorString().str() + ").");
}

// values[0] is the element count N, then N * perElement values.
MStatus readCount(const Args& values, unsigned perElement, const std::string& typeName, unsigned& count) {
    int n = 0;
    if (values.empty() || !parseInt(values[0].text, n) || n < 0)
        return commandError(kSetAttr, "-type " + typeName + " needs an element count first, then the values" +
                                          (values.empty() ? std::string(".") : ", not " + quoted(values[0].text) + "."));
    size_t given = values.size() - 1;
    if (given != static_cast<size_t>(n) * perElement)
        return commandError(kSetAttr, "-type " + typeName + " count " + std::to_string(n) + " needs " +
                                          std::to_string(static_cast<size_t>(n) * perElement) + " values, but " +
                                          std::to_string(given) + " were given.");
    count = static_cast<unsigned>(n);
    return MStatus::kSuccess;
}

MStatus readDoubles(const Args& values, size_t from, std::vector<double>& out) {
    for (size_t i = from; i < values.size(); ++i) {
        double v = 0.0;
        if (!parseDouble(values[i].text, v))
            return commandError(kSetAttr, quoted(values[i].text) + " is not a number.");
        out.push_back(v);
    }
    return MStatus::kSuccess;
}

MStatus setString(MPlug& plug, const std::string& plugName, const Args& values) {
    if (values.size() != 1)
        return commandError(kSetAttr, "-type string takes one text for " + quoted(plugName) +
                                          " (quote text that has blanks).");
    MStatus status = plug.setValue(MString(values[0].text));
    return status ? status : setFailed(plugName, status);
}

MStatus setDataObject(MPlug& plug, const std::string& plugName, MObject data, MStatus created) {
    if (!created || data.isNull())
        return setFailed(plugName, created ? MStatus(MStatus::kFailure) : created);
    MStatus status = plug.setValue(data);
    return status ? status : setFailed(plugName, status);
}

MStatus setDoubleArray(MPlug& plug, const std::string& plugName, const Args& values) {
    unsigned count = 0;
    std::vector<double> numbers;
    MStatus status = readCount(values, 1, "doubleArray", count);
    if (status)
        status = readDoubles(values, 1, numbers);
    if (!status)
        return status;
    MDoubleArray array;
    for (double v : numbers)
        array.append(v);
    MFnDoubleArrayData fn;
    MObject data = fn.create(array, &status);
    return setDataObject(plug, plugName, data, status);
}

MStatus setVectorArray(MPlug& plug, const std::string& plugName, const Args& values) {
    unsigned count = 0;
    std::vector<double> numbers;
    MStatus status = readCount(values, 3, "vectorArray", count);
    if (status)
        status = readDoubles(values, 1, numbers);
    if (!status)
        return status;
    MVectorArray array;
    for (unsigned i = 0; i < count; ++i)
        array.append(MVector(numbers[3 * i], numbers[3 * i + 1], numbers[3 * i + 2]));
    MFnVectorArrayData fn;
    MObject data = fn.create(array, &status);
    return setDataObject(plug, plugName, data, status);
}

MStatus setIntArray(MPlug& plug, const std::string& plugName, const Args& values) {
    unsigned count = 0;
    MStatus status = readCount(values, 1, "Int32Array", count);
    if (!status)
        return status;
    MIntArray array;
    for (size_t i = 1; i < values.size(); ++i) {
        int v = 0;
        if (!parseInt(values[i].text, v))
            return commandError(kSetAttr, quoted(values[i].text) + " is not an integer.");
        array.append(v);
    }
    MFnIntArrayData fn;
    MObject data = fn.create(array, &status);
    return setDataObject(plug, plugName, data, status);
}

MStatus setData(MPlug& plug, const Attribute& attribute, const std::string& plugName, const std::string& typeName,
                const Args& values) {
    MFnData::Type type = dataTypeNamed(typeName);
    if (type == MFnData::kInvalid)
        return commandError(kSetAttr, "Unknown data type " + quoted(typeName) +
                                          " (use string, doubleArray, vectorArray or Int32Array).");
    if (!acceptsData(attribute, type)) {
        std::string holds = attribute.kind == AttrKind::Typed ? dataTypeName(attribute.dataType) + " data"
                            : attribute.kind == AttrKind::Generic ? "other data"
                                                                  : "numbers";
        return commandError(kSetAttr, "Wrong data type " + quoted(typeName) + ": " + quoted(plugName) + " holds " +
                                          holds + ".");
    }
    switch (type) {
        case MFnData::kString: return setString(plug, plugName, values);
        case MFnData::kDoubleArray: return setDoubleArray(plug, plugName, values);
        case MFnData::kVectorArray: return setVectorArray(plug, plugName, values);
        default: return setIntArray(plug, plugName, values);
    }
}

// One number, or one per child of a numeric compound.
MStatus setNumbers(const MPlug& plug, const Attribute& attribute, const std::string& plugName, const Args& values) {
    std::vector<MPlug> plugs;
    std::vector<const Attribute*> attributes;
    if (attribute.isNumericCompound()) {
        for (unsigned i = 0; i < attribute.children.size(); ++i) {
            plugs.push_back(plug.child(i));
            attributes.push_back(attribute.children[i].get());
        }
    } else {
        plugs.push_back(plug);
        attributes.push_back(&attribute);
    }
    if (values.size() != plugs.size())
        return commandError(kSetAttr, quoted(plugName) + " takes " + std::to_string(plugs.size()) + " value(s), but " +
                                          std::to_string(values.size()) + " were given.");
    std::vector<double> numbers(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        MStatus status = parseNumberFor(kSetAttr, *attributes[i], values[i].text, plugName, numbers[i]);
        if (!status)
            return status;
    }
    for (size_t i = 0; i < plugs.size(); ++i) {
        MStatus status = setNumber(plugs[i], *attributes[i], numbers[i]);
        if (!status)
            return setFailed(plugName, status);
    }
    return MStatus::kSuccess;
}

bool isNumericTypeName(const std::string& name) {
    static const char* const names[] = {"double", "double2", "double3", "float", "float2", "float3",
                                        "long",   "long2",   "long3",   "short", "short2", "short3", "bool"};
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// What setAttr can do with the plug at all; "" when it can be set.
std::string whyNotSettable(const MPlug& plug, const Attribute& attribute, const std::string& plugName) {
    if (isUnsetArray(plug, attribute))
        return quoted(plugName) + " is an array attribute: set one of its elements, as in '" + plugName + "[0]'.";
    if (attribute.kind == AttrKind::Compound && !attribute.isNumericCompound())
        return quoted(plugName) + " is a compound attribute: set its children one by one.";
    if (attribute.kind == AttrKind::Message)
        return quoted(plugName) + " is a message attribute and holds no value.";
    if (!attribute.writable)
        return "The attribute " + quoted(plugName) + " is not writable.";
    if (isDrivenByConnection(plug, attribute))
        return "The attribute " + quoted(plugName) + " is locked or connected and cannot be modified.";
    return std::string();
}

// The data object of a typed plug, or an error.
MStatus readData(const MPlug& plug, const std::string& plugName, MObject& data) {
    MStatus status = plug.getValue(data);
    if (!status)
        return commandError(kGetAttr, "Cannot read " + quoted(plugName) + " (" + status.errorString().str() + ").");
    return MStatus::kSuccess;
}

// Number of elements of array data, or an error for other data.
MStatus dataLength(const MObject& data, const Attribute& attribute, const std::string& plugName, unsigned& length) {
    MFnData::Type type = data.isNull() ? attribute.dataType : dataTypeOf(data);
    switch (type) {
        case MFnData::kDoubleArray: length = data.isNull() ? 0 : MFnDoubleArrayData(data).length(); break;
        case MFnData::kVectorArray: length = data.isNull() ? 0 : MFnVectorArrayData(data).length(); break;
        case MFnData::kIntArray: length = data.isNull() ? 0 : MFnIntArrayData(data).length(); break;
        default:
            return commandError(kGetAttr, "-size needs an array attribute or array data; " + quoted(plugName) +
                                              " is neither.");
    }
    return MStatus::kSuccess;
}

MStatus getSize(const MPlug& plug, const Attribute& attribute, const std::string& plugName, MCommandResult& result) {
    if (isUnsetArray(plug, attribute)) {
        CommandResultAccess::setInt(result, static_cast<int>(plug.numElements()));
        return MStatus::kSuccess;
    }
    if (attribute.kind != AttrKind::Typed && attribute.kind != AttrKind::Generic)
        return commandError(kGetAttr, "-size needs an array attribute or array data; " + quoted(plugName) +
                                          " is neither.");
    MObject data;
    unsigned length = 0;
    MStatus status = readData(plug, plugName, data);
    if (status)
        status = dataLength(data, attribute, plugName, length);
    if (status)
        CommandResultAccess::setInt(result, static_cast<int>(length));
    return status;
}

MStatus getData(const MPlug& plug, const Attribute& attribute, const std::string& plugName, MCommandResult& result) {
    if (attribute.kind == AttrKind::Typed && attribute.dataType == MFnData::kString) {
        MString text;
        MStatus status = plug.getValue(text);
        if (!status)
            return commandError(kGetAttr, "Cannot read " + quoted(plugName) + " (" + status.errorString().str() + ").");
        CommandResultAccess::setString(result, text);
        return MStatus::kSuccess;
    }
    MObject data;
    MStatus status = readData(plug, plugName, data);
    if (!status)
        return status;
    MFnData::Type type = data.isNull() ? attribute.dataType : dataTypeOf(data);
    switch (type) {
        case MFnData::kString:
            CommandResultAccess::setString(result, data.isNull() ? MString() : MFnStringData(data).string());
            return MStatus::kSuccess;
        case MFnData::kDoubleArray:
            CommandResultAccess::setDoubleArray(result, data.isNull() ? MDoubleArray()
                                                                      : MFnDoubleArrayData(data).array());
            return MStatus::kSuccess;
        case MFnData::kIntArray:
            CommandResultAccess::setIntArray(result, data.isNull() ? MIntArray() : MFnIntArrayData(data).array());
            return MStatus::kSuccess;
        case MFnData::kVectorArray: {
            MDoubleArray flat;
            if (!data.isNull()) {
                MVectorArray vectors = MFnVectorArrayData(data).array();
                for (unsigned i = 0; i < vectors.length(); ++i) {
                    flat.append(vectors[i].x);
                    flat.append(vectors[i].y);
                    flat.append(vectors[i].z);
                }
            }
            CommandResultAccess::setDoubleArray(result, flat);
            return MStatus::kSuccess;
        }
        default:
            return commandError(kGetAttr, quoted(plugName) + " holds " + dataTypeName(type) +
                                              " data, which getAttr cannot show.");
    }
}

MStatus getNumbers(const MPlug& plug, const Attribute& attribute, const std::string& plugName,
                   MCommandResult& result) {
    if (attribute.isNumericCompound()) {
        // A computed compound is evaluated as a whole, as a read of the compound plug asks for it.
        pull(plug);
        MDoubleArray values;
        for (unsigned i = 0; i < attribute.children.size(); ++i) {
            double v = 0.0;
            MStatus status = getNumber(plug.child(i), *attribute.children[i], v);
            if (!status)
                return commandError(kGetAttr, "Cannot read " + quoted(plugName) + " (" + status.errorString().str() +
                                                  ").");
            values.append(v);
        }
        CommandResultAccess::setDoubleArray(result, values);
        return MStatus::kSuccess;
    }
    double v = 0.0;
    MStatus status = getNumber(plug, attribute, v);
    if (!status)
        return commandError(kGetAttr, "Cannot read " + quoted(plugName) + " (" + status.errorString().str() + ").");
    bool integral = attribute.kind == AttrKind::Numeric &&
                    (isBooleanType(attribute.numericType) || isIntegerType(attribute.numericType));
    if (integral)
        CommandResultAccess::setInt(result, toInt(v));
    else
        CommandResultAccess::setDouble(result, v);
    return MStatus::kSuccess;
}

// The numbers of every existing element of a numeric array, in ascending logical order, one after the
// other (as Maya's getAttr shows a multi); reading an element evaluates it as any read does.
MStatus getElementNumbers(const MPlug& plug, const Attribute& attribute, const std::string& plugName,
                          MCommandResult& result) {
    MIntArray indices;
    plug.getExistingArrayAttributeIndices(indices);
    MDoubleArray values;
    for (unsigned k = 0; k < indices.length(); ++k) {
        MPlug element = plug.elementByLogicalIndex(static_cast<unsigned>(indices[k]));
        MCommandResult one;
        MStatus status = getNumbers(element, attribute, plugName + "[" + std::to_string(indices[k]) + "]", one);
        if (!status)
            return status;
        MDoubleArray numbers;
        one.getResult(numbers);
        double single = 0.0;
        if (numbers.length() == 0 && one.getResult(single))
            numbers.append(single);
        for (unsigned j = 0; j < numbers.length(); ++j)
            values.append(numbers[j]);
    }
    CommandResultAccess::setDoubleArray(result, values);
    return MStatus::kSuccess;
}

}  // namespace

MStatus setAttrCommand(const Args& args, MCommandResult&) {
    ParsedArgs parsed;
    MStatus status = parseArgs(kSetAttr, args, {{"type", "typ", 1}}, parsed);
    if (status)
        status = expectCount(kSetAttr, parsed, 1, static_cast<size_t>(-1),
                             "setAttr <plug> <value>... or setAttr <plug> -type <data type> <values>...");
    if (!status)
        return status;
    const std::string& plugName = parsed.positional[0].text;
    MPlug plug;
    status = resolvePlug(kSetAttr, plugName, plug);
    if (!status)
        return status;
    const Attribute& attribute = *plugAttribute(plug);
    Args values(parsed.positional.begin() + 1, parsed.positional.end());
    std::string why = whyNotSettable(plug, attribute, plugName);
    if (!why.empty())
        return commandError(kSetAttr, why);
    if (values.empty())
        return commandError(kSetAttr, "Missing value for " + quoted(plugName) + ".");

    bool numeric = attribute.kind == AttrKind::Numeric || attribute.kind == AttrKind::Unit;
    std::string typeName = parsed.value("type");
    if (parsed.has("type") && !(numeric && isNumericTypeName(typeName)))
        return setData(plug, attribute, plugName, typeName, values);
    if (attribute.kind == AttrKind::Generic)
        return commandError(kSetAttr, quoted(plugName) + " takes data of several types: give one with -type.");
    if (!numeric)
        return commandError(kSetAttr, quoted(plugName) + " holds " + dataTypeName(attribute.dataType) +
                                          " data: give its type, as in setAttr " + plugName + " -type " +
                                          dataTypeName(attribute.dataType) + " ...");
    return setNumbers(plug, attribute, plugName, values);
}

MStatus getAttrCommand(const Args& args, MCommandResult& result) {
    ParsedArgs parsed;
    MStatus status = parseArgs(kGetAttr, args, {{"size", "s", 0}}, parsed);
    if (status)
        status = expectCount(kGetAttr, parsed, 1, 1, "getAttr [-size] <plug>");
    if (!status)
        return status;
    const std::string& plugName = parsed.positional[0].text;
    MPlug plug;
    status = resolvePlug(kGetAttr, plugName, plug);
    if (!status)
        return status;
    const Attribute& attribute = *plugAttribute(plug);
    if (parsed.has("size"))
        return getSize(plug, attribute, plugName, result);
    if (isUnsetArray(plug, attribute)) {
        if (attribute.kind == AttrKind::Numeric || attribute.kind == AttrKind::Unit)
            return getElementNumbers(plug, attribute, plugName, result);
        return commandError(kGetAttr, quoted(plugName) + " is an array attribute: read one element, as in '" +
                                          plugName + "[0]', or its size with -size.");
    }
    switch (attribute.kind) {
        case AttrKind::Numeric:
        case AttrKind::Unit: return getNumbers(plug, attribute, plugName, result);
        case AttrKind::Typed:
        case AttrKind::Generic: return getData(plug, attribute, plugName, result);
        default:
            return commandError(kGetAttr, quoted(plugName) + " is a " +
                                              (attribute.kind == AttrKind::Message ? "message" : "compound") +
                                              " attribute and has no value to show.");
    }
}

}  // namespace host
