#include "samplerEmitter.h"

#include "fieldStatus.h"
#include "shadingSampling.h"

#include <maya/MArrayDataBuilder.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDGContext.h>
#include <maya/MDataHandle.h>
#include <maya/MDoubleArray.h>
#include <maya/MDynSweptTriangle.h>
#include <maya/MFn.h>
#include <maya/MFnData.h>
#include <maya/MFnDynSweptGeometryData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MItDependencyNodes.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MItMeshVertex.h>
#include <maya/MPlugArray.h>
#include <maya/MSpace.h>
#include <maya/MVector.h>
#include <maya/MVectorArray.h>

#include <cmath>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

bool scaleBySize = false;
double dt = 0.0;
double minU = 0.0;
double maxU = 0.0;
double minV = 0.0;
double maxV = 0.0;

MObject samplerEmitter::speedMapObj;
MObject samplerEmitter::rateMapObj;
MObject samplerEmitter::inhMapObj;
MObject samplerEmitter::enableShadows;
MObject samplerEmitter::colMapObj;
MObject samplerEmitter::opacityMapObj;
MObject samplerEmitter::shaderObj;
MObject samplerEmitter::mapToObj;

MTypeId samplerEmitter::id(0x1059C3);

const unsigned samplerEmitter::maxCandidates = 10000000;

samplerEmitter::samplerEmitter() {}

samplerEmitter::~samplerEmitter() {}

void* samplerEmitter::creator() { return new samplerEmitter; }

// No status is examined here: the emitter's attributes carry no affects, and registration decides.
MStatus samplerEmitter::initialize() {
    struct Row {
        MObject* handle;
        const char* longName;
        const char* shortName;
        MFnNumericData::Type numericType;
    };
    const Row rows[] = {
        {&speedMapObj, "speedMap", "smap", MFnNumericData::k3Double},
        {&rateMapObj, "rateMap", "rmap", MFnNumericData::k3Double},
        {&inhMapObj, "inheritMap", "ihmap", MFnNumericData::k3Double},
        {&enableShadows, "enableShadows", "es", MFnNumericData::kBoolean},
        {&colMapObj, "colorMap", "colmap", MFnNumericData::k3Double},
        {&opacityMapObj, "opacityMap", "opmap", MFnNumericData::k3Double},
    };

    MFnNumericAttribute numAttr;
    MFnTypedAttribute typedAttr;
    for (const Row& row : rows) {
        *row.handle = numAttr.create(row.longName, row.shortName, row.numericType, 0.0);
        addAttribute(*row.handle);
    }

    shaderObj = numAttr.create("map", "mp", MFnNumericData::k3Double, 0.0);
    numAttr.setArray(true);
    numAttr.setReadable(false);
    numAttr.setWritable(true);
    numAttr.setConnectable(true);
    addAttribute(shaderObj);

    mapToObj = typedAttr.create("to", "tu", MFnData::kString, MObject::kNullObj);
    typedAttr.setArray(true);
    typedAttr.setReadable(false);
    typedAttr.setWritable(true);
    typedAttr.setConnectable(false);
    addAttribute(mapToObj);

    return MStatus::kSuccess;
}

// ---- Value readers ----------------------------------------------------------------------------------

MTime samplerEmitter::currentTimeValue(MDataBlock& block) {
    MStatus status;
    MDataHandle handle = block.inputValue(mCurrentTime, &status);
    if (status != MStatus::kSuccess)
        return MTime(0.0, MTime::kFilm);
    return handle.asTime();
}

namespace {

// The element index of an array attribute of the emitter base, or false when any step fails.
bool elementOf(MDataBlock& block, const MObject& attribute, unsigned index, MDataHandle& element) {
    MStatus status;
    MArrayDataHandle array = block.inputArrayValue(attribute, &status);
    if (status != MStatus::kSuccess)
        return false;
    if (array.jumpToElement(index) != MStatus::kSuccess)
        return false;
    element = array.inputValue(&status);
    return status == MStatus::kSuccess;
}

}  // namespace

MTime samplerEmitter::startTimeValue(unsigned int index, MDataBlock& block) {
    MDataHandle element;
    if (!elementOf(block, mStartTime, index, element))
        return MTime(0.0, MTime::kFilm);
    return element.asTime();
}

bool samplerEmitter::isFullValue(unsigned int index, MDataBlock& block) {
    MDataHandle element;
    if (!elementOf(block, mIsFull, index, element))
        return true;
    return element.asBool();
}

double samplerEmitter::inheritFactorValue(unsigned int index, MDataBlock& block) {
    MDataHandle element;
    if (!elementOf(block, mInheritFactor, index, element))
        return 0.0;
    return element.asDouble();
}

// ---- compute ----------------------------------------------------------------------------------------

