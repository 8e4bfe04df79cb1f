#include "nodes/shading/ShadingAttributes.h"

#include "graph/Attribute.h"

#include <maya/MDataHandle.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MPxNode.h>

namespace host {

namespace {

void keep(MStatus& status, const MStatus& next) {
    if (status == MStatus::kSuccess)
        status = next;
}

MObject float3(const char* longName, const char* shortName, bool color, float x, float y, float z, MStatus& status) {
    MFnNumericAttribute fn;
    MStatus s;
    MObject a = color ? fn.createColor(longName, shortName, &s)
                      : fn.create(longName, shortName, MFnNumericData::k3Float, 0.0, &s);
    keep(status, s);
    if (s == MStatus::kSuccess)
        keep(status, fn.setDefault(x, y, z));
    return a;
}

}  // namespace

MObject colorInput(const char* longName, const char* shortName, float r, float g, float b, MStatus& status) {
    return float3(longName, shortName, true, r, g, b, status);
}

MObject colorOutput(const char* longName, const char* shortName, MStatus& status) {
    MObject a = float3(longName, shortName, true, 0.0f, 0.0f, 0.0f, status);
    MFnNumericAttribute fn(a);
    fn.setWritable(false);
    fn.setStorable(false);
    return a;
}

MObject vectorInput(const char* longName, const char* shortName, float x, float y, float z, MStatus& status) {
    return float3(longName, shortName, false, x, y, z, status);
}

MObject double3Input(const char* longName, const char* shortName, MStatus& status) {
    MFnNumericAttribute fn;
    MStatus s;
    MObject a = fn.create(longName, shortName, MFnNumericData::k3Double, 0.0, &s);
    keep(status, s);
    return a;
}

MObject intInput(const char* longName, const char* shortName, int value, MStatus& status) {
    MFnNumericAttribute fn;
    MStatus s;
    MObject a = fn.create(longName, shortName, MFnNumericData::kInt, value, &s);
    keep(status, s);
    return a;
}

MObject boolInput(const char* longName, const char* shortName, bool value, MStatus& status) {
    MFnNumericAttribute fn;
    MStatus s;
    MObject a = fn.create(longName, shortName, MFnNumericData::kBoolean, value ? 1.0 : 0.0, &s);
    keep(status, s);
    return a;
}

MObject messageInput(const char* longName, const char* shortName) {
    auto a = std::make_shared<Attribute>();
    a->kind = AttrKind::Message;
    a->longName = longName;
    a->shortName = shortName;
    a->storable = false;
    return MObject(a);
}

MStatus addAttributes(std::initializer_list<const MObject*> attributes) {
    for (const MObject* a : attributes) {
        MStatus status = MPxNode::addAttribute(*a);
        if (status != MStatus::kSuccess)
            return status;
    }
    return MStatus::kSuccess;
}

MStatus affectOutput(std::initializer_list<const MObject*> inputs, const MObject& output) {
    for (const MObject* a : inputs) {
        MStatus status = MPxNode::attributeAffects(*a, output);
        if (status != MStatus::kSuccess)
            return status;
    }
    return MStatus::kSuccess;
}

Float3 inputColor(MDataBlock& block, const MObject& attribute, MStatus& status) {
    MDataHandle h = block.inputValue(attribute, &status);
    if (status != MStatus::kSuccess || h.isNull())
        return Float3();
    const double3& v = h.asDouble3();
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

MStatus setColorOutput(MDataBlock& block, const MObject& attribute, const Float3& value) {
    MStatus status;
    MDataHandle out = block.outputValue(attribute, &status);
    if (status != MStatus::kSuccess)
        return status;
    out.set(static_cast<double>(value.x), static_cast<double>(value.y), static_cast<double>(value.z));
    return block.setClean(attribute);
}

}  // namespace host
