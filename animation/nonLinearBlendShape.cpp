#include "nonLinearBlendShape.h"

#include "shadingSampling.h"
#include "verbose.h"

#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnData.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleIndexedComponent.h>
#include <maya/MFnGenericAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MFnTripleIndexedComponent.h>
#include <maya/MItGeometry.h>
#include <maya/MItMeshVertex.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <algorithm>
#include <cmath>

MObject nonLinearBlendShape::inputTarget;
MObject nonLinearBlendShape::inputGeomTarget;
MObject nonLinearBlendShape::inputWeightTarget;
MObject nonLinearBlendShape::textureReferenceGeom;
MObject nonLinearBlendShape::forceUpdate;

MTypeId nonLinearBlendShape::id(0x1059C4);

nonLinearBlendShape::nonLinearBlendShape() = default;

nonLinearBlendShape::~nonLinearBlendShape() = default;

void* nonLinearBlendShape::creator() { return new nonLinearBlendShape; }

MStatus nonLinearBlendShape::initialize() {
    MFnCompoundAttribute compoundFn;
    inputTarget = compoundFn.create("inputTarget", "it");
    compoundFn.setArray(true);
    addAttribute(inputTarget);

    MFnGenericAttribute genericFn;
    inputGeomTarget = genericFn.create("inputGeomTarget", "igt");
    genericFn.addAccept(MFnData::kNurbsSurface);
    genericFn.addAccept(MFnData::kMesh);
    genericFn.addAccept(MFnData::kNurbsCurve);
    genericFn.addAccept(MFnData::kLattice);
    genericFn.addAccept(MFnData::kSubdSurface);
    genericFn.setParent(inputTarget);
    genericFn.setArray(true);
    genericFn.setReadable(false);
    genericFn.setWritable(true);
    genericFn.setConnectable(true);
    genericFn.setIndexMatters(false);
    addAttribute(inputGeomTarget);
    compoundFn.addChild(inputGeomTarget);

    MFnNumericAttribute numericFn;
    inputWeightTarget = numericFn.create("inputWeightTarget", "iwt", MFnNumericData::k3Double, 0);
    numericFn.setArray(true);
    numericFn.setReadable(false);
    numericFn.setWritable(true);
    numericFn.setConnectable(true);
    numericFn.setIndexMatters(false);
    numericFn.setUsedAsColor(true);
    addAttribute(inputWeightTarget);

    textureReferenceGeom = genericFn.create("textureReferenceGeom", "trg");
    genericFn.addAccept(MFnData::kNurbsSurface);
    genericFn.addAccept(MFnData::kMesh);
    genericFn.setArray(true);
    genericFn.setReadable(false);
    genericFn.setWritable(true);
    genericFn.setConnectable(true);
    genericFn.setIndexMatters(false);
    addAttribute(textureReferenceGeom);

    forceUpdate = numericFn.create("forceUpdate", "fu", MFnNumericData::kDouble, 0);
    numericFn.setReadable(true);
    numericFn.setWritable(true);
    numericFn.setKeyable(true);
    addAttribute(forceUpdate);

    for (const MObject* cause : {&inputTarget, &inputGeomTarget, &inputWeightTarget, &forceUpdate, &textureReferenceGeom})
        attributeAffects(*cause, outputGeom);
    for (const MObject* cause : {&inputTarget, &inputWeightTarget, &inputGeomTarget, &forceUpdate})
        attributeAffects(*cause, envelope);
    return MStatus::kSuccess;
}

namespace {

// Appends, for a component list, the point's position narrowed to float with w = 0.
void appendGathered(MFloatPointArray& pos, const MPoint& p) {
    pos.append(MFloatPoint(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z), 0.0f));
}

MFloatPoint narrowed(const MPoint& p) {
    return MFloatPoint(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z), 1.0f);
}

