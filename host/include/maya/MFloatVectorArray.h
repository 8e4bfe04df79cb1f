#ifndef MFLOATVECTORARRAY_H
#define MFLOATVECTORARRAY_H

#include <maya/MArrayStorage.h>
#include <maya/MFloatVector.h>

// Array of single-precision vectors.
// Copies are deep; operator[] aborts on an index past the end. Copying, aliasing of a data object's
// storage and the host-only accessors are described in MArrayStorage.h.
class MFloatVectorArray : public host::ValueArray<MFloatVector, MFloatVectorArray> {
public:
    using ValueArray::ValueArray;
    static const char* className() { return "MFloatVectorArray"; }
};

#endif
