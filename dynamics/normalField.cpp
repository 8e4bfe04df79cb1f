#include "normalField.h"

#include "fieldStatus.h"
#include "particleAttributes.h"

#include <maya/MDGContext.h>
#include <maya/MFnData.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnVectorArrayData.h>

MObject normalField::inputCurve;
MObject normalField::magnitudePP;
MObject normalField::outNormal;
MObject normalField::resultNormal;
MObject normalField::resultNormalizedNormal;
MObject normalField::resultUValue;

MTypeId normalField::id(0x1059C2);

normalField::normalField() {}

normalField::~normalField() {}

void* normalField::creator() { return new normalField; }

MStatus normalField::initialize() {
    struct Row {
        MObject* handle;
        const char* longName;
        const char* shortName;
        MFnData::Type dataType;
        const char* failure;
    };
    const Row rows[] = {
        {&inputCurve, "inputCurve", "ic", MFnData::kNurbsCurve, "ERROR adding output attribute.\n"},
        {&magnitudePP, "magnitudePP", "magPP", MFnData::kString, "ERROR adding magnitudePP attribute.\n"},
        {&outNormal, "outNormal", "on", MFnData::kString, "ERROR adding outNormal attribute.\n"},
        {&resultNormal, "normal", "rn", MFnData::kString, "ERROR adding resultNormal attribute.\n"},
        {&resultNormalizedNormal, "normalizedNormal", "rnn", MFnData::kString,
         "ERROR adding resultNormalizedNormal attribute.\n"},
        {&resultUValue, "uValue", "ruv", MFnData::kString, "ERROR adding resultUValue attribute.\n"},
    };

    MFnTypedAttribute typedAttr;
    MStatus stat;
    for (const Row& row : rows) {
        *row.handle = typedAttr.create(row.longName, row.shortName, row.dataType, MObject::kNullObj);
        addAttribute(*row.handle);
        // The affects declaration fails too when the attribute could not be added, so its status decides.
        stat = attributeAffects(*row.handle, mOutputForce);
        if (stat != MStatus::kSuccess) {
            fieldStatus::reportError(stat, row.failure);
            return MStatus::kUnknownParameter;
        }
    }
    return MStatus::kSuccess;
}

MStatus normalField::compute(const MPlug&, MDataBlock&) { return MStatus::kUnknownParameter; }

// Stops only when the lookup fails outright; a missing attribute gives a null plug and no data, which the
// function set refuses, and a refused function set copies nothing.
void normalField::getDoubleArrayData(const MFnDependencyNode& particleObject, const MString& name,
                                     MDoubleArray& out) {
    MStatus status;
    MPlug plug = particleObject.findPlug(name, &status);
    if (status == MStatus::kFailure)
        return;
    MObject data;
    plug.getValue(data, MDGContext::fsNormal);
    MFnDoubleArrayData fn(data, &status);
    if (status == MStatus::kFailure)
        return;
    fn.copyTo(out);
}

void normalField::getVectorArrayData(const MFnDependencyNode& particleObject, const MString& name,
                                     MVectorArray& out) {
    MStatus status;
    MPlug plug = particleObject.findPlug(name, &status);
    if (status == MStatus::kFailure)
        return;
    MObject data;
    plug.getValue(data, MDGContext::fsNormal);
    MFnVectorArrayData fn(data, &status);
    if (status == MStatus::kFailure)
        return;
    fn.copyTo(out);
}

void normalField::setData(const MFnDependencyNode& particleObject, const MString& name,
                          const MDoubleArray& selection, const MVectorArray& values) {
    particleAttributes::setData(particleObject, name, selection, values);
}

void normalField::setData(const MFnDependencyNode& particleObject, const MString& name,
                          const MDoubleArray& selection, const MDoubleArray& values) {
    particleAttributes::setData(particleObject, name, selection, values);
}
