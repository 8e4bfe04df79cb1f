#include <maya/MRenderUtil.h>

#include "render/SamplerRecord.h"

#include <chrono>
#include "render/ShadingProgram.h"

#include <new>
#include <vector>

namespace {

// Read access to an optional array argument: entries past its end (or all, for NULL) read as zero.
template <typename T>
struct Column {
    const T* data = nullptr;
    size_t length = 0;

    template <typename Array>
    explicit Column(const Array* array) {
        if (array && array->length() > 0) {
            data = array->hostVector().data();
            length = array->length();
        }
    }
    bool has(size_t i) const { return i < length; }
};

host::Float3 xyz(const MFloatPoint& p) {
    return {p.x, p.y, p.z};
}

host::Float3 xyz(const MFloatVector& v) {
    return {v.x, v.y, v.z};
}

MStatus fail(MFloatVectorArray& colors, MFloatVectorArray& transparencies, MStatus code) {
    colors.clear();
    transparencies.clear();
    return code;
}

// Evaluates every sample into fresh vectors (the result arrays may be the very arrays passed as input).
MStatus sampleAll(host::ShadingProgram& program, size_t count, const host::SamplerArguments& a,
                  MFloatVectorArray& resultColors, MFloatVectorArray& resultTransparencies) {
    Column<MFloatPoint> points(a.points);
    Column<MFloatPoint> refPoints(a.refPoints);
    Column<float> us(a.uCoords);
    Column<float> vs(a.vCoords);
    Column<MFloatVector> normals(a.normals);
    Column<MFloatVector> tangentUs(a.tangentUs);
    Column<MFloatVector> tangentVs(a.tangentVs);

    std::vector<MFloatVector> colors;
    std::vector<MFloatVector> transparencies;
    try {
        colors.resize(count);
        transparencies.resize(count);
    } catch (const std::bad_alloc&) {
        return MStatus::kInsufficientMemory;
    }

    host::ShadingSample s;
    host::Float3 color;
    host::Float3 transparency;
    for (size_t i = 0; i < count; ++i) {
        s.point = points.has(i) ? xyz(points.data[i]) : host::Float3();
        s.refPoint = refPoints.has(i) ? xyz(refPoints.data[i]) : s.point;
        s.u = us.has(i) ? us.data[i] : 0.0f;
        s.v = vs.has(i) ? vs.data[i] : 0.0f;
        s.normal = normals.has(i) ? xyz(normals.data[i]) : host::Float3();
        s.tangentU = tangentUs.has(i) ? xyz(tangentUs.data[i]) : host::Float3();
        s.tangentV = tangentVs.has(i) ? xyz(tangentVs.data[i]) : host::Float3();
        program.evaluate(s, color, transparency);
        colors[i] = MFloatVector(color.x, color.y, color.z);
        transparencies[i] = MFloatVector(transparency.x, transparency.y, transparency.z);
    }
    resultColors.hostVector().swap(colors);
    resultTransparencies.hostVector().swap(transparencies);
    return MStatus::kSuccess;
}

}  // namespace

MStatus MRenderUtil::sampleShadingNetwork(MString shadingNodeName, int numSamples, bool useShadowMaps,
                                          bool reuseMaps, MFloatMatrix& cameraMatrix, MFloatPointArray* points,
                                          MFloatArray* uCoords, MFloatArray* vCoords, MFloatVectorArray* normals,
                                          MFloatPointArray* refPoints, MFloatVectorArray* tangentUs,
                                          MFloatVectorArray* tangentVs, MFloatArray* filterSizes,
                                          MFloatVectorArray& resultColors, MFloatVectorArray& resultTransparencies) {
    const auto started = std::chrono::steady_clock::now();
    const host::SamplerArguments arguments{points, uCoords, vCoords, normals, refPoints, tangentUs, tangentVs,
                                           filterSizes};
    host::SamplerCall call = host::describeSamplerCall(shadingNodeName.str(), numSamples, useShadowMaps, reuseMaps,
                                                       cameraMatrix, arguments);
    host::runSamplerHook(call);

    MStatus status = MStatus::kSuccess;
    host::ShadingProgram program;
    if (host::samplerFailureForced() || numSamples < 0)
        status = MStatus::kFailure;
    else
        status = program.compile(call.name);
    if (status == MStatus::kSuccess)
        status = sampleAll(program, static_cast<size_t>(numSamples), arguments, resultColors, resultTransparencies);
    if (status != MStatus::kSuccess)
        fail(resultColors, resultTransparencies, status);

    call.status = status;
    call.resultCount = resultColors.length();
    call.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    host::recordSamplerCall(std::move(call));
    return status;
}
