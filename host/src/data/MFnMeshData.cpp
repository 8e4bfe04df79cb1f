#include <maya/MFnMeshData.h>

#include "data/MeshData.h"

MFnMeshData::MFnMeshData(const MObject& object, MStatus* status) {
    const MStatus result = setObject(object);
    if (status)
        *status = result;
}

MObject MFnMeshData::create(MStatus* status) {
    obj_ = MObject(std::make_shared<host::MeshData>());
    if (status)
        *status = MStatus::kSuccess;
    return obj_;
}