// Clamps every knot into [start, end].
void clampKnots(MDoubleArray& knots, double start, double end) {
    for (unsigned i = 0; i < knots.length(); ++i) {
        if (knots[i] < start) knots[i] = start;
        if (knots[i] > end) knots[i] = end;
    }
}

// Texture coordinate of CV i of an open or closed direction: the average of its knots, shifted and
// scaled as (average - 3 start) / end. Degree 3 and up averages knots i, i+1 and i+2; a lower degree d
// has only knots i .. i+d-1 for its last CVs and averages those d knots (the CV's Greville abscissa,
// which is what the three knots give for degree 3). A CV beyond the knots gets the domain end.
double openCoordinate(const MDoubleArray& knots, int i, int degree, double start, double end) {
    int span = degree >= 3 ? 3 : (degree < 1 ? 1 : degree);
    if (i < 0 || static_cast<unsigned>(i + span) > knots.length()) return 1.0;
    double sum = 0.0;
    for (int k = 0; k < span; ++k) sum += knots[static_cast<unsigned>(i + k)];
    return (sum / span - 3.0 * start) / end;
}

float clampUnit(double u) {
    if (!(u >= 0.0)) return 0.0f;  // NaN too
    if (u > 1.0) return 1.0f;
    return static_cast<float>(u);
}

}  // namespace

// ---- gathering -----------------------------------------------------------------------------------

MStatus nonLinearBlendShape::getSingleComponentList(MItGeometry& iter, MIntArray& list) {
    list.clear();
    MIntArray elements;
    for (iter.reset(); !iter.isDone(); iter.next()) {
        MStatus status;
        MObject component = iter.component();
        MFnSingleIndexedComponent fn(component, &status);
        if (status != MStatus::kSuccess) {
            errorLine(status, "error getting indexed component");
            return MStatus::kUnknownParameter;
        }
        fn.getElements(elements);
        if (elements.length() == 0) continue;
        list.append(elements[0]);
        appendGathered(pos, iter.position(MSpace::kObject));
    }
    return MStatus::kSuccess;
}

void nonLinearBlendShape::getNurbsComponentList(MItGeometry& iter) {
    componentU.clear();
    componentV.clear();
    for (iter.reset(); !iter.isDone(); iter.next()) {
        MObject component = iter.component();
        MFnDoubleIndexedComponent fn(component);
        int u = 0, v = 0;
        if (fn.getElement(0, u, v) != MStatus::kSuccess) continue;
        componentU.append(u);
        componentV.append(v);
        appendGathered(pos, iter.position(MSpace::kObject));
    }
}

MStatus nonLinearBlendShape::getTripleComponentList(MItGeometry& iter) {
    tripleS.clear();
    tripleT.clear();
    tripleU.clear();
    for (iter.reset(); !iter.isDone(); iter.next()) {
        MStatus status;
        MObject component = iter.component();
        MFnTripleIndexedComponent fn(component, &status);
        if (status != MStatus::kSuccess) {
            errorLine(status, "error getting indexed component");
            return MStatus::kUnknownParameter;
        }
        int s = 0, t = 0, u = 0;
        if (fn.getElement(0, s, t, u) != MStatus::kSuccess) continue;
        tripleS.append(s);
        tripleT.append(t);
        tripleU.append(u);
        appendGathered(pos, iter.position(MSpace::kObject));
    }
    return MStatus::kSuccess;
}

