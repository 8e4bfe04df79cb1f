#ifndef MRENDERUTIL_H
#define MRENDERUTIL_H

#include <maya/MFloatArray.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

// Rendering utilities. sampleShadingNetwork evaluates a shading network at a batch of samples.
//
// The name is either a shading group (a "shadingEngine" node: the colour and transparency of the node
// feeding its "surfaceShader"), or a plug "node.attribute" in any form MPlug::name() or the command
// language accepts (long or short names, "attr[i]", "attr[i].child"), usually a texture's "outColor".
// Sampling a shader's outColor gives the shader's transparency as transparency; any other plug gives
// transparency 0; a single-number plug gives grey (v, v, v). Anything else (unknown node or plug, a node
// that is not a shading group, a plug that holds no numbers, a negative count) fails with kFailure and
// leaves both result arrays empty. Results too large to allocate give kInsufficientMemory, also empty.
//
// numSamples is the number of samples, whatever the arrays hold: an array that is NULL, empty or shorter
// gives zeros for the samples it lacks (the point's w is ignored). A sample whose reference point is
// missing uses its point. On success resultColors and resultTransparencies hold exactly numSamples
// entries (x, y, z = r, g, b) in sample order, replacing what they held; numSamples 0 succeeds with
// empty results. The shadow and reuse flags, the camera matrix and the filter sizes do not change the
// result. The network is resolved once per call; connected inputs of nodes that are not the host's
// shading nodes are read once (after evaluation) and treated as constants.
class MRenderUtil {
public:
    static MStatus sampleShadingNetwork(MString shadingNodeName, int numSamples, bool useShadowMaps, bool reuseMaps,
                                        MFloatMatrix& cameraMatrix, MFloatPointArray* points, MFloatArray* uCoords,
                                        MFloatArray* vCoords, MFloatVectorArray* normals, MFloatPointArray* refPoints,
                                        MFloatVectorArray* tangentUs, MFloatVectorArray* tangentVs,
                                        MFloatArray* filterSizes, MFloatVectorArray& resultColors,
                                        MFloatVectorArray& resultTransparencies);
};

#endif
