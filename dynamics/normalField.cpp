#include "normalField.h"

#include "fieldStatus.h"
#include "particleAttributes.h"

#include <maya/MDGContext.h>
#include <maya/MFnData.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MPlugArray.h>
#include <maya/MPoint.h>
#include <maya/MSpace.h>
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

namespace {

// Prints the error line and gives the status every failed compute returns.
MStatus fail(const MStatus& status, const char* message) {
    fieldStatus::reportError(status, message);
    return MStatus::kUnknownParameter;
}

// Reads a double through a plug of another node: finding and reading fail with their own messages.
bool readSourceDouble(const MFnDependencyNode& source, const char* name, const char* findFailure,
                      const char* getFailure, double& value) {
    MStatus stat;
    MPlug valuePlug = source.findPlug(name, &stat);
    if (stat != MStatus::kSuccess) {
        fieldStatus::reportError(stat, findFailure);
        return false;
    }
    stat = valuePlug.getValue(value, MDGContext::fsNormal);
    if (stat != MStatus::kSuccess) {
        fieldStatus::reportError(stat, getFailure);
        return false;
    }
    return true;
}

// The node at the source of the connection into plug, or a null object when nothing feeds it.
MObject sourceNode(const MPlug& plug) {
    MPlugArray sources;
    plug.connectedTo(sources, true, false);
    return sources.length() > 0 ? sources[0].node() : MObject();
}

// A result is wanted when it is named and the particle object has an attribute of that name.
bool wantsResult(const MFnDependencyNode& particleFn, const MString& name) {
    if (name.length() == 0)
        return false;
    MStatus stat;
    particleFn.findPlug(name, &stat);
    return stat == MStatus::kSuccess;
}

}  // namespace

MStatus normalField::compute(const MPlug& plug, MDataBlock& block) {
    if (plug != mOutputForce)
        return MStatus::kUnknownParameter;

    MStatus stat;
    MFnDependencyNode thisFn(thisMObject());

    MDataHandle curveHandle = block.inputValue(inputCurve, &stat);
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR in getting inputCurve handle.\n");
    MObject curveData = curveHandle.asNurbsCurve();
    if (curveData.isNull())
        return MStatus::kUnknownParameter;
    MFnNurbsCurve curveFn(curveData, &stat);
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR in getting inputCurve handle.\n");

    // The parameter range comes from the curve node feeding inputCurve; a curve held on the attribute
    // itself has no such node, and its own knot domain serves instead.
    double minValue = 0.0;
    double maxValue = 1.0;
    MPlug curvePlug = thisFn.findPlug("inputCurve");
    MObject curveSource = sourceNode(curvePlug);
    if (!curveSource.isNull()) {
        MFnDependencyNode sourceFn(curveSource);
        if (!readSourceDouble(sourceFn, "minValue", "ERROR finding minValue.\n", "ERROR getting minValue.\n",
                              minValue))
            return MStatus::kUnknownParameter;
        if (!readSourceDouble(sourceFn, "maxValue", "ERROR finding maxValue.\n", "ERROR getting maxValue.\n",
                              maxValue))
            return MStatus::kUnknownParameter;
    } else {
        curveFn.getKnotDomain(minValue, maxValue);
    }

    unsigned elementIndex = plug.logicalIndex(&stat);
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR in plug.logicalIndex.\n");

    MPlug inputDataPlug = thisFn.findPlug("inputData", &stat);
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR finding inputData plug.\n");
    MObject particleObject = sourceNode(inputDataPlug.elementByLogicalIndex(elementIndex));
    MFnDependencyNode particleFn(particleObject, &stat);
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR creating particleFn function set.\n");

    MString normalName = block.inputValue(resultNormal, &stat).asString();
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR getting resultNormal handle.\n");
    bool wantNormal = wantsResult(particleFn, normalName);
    MString normalizedName = block.inputValue(resultNormalizedNormal, &stat).asString();
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR getting resultNormal handle.\n");
    bool wantNormalized = wantsResult(particleFn, normalizedName);
    MString uName = block.inputValue(resultUValue, &stat).asString();
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR getting resultUValueType handle.\n");
    bool wantU = wantsResult(particleFn, uName);

    MArrayDataHandle inputArray = block.inputArrayValue(mInputData, &stat);
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR in hInputArray = block.inputArrayValue().\n");
    if (inputArray.elementCount() == 0)
        return MStatus::kUnknownParameter;
    inputArray.jumpToElement(elementIndex);
    inputArray.inputValue(&stat);
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR in hCompond=hInputArray.inputValue\n");

    MVectorArray positions;
    getVectorArrayData(particleFn, "position", positions);

    double magnitude = block.inputValue(mMagnitude, &stat).asDouble();
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR getting magnitude handle.\n");
    MString magnitudeName = block.inputValue(magnitudePP, &stat).asString();
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR getting magnitudePP handle.\n");

    MDoubleArray magnitudes;
    if (magnitudeName.length() != 0) {
        getDoubleArrayData(particleFn, magnitudeName, magnitudes);
        if (magnitudes.length() == 0)
            return MStatus::kUnknownParameter;
    }
    if (magnitude == 0.0 && magnitudeName.length() == 0)
        return MStatus::kUnknownParameter;

    MString outName = block.inputValue(outNormal, &stat).asString();
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR in getting outNormal handle.\n");
    MPlug outPlug = particleFn.findPlug(outName, &stat);
    if (stat != MStatus::kSuccess) {
        block.setClean(plug);
        return MStatus::kSuccess;
    }
    MObject outValue;
    stat = outPlug.getValue(outValue, MDGContext::fsNormal);
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR getting outNormalPlug value\n");
    MFnVectorArrayData outData(outValue, &stat);
    if (stat != MStatus::kSuccess)
        return fail(stat, "ERROR creating outNormalData\n");

    // Gather exactly the particles the writer will hand values to (selection at least 0.5), so that
    // every processed particle receives its own result. A magnitude array of another length selects all.
    MVectorArray gathered;
    if (magnitudes.length() == positions.length()) {
        for (unsigned i = 0; i < positions.length(); ++i)
            if (particleAttributes::isSelected(magnitudes[i]))
                gathered.append(positions[i]);
    } else {
        magnitudes = MDoubleArray(positions.length(), 1.0);
        gathered = positions;
    }

    // A range of zero width maps every parameter to 0 rather than dividing by zero.
    double width = maxValue - minValue;
    MVectorArray vectors;
    MVectorArray normalized;
    MDoubleArray uValues;
    for (unsigned i = 0; i < gathered.length(); ++i) {
        MPoint particle(gathered[i]);
        double param = 0.0;
        MPoint closest = curveFn.closestPoint(particle, &param, 0.01, MSpace::kWorld, &stat);
        if (stat != MStatus::kSuccess)
            return fail(stat, "ERROR getting param.\n");
        MVector d = particle - closest;
        vectors.append(d);
        if (wantNormalized)
            normalized.append(d.normal());
        if (wantU)
            uValues.append(width != 0.0 ? (param - minValue) / width : 0.0);
    }

    if (wantNormal)
        setData(particleFn, normalName, magnitudes, vectors);
    if (wantNormalized)
        setData(particleFn, normalizedName, magnitudes, normalized);
    if (wantU)
        setData(particleFn, uName, magnitudes, uValues);
    setData(particleFn, outName, magnitudes, vectors);

    // No force is produced: the element is marked clean without a value.
    block.setClean(plug);
    return MStatus::kSuccess;
}

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