namespace {

// The node feeding plug (the first source of its incoming connection); a null object when none does.
MObject sourceNode(const MPlug& plug, MStatus& status) {
    MPlugArray sources;
    plug.connectedTo(sources, true, false, &status);
    return sources.length() > 0 ? sources[0].node() : MObject();
}

// (value - low) / (high - low); 0 for a range of no width, which has no inside to normalise into.
float normalised(float value, double low, double high) {
    const double width = high - low;
    if (width == 0.0)
        return 0.0f;
    return static_cast<float>((value - low) / width);
}

// A time value truncated toward zero as a 32-bit integer would be; beyond that range the fraction of a
// double is already zero, so plain truncation agrees and nothing overflows.
double wholePart(double value) {
    if (value > -2147483648.0 && value < 2147483648.0)
        return static_cast<double>(static_cast<int>(value));
    return std::trunc(value);
}

// The corner roles of one of the three ways of blending a triangle (chosen by r4): a weighted edge point
// E between edgeFirst and edgeSecond, then P between E and apex.
struct Blend {
    int edgeFirst;
    int edgeSecond;
    int apex;
};

Blend blendFor(float r4) {
    if (r4 < 0.33f)
        return {0, 1, 2};
    if (r4 < 0.66f)
        return {1, 2, 0};
    return {2, 0, 1};
}

inline MVector blendPoint(const MVector corners[3], const Blend& b, float r1, float complement1, float r2,
                          float complement2) {
    const MVector edge = corners[b.edgeFirst] * r1 + corners[b.edgeSecond] * complement1;
    return corners[b.apex] * r2 + edge * complement2;
}

// The same blend of one surface coordinate, in single precision.
float blendCoordinate(const float values[3], const Blend& b, float r1, float complement1, float r2,
                      float complement2) {
    const float edge = values[b.edgeFirst] * r1 + values[b.edgeSecond] * complement1;
    return values[b.apex] * r2 + edge * complement2;
}

// Asks the processor to start loading what address holds, where the compiler offers it.
inline void prefetch(const void* address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

void setVector(MFloatVector& element, float x, float y, float z) {
    element.x = x;
    element.y = y;
    element.z = z;
}

void setPoint(MFloatPoint& element, float x, float y, float z) {
    element.x = x;
    element.y = y;
    element.z = z;
    element.w = 1.0f;
}

MFloatVector toFloat(const MVector& v) {
    return MFloatVector(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
}

}  // namespace

MStatus samplerEmitter::compute(const MPlug& plug, MDataBlock& block) {
    // 1. Only elements of the output array are computed here.
    if (plug != mOutput)
        return MStatus::kUnknownParameter;

    // 2. The output element and the particle object it feeds.
    MStatus status;
    const unsigned index = plug.logicalIndex(&status);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR in plug.logicalIndex.\n");
        return MStatus::kUnknownParameter;
    }
    MFnDependencyNode thisNode(thisMObject());
    MPlug outputPlug = thisNode.findPlug("output");
    MPlug outputElement = outputPlug.elementByLogicalIndex(index, &status);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR getting particle plug by logical index.\n");
        return MStatus::kUnknownParameter;
    }
    MPlugArray destinations;
    outputElement.connectedTo(destinations, false, true);
    // An element that feeds nothing has no particle object: the function set on a null object fails.
    MFnDependencyNode particleNode(destinations.length() > 0 ? destinations[0].node() : MObject(), &status);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR getting particle node.\n");
        return MStatus::kUnknownParameter;
    }

    // 3. The output data.
    MArrayDataHandle hOutArray = block.outputArrayValue(mOutput, &status);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR in hOutArray = block.outputArrayValue.\n");
        return MStatus::kUnknownParameter;
    }
    MArrayDataBuilder bOutArray = hOutArray.builder(&status);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR in bOutArray = hOutArray.builder.\n");
        return MStatus::kUnknownParameter;
    }
    MDataHandle hOut = bOutArray.addElement(index, &status);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR in hOut = bOutArray.addElement.\n");
        return MStatus::kUnknownParameter;
    }
    MFnArrayAttrsData fnOutput;
    MObject dOutput = fnOutput.create(&status);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR in fnOutput.create.\n");
        return MStatus::kUnknownParameter;
    }

    // 4. Size scaling.
    thisNode.findPlug("scaleRateByObjectSize").getValue(scaleBySize, MDGContext::fsNormal);

    // 5. The emitting geometry, and the range of its surface coordinates.
    bool noGeometry = true;
    bool isMesh = false;
    double area = 0.0;
    double rangeMinU = 0.0, rangeMaxU = 1.0, rangeMinV = 0.0, rangeMaxV = 1.0;
    MObject sweptData;
    MPlug instObjGroups;
    MPlug sweptPlug(thisMObject(), mSweptGeometry);
    if (sweptPlug.isConnected()) {
        sweptData = block.inputValue(mSweptGeometry).data();
        if (MFnDynSweptGeometryData(sweptData).triangleCount() > 0)
            noGeometry = false;

        const MObject connector = sourceNode(sweptPlug, status);
        if (status != MStatus::kSuccess) {
            fieldStatus::reportError(status, "ERROR getting connections.\n");
            return MStatus::kUnknownParameter;
        }
        // Swept geometry with no connector, or a connector with no shape (disconnected or deleted
        // mid-playback), has nothing to emit from.
        MObject shape;
        if (!connector.isNull()) {
            MFnDependencyNode connectorNode(connector, &status);
            if (status != MStatus::kSuccess) {
                fieldStatus::reportError(status, "ERROR getting dependency node.\n");
                return MStatus::kUnknownParameter;
            }
            MPlug localGeoPlug = connectorNode.findPlug("localGeometry", &status);
            if (status != MStatus::kSuccess) {
                fieldStatus::reportError(status, "ERROR getting localGeoPlug.\n");
                return MStatus::kUnknownParameter;
            }
            shape = sourceNode(localGeoPlug, status);
            if (status != MStatus::kSuccess) {
                fieldStatus::reportError(status, "ERROR getting connectedPlugs.\n");
                return MStatus::kUnknownParameter;
            }
        }
        MFnDependencyNode shapeNode(shape, &status);
        const bool hasShape = status == MStatus::kSuccess;
        if (hasShape)
            instObjGroups = shapeNode.findPlug("instObjGroups");
        else
            noGeometry = true;
        const MString shapeType = hasShape ? shapeNode.typeName() : MString("");

        if (shapeType == "mesh") {
            isMesh = true;
            MItMeshPolygon polyIt(shape, &status);
            if (status != MStatus::kSuccess) {
                fieldStatus::reportError(status, " error creating Polygon Iterator");
                return MStatus::kUnknownParameter;
            }
            MItMeshVertex vertIt(shape, &status);
            if (status != MStatus::kSuccess) {
                fieldStatus::reportError(status, " error creating Vertex Iterator");
                return MStatus::kUnknownParameter;
            }
            // Corner coordinates of each fan triangle, written into storage kept from the last
            // evaluation.
            triangleCoordinates.reserve(static_cast<size_t>(MFnDynSweptGeometryData(sweptData).triangleCount()));
            area += walkPolygons(polyIt, scaleBySize, triangleCoordinates);
            minU = 0.0;
            maxU = 1.0;
            minV = 0.0;
            maxV = 1.0;
        } else if (shapeType == "nurbsSurface") {
            MFnNurbsSurface surface(shape);
            area = surface.area(MSpace::kObject, 0.01);
            surface.getKnotDomain(minU, maxU, minV, maxV);
        } else if (hasShape && scaleBySize) {
            // Any other shape: its size is the area of its swept triangles now, and its coordinates are
            // taken as they are (the range of the last mesh or surface is not its own).
            MFnDynSweptGeometryData swept(sweptData);
            const int count = swept.triangleCount();
            for (int t = 0; t < count; ++t)
                area += swept.sweptTriangle(t).area(1.0);
        }
        if (shapeType == "mesh" || shapeType == "nurbsSurface") {
            rangeMinU = minU;
            rangeMaxU = maxU;
            rangeMinV = minV;
            rangeMaxV = maxV;
        }
    }

    // 6. Emitter values.
    const double rate = block.inputValue(mRate).asDouble();
    const double inheritFactor = inheritFactorValue(index, block);
    double minDistance = 0.0;
    double maxDistance = 0.0;
    thisNode.findPlug("minDistance").getValue(minDistance, MDGContext::fsNormal);
    thisNode.findPlug("maxDistance").getValue(maxDistance, MDGContext::fsNormal);
    const bool isFull = isFullValue(index, block);
    // A missing element counts as full above; the array itself must be readable.
    block.inputArrayValue(mIsFull, &status);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "ERROR getting mIsFull attribute.\n");
        return MStatus::kUnknownParameter;
    }

    // 7. The step since the previous compute of this node.
    const MTime currentTime = currentTimeValue(block);
    const MTime startTime = startTimeValue(index, block);
    const MTime step = currentTime - lastTime;
    lastTime = currentTime;

    // 8. Nothing to emit: an empty output. A rate that is not a number emits nothing either.
    auto emitNothing = [&]() {
        hOut.set(dOutput);
        block.setClean(plug);
        return MStatus::kSuccess;
    };
    if (currentTime <= startTime || step <= MTime(0.0, MTime::kFilm) || !(rate >= 1.0) || isFull || noGeometry)
        return emitNothing();

    // 9. Shading switches that hold an input for the emitting shape feed their default from it.
    reconnectAttr(instObjGroups);

    // 10. Sampling parameters.
    MFnDynSweptGeometryData swept(sweptData);
    const int triangleCount = swept.triangleCount();
    dt = step.as(MTime::kSeconds);
    const double stepSize = step.value();
    double sampleTime = currentTime.value() - wholePart(currentTime.value());
    if (sampleTime == 0.0)
        sampleTime = 1.0;
    double oldTime = sampleTime - stepSize;
    if (oldTime < 0.001)
        oldTime = 0.0;
    const double secondsPerFrame = MTime(1.0, MTime::uiUnit()).as(MTime::kSeconds);
    const double n = rate * secondsPerFrame * stepSize;
    const double stride = scaleBySize ? triangleCount / area / n : triangleCount / n;

    // The candidates are the multiples of stride below triangleCount. A stride that is not a positive
    // finite number (an object of no size, an infinite rate) draws none; too many would exhaust memory.
    if (!(stride > 0.0) || !std::isfinite(stride))
        return emitNothing();
    const double expected = std::ceil(triangleCount / stride);
    if (expected > maxCandidates) {
        const std::string message = "ERROR emitting " + std::to_string(static_cast<long long>(expected)) +
                                    " candidates, more than the limit of " + std::to_string(maxCandidates) +
                                    "; nothing emitted.\n";
        fieldStatus::reportError(MStatus(MStatus::kFailure), message.c_str());
        return emitNothing();
    }

    // 11. Candidates.
    CandidateSettings settings;
    settings.triangleCount = triangleCount;
    settings.stride = stride;
    settings.expected = static_cast<unsigned>(expected);
    settings.sampleTime = sampleTime;
    settings.oldTime = oldTime;
    settings.stepSize = stepSize;
    settings.isMesh = isMesh;
    settings.withOffset = minDistance <= maxDistance && maxDistance > 0.0 && std::isfinite(maxDistance) &&
                          std::isfinite(minDistance);
    settings.nearOffset = static_cast<float>(minDistance);
    settings.farOffset = static_cast<float>(maxDistance);
    settings.inheritFactor = inheritFactor;
    settings.minU = rangeMinU;
    settings.maxU = rangeMaxU;
    settings.minV = rangeMinV;
    settings.maxV = rangeMaxV;
    drawCandidates(swept, settings);

    // 12. Emission.
    emit(block, fnOutput, thisNode, particleNode, candidatePoints, candidateNormals, candidateVelocities,
         candidateUs, candidateVs, candidateTangentUs, candidateTangentVs);
    // The candidate arrays keep their length until the next evaluation, which overwrites them: setting
    // them back to zero would have that evaluation fill them with zeros first.

    // 13. Output.
    status = hOut.set(dOutput);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "error setting hOut");
        return MStatus::kUnknownParameter;
    }
    status = block.setClean(plug);
    if (status != MStatus::kSuccess) {
        fieldStatus::reportError(status, "error setClean plug");
        return MStatus::kUnknownParameter;
    }
    return MStatus::kSuccess;
}

