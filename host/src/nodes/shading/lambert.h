#ifndef HOST_LAMBERT_H
#define HOST_LAMBERT_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

// A surface shader (type "lambert", apiType kSurfaceShader). No lighting: what it shows is its colour.
//
//   color/c             float3 colour input, default 0.5 grey; often fed by a texture's outColor
//   transparency/it     float3 colour input, default 0
//   outColor/oc         float3 output = color
//   outTransparency/ot  float3 output = transparency
//
// A graph read of an output evaluates a connected texture with no sample context (u = v = 0, point and
// normal at the origin); the sampler evaluates it per sample instead.
class lambertNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;
    static MObject color;
    static MObject transparency;
    static MObject outColor;
    static MObject outTransparency;

    static void* creator();
    static MStatus initialize();
    MStatus compute(const MPlug& plug, MDataBlock& block) override;
};

#endif
