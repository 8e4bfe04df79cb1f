#ifndef SHADINGSAMPLING_H
#define SHADINGSAMPLING_H

#include <maya/MFloatArray.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

// Shading-network sampling shared by the nodes of both plug-ins: which shading group or plug feeds a
// plug, the texture feeding a shading group's surface shader, and the sampler call with its fixed
// arguments (the active view's camera matrix, no reused maps, no filter sizes).
namespace shadingSampling {

// The name of the shading group feeding plug, or the name of the source plug itself ("node.attr") when
// its node is not a shading group; "" when nothing feeds it.
MString attachedShadingNode(const MPlug& plug);

// The plug feeding the "color" of the surface shader connected to the group's "surfaceShader", or a
// null plug.
MPlug texturePlug(const MFnDependencyNode& shadingGroup);

// The camera matrix of the active 3D view, from its four rows of doubles; identity without a view.
MFloatMatrix cameraMatrix();

// The array's address when it holds an element, else NULL: how optional arrays reach the sampler.
template <class Array>
Array* orNull(Array& array) {
    return array.length() > 0 ? &array : nullptr;
}

// MRenderUtil::sampleShadingNetwork with the camera matrix, reuseMaps false and filter sizes NULL.
// colors and transparencies are cleared first.
MStatus sample(const MString& name, int numSamples, bool useShadowMaps, MFloatPointArray* points,
               MFloatArray* uCoords, MFloatArray* vCoords, MFloatVectorArray* normals, MFloatPointArray* refPoints,
               MFloatVectorArray* tangentUs, MFloatVectorArray* tangentVs, MFloatVectorArray& colors,
               MFloatVectorArray& transparencies);

// (r + g + b) / 3 in double precision.
double luminance(const MFloatVector& color);

}  // namespace shadingSampling

#endif
