#include "shadingSampling.h"

#include <maya/M3dView.h>
#include <maya/MDagPath.h>
#include <maya/MFn.h>
#include <maya/MMatrix.h>
#include <maya/MPlugArray.h>
#include <maya/MRenderUtil.h>

namespace shadingSampling {

MString attachedShadingNode(const MPlug& plug) {
    MPlugArray sources;
    plug.connectedTo(sources, true, false);
    if (sources.length() == 0) return MString("");
    MPlug source = sources[0];
    MFnDependencyNode sourceNode(source.node());
    if (source.node().apiType() == MFn::kShadingEngine) return sourceNode.name();
    return source.name();
}

MPlug texturePlug(const MFnDependencyNode& shadingGroup) {
    MPlugArray sources;
    MPlug surfaceShader = shadingGroup.findPlug("surfaceShader");
    if (!surfaceShader.connectedTo(sources, true, false) || sources.length() == 0) return MPlug();
    MFnDependencyNode shader(sources[0].node());
    MStatus status;
    MPlug color = shader.findPlug("color", &status);
    if (status != MStatus::kSuccess) return MPlug();
    if (!color.connectedTo(sources, true, false) || sources.length() == 0) return MPlug();
    return sources[0];
}

MFloatMatrix cameraMatrix() {
    M3dView view = M3dView::active3dView();
    MDagPath camera;
    view.getCamera(camera);
    MMatrix world = camera.inclusiveMatrix();
    return MFloatMatrix(world.matrix);
}

MStatus sample(const MString& name, int numSamples, bool useShadowMaps, MFloatPointArray* points,
               MFloatArray* uCoords, MFloatArray* vCoords, MFloatVectorArray* normals, MFloatPointArray* refPoints,
               MFloatVectorArray* tangentUs, MFloatVectorArray* tangentVs, MFloatVectorArray& colors,
               MFloatVectorArray& transparencies) {
    MFloatMatrix camera = cameraMatrix();
    colors.clear();
    transparencies.clear();
    return MRenderUtil::sampleShadingNetwork(name, numSamples, useShadowMaps, false, camera, points, uCoords, vCoords,
                                             normals, refPoints, tangentUs, tangentVs, nullptr, colors,
                                             transparencies);
}

double luminance(const MFloatVector& color) {
    return (static_cast<double>(color.x) + static_cast<double>(color.y) + static_cast<double>(color.z)) / 3.0;
}

}  // namespace shadingSampling
