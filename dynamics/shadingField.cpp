#include "shadingField.h"

#include "fieldStatus.h"
#include "particleAttributes.h"
#include "shadingSampling.h"

#include <maya/MDGContext.h>
#include <maya/MFn.h>
#include <maya/MFnData.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MIntArray.h>
#include <maya/MPlugArray.h>
#include <maya/MVector.h>

#include <initializer_list>
#include <iostream>

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

namespace {

// Whether the particle object has an attribute of this name (an empty name never matches).
bool hasAttribute(const MFnDependencyNode& particleObject, const MString& name) {
    if (name.length() == 0)
        return false;
    MStatus status;
    particleObject.findPlug(name, &status);
    return status == MStatus::kSuccess;
}

// Puts the particle object's render type back after shadowed sampling.
void restoreRenderType(const MFnDependencyNode& particleObject, int renderType) {
    MPlug renderTypePlug = particleObject.findPlug("particleRenderType");
    renderTypePlug.setValue(renderType);
}

const int blobbySurfaceRenderType = 7;

}  // namespace

MStatus shadingField::compute(const MPlug& plug, MDataBlock& block) {
    if (plug != mOutputForce)
        return MStatus::kUnknownParameter;
    const unsigned index = plug.logicalIndex();

    MStatus status;
    block.inputArrayValue(mInputData, &status);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR in hInputArray = block.inputArrayValue().\n");
        return MStatus::kUnknownParameter;
    }

    MFnDependencyNode thisNode(thisMObject());
    MPlug inputDataPlug = thisNode.findPlug("inputData", &status);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR finding inputData plug.\n");
        return MStatus::kUnknownParameter;
    }

    // The particle object feeding element i of inputData; an element fed by nothing has none to sample.
    MPlugArray sources;
    inputDataPlug.elementByLogicalIndex(index).connectedTo(sources, true, false);
    if (sources.length() == 0)
        return MStatus::kUnknownParameter;
    MFnDependencyNode particleObject(sources[0].node(), &status);
    if (status != MStatus::kSuccess)
        return MStatus::kUnknownParameter;

    const double magnitude = block.inputValue(mMagnitude, &status).asDouble();
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR getting magnitude handle.\n");
        return MStatus::kUnknownParameter;
    }
    MString magnitudeName = block.inputValue(magnitudePP, &status).asString();
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR getting magnitudePP handle.\n");
        return MStatus::kUnknownParameter;
    }
    particleObject.findPlug(magnitudeName, &status);
    if (status != MStatus::kSuccess)
        magnitudeName = "";
    if (magnitude == 0.0 && magnitudeName.length() == 0)
        return MStatus::kUnknownParameter;

    getRenderData(block, particleObject);

    // Shadow maps are rendered for the particle object as a blobby surface while it is sampled.
    useShadows = block.inputValue(enableShadows).asBool();
    bool renderTypeSwitched = false;
    int oldRenderType = 0;

    // Every exit after the gathering puts the render type back and leaves the scratch arrays empty, since
    // the next gathering appends to them.
    auto abandon = [&]() {
        if (renderTypeSwitched)
            restoreRenderType(particleObject, oldRenderType);
        clearRenderData();
        return MStatus::kUnknownParameter;
    };
    if (useShadows) {
        MPlug renderTypePlug = particleObject.findPlug("particleRenderType");
        status = renderTypePlug.getValue(oldRenderType, MDGContext::fsNormal);
        if (status != MStatus::kSuccess) {
            fieldStatus::reportError(status, " error getting particlePlug");
            return abandon();
        }
        status = renderTypePlug.setValue(blobbySurfaceRenderType);
        if (status != MStatus::kSuccess) {
            fieldStatus::reportError(status, " error setting renderType");
            return abandon();
        }
        renderTypeSwitched = true;
    }

    // The pass on "shader" reports through its result only; the "map" passes go on whatever it was.
    sampleAndSetShader(block, thisNode, particleObject);

    MPlug mapPlug = thisNode.findPlug("map");
    MPlug toPlug = thisNode.findPlug("to");
    MIntArray mapIndices;
    mapPlug.getExistingArrayAttributeIndices(mapIndices);
    for (unsigned j = 0; j < mapIndices.length(); ++j) {
        const unsigned mapIndex = static_cast<unsigned>(mapIndices[j]);
        MPlug mapElement = mapPlug.elementByLogicalIndex(mapIndex);
        const MString shadingName = getAttachedShadingNode(mapElement);

        MPlug toElement = toPlug.elementByLogicalIndex(mapIndex, &status);
        if (status != MStatus::kSuccess) {
            fieldStatus::reportError(status, "error getting toPlug.");
            return abandon();
        }
        MString attributeName;
        status = toElement.getValue(attributeName, MDGContext::fsNormal);
        if (status != MStatus::kSuccess) {
            fieldStatus::reportError(status, "error getting toPlug value.");
            return abandon();
        }
        if (shadingName.length() > 0 && attributeName.length() > 0)
            sampleAndSet(block, shadingName, attributeName, particleObject);
    }

    if (renderTypeSwitched)
        restoreRenderType(particleObject, oldRenderType);
    clearRenderData();

    status = block.setClean(plug);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, " setClean block");
        return MStatus::kUnknownParameter;
    }
    return MStatus::kSuccess;
}

