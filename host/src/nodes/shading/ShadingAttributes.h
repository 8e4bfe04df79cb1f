#ifndef HOST_SHADING_ATTRIBUTES_H
#define HOST_SHADING_ATTRIBUTES_H

#include "nodes/shading/ShadingFormulas.h"

#include <maya/MDataBlock.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <initializer_list>

// Helpers for making and reading the attributes of the host's shading node types. Each maker keeps the
// first failure in `status` (which must start as kSuccess), so an initialize can make its attributes in a
// row and check once.
namespace host {

// A float3 colour input with the given default.
MObject colorInput(const char* longName, const char* shortName, float r, float g, float b, MStatus& status);
// A float3 output that compute writes: not writable, not stored.
MObject colorOutput(const char* longName, const char* shortName, MStatus& status);
// A float3 (not a colour) input, e.g. a scale.
MObject vectorInput(const char* longName, const char* shortName, float x, float y, float z, MStatus& status);
// A double3 input, e.g. a camera's translate.
MObject double3Input(const char* longName, const char* shortName, MStatus& status);
// An int or bool input.
MObject intInput(const char* longName, const char* shortName, int value, MStatus& status);
MObject boolInput(const char* longName, const char* shortName, bool value, MStatus& status);
// A message-like connection point (holds no value).
MObject messageInput(const char* longName, const char* shortName);

// addAttribute for each, in order; the first failure ends it.
MStatus addAttributes(std::initializer_list<const MObject*> attributes);
// attributeAffects(input, output) for each input.
MStatus affectOutput(std::initializer_list<const MObject*> inputs, const MObject& output);

// The three numbers of a float3/double3 input, pulled through the data block.
Float3 inputColor(MDataBlock& block, const MObject& attribute, MStatus& status);
// Writes a float3 output and marks it clean.
MStatus setColorOutput(MDataBlock& block, const MObject& attribute, const Float3& value);

}  // namespace host

#endif
