#ifndef VEXMORA_SAMPLEREMITTER_H
#define VEXMORA_SAMPLEREMITTER_H

// Emitter node that emits particles at random points on the triangles of the emitting mesh or NURBS
// surface. Shading networks connected to its maps decide which candidates survive (rate map), scale the
// speed and the inherited surface velocity, and give the new particles their colour, opacity and any
// further named per-particle values.

#include <maya/MDataBlock.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnArrayAttrsData.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxEmitterNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTime.h>
#include <maya/MTypeId.h>

#include <vector>

class MFnDynSweptGeometryData;
class MItMeshPolygon;

class samplerEmitter : public MPxEmitterNode {
public:
    samplerEmitter();
    ~samplerEmitter() override;

    static void* creator();
    static MStatus initialize();

    MStatus compute(const MPlug& plug, MDataBlock& block) override;

    // Values of the emitter base for one evaluation; each gives a fixed default when a read fails.
    MTime currentTimeValue(MDataBlock& block);
    MTime startTimeValue(unsigned int index, MDataBlock& block);
    bool isFullValue(unsigned int index, MDataBlock& block);
    double inheritFactorValue(unsigned int index, MDataBlock& block);

    // Emission stage.
    void emit(const MDataBlock& block, MFnArrayAttrsData output, const MFnDependencyNode& emitterNode,
              const MFnDependencyNode& particleNode, const MFloatPointArray& points,
              const MFloatVectorArray& normals, const MFloatVectorArray& velocities, const MFloatArray& uCoords,
              const MFloatArray& vCoords, const MFloatVectorArray& tangentUs, const MFloatVectorArray& tangentVs);
    void sampleAndSet(const MString& shaderName, const MString& attributeName, MFnArrayAttrsData output,
                      const MFnDependencyNode& particleNode, const MFloatPointArray& points,
                      const MFloatVectorArray& normals, const MFloatArray& uCoords, const MFloatArray& vCoords,
                      const MFloatVectorArray& tangentUs, const MFloatVectorArray& tangentVs,
                      const bool& useShadows);

    // Shading-network lookup and sampling.
    MString getAttachedShadingNode(MPlug& plug);
    MPlug findTexturePlug(MFnDependencyNode shadingGroup);
    MFloatVectorArray sampleShader(MString shaderName, MFloatPointArray& points, MFloatVectorArray& normals,
                                   MFloatArray& uCoords, MFloatArray& vCoords, MFloatVectorArray& tangentUs,
                                   MFloatVectorArray& tangentVs, bool useShadows);

    // Rewires shading switches that hold an input for the emitting shape.
    void reconnectAttr(MPlug shapePlug);

    static MObject speedMapObj;
    static MObject rateMapObj;
    static MObject inhMapObj;
    static MObject enableShadows;
    static MObject colMapObj;
    static MObject opacityMapObj;
    static MObject shaderObj;
    static MObject mapToObj;

    static MTypeId id;

    // The most candidates one evaluation draws; a rate, area or step asking for more emits nothing and
    // reports it, rather than exhausting memory.
    static const unsigned maxCandidates;

    // The current time seen by the previous compute of this node.
    MTime lastTime;

private:
    // Corner coordinates of one fan triangle of the emitting mesh.
    struct TriangleCoordinates {
        float u[3];
        float v[3];
    };
    // One entry per fan triangle of the emitting mesh, polygons in order; rebuilt by every evaluation
    // that reads a mesh, in storage kept between evaluations.
    std::vector<TriangleCoordinates> triangleCoordinates;
    // What the candidate loop needs of compute.
    struct CandidateSettings {
        int triangleCount = 0;
        double stride = 0.0;      // candidates at the multiples of stride below triangleCount
        unsigned expected = 0;    // about how many that is
        double sampleTime = 0.0;  // swept-triangle times of this step and of the previous one
        double oldTime = 0.0;
        double stepSize = 0.0;
        bool isMesh = false;  // corner coordinates from triangleCoordinates, else from the triangles
        bool withOffset = false;
        float nearOffset = 0.0f;
        float farOffset = 0.0f;
        double inheritFactor = 0.0;
        double minU = 0.0, maxU = 1.0, minV = 0.0, maxV = 1.0;
    };
    void drawCandidates(const MFnDynSweptGeometryData& swept, const CandidateSettings& settings);
    static double walkPolygons(MItMeshPolygon& polyIt, bool withArea, std::vector<TriangleCoordinates>& coordinates);

    // Storage of the candidate arrays of compute and the working arrays of emit, kept between
    // evaluations so that each evaluation writes into memory it already has. Their contents live for
    // one evaluation.
    MFloatPointArray candidatePoints;
    MFloatVectorArray candidateNormals;
    MFloatVectorArray candidateVelocities;
    MFloatArray candidateUs;
    MFloatArray candidateVs;
    MFloatVectorArray candidateTangentUs;
    MFloatVectorArray candidateTangentVs;
    MFloatPointArray workingPoints;
    MFloatVectorArray workingNormals;
    MFloatVectorArray workingVelocities;
    MFloatArray workingUs;
    MFloatArray workingVs;
    MFloatVectorArray workingTangentUs;
    MFloatVectorArray workingTangentVs;
};

// Plug-in globals shared by every samplerEmitter of the process.
extern bool scaleBySize;  // "scaleRateByObjectSize" of the emitter evaluated last
extern double dt;         // length of the current step in seconds
extern double minU;       // u and v range by which surface coordinates are normalised
extern double maxU;
extern double minV;
extern double maxV;

#endif