MStatus nonLinearBlendShape::getRenderData(MItGeometry& iter, MItMeshVertex& vertexIter) {
    MStatus result = getSingleComponentList(iter, componentList);
    pos.clear();
    MIntArray faces;
    const unsigned listed = componentList.length();
    unsigned k = 0;
    int c = 0;
    for (vertexIter.reset(); k < listed && !vertexIter.isDone(); vertexIter.next(), ++c) {
        if (componentList[k] != c) continue;
        vertexIter.getConnectedFaces(faces);
        const unsigned m = faces.length();
        // Dividing by a power of two is multiplying by its exact inverse: the same quotient, cheaper.
        const bool exactInverse = (m & (m - 1)) == 0;
        const double inverse = 1.0 / m;
        float u = 0.0f, v = 0.0f;
        for (unsigned f = 0; f < m; ++f) {
            float2 uv = {0.0f, 0.0f};
            vertexIter.getUV(faces[f], uv);
            const double du = exactInverse ? uv[0] * inverse : static_cast<double>(uv[0]) / m;
            const double dv = exactInverse ? uv[1] * inverse : static_cast<double>(uv[1]) / m;
            u = static_cast<float>(u + du);
            v = static_cast<float>(v + dv);
        }
        uCoords.append(u);
        vCoords.append(v);
        MVector normal;
        vertexIter.getNormal(normal, MSpace::kWorld);
        normals.append(MFloatVector(normal));
        pos.append(narrowed(vertexIter.position(MSpace::kObject)));
        ++k;
    }
    return result;
}

MStatus nonLinearBlendShape::getRenderData(MItGeometry& iter, const MFnNurbsSurface& surfaceFn) {
    getNurbsComponentList(iter);
    MDoubleArray knotsU, knotsV;
    surfaceFn.getKnotsInU(knotsU);
    surfaceFn.getKnotsInV(knotsV);
    double startU = 0.0, endU = 1.0, startV = 0.0, endV = 1.0;
    surfaceFn.getKnotDomain(startU, endU, startV, endV);
    clampKnots(knotsU, startU, endU);
    clampKnots(knotsV, startV, endV);
    const double numU = surfaceFn.numCVsInU();
    const double numV = surfaceFn.numCVsInV();
    const bool periodicU = surfaceFn.formInU() == MFnNurbsSurface::kPeriodic;
    const bool periodicV = surfaceFn.formInV() == MFnNurbsSurface::kPeriodic;
    const int degreeU = surfaceFn.degreeU();
    const int degreeV = surfaceFn.degreeV();
    MStatus result = MStatus::kSuccess;
    for (unsigned k = 0; k < componentU.length(); ++k) {
        const int i = componentU[k];
        const int j = componentV[k];
        // Closed forms take the open rule: their knots run from end to end as an open direction's do.
        const float u = clampUnit(periodicU ? i / numU : openCoordinate(knotsU, i, degreeU, startU, endU));
        const float v = clampUnit(periodicV ? j / numV : openCoordinate(knotsV, j, degreeV, startV, endV));
        uCoords.append(u);
        vCoords.append(v);
        MVector normal = surfaceFn.normal(u, v, MSpace::kWorld, &result);
        normals.append(MFloatVector(normal));
    }
    return result;
}

MStatus nonLinearBlendShape::getRenderData(MItGeometry& iter, const MFnNurbsCurve& curveFn) {
    MStatus result = getSingleComponentList(iter, componentList);
    MDoubleArray knots;
    curveFn.getKnots(knots);
    double start = 0.0, end = 1.0;
    curveFn.getKnotDomain(start, end);
    clampKnots(knots, start, end);
    const bool periodic = curveFn.form() == MFnNurbsCurve::kPeriodic;
    const int degree = curveFn.degree();
    for (unsigned k = 0; k < componentList.length(); ++k) {
        const int i = componentList[k];
        const float u = clampUnit(periodic ? i / end : openCoordinate(knots, i, degree, start, end));
        uCoords.append(u);
        vCoords.append(u);
        const double p = (u + start) * end;
        normals.append(MFloatVector(curveFn.normal(p, MSpace::kWorld)));
        MPoint onCurve;
        result = curveFn.getPointAtParam(p, onCurve, MSpace::kObject);
        curvePoints.append(narrowed(onCurve));
    }
    return result;
}

