#ifndef MFLOATARRAY_H
#define MFLOATARRAY_H

#include <maya/MArrayStorage.h>

// Array of floats (single precision).
// Copies are deep; operator[] aborts on an index past the end. Copying, aliasing of a data object's
// storage and the host-only accessors are described in MArrayStorage.h.
class MFloatArray : public host::ValueArray<float, MFloatArray> {
public:
    using ValueArray::ValueArray;
    static const char* className() { return "MFloatArray"; }
};

#endif
