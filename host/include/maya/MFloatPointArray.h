#ifndef MFLOATPOINTARRAY_H
#define MFLOATPOINTARRAY_H

#include <maya/MArrayStorage.h>
#include <maya/MFloatPoint.h>

// Array of single-precision homogeneous points.
// New elements (setLength, the count constructor's default) are the origin (0, 0, 0, 1).
// Copies are deep; operator[] aborts on an index past the end. Copying, aliasing of a data object's
// storage and the host-only accessors are described in MArrayStorage.h.
class MFloatPointArray : public host::ValueArray<MFloatPoint, MFloatPointArray> {
public:
    using ValueArray::ValueArray;
    using ValueArray::append;
    MStatus append(float x, float y, float z = 0.0f, float w = 1.0f) { return append(MFloatPoint(x, y, z, w)); }
    static const char* className() { return "MFloatPointArray"; }
};

#endif