void shadingField::clearRenderData() {
    magPPArray.clear();
    points.clear();
    refPoints.clear();
    normals.clear();
    uCoords.clear();
    vCoords.clear();
    tangentUs.clear();
    tangentVs.clear();
    luminances.clear();
}

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

namespace {

// One kind of float sample data: the particle attribute named by the node's string attribute when the
// particle object has it, then each usual name in turn while nothing has been read.
void gatherFloats(shadingField& field, MDataBlock& block, const MObject& nameAttribute,
                  const MFnDependencyNode& particleObject, std::initializer_list<const char*> usualNames,
                  MFloatArray& out) {
    const MString name = block.inputValue(nameAttribute).asString();
    if (hasAttribute(particleObject, name))
        field.getFloatArrayData(particleObject, name, out);
    for (const char* usualName : usualNames) {
        if (out.length() != 0)
            break;
        field.getFloatArrayData(particleObject, usualName, out);
    }
}

// The number of values an attribute holds as double-array or vector-array data (what the readers read);
// 0 for a missing attribute or any other data.
unsigned readableLength(const MFnDependencyNode& particleObject, const MString& name) {
    MStatus status;
    MPlug plug = particleObject.findPlug(name, &status);
    if (status != MStatus::kSuccess)
        return 0;
    MObject data;
    if (plug.getValue(data, MDGContext::fsNormal) != MStatus::kSuccess)
        return 0;
    if (data.apiType() == MFn::kVectorArrayData)
        return MFnVectorArrayData(data).length();
    if (data.apiType() == MFn::kDoubleArrayData)
        return MFnDoubleArrayData(data).length();
    return 0;
}

// Where one kind of vector sample data comes from: the attribute the node's string attribute names when
// the particle object has it and it holds values, else the first usual name that holds values; "" when
// none does.
MString vectorSource(MDataBlock& block, const MObject& nameAttribute, const MFnDependencyNode& particleObject,
                     std::initializer_list<const char*> usualNames) {
    const MString name = block.inputValue(nameAttribute).asString();
    if (hasAttribute(particleObject, name) && readableLength(particleObject, name) != 0)
        return name;
    for (const char* usualName : usualNames)
        if (readableLength(particleObject, usualName) != 0)
            return usualName;
    return "";
}

// The vectors of a particle attribute. Vector-array data is used in place rather than copied (these are
// whole per-particle arrays, read once per compute); data keeps it alive while the result is used. Any
// other data goes through the converting reader.
MVectorArray vectorsOf(shadingField& field, const MFnDependencyNode& particleObject, const MString& name,
                       MObject& data) {
    if (name.length() == 0)
        return MVectorArray();
    MStatus status;
    MPlug plug = particleObject.findPlug(name, &status);
    if (status == MStatus::kSuccess && plug.getValue(data, MDGContext::fsNormal) == MStatus::kSuccess &&
        data.apiType() == MFn::kVectorArrayData) {
        MFnVectorArrayData fn(data, &status);
        if (status == MStatus::kSuccess)
            return fn.array();
    }
    MVectorArray converted;
    field.getVectorArrayData(particleObject, name, converted);
    return converted;
}

// Conversions of gathered entries (function objects, so that each pass inlines its own).
struct FloatPoint {
    MFloatPoint operator()(const MVector& v) const {
        return MFloatPoint(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z), 0.0f);
    }
};
struct FloatVector {
    MFloatVector operator()(const MVector& v) const {
        return MFloatVector(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
    }
};
struct SameFloat {
    float operator()(float f) const { return f; }
};

// Fills out with the converted first count entries of from, or only the selected ones when there is a
// selection (one entry per particle). out is sized once and written in place, one array per pass: being
// a member, it keeps its storage from one compute to the next.
template <typename Out, typename From, typename Convert>
void gather(Out& out, const From& from, unsigned count, const MDoubleArray* selection, Convert convert) {
    out.setLength(count);
    // The callers pass arrays with an entry per particle. Reading the lengths before the loops also lets
    // the compiler keep them out of the loops' index checks.
    if (out.length() != count || from.length() < count || (selection && selection->length() < count)) {
        out.clear();
        return;
    }
    if (!selection) {
        for (unsigned i = 0; i < count; ++i)
            out[i] = convert(from[i]);
        return;
    }
    unsigned k = 0;
    for (unsigned i = 0; i < count; ++i)
        if (particleAttributes::isSelected((*selection)[i]))
            out[k++] = convert(from[i]);
    out.setLength(k);
}

}  // namespace