// The candidates of one evaluation, into the candidate arrays (their lengths set to the count). Kept
// apart from compute so that the per-candidate calls are compiled into this loop.
void samplerEmitter::drawCandidates(const MFnDynSweptGeometryData& swept, const CandidateSettings& settings) {
    MFloatPointArray& points = candidatePoints;
    MFloatVectorArray& normals = candidateNormals;
    MFloatVectorArray& velocities = candidateVelocities;
    MFloatArray& uCoords = candidateUs;
    MFloatArray& vCoords = candidateVs;
    MFloatVectorArray& tangentUs = candidateTangentUs;
    MFloatVectorArray& tangentVs = candidateTangentVs;
    const int triangleCount = settings.triangleCount;
    const double stride = settings.stride;
    const double sampleTime = settings.sampleTime;
    const double oldTime = settings.oldTime;
    const double stepSize = settings.stepSize;
    const bool isMesh = settings.isMesh;
    const bool withOffset = settings.withOffset;
    const float nearOffset = settings.nearOffset;
    const float farOffset = settings.farOffset;
    const double inheritFactor = settings.inheritFactor;
    const size_t meshTriangles = isMesh ? triangleCoordinates.size() : 0;
    // The arrays are sized once for the expected count and written in place (the last multiple may
    // round either way, so the count is settled at the end).
    unsigned drawn = 0;
    unsigned room = settings.expected + 1;
    auto reserve = [&](unsigned length) {
        points.setLength(length);
        normals.setLength(length);
        velocities.setLength(length);
        uCoords.setLength(length);
        vCoords.setLength(length);
        tangentUs.setLength(length);
        tangentVs.setLength(length);
    };
    reserve(room);
    // s runs over the multiples k x stride (not a running sum, whose rounding could add a candidate).
    // The candidates are made in batches: the random numbers of a batch are drawn first, in candidate
    // order, each candidate taking its triangle as soon as it is drawn (which reads nothing of it yet);
    // then the triangles' corners are read one after another (independent reads that the processor
    // overlaps), then the candidates are formed.
    const int batchSize = 64;
    struct Draw {
        float r1, r2, r3, r4;
        int t;
    };
    Draw draws[batchSize];
    MDynSweptTriangle triangles[batchSize];
    struct Formed {
        MVector corners[3];
        float normal[3];
    };
    Formed formed[batchSize];
    TriangleCoordinates coordinates[batchSize];
    double multiple = 0.0;
    bool more = true;
    while (more) {
        int batch = 0;
        for (; batch < batchSize; ++batch) {
            if (!(multiple * stride < triangleCount)) {
                more = false;
                break;
            }
            multiple += 1.0;
            Draw& d = draws[batch];
            d.r1 = static_cast<float>(drand48());
            d.r2 = static_cast<float>(drand48());
            d.r3 = static_cast<float>(drand48());
            d.r4 = static_cast<float>(drand48());
            d.t = static_cast<int>(drand48() * triangleCount);
            if (d.t >= triangleCount)
                d.t = triangleCount - 1;
            if (static_cast<size_t>(d.t) < meshTriangles)
                prefetch(&triangleCoordinates[static_cast<size_t>(d.t)]);
            // Made in its place (a copy would read the new triangle whole before its parts were stored).
            new (&triangles[batch]) MDynSweptTriangle(swept.sweptTriangle(d.t));
        }
        // The corners of the batch's triangles, read one after another so that their loads overlap;
        // then their normals.
        for (int j = 0; j < batch; ++j) {
            const MDynSweptTriangle& triangle = triangles[j];
            for (int k = 0; k < 3; ++k)
                formed[j].corners[k] = triangle.vertex(k, sampleTime);
        }
        for (int j = 0; j < batch; ++j) {
            const MVector n = triangles[j].normal(sampleTime);
            formed[j].normal[0] = static_cast<float>(n.x);
            formed[j].normal[1] = static_cast<float>(n.y);
            formed[j].normal[2] = static_cast<float>(n.z);
        }
        // The corner coordinates, from the mesh's own list or from the triangles. A triangle beyond
        // the mesh's fan list has none: (0, 0).
        if (isMesh) {
            for (int j = 0; j < batch; ++j)
                coordinates[j] = static_cast<size_t>(draws[j].t) < meshTriangles
                                     ? triangleCoordinates[static_cast<size_t>(draws[j].t)]
                                     : TriangleCoordinates{{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}};
        } else {
            for (int j = 0; j < batch; ++j)
                for (int k = 0; k < 3; ++k) {
                    const MVector uv = triangles[j].uvPoint(k);
                    coordinates[j].u[k] = static_cast<float>(uv.x);
                    coordinates[j].v[k] = static_cast<float>(uv.y);
                }
        }
        if (drawn + static_cast<unsigned>(batch) > room) {
            room = drawn + static_cast<unsigned>(batch) > 2 * room ? drawn + static_cast<unsigned>(batch) : 2 * room;
            reserve(room);
        }
        for (int j = 0; j < batch; ++j) {
            const float r1 = draws[j].r1;
            const float r2 = draws[j].r2;
            const float r3 = draws[j].r3;
            const float r4 = draws[j].r4;
            const MVector* corners = formed[j].corners;
            // Results are kept in scalars and written into the arrays component by component: a vector
            // stored by components and read back whole would have to wait for its stores to reach memory.
            const float nx = formed[j].normal[0];
            const float ny = formed[j].normal[1];
            const float nz = formed[j].normal[2];

            float offsetX = 0.0f, offsetY = 0.0f, offsetZ = 0.0f;
            if (withOffset) {
                const float near = 1.0f - r3;
                offsetX = (nx * r3) * farOffset + (nx * near) * nearOffset;
                offsetY = (ny * r3) * farOffset + (ny * near) * nearOffset;
                offsetZ = (nz * r3) * farOffset + (nz * near) * nearOffset;
            }

            const float c1 = 1.0f - r1;
            const float c2 = 1.0f - r2;
            const Blend blend = blendFor(r4);
            const MVector p = blendPoint(corners, blend, r1, c1, r2, c2);
            const float uvU = blendCoordinate(coordinates[j].u, blend, r1, c1, r2, c2);
            const float uvV = blendCoordinate(coordinates[j].v, blend, r1, c1, r2, c2);
            const MVector position(p.x + offsetX, p.y + offsetY, p.z + offsetZ);

            MFloatVector velocity(0.0f, 0.0f, 0.0f);
            if (inheritFactor != 0.0) {
                const MDynSweptTriangle& triangle = triangles[j];
                const MVector previous[3] = {triangle.vertex(0, oldTime), triangle.vertex(1, oldTime),
                                             triangle.vertex(2, oldTime)};
                const MVector pOld = blendPoint(previous, blend, r1, c1, r2, c2);
                velocity = toFloat((p - pOld) / stepSize / stepSize);
            }
            // A zero-length edge has no direction: its tangent stays (0, 0, 0).
            const MFloatVector tangentU = toFloat(corners[0] - corners[1]).normal();
            const MFloatVector tangentV = toFloat(corners[0] - corners[2]).normal();

            setPoint(points[drawn], static_cast<float>(position.x), static_cast<float>(position.y),
                     static_cast<float>(position.z));
            uCoords[drawn] = normalised(uvU, settings.minU, settings.maxU);
            vCoords[drawn] = normalised(uvV, settings.minV, settings.maxV);
            setVector(normals[drawn], nx, ny, nz);
            setVector(velocities[drawn], velocity.x, velocity.y, velocity.z);
            setVector(tangentUs[drawn], tangentU.x, tangentU.y, tangentU.z);
            setVector(tangentVs[drawn], tangentV.x, tangentV.y, tangentV.z);
            ++drawn;
        }
    }
    reserve(drawn);
}

