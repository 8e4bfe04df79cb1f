#ifndef MVECTORARRAY_H
#define MVECTORARRAY_H

#include <maya/MArrayStorage.h>
#include <maya/MVector.h>

// Array of double-precision vectors.
// Copies are deep; operator[] aborts on an index past the end. Copying, aliasing of a data object's
// storage and the host-only accessors are described in MArrayStorage.h.
class MVectorArray : public host::ValueArray<MVector, MVectorArray> {
public:
    using ValueArray::ValueArray;
    static const char* className() { return "MVectorArray"; }
};

#endif
