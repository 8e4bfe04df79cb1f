#ifndef NONLINEARBLENDSHAPE_H
#define NONLINEARBLENDSHAPE_H

#include <maya/MDataBlock.h>
#include <maya/MDoubleArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MIntArray.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MPxDeformerNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

class MFnNurbsCurve;
class MFnNurbsSurface;
class MItGeometry;
class MItMeshVertex;

// Deforms meshes, NURBS surfaces, NURBS curves and lattices toward any number of target geometries,
// matching points by component id; each target's weight is a colour's mean or the luminance of a shading
// network sampled at the deformed points. A point P becomes P + sum over the targets of
// envelope x deformer weight x target weight x (T - P), T being the target's point with P's id.
//
// Where the inputs give less than one value per point:
// - A point for which a target gives no position (a target with fewer points, another geometry type,
//   components that cannot be read), the sampler no weight, or whose weight product is not finite,
//   takes nothing from that target. A surface or curve target reads a CV it does not have as the point
//   itself. Points for which nothing was gathered keep their positions, as do points whose result would
//   not be finite.
// - A non-finite envelope deforms nothing and returns kUnknownParameter, as an envelope of 0 does.
// - Targets are read at the existing logical indices of this geometry's "inputTarget" element,
//   ascending, each with the "inputWeightTarget" element of the same index; a geometry without an
//   "inputTarget" element has no targets, and its points are written back as gathered.
// - A geometry with no point to set returns kSuccess.
// - Surfaces and curves of closed form take the open rule for their texture coordinates; an open or
//   closed direction of degree d below 3 averages the d knots i .. i+d-1 of CV i.
// - On curves, the shader samples at the curve points at the CVs' parameters (where u and the normal
//   are taken); pos keeps the CVs' own positions for the blend.
// - The lattice lists are emptied with the other scratch arrays at every deform, so a geometry never
//   matches its targets against another geometry's lattice points.
class nonLinearBlendShape : public MPxDeformerNode {
public:
    nonLinearBlendShape();
    ~nonLinearBlendShape() override;

    MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix& matrix, unsigned int multiIndex) override;

    static void* creator();
    static MStatus initialize();

    static MObject inputTarget;
    static MObject inputGeomTarget;
    static MObject inputWeightTarget;
    static MObject textureReferenceGeom;
    static MObject forceUpdate;

    static MTypeId id;

    // Gathering of the deformed points, one overload per kind of geometry.
    MStatus getSingleComponentList(MItGeometry& iter, MIntArray& list);
    void getNurbsComponentList(MItGeometry& iter);
    MStatus getTripleComponentList(MItGeometry& iter);
    MStatus getRenderData(MItGeometry& iter, MItMeshVertex& vertexIter);
    MStatus getRenderData(MItGeometry& iter, const MFnNurbsSurface& surfaceFn);
    MStatus getRenderData(MItGeometry& iter, const MFnNurbsCurve& curveFn);
    MStatus getRenderData(MItGeometry& iter);

    // Target positions at the gathered component ids.
    MFloatPointArray getTargetData(MItMeshVertex& vertexIter);
    MFloatPointArray getTargetData(const MFnNurbsSurface& surfaceFn);
    MFloatPointArray getTargetData(const MFnNurbsCurve& curveFn);
    MFloatPointArray getTargetData(MItGeometry& iter);
    // One luminance per sampled point.
    MDoubleArray sampleShader(MString shaderName);

private:
    void clearScratch();
    // The target readers behind getTargetData, filling result (emptied first).
    void readTarget(MItMeshVertex& vertexIter, MFloatPointArray& result);
    void readTarget(const MFnNurbsSurface& surfaceFn, MFloatPointArray& result);
    void readTarget(const MFnNurbsCurve& curveFn, MFloatPointArray& result);
    void readTarget(MItGeometry& iter, MFloatPointArray& result);
    // The positions of a geometry on a data handle at the gathered ids, by its data type.
    void readGeometry(MDataHandle& geometry, MFloatPointArray& result);

    // Scratch data of the geometry being deformed, one entry per point in iterator order.
    MIntArray componentList;
    MIntArray componentU;
    MIntArray componentV;
    MIntArray tripleS;
    MIntArray tripleT;
    MIntArray tripleU;
    MFloatPointArray pos;
    MFloatPointArray refPos;
    MFloatVectorArray normals;
    MFloatArray uCoords;
    MFloatArray vCoords;
    MFloatVectorArray tangentUs;
    MFloatVectorArray tangentVs;
    MFloatPointArray curvePoints;  // curves: the curve point at each CV's parameter, the shader's samples

    // deform's working arrays (target positions, offsets, target and deformer weights per point), empty
    // between calls; members so that their storage serves the next call.
    MFloatPointArray targetPosBuffer;
    MFloatPointArray weightedPosBuffer;
    MDoubleArray shaderWeightBuffer;
    MDoubleArray weightBuffer;
};

#endif