// One pass over the polygons of a mesh: the sum of their object-space areas (when withArea is set, else
// 0), and the corner coordinates of their fan triangles, polygons in order, into coordinates (cleared
// first). A corner without a UV reads (0, 0). Kept apart from compute so that the iterator's calls are
// compiled into this small loop.
double samplerEmitter::walkPolygons(MItMeshPolygon& polyIt, bool withArea,
                                    std::vector<TriangleCoordinates>& coordinates) {
    coordinates.clear();
    double area = 0.0;
    for (; !polyIt.isDone(); polyIt.next()) {
        if (withArea) {
            double polygonArea = 0.0;
            polyIt.getArea(polygonArea, MSpace::kObject);
            area += polygonArea;
        }
        const int corners = static_cast<int>(polyIt.polygonVertexCount());
        int uvIndex = 0;
        float u0 = 0.0f, v0 = 0.0f, uLast = 0.0f, vLast = 0.0f;
        polyIt.getUVIndex(0, uvIndex, u0, v0);
        if (corners > 1)
            polyIt.getUVIndex(1, uvIndex, uLast, vLast);
        for (int k = 2; k < corners; ++k) {
            float u = 0.0f, v = 0.0f;
            polyIt.getUVIndex(k, uvIndex, u, v);
            coordinates.push_back({{u0, uLast, u}, {v0, vLast, v}});
            uLast = u;
            vLast = v;
        }
    }
    return area;
}

