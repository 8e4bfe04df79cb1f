#ifndef HOST_SHADING_ENGINE_H
#define HOST_SHADING_ENGINE_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

// A shading group (type "shadingEngine", apiType kShadingEngine). It computes nothing: it is the point
// other nodes connect to (through the base attribute "message"/"msg") and it names its surface shader.
//
//   surfaceShader/ss   float3 input   fed by a surface shader's outColor; the sampler evaluates the node
//                                     feeding it (its colour and transparency). Unconnected, the stored
//                                     value is the colour (default black) and the transparency is 0.
class shadingEngineNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;
    static MObject surfaceShader;

    static void* creator();
    static MStatus initialize();
};

#endif
