#ifndef MSTRINGARRAY_H
#define MSTRINGARRAY_H

#include <maya/MArrayStorage.h>
#include <maya/MString.h>

// Array of strings.
// Copies are deep; operator[] aborts on an index past the end. Copying, aliasing of a data object's
// storage and the host-only accessors are described in MArrayStorage.h.
class MStringArray : public host::ValueArray<MString, MStringArray> {
public:
    using ValueArray::ValueArray;
    static const char* className() { return "MStringArray"; }
};

#endif
