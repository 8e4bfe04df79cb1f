#ifndef HOST_NURBSSURFACEDATA_H
#define HOST_NURBSSURFACEDATA_H

#include "data/Data.h"
#include "geometry/NurbsSurface.h"

#include <maya/MMatrix.h>

#include <memory>

namespace host {

// Data holding one NURBS surface (object space) and a world matrix, identity by default, so world-space
// queries on plain data equal object-space ones. The surface in world space is kept beside the object
// surface: B-splines are affine invariant, so it is the same surface over the transformed CVs (the
// matrix is taken as affine: its last column is ignored). With the identity both spaces are one surface.
//
// Surfaces are never changed in place: setSurface() and setWorldMatrix() replace them, so copies
// (clone()) share the surface objects and are still independent values.
//
// The data is of the kind of its function set as well (hasFn(MFn::kNurbsSurface)).
class NurbsSurfaceData : public Data {
public:
    NurbsSurfaceData();  // an empty (invalid) surface
    explicit NurbsSurfaceData(geom::NurbsSurface surface, const MMatrix& world = MMatrix::identity);
    // Shares an existing surface (null reads as an empty surface).
    explicit NurbsSurfaceData(std::shared_ptr<const geom::NurbsSurface> surface,
                              const MMatrix& world = MMatrix::identity);

    MFn::Type apiType() const override { return MFn::kNurbsSurfaceData; }
    MFnData::Type dataType() const override { return MFnData::kNurbsSurface; }
    bool hasFn(MFn::Type type) const override { return type == MFn::kNurbsSurface || Data::hasFn(type); }
    std::shared_ptr<Data> clone() const override { return std::make_shared<NurbsSurfaceData>(*this); }

    const geom::NurbsSurface& surface() const { return *surface_; }
    const geom::NurbsSurface& worldSurface() const { return *world_; }
    const MMatrix& worldMatrix() const { return matrix_; }
    const std::shared_ptr<const geom::NurbsSurface>& sharedSurface() const { return surface_; }
    const std::shared_ptr<const geom::NurbsSurface>& sharedWorldSurface() const { return world_; }

    void setSurface(geom::NurbsSurface surface);
    void setWorldMatrix(const MMatrix& world);

private:
    void rebuildWorld();

    std::shared_ptr<const geom::NurbsSurface> surface_;
    std::shared_ptr<const geom::NurbsSurface> world_;
    MMatrix matrix_;
};

// New surface data, for the host's nodes, commands and tests.
MObject makeNurbsSurfaceData(geom::NurbsSurface surface, const MMatrix& world = MMatrix::identity);

}  // namespace host

#endif
