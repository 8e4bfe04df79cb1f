#include "command/AttrValues.h"

#include <maya/MFnUnitAttribute.h>
#include <maya/MTime.h>

#include <cmath>

namespace host {

namespace {

const double kDegreesPerRadian = 180.0 / M_PI;

}  // namespace

MFnData::Type dataTypeNamed(const std::string& name) {
    if (name == "string")
        return MFnData::kString;
    if (name == "doubleArray")
        return MFnData::kDoubleArray;
    if (name == "vectorArray")
        return MFnData::kVectorArray;
    if (name == "Int32Array")
        return MFnData::kIntArray;
    return MFnData::kInvalid;
}

std::string dataTypeName(MFnData::Type type) {
    switch (type) {
        case MFnData::kString: return "string";
        case MFnData::kDoubleArray: return "doubleArray";
        case MFnData::kVectorArray: return "vectorArray";
        case MFnData::kIntArray: return "Int32Array";
        case MFnData::kPointArray: return "pointArray";
        case MFnData::kStringArray: return "stringArray";
        case MFnData::kMatrix: return "matrix";
        case MFnData::kMesh: return "mesh";
        case MFnData::kNurbsCurve: return "nurbsCurve";
        case MFnData::kNurbsSurface: return "nurbsSurface";
        case MFnData::kLattice: return "lattice";
        case MFnData::kDynArrayAttrs: return "dynArrayAttrs";
        case MFnData::kDynSweptGeometry: return "dynSweptGeometry";
        default: return "data";
    }
}

bool isBooleanType(MFnNumericData::Type type) { return type == MFnNumericData::kBoolean; }

bool isIntegerType(MFnNumericData::Type type) {
    switch (type) {
        case MFnNumericData::kByte:
        case MFnNumericData::kChar:
        case MFnNumericData::kShort:
        case MFnNumericData::k2Short:
        case MFnNumericData::k3Short:
        case MFnNumericData::kLong:
        case MFnNumericData::k2Long:
        case MFnNumericData::k3Long: return true;
        default: return false;
    }
}

MStatus parseNumberFor(const std::string& command, const Attribute& attribute, const std::string& text,
                       const std::string& plugName, double& value) {
    bool numeric = attribute.kind == AttrKind::Numeric;
    if (numeric && isBooleanType(attribute.numericType)) {
        bool b = false;
        if (!parseBool(text, b))
            return commandError(command, quoted(text) + " is not a boolean (true/false, on/off, yes/no, 1/0) for " +
                                             quoted(plugName) + ".");
        value = b ? 1.0 : 0.0;
        return MStatus::kSuccess;
    }
    if (numeric && isIntegerType(attribute.numericType)) {
        int i = 0;
        if (!parseInt(text, i))
            return commandError(command, quoted(text) + " is not an integer, which " + quoted(plugName) + " needs.");
        value = i;
        return MStatus::kSuccess;
    }
    if (!parseDouble(text, value))
        return commandError(command, quoted(text) + " is not a number (for " + quoted(plugName) + ").");
    return MStatus::kSuccess;
}

MStatus setNumber(const MPlug& plug, const Attribute& attribute, double value) {
    MPlug target = plug;
    if (attribute.kind == AttrKind::Unit) {
        if (attribute.unitType == MFnUnitAttribute::kTime)
            return target.setValue(MTime(value, MTime::uiUnit()));
        if (attribute.unitType == MFnUnitAttribute::kAngle)
            return target.setValue(value / kDegreesPerRadian);
        return target.setValue(value);
    }
    if (isBooleanType(attribute.numericType))
        return target.setValue(value != 0.0);
    if (isIntegerType(attribute.numericType))
        return target.setValue(static_cast<int>(value));
    return target.setValue(value);
}

MStatus getNumber(const MPlug& plug, const Attribute& attribute, double& value) {
    MStatus status;
    if (attribute.kind == AttrKind::Unit && attribute.unitType == MFnUnitAttribute::kTime) {
        MTime time;
        status = plug.getValue(time);
        value = time.as(MTime::uiUnit());
        return status;
    }
    if (isBooleanType(attribute.numericType)) {
        bool b = false;
        status = plug.getValue(b);
        value = b ? 1.0 : 0.0;
        return status;
    }
    if (isIntegerType(attribute.numericType)) {
        int i = 0;
        status = plug.getValue(i);
        value = i;
        return status;
    }
    status = plug.getValue(value);
    if (attribute.kind == AttrKind::Unit && attribute.unitType == MFnUnitAttribute::kAngle)
        value *= kDegreesPerRadian;
    return status;
}

}  // namespace host
