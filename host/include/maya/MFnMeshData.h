#ifndef MFNMESHDATA_H
#define MFNMESHDATA_H

#include <maya/MFnBase.h>

// Function set on mesh data: create() makes new, empty mesh data to be filled by MFnMesh::create.
class MFnMeshData : public MFnBase {
public:
    MFnMeshData() = default;
    explicit MFnMeshData(const MObject& object, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kMeshData; }
    MObject create(MStatus* status = nullptr);
};

#endif
