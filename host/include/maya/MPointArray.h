#ifndef MPOINTARRAY_H
#define MPOINTARRAY_H

#include <maya/MArrayStorage.h>
#include <maya/MPoint.h>

// Array of double-precision homogeneous points.
// New elements (setLength, the count constructor's default) are the origin (0, 0, 0, 1).
// Copies are deep; operator[] aborts on an index past the end. Copying, aliasing of a data object's
// storage and the host-only accessors are described in MArrayStorage.h.
class MPointArray : public host::ValueArray<MPoint, MPointArray> {
public:
    using ValueArray::ValueArray;
    using ValueArray::append;
    MStatus append(double x, double y, double z = 0.0, double w = 1.0) { return append(MPoint(x, y, z, w)); }
    static const char* className() { return "MPointArray"; }
};

#endif