MStatus nonLinearBlendShape::getRenderData(MItGeometry& iter) {
    MStatus status;
    iter.reset();
    MObject component = iter.component(&status);
    const int type = component.apiType();
    if (type == 682 || type == 522) return getTripleComponentList(iter);
    return status;
}

// ---- targets -------------------------------------------------------------------------------------

// Each reader fills an array that deform keeps from call to call; getTargetData returns a new one.
MFloatPointArray nonLinearBlendShape::getTargetData(MItMeshVertex& vertexIter) {
    MFloatPointArray result;
    readTarget(vertexIter, result);
    return result;
}

MFloatPointArray nonLinearBlendShape::getTargetData(const MFnNurbsSurface& surfaceFn) {
    MFloatPointArray result;
    readTarget(surfaceFn, result);
    return result;
}

MFloatPointArray nonLinearBlendShape::getTargetData(const MFnNurbsCurve& curveFn) {
    MFloatPointArray result;
    readTarget(curveFn, result);
    return result;
}

MFloatPointArray nonLinearBlendShape::getTargetData(MItGeometry& iter) {
    MFloatPointArray result;
    readTarget(iter, result);
    return result;
}

void nonLinearBlendShape::readTarget(MItMeshVertex& vertexIter, MFloatPointArray& result) {
    result.clear();
    const unsigned listed = componentList.length();
    unsigned k = 0;
    int c = 0;
    for (vertexIter.reset(); k < listed && !vertexIter.isDone(); vertexIter.next(), ++c) {
        if (componentList[k] != c) continue;
        result.append(narrowed(vertexIter.position(MSpace::kObject)));
        ++k;
    }
}

void nonLinearBlendShape::readTarget(const MFnNurbsSurface& surfaceFn, MFloatPointArray& result) {
    result.clear();
    const unsigned n = std::min(componentU.length(), componentV.length());
    for (unsigned k = 0; k < n; ++k) {
        MPoint cv;
        // A CV the target does not have does not move the point: it reads as the point itself.
        if (surfaceFn.getCV(componentU[k], componentV[k], cv, MSpace::kObject) == MStatus::kSuccess)
            result.append(narrowed(cv));
        else
            result.append(k < pos.length() ? MFloatPoint(pos[k].x, pos[k].y, pos[k].z, 1.0f) : MFloatPoint());
    }
}

void nonLinearBlendShape::readTarget(const MFnNurbsCurve& curveFn, MFloatPointArray& result) {
    result.clear();
    for (unsigned k = 0; k < componentList.length(); ++k) {
        MPoint cv;
        if (curveFn.getCV(componentList[k], cv, MSpace::kObject) == MStatus::kSuccess)
            result.append(narrowed(cv));
        else
            result.append(k < pos.length() ? MFloatPoint(pos[k].x, pos[k].y, pos[k].z, 1.0f) : MFloatPoint());
    }
}

void nonLinearBlendShape::readTarget(MItGeometry& iter, MFloatPointArray& result) {
    result.clear();
    iter.reset();
    const int type = iter.component().apiType();
    const bool isDouble = type == 681 || type == 671;
    const bool isTriple = type == 682 || type == 522;
    if (!isDouble && !isTriple) return;
    unsigned k = 0;
    for (; !iter.isDone(); iter.next()) {
        MStatus status;
        MObject component = iter.component();
        bool match = false;
        if (isDouble) {
            MFnDoubleIndexedComponent fn(component, &status);
            int u = 0, v = 0;
            if (status == MStatus::kSuccess) fn.getElement(0, u, v);
            match = k < componentU.length() && k < componentV.length() && u == componentU[k] && v == componentV[k];
        } else {
            MFnTripleIndexedComponent fn(component, &status);
            int s = 0, t = 0, u = 0;
            if (status == MStatus::kSuccess) fn.getElement(0, s, t, u);
            match = k < tripleS.length() && k < tripleT.length() && k < tripleU.length() && s == tripleS[k] &&
                    t == tripleT[k] && u == tripleU[k];
        }
        // A point whose component cannot be read ends the walk with what was matched so far.
        if (status != MStatus::kSuccess) {
            errorLine(status, "error getting indexed component");
            break;
        }
        if (match) {
            result.append(narrowed(iter.position(MSpace::kObject)));
            ++k;
        }
    }
}

