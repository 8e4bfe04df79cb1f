#include "curveField.h"

#include "fieldStatus.h"
#include "particleAttributes.h"

#include "shadingSampling.h"

#include <maya/MArrayDataBuilder.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDGContext.h>
#include <maya/MDataHandle.h>
#include <maya/MFn.h>
#include <maya/MFnData.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MFloatVector.h>
#include <maya/MPlugArray.h>
#include <maya/MPoint.h>
#include <maya/MQuaternion.h>
#include <maya/MSpace.h>
#include <maya/MVector.h>

#include <algorithm>
#include <cmath>

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

namespace {

bool succeeded(const MStatus& status) { return status == MStatus::kSuccess; }

// Writes the error line and gives the status every failed compute returns.
MStatus fail(const MStatus& status, const char* message) {
    fieldStatus::reportError(status, message);
    return MStatus::kUnknownParameter;
}

// Whether the user named a result attribute that the particle object has.
bool resultWanted(const MFnDependencyNode& particleObject, const MString& name) {
    if (name == "")
        return false;
    MStatus status;
    particleObject.findPlug(name, &status);
    return succeeded(status);
}

// Length of a per-particle attribute, or -1 when it holds neither double-array nor vector-array data.
long attributeLength(const MFnDependencyNode& particleObject, const MString& name) {
    MStatus status;
    MPlug plug = particleObject.findPlug(name, &status);
    if (!succeeded(status))
        return -1;
    MObject data;
    plug.getValue(data, MDGContext::fsNormal);
    if (data.apiType() == MFn::kDoubleArrayData)
        return static_cast<long>(MFnDoubleArrayData(data).length());
    if (data.apiType() == MFn::kVectorArrayData)
        return static_cast<long>(MFnVectorArrayData(data).length());
    return -1;
}

// The result arrays hold entry i for particle i, but a merging write hands its values out in order to the
// selected particles only. When the attribute will be merged (it has one entry per particle) and some
// particles are not selected, only the selected particles' entries are passed, so that each selected
// particle receives its own entry and the others keep theirs.
template <class Array>
void writeResult(curveField& field, const MFnDependencyNode& particleObject, const MString& name,
                 const MDoubleArray& selection, const Array& values) {
    const unsigned count = selection.length();
    unsigned selected = 0;
    for (unsigned i = 0; i < count; ++i)
        if (particleAttributes::isSelected(selection[i]))
            ++selected;
    if (selected == count || attributeLength(particleObject, name) != static_cast<long>(count)) {
        field.setData(particleObject, name, selection, values);
        return;
    }
    Array own;
    own.setLength(selected);
    unsigned k = 0;
    for (unsigned i = 0; i < count && i < values.length(); ++i)
        if (particleAttributes::isSelected(selection[i]))
            own[k++] = values[i];
    field.setData(particleObject, name, selection, own);
}

// Stores the forces in element multiIndex of the output force array.
MStatus storeForces(MDataBlock& block, unsigned multiIndex, const MVectorArray& forces) {
    MStatus stat;
    MArrayDataHandle hOutArray = block.outputArrayValue(MPxFieldNode::mOutputForce, &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR in hOutArray = block.outputArrayValue.\n");
    MArrayDataBuilder bOutArray = hOutArray.builder(&stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR in bOutArray = hOutArray.builder.\n");
    MDataHandle hOut = bOutArray.addElement(multiIndex, &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR in hOut = bOutArray.addElement.\n");
    MFnVectorArrayData fnOutputForce;
    MObject dOutputForce = fnOutputForce.create(forces, &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR in dOutputForce = fnOutputForce.create\n");
    hOut.set(dOutputForce);
    return MStatus::kSuccess;
}

}  // namespace

MStatus curveField::compute(const MPlug& plug, MDataBlock& block) {
    if (plug != mOutputForce)
        return MStatus::kUnknownParameter;
    MStatus stat;

    // The guide curve.
    MDataHandle hCurve = block.inputValue(inputCurve, &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR in getting inputCurve handle.\n");
    MObject curveData = hCurve.asNurbsCurve();
    if (curveData.isNull())
        return MStatus::kUnknownParameter;
    MFnNurbsCurve curveFn(curveData, &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR in getting inputCurve handle.\n");

    // Its parameter range, from the node that feeds the curve. A curve that no connection feeds has no
    // such node and uses its own knot domain.
    MFnDependencyNode thisFn(thisMObject());
    double minValue = 0.0;
    double maxValue = 0.0;
    MPlugArray curveSources;
    thisFn.findPlug("inputCurve").connectedTo(curveSources, true, false);
    if (curveSources.length() > 0) {
        MFnDependencyNode sourceFn(curveSources[0].node());
        MPlug minPlug = sourceFn.findPlug("minValue", &stat);
        if (!succeeded(stat))
            return fail(stat, "ERROR finding minValue.\n");
        stat = minPlug.getValue(minValue, MDGContext::fsNormal);
        if (!succeeded(stat))
            return fail(stat, "ERROR getting minValue.\n");
        MPlug maxPlug = sourceFn.findPlug("maxValue", &stat);
        if (!succeeded(stat))
            return fail(stat, "ERROR finding maxValue.\n");
        stat = maxPlug.getValue(maxValue, MDGContext::fsNormal);
        if (!succeeded(stat))
            return fail(stat, "ERROR getting maxValue.\n");
    } else {
        curveFn.getKnotDomain(minValue, maxValue);
    }
    // An empty range maps every parameter to 0 rather than dividing by zero.
    const double range = maxValue - minValue;
    const bool rangeUsable = std::isfinite(range) && range != 0.0;

    const unsigned multiIndex = plug.logicalIndex(&stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR in plug.logicalIndex.\n");

    // The particle object feeding this element. Without a connection there is none, and the function set
    // refuses the null node.
    MPlug inputDataPlug = thisFn.findPlug("inputData", &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR finding inputData plug.\n");
    MPlugArray dataSources;
    inputDataPlug.elementByLogicalIndex(multiIndex).connectedTo(dataSources, true, false);
    const MObject particleNode = dataSources.length() > 0 ? dataSources[0].node() : MObject::kNullObj;
    MFnDependencyNode particleFn(particleNode, &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR creating particleFn function set.\n");

    // The element's positions and masses. A failed jump would leave the handle on another particle
    // object's element, so it fails like the read.
    MArrayDataHandle hInputArray = block.inputArrayValue(mInputData, &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR in hInputArray = block.inputArrayValue().\n");
    if (hInputArray.elementCount() == 0)
        return MStatus::kUnknownParameter;
    stat = hInputArray.jumpToElement(multiIndex);
    MDataHandle hCompound;
    if (succeeded(stat))
        hCompound = hInputArray.inputValue(&stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR in hCompond=hInputArray.inputValue\n");
    MFnDoubleArrayData massFn(hCompound.child(mInputMass).data());
    const MDoubleArray masses = massFn.array(&stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR in massFn.array(), not find masses.\n");
    MFnVectorArrayData positionFn(hCompound.child(mInputPositions).data());
    const MVectorArray positions = positionFn.array();
    const unsigned n = positions.length();

    // Magnitudes: the field's, or the named per-particle attribute. One without an entry per particle
    // counts as every particle at the field's magnitude.
    const double magnitude = block.inputValue(mMagnitude).asDouble();
    MDataHandle hMagnitudePP = block.inputValue(magnitudePP, &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR in getting magnitudePP handle.\n");
    const MString magnitudeName = hMagnitudePP.asString();
    MDoubleArray magnitudes;
    bool zeroOutput = false;
    if (magnitudeName == "") {
        if (magnitude == 0.0)
            zeroOutput = true;
        else
            magnitudes = MDoubleArray(n, magnitude);
    } else if (resultWanted(particleFn, magnitudeName)) {
        getDoubleArrayData(particleFn, magnitudeName, magnitudes);
        if (magnitudes.length() != n)
            magnitudes = MDoubleArray(n, magnitude);
    } else {
        zeroOutput = true;
    }
    if (zeroOutput) {
        if (!succeeded(storeForces(block, multiIndex, MVectorArray(n))))
            return MStatus::kUnknownParameter;
        block.setClean(plug);
        return MStatus::kUnknownParameter;
    }

    // Which per-particle results to write.
    MDataHandle hResult = block.inputValue(resultNormal, &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR getting resultNormal handle.\n");
    const MString normalName = hResult.asString();
    hResult = block.inputValue(resultNormalizedNormal, &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR getting resultNormal handle.\n");
    const MString normalizedNormalName = hResult.asString();
    hResult = block.inputValue(resultUValue, &stat);
    if (!succeeded(stat))
        return fail(stat, "ERROR getting resultUValueType handle.\n");
    const MString uValueName = hResult.asString();
    const bool wantNormal = resultWanted(particleFn, normalName);
    const bool wantNormalizedNormal = resultWanted(particleFn, normalizedNormalName);
    const bool wantUValue = resultWanted(particleFn, uValueName);

    // Closest point, tangent and normalised parameter of every particle; particles of magnitude 0 cost
    // no curve query and keep their own position, zero vectors and parameter 0.
    MPointArray closestPoints(n);
    MVectorArray tangents(n);
    MFloatVectorArray normals;
    MFloatVectorArray normalizedNormals;
    MFloatArray parameters(n);
    MDoubleArray uValues;
    if (wantNormal || wantNormalizedNormal)
        normals.setLength(n);
    if (wantNormalizedNormal)
        normalizedNormals.setLength(n);
    if (wantUValue)
        uValues.setLength(n);
    for (unsigned i = 0; i < n; ++i) {
        const MVector& position = positions[i];
        if (magnitudes[i] == 0.0) {
            closestPoints[i] = MPoint(position);
            continue;
        }
        double t = 0.0;
        const MPoint closest = curveFn.closestPoint(MPoint(position), &t, 0.01, MSpace::kWorld, &stat);
        if (!succeeded(stat))
            return fail(stat, "ERROR getting param.\n");
        closestPoints[i] = closest;
        tangents[i] = curveFn.tangent(t, MSpace::kWorld);
        if (wantNormal || wantNormalizedNormal) {
            const MVector normal = position - MVector(closest);
            normals[i] = MFloatVector(normal);
            if (wantNormalizedNormal)
                normalizedNormals[i] = MFloatVector(normal.normal());
        }
        const double u = rangeUsable ? (t - minValue) / range : 0.0;
        parameters[i] = static_cast<float>(u);
        if (wantUValue)
            uValues[i] = u;
    }

    if (wantNormal)
        writeResult(*this, particleFn, normalName, magnitudes, normals);
    if (wantNormalizedNormal)
        writeResult(*this, particleFn, normalizedNormalName, magnitudes, normalizedNormals);
    if (wantUValue)
        writeResult(*this, particleFn, uValueName, magnitudes, uValues);

    const int count = static_cast<int>(n);
    MDoubleArray speeds;
    MDoubleArray attractions;
    MDoubleArray offsets;
    MDoubleArray rotations;
    MDoubleArray rotationSpeeds;
    calculateAttrEffectData(block, particleFn, "speed", "speedPP", "speedMap", count, parameters, speeds);
    calculateAttrEffectData(block, particleFn, "attraction", "attractionPP", "attractionMap", count, parameters,
                            attractions);
    calculateAttrEffectData(block, particleFn, "offset", "offsetPP", "offsetMap", count, parameters, offsets);
    calculateAttrEffectData(block, particleFn, "rotation", "rotationPP", "rotationMap", count, parameters,
                            rotations);
    calculateAttrEffectData(block, particleFn, "rotationSpeed", "rotationSpeedPP", "rotationSpeedMap", count,
                            parameters, rotationSpeeds);
    MVectorArray forces;
    computeForce(block, positions, masses, magnitudes, closestPoints, tangents, speeds, offsets, rotations,
                 rotationSpeeds, attractions, forces);

    if (!succeeded(storeForces(block, multiIndex, forces)))
        return MStatus::kUnknownParameter;
    block.setClean(plug);
    return MStatus::kSuccess;
}

// Samples the texture feeding a map attribute along the curve: one sample per parameter, with u and v
// both the parameter, and one luminance per returned colour.
void curveField::calculateRamp(const MString& mapAttributeName, const MFloatArray& parameters,
                               MDoubleArray& rampValues) {
    MFnDependencyNode thisFn(thisMObject());
    MPlugArray sources;
    thisFn.findPlug(mapAttributeName).connectedTo(sources, true, false);
    if (sources.length() == 0)
        return;
    MFnDependencyNode textureFn(sources[0].node());
    const MString name = textureFn.name() + ".outColor";
    MFloatArray uv(parameters);
    MFloatVectorArray colors;
    MFloatVectorArray transparencies;
    shadingSampling::sample(name, static_cast<int>(uv.length()), false, nullptr, shadingSampling::orNull(uv),
                            shadingSampling::orNull(uv), nullptr, nullptr, nullptr, nullptr, colors, transparencies);
    for (unsigned i = 0; i < colors.length(); ++i)
        rampValues.append(shadingSampling::luminance(colors[i]));
}

// One setting per particle: the scalar times the named per-particle factor and/or the sampled texture.
// A source counts only with exactly one entry per particle; with neither, the effect stays empty and the
// scalar applies to every particle.
void curveField::calculateAttrEffectData(MDataBlock& block, const MFnDependencyNode& particleObject,
                                         const MString& scalarAttributeName, const MString& perParticleAttributeName,
                                         const MString& mapAttributeName, const int& count,
                                         const MFloatArray& parameters, MDoubleArray& effect) {
    MFnDependencyNode thisFn(thisMObject());
    const double base = block.inputValue(thisFn.findPlug(scalarAttributeName)).asDouble();
    const MString perParticleName = block.inputValue(thisFn.findPlug(perParticleAttributeName)).asString();
    MDoubleArray perParticle;
    getDoubleArrayData(particleObject, perParticleName, perParticle);
    MDoubleArray ramp;
    calculateRamp(mapAttributeName, parameters, ramp);

    const unsigned n = count > 0 ? static_cast<unsigned>(count) : 0;
    const bool hasPerParticle = perParticle.length() == n;
    const bool hasRamp = ramp.length() == n;
    effect.clear();
    if (!hasPerParticle && !hasRamp)
        return;
    effect.setLength(n);
    for (unsigned i = 0; i < n; ++i) {
        if (hasPerParticle && hasRamp)
            effect[i] = base * (perParticle[i] * ramp[i]);
        else if (hasRamp)
            effect[i] = base * ramp[i];
        else
            effect[i] = base * perParticle[i];
    }
}

// Speed along the tangent, attraction toward the tube of radius offset, rotation about the tangent; the
// sum scaled by the (falling off) magnitude and divided by mass + 1.
//
// Per-particle arrays are used only when they hold one entry per particle, otherwise the scalar applies,
// and masses of another length count as the particle default of 1. Particles past the end of the closest
// points or tangents, with a mass at or below -1, or whose force overflows get a zero force. Zero vectors (a particle on the curve or on the tube, a curve
// whose CVs all coincide) normalise to zero, so their terms vanish instead of becoming NaN.
void curveField::computeForce(MDataBlock& block, const MVectorArray& positions, const MDoubleArray& masses,
                              const MDoubleArray& magnitudes, const MPointArray& closestPoints,
                              const MVectorArray& tangents, const MDoubleArray& speedEffect,
                              const MDoubleArray& offsetEffect, const MDoubleArray& rotationEffect,
                              const MDoubleArray& rotationSpeedEffect, const MDoubleArray& attractionEffect,
                              MVectorArray& forces) {
    const bool useMaxDistance = block.inputValue(mUseMaxDistance).asBool();
    const double maxDistance = block.inputValue(mMaxDistance).asDouble();
    const double attenuation = block.inputValue(mAttenuation).asDouble();
    const double rotationAttenuationValue = block.inputValue(rotationAttenuation).asDouble();
    const double attractionValue = block.inputValue(attraction).asDouble();
    const double magnitudeValue = block.inputValue(mMagnitude).asDouble();
    const double speedValue = block.inputValue(speed).asDouble();
    const double offsetValue = block.inputValue(offset).asDouble();
    const double rotationValue = block.inputValue(rotation).asDouble();
    const double rotationSpeedValue = block.inputValue(rotationSpeed).asDouble();

    const unsigned n = positions.length();
    const unsigned located = std::min(closestPoints.length(), tangents.length());
    const bool perMagnitude = magnitudes.length() == n;
    const bool perMass = masses.length() == n;
    const bool perSpeed = speedEffect.length() == n;
    const bool perOffset = offsetEffect.length() == n;
    const bool perRotation = rotationEffect.length() == n;
    const bool perRotationSpeed = rotationSpeedEffect.length() == n;
    const bool perAttraction = attractionEffect.length() == n;
    const double degreesToRadians = 3.14 / 180.0;
    double halfTurnOf = 0.0;  // the rotation whose half-angle sine and cosine are below
    double halfSine = 0.0;
    double halfCosine = 1.0;

    forces.clear();
    forces.setLength(n);
    for (unsigned i = 0; i < n; ++i) {
        const double m = perMagnitude ? magnitudes[i] : magnitudeValue;
        if (!(m > 0.0) || i >= located)
            continue;
        const MVector& position = positions[i];
        const MVector closest(closestPoints[i]);
        const MVector& tangent = tangents[i];

        double magnitudeFalloff = m;
        double rotationFalloff = 1.0;
        MVector toCurve = closest - position;
        const double d = toCurve.length();
        if (useMaxDistance) {
            if (!(d <= maxDistance))
                continue;
            // With maxDistance 0 only a particle on the curve is left; it stands at maxDistance.
            const double ratio = maxDistance > 0.0 ? d / maxDistance : 1.0;
            if (attenuation > 0.0)
                magnitudeFalloff = m * std::pow(1.0 - ratio, attenuation);
            if (rotationAttenuationValue > 0.0)
                rotationFalloff = std::pow(1.0 - ratio, rotationAttenuationValue);
        }
        // The unit vector toward the curve, shared by the attraction and (reversed) the rotation.
        MVector towardCurve = toCurve;
        towardCurve.normalize();

        const MVector speedTerm = tangent * (perSpeed ? speedEffect[i] : speedValue);

        MVector attractionTerm;
        const double a = perAttraction ? attractionEffect[i] : attractionValue;
        if (a > 0.0) {
            const double o = perOffset ? offsetEffect[i] : offsetValue;
            MVector aim = towardCurve;
            if (o > 0.0) {
                aim = closest - (position + towardCurve * o);
                aim.normalize();
            }
            attractionTerm = aim * a;
        }

        MVector rotationTerm;
        const double r = perRotation ? rotationEffect[i] : rotationValue;
        if (r != 0.0) {
            const double s = perRotationSpeed ? rotationSpeedEffect[i] : rotationSpeedValue;
            MVector axis = tangent;
            axis.normalize();
            // The half-angle sine and cosine change only with the angle: a scalar rotation costs no
            // trigonometry per particle. A zero axis is no rotation at all.
            if (r != halfTurnOf) {
                halfTurnOf = r;
                halfSine = std::sin(0.5 * r * degreesToRadians);
                halfCosine = std::cos(0.5 * r * degreesToRadians);
            }
            const MQuaternion turn = axis == MVector::zero
                                         ? MQuaternion()
                                         : MQuaternion(axis.x * halfSine, axis.y * halfSine, axis.z * halfSine,
                                                       halfCosine);
            const MVector target = closest + (-towardCurve).rotateBy(turn) * d;
            rotationTerm = (target - position) * s * rotationFalloff;
        }

        // A mass at or below -1 leaves no divisor mass + 1 to speak of, and a curve or particle far enough
        // out overflows the terms: such a particle gets no force rather than an infinite or NaN one.
        const double mass = perMass ? masses[i] : 1.0;
        if (!(mass > -1.0))
            continue;
        const MVector force = ((speedTerm + attractionTerm + rotationTerm) * magnitudeFalloff) / (mass + 1.0);
        if (std::isfinite(force.x) && std::isfinite(force.y) && std::isfinite(force.z))
            forces[i] = force;
    }
}

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