void shadingField::getRenderData(MDataBlock& block, const MFnDependencyNode& particleObject) {
    // The scratch arrays of one compute start empty, whatever an earlier call left in them.
    clearRenderData();

    // The vector data are only read here: each stays with its particle attribute.
    MObject positionData;
    MObject refPositionData;
    MObject normalData;
    MObject tangentUData;
    MObject tangentVData;
    const MVectorArray positions = vectorsOf(
        *this, particleObject, vectorSource(block, position, particleObject, {"samplePosPP", "position"}),
        positionData);
    const MVectorArray refPositions = vectorsOf(
        *this, particleObject, vectorSource(block, refPosition, particleObject, {"refPosPP"}), refPositionData);
    const MVectorArray particleNormals = vectorsOf(
        *this, particleObject, vectorSource(block, normal, particleObject, {"normalPP", "velocity"}), normalData);
    const MVectorArray particleTangentUs = vectorsOf(
        *this, particleObject, vectorSource(block, tangentU, particleObject, {"tangentUPP"}), tangentUData);
    const MVectorArray particleTangentVs = vectorsOf(
        *this, particleObject, vectorSource(block, tangentV, particleObject, {"tangentVPP"}), tangentVData);
    MFloatArray us;
    MFloatArray vs;
    gatherFloats(*this, block, uCoord, particleObject, {"uCoordPP", "parentU", "goalU"}, us);
    gatherFloats(*this, block, vCoord, particleObject, {"vCoordPP", "parentV", "goalV"}, vs);

    const unsigned count = positions.length();
    const MString magnitudeName = block.inputValue(magnitudePP).asString();
    if (magnitudeName.length() != 0) {
        // A missing attribute leaves the magnitudes empty: every particle is then sampled.
        getDoubleArrayData(particleObject, magnitudeName, magPPArray);
    } else {
        magPPArray.setLength(count);
        for (unsigned i = 0; i < count; ++i)
            magPPArray[i] = 1.0;
    }

    // Optional data reach the sampler only with one entry per particle. Normals are needed by every
    // sample, so fewer normals than particles pass none at all rather than a short array.
    const bool withRefPoints = refPositions.length() == count;
    const bool withNormals = particleNormals.length() >= count;
    const bool withTangentUs = particleTangentUs.length() == count;
    const bool withTangentVs = particleTangentVs.length() == count;
    const bool withUs = us.length() == count;
    const bool withVs = vs.length() == count;

    // Magnitudes made here are all 1.0: no particle needs testing then.
    const MDoubleArray* selection =
        magnitudeName.length() != 0 && magPPArray.length() == count ? &magPPArray : nullptr;
    gather(points, positions, count, selection, FloatPoint());
    if (withRefPoints)
        gather(refPoints, refPositions, count, selection, FloatPoint());
    if (withNormals)
        gather(normals, particleNormals, count, selection, FloatVector());
    if (withTangentUs)
        gather(tangentUs, particleTangentUs, count, selection, FloatVector());
    if (withTangentVs)
        gather(tangentVs, particleTangentVs, count, selection, FloatVector());
    if (withUs)
        gather(uCoords, us, count, selection, SameFloat());
    if (withVs)
        gather(vCoords, vs, count, selection, SameFloat());
}