MDoubleArray nonLinearBlendShape::sampleShader(MString shaderName) {
    const bool onCurve = curvePoints.length() > 0 && curvePoints.length() == pos.length();
    MFloatPointArray& points = onCurve ? curvePoints : pos;
    MFloatPointArray& reference = refPos.length() > 0 ? refPos : points;
    MFloatVectorArray colors, transparencies;
    shadingSampling::sample(shaderName, static_cast<int>(points.length()), false, shadingSampling::orNull(points),
                            shadingSampling::orNull(uCoords), shadingSampling::orNull(vCoords),
                            shadingSampling::orNull(normals), &reference, shadingSampling::orNull(tangentUs),
                            shadingSampling::orNull(tangentVs), colors, transparencies);
    MDoubleArray result;
    for (unsigned i = 0; i < colors.length(); ++i) result.append(shadingSampling::luminance(colors[i]));
    colors.clear();
    transparencies.clear();
    return result;
}

// ---- deform --------------------------------------------------------------------------------------

void nonLinearBlendShape::clearScratch() {
    for (MIntArray* a : {&componentList, &componentU, &componentV, &tripleS, &tripleT, &tripleU}) a->clear();
    for (MFloatPointArray* a : {&pos, &refPos, &curvePoints}) a->clear();
    for (MFloatVectorArray* a : {&normals, &tangentUs, &tangentVs}) a->clear();
    uCoords.clear();
    vCoords.clear();
}

void nonLinearBlendShape::readGeometry(MDataHandle& geometry, MFloatPointArray& result) {
    result.clear();
    switch (geometry.type()) {
        case MFnData::kMesh: {
            MStatus status;
            MItMeshVertex vertexIter(geometry.asMesh(), &status);
            if (status == MStatus::kSuccess) readTarget(vertexIter, result);
            break;
        }
        case MFnData::kNurbsSurface: readTarget(MFnNurbsSurface(geometry.asNurbsSurface()), result); break;
        case MFnData::kNurbsCurve: readTarget(MFnNurbsCurve(geometry.asNurbsCurve()), result); break;
        default: {
            MItGeometry targetIter(geometry, true);
            readTarget(targetIter, result);
            break;
        }
    }
}

