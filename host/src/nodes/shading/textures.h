#ifndef HOST_TEXTURES_H
#define HOST_TEXTURES_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

// The host's textures. Each has the float3 output outColor/oc. The formulas are in ShadingFormulas.h;
// the sampler applies them per sample. A graph read of outColor applies them with no sample context:
// u = v = 0, point, reference point, normal and tangents all zero.

// "ramp" (apiType kTexture2d): a two-colour ramp.
//   type/t          int, default 0   0: along v; 1: along u
//   startColor/sc   float3 colour, default black   (may be fed by another texture)
//   endColor/ec     float3 colour, default white   (may be fed by another texture)
//   outColor = startColor + (endColor - startColor) * clamp(t, 0, 1), t = v (type 0) or u (type 1)
class rampNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;
    static MObject type;
    static MObject startColor;
    static MObject endColor;
    static MObject outColor;

    static void* creator();
    static MStatus initialize();
    MStatus compute(const MPlug& plug, MDataBlock& block) override;
};

// "solidGradient" (apiType kTexture3d): a colour from the position.
//   scale/sc    float3, default (1, 1, 1)
//   offset/of   float3, default (0, 0, 0)
//   outColor = clamp(p * scale + offset, 0, 1) per component, where p is the sample's reference point when
//              the call gives one for that sample, else its point (w ignored)
class solidGradientNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;
    static MObject scale;
    static MObject offset;
    static MObject outColor;

    static void* creator();
    static MStatus initialize();
    MStatus compute(const MPlug& plug, MDataBlock& block) override;
};

// "normalTexture" (apiType kTexture2d): a colour from the surface direction.
//   useTangent/ut   bool, default false
//   outColor = d * 0.5 + 0.5 per component (not clamped), d = the normal, or tangentU when useTangent is on
class normalTextureNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;
    static MObject useTangent;
    static MObject outColor;

    static void* creator();
    static MStatus initialize();
    MStatus compute(const MPlug& plug, MDataBlock& block) override;
};

// "colorConstant" (apiType kTexture2d): passes a colour through.
//   inColor/ic   float3 colour, default black (may be fed by another texture)
//   outColor = inColor
class colorConstantNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;
    static MObject inColor;
    static MObject outColor;

    static void* creator();
    static MStatus initialize();
    MStatus compute(const MPlug& plug, MDataBlock& block) override;
};

#endif
