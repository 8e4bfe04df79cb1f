#ifndef HOST_ATTRVALUES_H
#define HOST_ATTRVALUES_H

#include "command/Args.h"
#include "graph/Attribute.h"

#include <maya/MFnData.h>
#include <maya/MPlug.h>

#include <string>
#include <vector>

namespace host {

// Names of data types as setAttr -type and addAttr -dt write them ("string", "doubleArray",
// "vectorArray", "Int32Array"); kInvalid for other names.
MFnData::Type dataTypeNamed(const std::string& name);
// The name of a data type for messages ("doubleArray", ... or "data").
std::string dataTypeName(MFnData::Type type);

bool isBooleanType(MFnNumericData::Type type);
bool isIntegerType(MFnNumericData::Type type);

// One number for an attribute of the given numeric type: booleans as true/false/on/off/yes/no/1/0,
// integers as integers, others as decimal numbers. On failure, shows an error naming the text and the plug.
MStatus parseNumberFor(const std::string& command, const Attribute& attribute, const std::string& text,
                       const std::string& plugName, double& value);

// Stores one number in a numeric or unit plug (times in the UI unit, angles in degrees).
MStatus setNumber(const MPlug& plug, const Attribute& attribute, double value);
// Reads one number from a numeric or unit plug, in the units setNumber takes.
MStatus getNumber(const MPlug& plug, const Attribute& attribute, double& value);

}  // namespace host

#endif
