#ifndef MINTARRAY_H
#define MINTARRAY_H

#include <maya/MArrayStorage.h>

// Array of ints.
// Copies are deep; operator[] aborts on an index past the end. Copying, aliasing of a data object's
// storage and the host-only accessors are described in MArrayStorage.h.
class MIntArray : public host::ValueArray<int, MIntArray> {
public:
    using ValueArray::ValueArray;
    static const char* className() { return "MIntArray"; }
};

#endif
