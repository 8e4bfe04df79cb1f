#ifndef VEXMORA_SHADINGFIELD_H
#define VEXMORA_SHADINGFIELD_H

// Field node that computes no force: it samples the shading network connected to "shader" (and each
// further "map" element) at the selected particles of each connected particle object and writes the
// sampled colour, transparency and luminance into per-particle attributes named by the user.

#include <maya/MDataBlock.h>
#include <maya/MDoubleArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxFieldNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>
#include <maya/MVectorArray.h>

class shadingField : public MPxFieldNode {
public:
    shadingField();
    ~shadingField() override;

    static void* creator();
    static MStatus initialize();

    MStatus compute(const MPlug& plug, MDataBlock& block) override;

    // Sampling passes of one compute.
    void getRenderData(MDataBlock& block, const MFnDependencyNode& particleObject);
    MStatus sampleAndSetShader(MDataBlock& block, const MFnDependencyNode& thisNode,
                               const MFnDependencyNode& particleObject);
    void sampleAndSet(MDataBlock& block, const MString& shaderName, const MString& attributeName,
                      const MFnDependencyNode& particleObject);

    // Shading-network lookup and sampling.
    MString getAttachedShadingNode(MPlug& plug);
    MPlug findTexturePlug(MFnDependencyNode shadingGroup);
    MFloatVectorArray sampleShader(MString shaderName);

    // Per-particle attributes of a particle object, by name. The readers convert between the two stored
    // kinds (a vector read as a number is its length, a number read as a vector is (d, d, d)); the double
    // and vector readers replace out, the float reader appends to it. Nothing is read from a missing
    // attribute or from data of any other kind.
    void getDoubleArrayData(const MFnDependencyNode& particleObject, const MString& name, MDoubleArray& out);
    void getVectorArrayData(const MFnDependencyNode& particleObject, const MString& name, MVectorArray& out);
    void getFloatArrayData(const MFnDependencyNode& particleObject, const MString& name, MFloatArray& out);
    void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
                 const MDoubleArray& values);
    void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
                 const MFloatVectorArray& values);

    static MObject shader;
    static MObject enableShadows;
    static MObject magnitudePP;
    static MObject outColor;
    static MObject outTransparency;
    static MObject outLuminance;
    static MObject map;
    static MObject to;
    static MObject position;
    static MObject refPosition;
    static MObject normal;
    static MObject uCoord;
    static MObject vCoord;
    static MObject tangentU;
    static MObject tangentV;

    static MTypeId id;

    // Scratch data of one compute: empty between computes. magPPArray is indexed by particle, the
    // others hold one entry per selected particle.
    MDoubleArray magPPArray;
    MFloatPointArray points;
    MFloatPointArray refPoints;
    MFloatVectorArray normals;
    MFloatArray uCoords;
    MFloatArray vCoords;
    MFloatVectorArray tangentUs;
    MFloatVectorArray tangentVs;
    bool useShadows;

private:
    // The sampler call on the member arrays, with the stored shadows flag; prints the failure line.
    MStatus sampleMembers(const MString& shaderName, MFloatVectorArray& colors, MFloatVectorArray& transparencies);
    // Empties the eight scratch arrays and the luminances.
    void clearRenderData();

    // The luminances of the sampled colours, written to the luminance attribute.
    MDoubleArray luminances;
};

#endif
