#ifndef MFNDYNSWEPTGEOMETRYDATA_H
#define MFNDYNSWEPTGEOMETRYDATA_H

#include <maya/MDynSweptTriangle.h>
#include <maya/MFnData.h>

namespace host {
class SweptGeometryData;
}

// Swept geometry: the triangles a geometry connector hands to an emitter. Attaching to any other kind
// of object, a null one included, is refused with kInvalidParameter; a refused set has no triangles.
// sweptTriangle() of an index outside 0..triangleCount()-1 fails with kInvalidParameter and returns a
// triangle with every corner at the origin. Lines are not kept: lineCount() is 0.
class MFnDynSweptGeometryData : public MFnData {
public:
    MFnDynSweptGeometryData() = default;
    explicit MFnDynSweptGeometryData(const MObject& object, MStatus* status = nullptr);
    MStatus setObject(const MObject& object);

    MFn::Type type() const override { return MFn::kDynSweptGeometryData; }
    int triangleCount(MStatus* status = nullptr) const;
    MDynSweptTriangle sweptTriangle(int index, MStatus* status = nullptr) const;
    int lineCount(MStatus* status = nullptr) const;
    // New, empty swept data; the set stays attached to it.
    MObject create(MStatus* status = nullptr);

private:
    // The data obj_ holds (kept alive by it), or null: queries need no cast per triangle.
    const host::SweptGeometryData* data_ = nullptr;
};

#endif
