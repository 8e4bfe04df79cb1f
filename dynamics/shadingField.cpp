#include "shadingField.h"

#include "fieldStatus.h"
#include "particleAttributes.h"

#include <maya/MDGContext.h>
#include <maya/MFn.h>
#include <maya/MFnData.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MVector.h>

MObject shadingField::shader;
MObject shadingField::enableShadows;
MObject shadingField::magnitudePP;
MObject shadingField::outColor;
MObject shadingField::outTransparency;
MObject shadingField::outLuminance;
MObject shadingField::map;
MObject shadingField::to;
MObject shadingField::position;
MObject shadingField::refPosition;
MObject shadingField::normal;
MObject shadingField::uCoord;
MObject shadingField::vCoord;
MObject shadingField::tangentU;
MObject shadingField::tangentV;

MTypeId shadingField::id(0x1059C0);

shadingField::shadingField() : useShadows(false) {}

shadingField::~shadingField() {}

void* shadingField::creator() { return new shadingField; }

MStatus shadingField::initialize() {
    // How a row is added and which statuses are tested:
    //   Checked   - addAttribute tested, then attributeAffects tested (each with its own message);
    //   Affecting - addAttribute, then attributeAffects, whose status alone is tested;
    //   Multi     - an array of connection points or names, added without affects.
    enum Mode { Checked, Affecting, Multi };
    struct Row {
        MObject* handle;
        const char* longName;
        const char* shortName;
        bool numeric;
        MFnNumericData::Type numericType;
        Mode mode;
        bool connectable;  // Multi rows
        const char* failure;
        const char* affectFailure;  // Checked rows
    };
    const MFnNumericData::Type str = MFnNumericData::kInvalid;
    const Row rows[] = {
        {&shader, "shader", "shdr", true, MFnNumericData::k3Double, Checked, true,
         "ERROR adding shader attribute.\n", "ERROR affecting shader attribute.\n"},
        {&enableShadows, "enableShadows", "es", true, MFnNumericData::kBoolean, Checked, true,
         "ERROR adding enableShadows attribute.\n", "ERROR affecting enableShadows attribute.\n"},
        {&magnitudePP, "magnitudePP", "magPP", false, str, Affecting, true, "ERROR adding magnitudePP attribute.\n",
         nullptr},
        {&outColor, "outColor", "oclr", false, str, Affecting, true, "ERROR adding output attribute.\n", nullptr},
        {&outTransparency, "outTransparency", "otrnsp", false, str, Affecting, true,
         "ERROR adding output attribute.\n", nullptr},
        {&outLuminance, "outLuminance", "olnsp", false, str, Affecting, true,
         "ERROR adding outLuminance attribute.\n", nullptr},
        {&map, "map", "mp", true, MFnNumericData::k3Double, Multi, true, "ERROR adding map attribute.\n", nullptr},
        {&to, "to", "too", false, str, Multi, false, "ERROR adding to attribute.\n", nullptr},
        {&position, "position", "p", false, str, Affecting, true, "ERROR adding position attribute.\n", nullptr},
        {&refPosition, "refPosition", "rps", false, str, Affecting, true, "ERROR adding refPosition attribute.\n",
         nullptr},
        {&normal, "normal", "n", false, str, Affecting, true, "ERROR adding normal attribute.\n", nullptr},
        {&uCoord, "uCoord", "uc", false, str, Affecting, true, "ERROR adding uCoord attribute.\n", nullptr},
        {&vCoord, "vCoord", "vc", false, str, Affecting, true, "ERROR adding vCoord attribute.\n", nullptr},
        {&tangentU, "tangentU", "tu", false, str, Affecting, true, "ERROR adding tangentU attribute.\n", nullptr},
        {&tangentV, "tangentV", "tv", false, str, Affecting, true, "ERROR adding tangentV attribute.\n", nullptr},
    };

    MFnNumericAttribute numAttr;
    MFnTypedAttribute typedAttr;
    MStatus stat;
    for (const Row& row : rows) {
        MFnAttribute* attr = nullptr;
        if (row.numeric) {
            *row.handle = numAttr.create(row.longName, row.shortName, row.numericType, 0.0);
            attr = &numAttr;
        } else {
            *row.handle = typedAttr.create(row.longName, row.shortName, MFnData::kString, MObject::kNullObj);
            attr = &typedAttr;
        }
        if (row.mode == Multi) {
            attr->setArray(true);
            attr->setReadable(false);
            attr->setWritable(true);
            attr->setConnectable(row.connectable);
        }

        stat = addAttribute(*row.handle);
        if (row.mode == Checked || row.mode == Multi) {
            if (stat != MStatus::kSuccess) {
                fieldStatus::reportError(stat, row.failure);
                return MStatus::kUnknownParameter;
            }
        }
        if (row.mode == Multi)
            continue;

        stat = attributeAffects(*row.handle, mOutputForce);
        if (stat != MStatus::kSuccess) {
            fieldStatus::reportError(stat, row.mode == Checked ? row.affectFailure : row.failure);
            return MStatus::kUnknownParameter;
        }
    }
    return MStatus::kSuccess;
}

