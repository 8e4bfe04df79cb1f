#ifndef HOST_TRIPLE_SHADING_SWITCH_H
#define HOST_TRIPLE_SHADING_SWITCH_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

// A per-shape colour switch (type "tripleShadingSwitch", apiType 593).
//
//   input/i          array of compounds, one element per shape; children in this order:
//     inTriple/it      float3, child 0: the colour for that shape
//     inShape/is       message-like, child 1: fed by the shape's instObjGroups
//   default/def      float3 colour input, default black
//   output/out       float3 output = default
//
// Neither a graph read nor a sampler call names a shape, so the output is always what feeds "default"
// (its source's colour, or the stored value). The input elements are kept for whoever rewires them.
class tripleShadingSwitchNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;
    static MObject input;
    static MObject inTriple;
    static MObject inShape;
    static MObject defaultColor;
    static MObject output;

    static void* creator();
    static MStatus initialize();
    MStatus compute(const MPlug& plug, MDataBlock& block) override;
};

#endif
