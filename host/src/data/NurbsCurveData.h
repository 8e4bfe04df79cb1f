#ifndef HOST_NURBSCURVEDATA_H
#define HOST_NURBSCURVEDATA_H

#include "data/Data.h"
#include "geometry/NurbsCurve.h"

#include <maya/MMatrix.h>

#include <memory>

namespace host {

// Data holding one NURBS curve (object space) and a world matrix, identity by default, so world-space
// queries on plain data equal object-space ones. The curve in world space is kept beside the object
// curve: B-splines are affine invariant, so it is the same curve over the transformed CVs and answers
// closest points, tangents and normals exactly (the matrix is taken as affine: its last column is
// ignored). With the identity both spaces are one curve.
//
// Curves are never changed in place: setCurve() and setWorldMatrix() replace them. Copies (clone()) may
// therefore share the curve objects and still be independent values.
//
// The data is of the kind of its function set as well (hasFn(MFn::kNurbsCurve)), as in Maya, where
// MObject::hasFn asks whether a function set can work on the object.
class NurbsCurveData : public Data {
public:
    NurbsCurveData();  // an empty (invalid) curve
    explicit NurbsCurveData(geom::NurbsCurve curve, const MMatrix& world = MMatrix::identity);
    // Shares an existing curve (null reads as an empty curve).
    explicit NurbsCurveData(std::shared_ptr<const geom::NurbsCurve> curve, const MMatrix& world = MMatrix::identity);

    MFn::Type apiType() const override { return MFn::kNurbsCurveData; }
    MFnData::Type dataType() const override { return MFnData::kNurbsCurve; }
    bool hasFn(MFn::Type type) const override { return type == MFn::kNurbsCurve || Data::hasFn(type); }
    std::shared_ptr<Data> clone() const override { return std::make_shared<NurbsCurveData>(*this); }

    const geom::NurbsCurve& curve() const { return *curve_; }
    const geom::NurbsCurve& worldCurve() const { return *world_; }
    const MMatrix& worldMatrix() const { return matrix_; }
    const std::shared_ptr<const geom::NurbsCurve>& sharedWorldCurve() const { return world_; }

    void setCurve(geom::NurbsCurve curve);
    void setWorldMatrix(const MMatrix& world);

private:
    void rebuildWorld();

    std::shared_ptr<const geom::NurbsCurve> curve_;
    std::shared_ptr<const geom::NurbsCurve> world_;
    MMatrix matrix_;
};

// New curve data, for the host's nodes, commands and tests.
MObject makeNurbsCurveData(geom::NurbsCurve curve, const MMatrix& world = MMatrix::identity);

}  // namespace host

#endif