MStatus shadingField::compute(const MPlug&, MDataBlock&) { return MStatus::kUnknownParameter; }

namespace {

// Reads a particle object's attribute value into data (a null object when the attribute is missing);
// false only when the lookup fails outright.
bool readValue(const MFnDependencyNode& particleObject, const MString& name, MObject& data) {
    MStatus status;
    MPlug plug = particleObject.findPlug(name, &status);
    if (status == MStatus::kFailure)
        return false;
    plug.getValue(data, MDGContext::fsNormal);
    return true;
}

bool readDoubles(const MObject& data, MDoubleArray& values) {
    MStatus status;
    MFnDoubleArrayData fn(data, &status);
    if (status != MStatus::kSuccess)
        return false;
    fn.copyTo(values);
    return true;
}

bool readVectors(const MObject& data, MVectorArray& values) {
    MStatus status;
    MFnVectorArrayData fn(data, &status);
    if (status != MStatus::kSuccess)
        return false;
    fn.copyTo(values);
    return true;
}

}  // namespace

void shadingField::getDoubleArrayData(const MFnDependencyNode& particleObject, const MString& name,
                                      MDoubleArray& out) {
    MObject data;
    if (!readValue(particleObject, name, data))
        return;
    if (data.apiType() == MFn::kDoubleArrayData) {
        readDoubles(data, out);
    } else if (data.apiType() == MFn::kVectorArrayData) {
        MVectorArray vectors;
        if (!readVectors(data, vectors))
            return;
        const unsigned count = vectors.length();
        MDoubleArray lengths(count);
        for (unsigned i = 0; i < count; ++i)
            lengths[i] = vectors[i].length();
        out = lengths;
    }
}

void shadingField::getVectorArrayData(const MFnDependencyNode& particleObject, const MString& name,
                                      MVectorArray& out) {
    MObject data;
    if (!readValue(particleObject, name, data))
        return;
    if (data.apiType() == MFn::kVectorArrayData) {
        readVectors(data, out);
    } else if (data.apiType() == MFn::kDoubleArrayData) {
        MDoubleArray doubles;
        if (!readDoubles(data, doubles))
            return;
        const unsigned count = doubles.length();
        MVectorArray vectors(count);
        for (unsigned i = 0; i < count; ++i)
            vectors[i] = MVector(doubles[i], doubles[i], doubles[i]);
        out = vectors;
    }
}

void shadingField::getFloatArrayData(const MFnDependencyNode& particleObject, const MString& name,
                                     MFloatArray& out) {
    MObject data;
    if (!readValue(particleObject, name, data))
        return;
    if (data.apiType() == MFn::kDoubleArrayData) {
        MDoubleArray doubles;
        if (!readDoubles(data, doubles))
            return;
        const unsigned count = doubles.length();
        for (unsigned i = 0; i < count; ++i)
            out.append(static_cast<float>(doubles[i]));
    } else if (data.apiType() == MFn::kVectorArrayData) {
        MVectorArray vectors;
        if (!readVectors(data, vectors))
            return;
        const unsigned count = vectors.length();
        for (unsigned i = 0; i < count; ++i)
            out.append(static_cast<float>(vectors[i].length()));
    }
}

void shadingField::setData(const MFnDependencyNode& particleObject, const MString& name,
                           const MDoubleArray& selection, const MDoubleArray& values) {
    particleAttributes::setData(particleObject, name, selection, values);
}

void shadingField::setData(const MFnDependencyNode& particleObject, const MString& name,
                           const MDoubleArray& selection, const MFloatVectorArray& values) {
    particleAttributes::setData(particleObject, name, selection, values);
}