// ---- Emission ---------------------------------------------------------------------------------------

namespace {

// Keeps the entries at kept (ascending indices), in order, in place.
template <class Array>
void keepOnly(Array& array, const std::vector<unsigned>& kept) {
    for (unsigned i = 0; i < kept.size(); ++i)
        array[i] = array[kept[i]];
    array.setLength(static_cast<unsigned>(kept.size()));
}

// The red component of colour i, or 1 (no scaling) where the map returned no colour for it.
float redOf(const MFloatVectorArray& colors, unsigned i) {
    return i < colors.length() ? colors[i].x : 1.0f;
}

}  // namespace

void samplerEmitter::emit(const MDataBlock&, MFnArrayAttrsData output, const MFnDependencyNode& emitterNode,
                          const MFnDependencyNode& particleNode, const MFloatPointArray& points,
                          const MFloatVectorArray& normals, const MFloatVectorArray& velocities,
                          const MFloatArray& uCoords, const MFloatArray& vCoords, const MFloatVectorArray& tangentUs,
                          const MFloatVectorArray& tangentVs) {
    // 1. Working arrays. Until a map is sampled they are the candidates themselves; the sampler takes
    // its arrays by non-const reference, so the first map sampled works on copies (which the rate map
    // then thins).
    bool copied = false;
    auto copyCandidates = [&]() {
        if (copied)
            return;
        workingPoints = points;
        workingNormals = normals;
        workingVelocities = velocities;
        workingUs = uCoords;
        workingVs = vCoords;
        workingTangentUs = tangentUs;
        workingTangentVs = tangentVs;
        copied = true;
    };
    MFloatPointArray& wPoints = workingPoints;
    MFloatVectorArray& wNormals = workingNormals;
    MFloatVectorArray& wVelocities = workingVelocities;
    MFloatArray& wUs = workingUs;
    MFloatArray& wVs = workingVs;
    MFloatVectorArray& wTangentUs = workingTangentUs;
    MFloatVectorArray& wTangentVs = workingTangentVs;
    bool useShadows = false;
    emitterNode.findPlug("enableShadows").getValue(useShadows, MDGContext::fsNormal);

    // 2. Rate map: candidate i survives when a fresh random number is below its colour's luminance.
    MPlug ratePlug = emitterNode.findPlug("rateMap");
    const MString rateName = getAttachedShadingNode(ratePlug);
    if (rateName.length() > 0) {
        copyCandidates();
        const MFloatVectorArray colors =
            sampleShader(rateName, wPoints, wNormals, wUs, wVs, wTangentUs, wTangentVs, useShadows);
        const unsigned candidates = wPoints.length();
        const unsigned sampled = colors.length() < candidates ? colors.length() : candidates;
        std::vector<unsigned> kept;
        for (unsigned i = 0; i < sampled; ++i) {
            const float luminance = static_cast<float>(shadingSampling::luminance(colors[i]));
            const float random = static_cast<float>(drand48());
            if (random < luminance)
                kept.push_back(i);
        }
        keepOnly(wPoints, kept);
        keepOnly(wNormals, kept);
        keepOnly(wVelocities, kept);
        keepOnly(wUs, kept);
        keepOnly(wVs, kept);
        keepOnly(wTangentUs, kept);
        keepOnly(wTangentVs, kept);
    }

    // 3, 4. Speed and inherit maps.
    MFloatVectorArray speedColors;
    MPlug speedPlug = emitterNode.findPlug("speedMap");
    const MString speedName = getAttachedShadingNode(speedPlug);
    if (speedName.length() > 0) {
        copyCandidates();
        speedColors = sampleShader(speedName, wPoints, wNormals, wUs, wVs, wTangentUs, wTangentVs, useShadows);
    }
    MFloatVectorArray inheritColors;
    MPlug inheritPlug = emitterNode.findPlug("inheritMap");
    const MString inheritName = getAttachedShadingNode(inheritPlug);
    if (inheritName.length() > 0) {
        copyCandidates();
        inheritColors = sampleShader(inheritName, wPoints, wNormals, wUs, wVs, wTangentUs, wTangentVs, useShadows);
    }
    // From here on the working arrays are only read.
    const MFloatPointArray& rPoints = copied ? wPoints : points;
    const MFloatVectorArray& rNormals = copied ? wNormals : normals;
    const MFloatVectorArray& rVelocities = copied ? wVelocities : velocities;
    const MFloatArray& rUs = copied ? wUs : uCoords;
    const MFloatArray& rVs = copied ? wVs : vCoords;
    const MFloatVectorArray& rTangentUs = copied ? wTangentUs : tangentUs;
    const MFloatVectorArray& rTangentVs = copied ? wTangentVs : tangentVs;

    // 5. Speeds and the share of the surface velocity.
    double speed = 0.0, speedRandom = 0.0, normalSpeed = 0.0, particleInheritFactor = 0.0;
    bool needParentUV = false;
    emitterNode.findPlug("speed").getValue(speed, MDGContext::fsNormal);
    emitterNode.findPlug("speedRandom").getValue(speedRandom, MDGContext::fsNormal);
    emitterNode.findPlug("normalSpeed").getValue(normalSpeed, MDGContext::fsNormal);
    emitterNode.findPlug("needParentUV").getValue(needParentUV, MDGContext::fsNormal);
    particleNode.findPlug("inheritFactor").getValue(particleInheritFactor, MDGContext::fsNormal);
    const double frameLength = MTime(1.0, MTime::uiUnit()).as(MTime::kSeconds);

    // 6. Output arrays, made when missing.
    MVectorArray outPositions = output.vectorArray("position");
    MVectorArray outVelocities = output.vectorArray("velocity");
    MDoubleArray parentU = output.doubleArray("parentU");
    MDoubleArray parentV = output.doubleArray("parentV");

    // 7. One particle per working candidate; each draws exactly two numbers.
    const bool withSpeedMap = speedColors.length() > 0;
    const bool withInheritMap = inheritColors.length() > 0;
    const float stepLength = static_cast<float>(dt);
    const float inherit = static_cast<float>(particleInheritFactor);
    const float frame = static_cast<float>(frameLength);
    const unsigned count = rPoints.length();
    // Room for all of them at once: each append then only stores its value.
    outPositions.setSizeIncrement(count);
    outVelocities.setSizeIncrement(count);
    if (needParentUV) {
        parentU.setSizeIncrement(count);
        parentV.setSizeIncrement(count);
    }
    for (unsigned i = 0; i < count; ++i) {
        const MVector p(rPoints[i].x, rPoints[i].y, rPoints[i].z);
        const double d1 = drand48();
        const float s = static_cast<float>(((0.5 - d1) * speedRandom + speed) * normalSpeed);
        const float r = static_cast<float>(drand48());
        const MFloatVector& normal = rNormals[i];
        const MVector position = p - MVector(((normal * stepLength) * s) * r);

        MFloatVector inherited = rVelocities[i];
        if (withInheritMap)
            inherited = inherited * redOf(inheritColors, i);
        inherited = (inherited * inherit) / frame;
        const MFloatVector speedVelocity = withSpeedMap ? (normal * redOf(speedColors, i)) * s : normal * s;
        const MVector velocity = MVector(speedVelocity) + MVector(inherited);

        outPositions.append(position);
        outVelocities.append(velocity);
        if (needParentUV) {
            parentU.append(rUs[i]);
            parentV.append(rVs[i]);
        }
    }

    // 8-10. Per-particle maps at the new particles.
    MPlug colorPlug = emitterNode.findPlug("colorMap");
    const MString colorName = getAttachedShadingNode(colorPlug);
    if (colorName.length() > 0)
        sampleAndSet(colorName, "rgbPP", output, particleNode, rPoints, rNormals, rUs, rVs, rTangentUs, rTangentVs,
                     useShadows);
    MPlug opacityPlug = emitterNode.findPlug("opacityMap");
    const MString opacityName = getAttachedShadingNode(opacityPlug);
    if (opacityName.length() > 0)
        sampleAndSet(opacityName, "opacityPP", output, particleNode, rPoints, rNormals, rUs, rVs, rTangentUs,
                     rTangentVs, useShadows);
    MPlug mapPlug = emitterNode.findPlug("map");
    MPlug toPlug = emitterNode.findPlug("to");
    MIntArray mapIndices;
    mapPlug.getExistingArrayAttributeIndices(mapIndices);
    for (unsigned j = 0; j < mapIndices.length(); ++j) {
        const unsigned k = static_cast<unsigned>(mapIndices[j]);
        MPlug mapElement = mapPlug.elementByLogicalIndex(k);
        const MString shadingName = getAttachedShadingNode(mapElement);
        MString target;
        toPlug.elementByLogicalIndex(k).getValue(target, MDGContext::fsNormal);
        if (shadingName.length() > 0 && target.length() > 0)
            sampleAndSet(shadingName, target, output, particleNode, rPoints, rNormals, rUs, rVs, rTangentUs,
                         rTangentVs, useShadows);
    }

    // 11. Clear the working arrays (their storage stays for the next evaluation).
    wPoints.setLength(0);
    wNormals.setLength(0);
    wVelocities.setLength(0);
    wUs.setLength(0);
    wVs.setLength(0);
    wTangentUs.setLength(0);
    wTangentVs.setLength(0);
}