MStatus nonLinearBlendShape::deform(MDataBlock& block, MItGeometry& iter, const MMatrix&, unsigned int multiIndex) {
    MStatus status;
    MFnDependencyNode nodeFn(thisMObject());

    MDataHandle envelopeHandle = block.inputValue(envelope, &status);
    if (status != MStatus::kSuccess) return status;
    const float env = envelopeHandle.asFloat();
    // A non-finite envelope deforms nothing, as an envelope of 0 does.
    if (env == 0.0f || !std::isfinite(env)) return MStatus::kUnknownParameter;

    MArrayDataHandle inputs = block.inputArrayValue(input);
    inputs.jumpToElement(multiIndex);
    MDataHandle inputGeometry = inputs.inputValue().child(inputGeom);

    clearScratch();
    switch (inputGeometry.type()) {
        case MFnData::kMesh: {
            MItMeshVertex vertexIter(inputGeometry.asMesh());
            getRenderData(iter, vertexIter);
            break;
        }
        case MFnData::kNurbsSurface: getRenderData(iter, MFnNurbsSurface(inputGeometry.asNurbsSurface())); break;
        case MFnData::kNurbsCurve: getRenderData(iter, MFnNurbsCurve(inputGeometry.asNurbsCurve())); break;
        default: getRenderData(iter); break;
    }

    MPlug reference = nodeFn.findPlug("textureReferenceGeom").elementByLogicalIndex(multiIndex);
    if (reference.isConnected()) {
        MArrayDataHandle references = block.inputArrayValue(textureReferenceGeom);
        if (references.jumpToElement(multiIndex) == MStatus::kSuccess) {
            MDataHandle referenceGeometry = references.inputValue();
            readGeometry(referenceGeometry, refPos);
        }
    }

    // The targets of this geometry: none when "inputTarget" has no element for it.
    MArrayDataHandle targets;
    bool hasTargets = false;
    MArrayDataHandle inputTargets = block.inputArrayValue(inputTarget);
    if (inputTargets.jumpToElement(multiIndex) == MStatus::kSuccess) {
        targets = MArrayDataHandle(inputTargets.inputValue().child(inputGeomTarget), &status);
        hasTargets = status == MStatus::kSuccess;
    }
    MArrayDataHandle weightElement = block.inputArrayValue(inputWeightTarget);
    weightElement.jumpToElement(multiIndex);

    // The working arrays keep their storage from call to call: a large geometry then costs no fresh
    // memory per evaluation.
    const unsigned n = pos.length();
    MFloatPointArray& targetPos = targetPosBuffer;
    MFloatPointArray& weightedPos = weightedPosBuffer;
    MDoubleArray& shaderWeight = shaderWeightBuffer;
    MDoubleArray& weights = weightBuffer;
    // The sums start at the origin; only x, y and z are summed and read. The first target writes them
    // as 0 + its offset rather than adding to a zeroed array, which spares a pass over the points.
    targetPos.clear();
    weightedPos.clear();

    // Targets go by their existing logical indices, ascending; target i takes weight element i.
    for (unsigned remaining = hasTargets ? targets.elementCount() : 0; remaining > 0; --remaining, targets.next()) {
        const unsigned i = targets.elementIndex();
        iter.reset();
        weightElement.inputValue(&status);
        if (status != MStatus::kSuccess) {
            errorLine(status, "error getting weight handle");
            return MStatus::kUnknownParameter;
        }
        nodeFn.findPlug("inputTarget", &status);
        if (status != MStatus::kSuccess) {
            errorLine(status, "error getting inputTarget plug");
            return MStatus::kUnknownParameter;
        }
        MPlug weightPlug = nodeFn.findPlug("inputWeightTarget", &status);
        if (status != MStatus::kSuccess) {
            errorLine(status, "error getting inputWeightTarget plug");
            return MStatus::kUnknownParameter;
        }
        MPlug weightTarget = weightPlug.elementByLogicalIndex(i);
        MPlugArray sources;
        weightTarget.connectedTo(sources, true, false);
        MString shaderName;
        double r = 0.0, g = 0.0, b = 0.0;
        if (sources.length() > 0) {
            shaderName = shadingSampling::attachedShadingNode(weightTarget);
        } else {
            MObject colour;
            weightTarget.getValue(colour, MDGContext::fsNormal);
            MFnNumericData(colour).getData(r, g, b);
        }

        MDataHandle target = targets.inputValue();
        switch (target.type()) {
            case MFnData::kMesh: {
                MItMeshVertex vertexIter(target.asMesh(), &status);
                if (status != MStatus::kSuccess) {
                    errorLine(status, "error getting vertIt");
                    return MStatus::kUnknownParameter;
                }
                readTarget(vertexIter, targetPos);
                break;
            }
            case MFnData::kNurbsSurface: {
                MFnNurbsSurface surfaceFn(target.asNurbsSurface(), &status);
                if (status != MStatus::kSuccess) {
                    errorLine(status, "error getting nurbsFn");
                    return MStatus::kUnknownParameter;
                }
                readTarget(surfaceFn, targetPos);
                break;
            }
            case MFnData::kNurbsCurve: {
                MFnNurbsCurve curveFn(target.asNurbsCurve(), &status);
                if (status != MStatus::kSuccess) {
                    errorLine(status, "error getting nurbsCurveFn");
                    return MStatus::kUnknownParameter;
                }
                readTarget(curveFn, targetPos);
                break;
            }
            default: {
                MItGeometry targetIter(target, true);
                readTarget(targetIter, targetPos);
                break;
            }
        }

        // A colour gives every point with a target position the same weight: it is kept once rather than
        // copied per point.
        const bool shaded = shaderName != "";
        const double colourWeight = (r + g + b) / 3.0;
        if (shaded)
            shaderWeight = sampleShader(shaderName);
        else
            shaderWeight.clear();

        weights.clear();
        for (iter.reset(); !iter.isDone(); iter.next())
            weights.append(weightValue(block, multiIndex, static_cast<unsigned>(iter.index())));

        // Points without a target position, a shader weight or a deformer weight, and weights that are
        // not finite, take nothing from this target.
        const unsigned blended =
            std::min({n, targetPos.length(), shaded ? shaderWeight.length() : targetPos.length(), weights.length()});
        // A colour weight with a deformer weight of 1 gives the same product at every point: it is formed
        // once (the extended-precision product with 1 is exact), and the others point by point.
        const float unitColourWeight = static_cast<float>(static_cast<long double>(env) * 1.0 * colourWeight);
        auto weightAt = [&](unsigned j, auto targetWeight) {
            if (!shaded && weights[j] == 1.0) return unitColourWeight;
            return static_cast<float>(static_cast<long double>(env) * weights[j] * targetWeight(j));
        };
        auto blend = [&](auto targetWeight) {
            if (weightedPos.length() == n) {
                for (unsigned j = 0; j < blended; ++j) {
                    const float w = weightAt(j, targetWeight);
                    if (!std::isfinite(w)) continue;
                    const MFloatPoint origin(pos[j].x, pos[j].y, pos[j].z, 1.0f);
                    weightedPos[j] += (targetPos[j] - origin) * w;
                }
                return;
            }
            for (unsigned j = 0; j < blended; ++j) {
                const float w = weightAt(j, targetWeight);
                if (!std::isfinite(w)) {
                    weightedPos.append(MFloatPoint());
                    continue;
                }
                const MFloatPoint origin(pos[j].x, pos[j].y, pos[j].z, 1.0f);
                const MFloatVector offset = (targetPos[j] - origin) * w;
                weightedPos.append(MFloatPoint(0.0f + offset.x, 0.0f + offset.y, 0.0f + offset.z, 1.0f));
            }
            for (unsigned j = blended; j < n; ++j) weightedPos.append(MFloatPoint());
        };
        if (shaded)
            blend([&](unsigned j) { return shaderWeight[j]; });
        else
            blend([colourWeight](unsigned) { return colourWeight; });
    }

    weightedPos.setLength(n);  // no target: every sum is still at the origin

    // Points for which nothing was gathered, and results that are not finite, keep their positions.
    status = MStatus::kSuccess;
    unsigned j = 0;
    for (iter.reset(); !iter.isDone() && j < n; iter.next(), ++j) {
        const MPoint moved = MPoint(pos[j].x, pos[j].y, pos[j].z, 1.0) +
                             MVector(MPoint(weightedPos[j].x, weightedPos[j].y, weightedPos[j].z, 1.0));
        if (!std::isfinite(moved.x) || !std::isfinite(moved.y) || !std::isfinite(moved.z)) continue;
        status = iter.setPosition(moved, MSpace::kObject);
        if (status != MStatus::kSuccess) {
            errorLine(status, "error setting position");
            return MStatus::kUnknownParameter;
        }
    }

    clearScratch();
    for (MFloatPointArray* a : {&targetPos, &weightedPos}) a->clear();
    shaderWeight.clear();
    weights.clear();
    return status;
}