MStatus shadingField::sampleAndSetShader(MDataBlock& block, const MFnDependencyNode& thisNode,
                                         const MFnDependencyNode& particleObject) {
    MStatus status;
    const MString colorName = block.inputValue(outColor, &status).asString();
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR getting outColor handle.\n");
        return MStatus::kUnknownParameter;
    }
    const MString transparencyName = block.inputValue(outTransparency, &status).asString();
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR getting outTransparency handle.\n");
        return MStatus::kUnknownParameter;
    }
    const MString luminanceName = block.inputValue(outLuminance, &status).asString();
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR getting outLuminance handle.\n");
        return MStatus::kUnknownParameter;
    }
    if (colorName.length() == 0 && transparencyName.length() == 0 && luminanceName.length() == 0)
        return MStatus::kUnknownParameter;

    const bool writeColor = hasAttribute(particleObject, colorName);
    const bool writeTransparency = hasAttribute(particleObject, transparencyName);
    const bool writeLuminance = hasAttribute(particleObject, luminanceName);
    if (!writeColor && !writeTransparency && !writeLuminance)
        return MStatus::kUnknownParameter;

    useShadows = block.inputValue(enableShadows).asBool();
    MPlug shaderPlug = thisNode.findPlug(shader);
    const MString shaderName = getAttachedShadingNode(shaderPlug);
    if (shaderName.length() == 0)
        return MStatus::kUnknownParameter;

    MFloatVectorArray colors;
    MFloatVectorArray transparencies;
    sampleMembers(shaderName, colors, transparencies);

    // A result shorter than the samples (a failed call) is not written: the attributes keep their values.
    const unsigned samples = points.length();
    const bool colorsComplete = colors.length() >= samples;
    if (writeColor && colorsComplete)
        setData(particleObject, colorName, magPPArray, colors);
    if (writeTransparency && transparencies.length() >= samples)
        setData(particleObject, transparencyName, magPPArray, transparencies);
    if (writeLuminance && colorsComplete) {
        // Into a member array, which keeps its storage from one compute to the next.
        const unsigned count = colors.length();
        luminances.setLength(count);
        if (luminances.length() == count) {
            for (unsigned i = 0; i < count; ++i)
                luminances[i] = shadingSampling::luminance(colors[i]);
            setData(particleObject, luminanceName, magPPArray, luminances);
        }
    }
    return MStatus::kSuccess;
}

void shadingField::sampleAndSet(MDataBlock& block, const MString& shaderName, const MString& attributeName,
                                const MFnDependencyNode& particleObject) {
    useShadows = block.inputValue(enableShadows).asBool();
    MStatus status;
    particleObject.findPlug(attributeName, &status);
    if (status != MStatus::kSuccess)
        return;
    const MFloatVectorArray colors = sampleShader(shaderName);
    if (colors.length() < points.length())
        return;
    setData(particleObject, attributeName, magPPArray, colors);
}

MString shadingField::getAttachedShadingNode(MPlug& plug) { return shadingSampling::attachedShadingNode(plug); }

MPlug shadingField::findTexturePlug(MFnDependencyNode shadingGroup) {
    return shadingSampling::texturePlug(shadingGroup);
}

MFloatVectorArray shadingField::sampleShader(MString shaderName) {
    MFloatVectorArray colors;
    MFloatVectorArray transparencies;
    sampleMembers(shaderName, colors, transparencies);
    return colors;
}

MStatus shadingField::sampleMembers(const MString& shaderName, MFloatVectorArray& colors,
                                    MFloatVectorArray& transparencies) {
    // Without reference points the points stand in for them, passed even when there are none.
    MFloatPointArray* references = refPoints.length() > 0 ? &refPoints : &points;
    const MStatus status = shadingSampling::sample(
        shaderName, static_cast<int>(points.length()), useShadows, shadingSampling::orNull(points),
        shadingSampling::orNull(uCoords), shadingSampling::orNull(vCoords), shadingSampling::orNull(normals),
        references, shadingSampling::orNull(tangentUs), shadingSampling::orNull(tangentVs), colors, transparencies);
    if (status == MStatus::kFailure)
        std::cout << "ERROR: Shader not sampled!" << std::endl;
    return status;
}