void samplerEmitter::sampleAndSet(const MString& shaderName, const MString& attributeName, MFnArrayAttrsData output,
                                  const MFnDependencyNode& particleNode, const MFloatPointArray& points,
                                  const MFloatVectorArray& normals, const MFloatArray& uCoords,
                                  const MFloatArray& vCoords, const MFloatVectorArray& tangentUs,
                                  const MFloatVectorArray& tangentVs, const bool& useShadows) {
    MStatus status;
    MPlug target = particleNode.findPlug(attributeName, &status);
    if (status != MStatus::kSuccess)
        return;

    // Shadow maps are rendered for the particle object as a blobby surface while it is sampled.
    MPlug renderType = particleNode.findPlug("particleRenderType");
    int oldRenderType = 0;
    if (useShadows) {
        renderType.getValue(oldRenderType, MDGContext::fsNormal);
        renderType.setValue(7);
    }
    MFloatPointArray samplePoints = points;
    MFloatVectorArray sampleNormals = normals;
    MFloatArray sampleUs = uCoords;
    MFloatArray sampleVs = vCoords;
    MFloatVectorArray sampleTangentUs = tangentUs;
    MFloatVectorArray sampleTangentVs = tangentVs;
    const MFloatVectorArray colors = sampleShader(shaderName, samplePoints, sampleNormals, sampleUs, sampleVs,
                                                  sampleTangentUs, sampleTangentVs, useShadows);
    if (useShadows)
        renderType.setValue(oldRenderType);

    MObject data;
    target.getValue(data, MDGContext::fsNormal);
    const unsigned count = colors.length();
    if (data.apiType() == MFn::kDoubleArrayData) {
        MDoubleArray values = output.doubleArray(attributeName);
        for (unsigned i = 0; i < count; ++i)
            values.append(shadingSampling::luminance(colors[i]));
    } else if (data.apiType() == MFn::kVectorArrayData) {
        MVectorArray values = output.vectorArray(attributeName);
        for (unsigned i = 0; i < count; ++i)
            values.append(MVector(colors[i].x, colors[i].y, colors[i].z));
    }
}

