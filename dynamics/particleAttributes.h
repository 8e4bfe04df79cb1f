#ifndef VEXMORA_PARTICLEATTRIBUTES_H
#define VEXMORA_PARTICLEATTRIBUTES_H

// Writing per-particle attributes of a particle object by name, shared by the field nodes.
//
// setData merges new values into the attribute's current array under a selection array: when the
// attribute has exactly as many entries as the selection, every entry whose selection value is at least
// 0.5 takes the next new value and the others keep theirs (merge mode); otherwise the attribute is
// replaced by the new values (replace mode). Double-array and vector-array attributes are both
// handled: a vector stored as a double is (x + y + z) / 3, a double stored as a vector is (d, d, d).
// Anything else (a missing attribute, another kind of data) is left alone. Nothing is reported.
//
// In merge mode a caller that supplies fewer values than there are selected entries gets no write at
// all: the attribute keeps its old array rather than being filled from past the end of the values.

#include <maya/MDoubleArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MString.h>
#include <maya/MVectorArray.h>

namespace particleAttributes {

// A selection entry selects its particle when it is at least 0.5 (NaN never selects).
inline bool isSelected(double selectionValue) { return selectionValue >= 0.5; }

void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
             const MVectorArray& values);
void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
             const MDoubleArray& values);
void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
             const MFloatVectorArray& values);

}  // namespace particleAttributes

#endif
