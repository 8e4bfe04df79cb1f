#ifndef MDOUBLEARRAY_H
#define MDOUBLEARRAY_H

#include <maya/MArrayStorage.h>

// Array of doubles.
// Copies are deep; operator[] aborts on an index past the end. Copying, aliasing of a data object's
// storage and the host-only accessors are described in MArrayStorage.h.
class MDoubleArray : public host::ValueArray<double, MDoubleArray> {
public:
    using ValueArray::ValueArray;
    static const char* className() { return "MDoubleArray"; }
};

#endif
