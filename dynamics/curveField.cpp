#include "curveField.h"

#include "fieldStatus.h"
#include "particleAttributes.h"

#include <maya/MDGContext.h>
#include <maya/MFnData.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnTypedAttribute.h>

MObject curveField::inputCurve;
MObject curveField::magnitudePP;
MObject curveField::speed;
MObject curveField::speedPP;
MObject curveField::speedMap;
MObject curveField::offset;
MObject curveField::offsetPP;
MObject curveField::offsetMap;
MObject curveField::attraction;
MObject curveField::attractionPP;
MObject curveField::attractionMap;
MObject curveField::rotation;
MObject curveField::rotationPP;
MObject curveField::rotationMap;
MObject curveField::rotationSpeed;
MObject curveField::rotationSpeedPP;
MObject curveField::rotationSpeedMap;
MObject curveField::rotationAttenuation;
MObject curveField::resultNormal;
MObject curveField::resultNormalizedNormal;
MObject curveField::resultUValue;

MTypeId curveField::id(0x1059C1);

curveField::curveField() {}

curveField::~curveField() {}

void* curveField::creator() { return new curveField; }

MStatus curveField::initialize() {
    // Typed rows hold a string (or the curve) and affect the force; numeric rows are doubles that affect
    // nothing, and the keyable ones get their default set explicitly.
    enum Kind { Typed, Numeric, NumericKeyable };
    struct Row {
        MObject* handle;
        const char* longName;
        const char* shortName;
        Kind kind;
        MFnData::Type dataType;  // typed rows
        double defaultValue;     // keyable rows
        const char* failure;
    };
    const MFnData::Type str = MFnData::kString;
    const MFnData::Type none = MFnData::kInvalid;
    const Row rows[] = {
        {&inputCurve, "inputCurve", "ic", Typed, MFnData::kNurbsCurve, 0.0, "ERROR adding output attribute.\n"},
        {&magnitudePP, "magnitudePP", "magPP", Typed, str, 0.0, "ERROR adding magnitudePP attribute.\n"},
        {&speed, "speed", "spd", NumericKeyable, none, 5.0, "ERROR adding speed attribute.\n"},
        {&speedPP, "speedPP", "spdPP", Typed, str, 0.0, "ERROR adding speedPP attribute.\n"},
        {&speedMap, "speedMap", "spdMap", Numeric, none, 0.0, "ERROR adding speedMap attribute.\n"},
        {&offset, "offset", "cof", NumericKeyable, none, 0.0, "ERROR adding offset attribute.\n"},
        {&offsetPP, "offsetPP", "ofsPP", Typed, str, 0.0, "ERROR adding offsetPP attribute.\n"},
        {&offsetMap, "offsetMap", "ofsMap", Numeric, none, 0.0, "ERROR adding offsetMap attribute.\n"},
        {&attraction, "attraction", "attr", NumericKeyable, none, 1.0, "ERROR adding attraction attribute.\n"},
        {&attractionPP, "attractionPP", "atrPP", Typed, str, 0.0, "ERROR adding attractionPP attribute.\n"},
        {&attractionMap, "attractionMap", "atrMap", Numeric, none, 0.0, "ERROR adding attractionMap attribute.\n"},
        {&rotation, "rotation", "rt", NumericKeyable, none, 0.0, "ERROR adding rotation attribute.\n"},
        {&rotationPP, "rotationPP", "rPP", Typed, str, 0.0, "ERROR adding rotationPP attribute.\n"},
        {&rotationMap, "rotationMap", "rMap", Numeric, none, 0.0, "ERROR adding rotationMap attribute.\n"},
        {&rotationSpeed, "rotationSpeed", "rts", NumericKeyable, none, 0.0, "ERROR adding rotationSpeed attribute.\n"},
        {&rotationSpeedPP, "rotationSpeedPP", "rsPP", Typed, str, 0.0, "ERROR adding rotationSpeedPP attribute.\n"},
        {&rotationSpeedMap, "rotationSpeedMap", "rsMap", Numeric, none, 0.0,
         "ERROR adding rotationSpeedMap attribute.\n"},
        {&rotationAttenuation, "rotationAttenuation", "rta", NumericKeyable, none, 0.0,
         "ERROR adding rotationAttenuation attribute.\n"},
        {&resultNormal, "normal", "rn", Typed, str, 0.0, "ERROR adding resultNormal attribute.\n"},
        {&resultNormalizedNormal, "normalizedNormal", "rnn", Typed, str, 0.0,
         "ERROR adding resultNormalizedNormal attribute.\n"},
        {&resultUValue, "uValue", "ruv", Typed, str, 0.0, "ERROR adding resultUValue attribute.\n"},
    };

    MFnTypedAttribute typedAttr;
    MFnNumericAttribute numAttr;
    MStatus stat;
    for (const Row& row : rows) {
        if (row.kind == Typed) {
            *row.handle = typedAttr.create(row.longName, row.shortName, row.dataType, MObject::kNullObj);
            addAttribute(*row.handle);
            stat = attributeAffects(*row.handle, mOutputForce);
        } else {
            *row.handle = numAttr.create(row.longName, row.shortName, MFnNumericData::kDouble, 0.0);
            if (row.kind == NumericKeyable) {
                numAttr.setDefault(row.defaultValue);
                numAttr.setKeyable(true);
            }
            stat = addAttribute(*row.handle);
        }
        if (stat != MStatus::kSuccess) {
            fieldStatus::reportError(stat, row.failure);
            return MStatus::kUnknownParameter;
        }
    }
    return MStatus::kSuccess;
}

MStatus curveField::compute(const MPlug&, MDataBlock&) { return MStatus::kUnknownParameter; }

// Stops on a failed lookup, a missing attribute (kInvalidParameter) and data of another kind.
void curveField::getDoubleArrayData(const MFnDependencyNode& particleObject, const MString& name,
                                    MDoubleArray& out) {
    MStatus status;
    MPlug plug = particleObject.findPlug(name, &status);
    if (status == MStatus::kFailure || status == MStatus::kInvalidParameter)
        return;
    MObject data;
    plug.getValue(data, MDGContext::fsNormal);
    MFnDoubleArrayData fn(data, &status);
    if (status == MStatus::kFailure || status == MStatus::kInvalidParameter)
        return;
    fn.copyTo(out);
}

void curveField::setData(const MFnDependencyNode& particleObject, const MString& name,
                         const MDoubleArray& selection, const MFloatVectorArray& values) {
    particleAttributes::setData(particleObject, name, selection, values);
}

void curveField::setData(const MFnDependencyNode& particleObject, const MString& name,
                         const MDoubleArray& selection, const MDoubleArray& values) {
    particleAttributes::setData(particleObject, name, selection, values);
}
