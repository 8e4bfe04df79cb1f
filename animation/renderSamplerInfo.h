#ifndef RENDERSAMPLERINFO_H
#define RENDERSAMPLERINFO_H

#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MDoubleArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxDeformerNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

// Samples the shading network connected to "shader" at the samples given element by element in its
// multi inputs (positions, reference positions, normals, tangents, u and v), and outputs per sample the
// colour, transparency and luminance, each plus its offset. Sample i is the i-th entry of the dense array
// built from a multi input: gaps between existing logical indices are filled with zeros.
//
// Choices where the behaviour is otherwise open:
// - An offset array shorter than the results offsets only the samples it covers; the others get none.
// - Output elements whose logical index is at or beyond the number of results receive zeros, so that
//   they never show a stale sample of an earlier evaluation.
// - A dense array never grows beyond maxSamples entries: what would lie past that is not read, so that
//   one stray huge logical index cannot exhaust memory.
// - The walks over a multi count only the elements whose logical index can be read, and also end when
//   the handle has no element left.
//
// The class derives from the deformer base but is registered as a plain dependency node and uses none of
// the base's attributes.
class renderSamplerInfo : public MPxDeformerNode {
public:
    renderSamplerInfo();
    ~renderSamplerInfo() override;

    MStatus compute(const MPlug& plug, MDataBlock& block) override;

    static void* creator();
    static MStatus initialize();

    // Multi inputs into dense arrays (appended to), and dense results into the existing elements of a
    // multi output. The unsigned argument of the writers is not used.
    void buildFloatPointArray(MArrayDataHandle& handle, MFloatPointArray& array);
    void buildFloatVectorArray(MArrayDataHandle& handle, MFloatVectorArray& array);
    void buildFloatArray(MArrayDataHandle& handle, MFloatArray& array);
    void saveFloatVector(MDataBlock& block, unsigned unused, MObject& attribute, MFloatVectorArray& values);
    void saveDouble(MDataBlock& block, unsigned unused, MObject& attribute, MDoubleArray& values);

    static constexpr unsigned maxSamples = 1u << 22;

    static MObject shader;
    static MObject forceUpdate;
    static MObject position;
    static MObject refPosition;
    static MObject normal;
    static MObject tangentU;
    static MObject tangentV;
    static MObject uValue;
    static MObject vValue;
    static MObject resultColorOffset;
    static MObject resultTransparencyOffset;
    static MObject resultLuminanceOffset;
    static MObject resultColor;
    static MObject resultTransparency;
    static MObject resultLuminance;

    static MTypeId id;
};

#endif