// ---- Shading-network lookup and sampling ------------------------------------------------------------

MString samplerEmitter::getAttachedShadingNode(MPlug& plug) { return shadingSampling::attachedShadingNode(plug); }

MPlug samplerEmitter::findTexturePlug(MFnDependencyNode shadingGroup) {
    return shadingSampling::texturePlug(shadingGroup);
}

MFloatVectorArray samplerEmitter::sampleShader(MString shaderName, MFloatPointArray& points,
                                               MFloatVectorArray& normals, MFloatArray& uCoords, MFloatArray& vCoords,
                                               MFloatVectorArray& tangentUs, MFloatVectorArray& tangentVs,
                                               bool useShadows) {
    MFloatVectorArray colors;
    MFloatVectorArray transparencies;
    shadingSampling::sample(shaderName, static_cast<int>(points.length()), useShadows, shadingSampling::orNull(points),
                            shadingSampling::orNull(uCoords), shadingSampling::orNull(vCoords),
                            shadingSampling::orNull(normals), shadingSampling::orNull(points),
                            shadingSampling::orNull(tangentUs), shadingSampling::orNull(tangentVs), colors,
                            transparencies);
    return colors;
}

// ---- Shading switches -------------------------------------------------------------------------------

// Every element of each switch's "input" is visited, by physical index, whether or not it is connected:
// elements without connections then do not hide connected ones beyond the count of connected elements.
void samplerEmitter::reconnectAttr(MPlug shapePlug) {
    for (MItDependencyNodes it(static_cast<MFn::Type>(593)); !it.isDone(); it.next()) {
        MFnDependencyNode switchNode(it.item());
        MPlug input = switchNode.findPlug("input");
        MPlug defaultPlug = switchNode.findPlug("default");
        for (unsigned physical = 0; physical < input.numElements(); ++physical) {
            MPlug element = input.elementByPhysicalIndex(physical);
            MPlug shapeInput = element.child(0);
            MPlug shapeConnection = element.child(1);
            MPlugArray shapes;
            shapeConnection.connectedTo(shapes, true, false);
            if (shapes.length() == 0 || !(shapes[0] == shapePlug))
                continue;
            MPlugArray inputs;
            shapeInput.connectedTo(inputs, true, false);
            if (inputs.length() == 0)
                continue;
            const MString command = MString("connectAttr -f ") + inputs[0].name() + " " + defaultPlug.name();
            MGlobal::executeCommand(command, false, false);
        }
    }
}
