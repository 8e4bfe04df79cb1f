#ifndef HOST_SWEPTGEOMETRYDATA_H
#define HOST_SWEPTGEOMETRYDATA_H

#include "data/Data.h"
#include "geometry/SweptTriangle.h"

#include <memory>
#include <vector>

namespace host {

// Swept geometry (an emitter's "sweptGeometry"): world-space triangles at the previous and the current
// step, with surface coordinates per corner. Empty data has no triangles.
class SweptGeometryData : public Data {
public:
    MFn::Type apiType() const override { return MFn::kDynSweptGeometryData; }
    MFnData::Type dataType() const override { return MFnData::kDynSweptGeometry; }
    std::shared_ptr<Data> clone() const override { return std::make_shared<SweptGeometryData>(*this); }

    std::vector<geom::SweptTriangle> triangles;
};

// New swept data holding these triangles, for the host's nodes and tests.
MObject makeSweptGeometryData(std::vector<geom::SweptTriangle> triangles);

}  // namespace host

#endif
