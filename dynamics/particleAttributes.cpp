#include "particleAttributes.h"

#include <maya/MDGContext.h>
#include <maya/MFn.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>

namespace particleAttributes {
namespace detail {

// Conversions from a value of the caller's array to an entry of the stored array.
inline double toDouble(double d) { return d; }
inline double toDouble(const MVector& v) { return (v.x + v.y + v.z) / 3.0; }
inline double toDouble(const MFloatVector& v) {
    return (static_cast<double>(v.x) + static_cast<double>(v.y) + static_cast<double>(v.z)) / 3.0;
}
inline MVector toVector(double d) { return MVector(d, d, d); }
inline MVector toVector(const MVector& v) { return v; }
inline MVector toVector(const MFloatVector& v) { return MVector(v); }

struct AsDouble {
    template <typename T>
    double operator()(const T& value) const { return toDouble(value); }
};
struct AsVector {
    template <typename T>
    MVector operator()(const T& value) const { return toVector(value); }
};

// Merges values into stored, the attribute's own array. When stored has one entry per selection entry,
// the selected entries take the values in order and the others keep theirs; otherwise stored is
// replaced by the values. Returns false, changing nothing, when merge mode would run out of values.
template <typename Stored, typename Values, typename Convert>
bool merge(Stored& stored, const MDoubleArray& selection, const Values& values, Convert convert) {
    const unsigned count = selection.length();
    const unsigned valueCount = values.length();
    if (stored.length() != count) {
        Stored result;
        result.setLength(valueCount);
        for (unsigned k = 0; k < valueCount; ++k)
            result[k] = convert(values[k]);
        stored = result;
        return true;
    }
    // With a value for every entry nothing can run out; otherwise count the selected entries first.
    if (valueCount < count) {
        unsigned selected = 0;
        for (unsigned j = 0; j < count; ++j)
            selected += isSelected(selection[j]) ? 1 : 0;
        if (selected > valueCount)
            return false;
    }
    unsigned k = 0;
    for (unsigned j = 0; j < count; ++j)
        if (isSelected(selection[j]))
            stored[j] = convert(values[k++]);
    return true;
}

template <typename Values>
void write(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
           const Values& values) {
    // A missing attribute gives a null plug, whose value is no data object: nothing is written then.
    MPlug plug = particleObject.findPlug(name);
    MObject data;
    plug.getValue(data, MDGContext::fsNormal);
    const MFn::Type kind = data.apiType();
    MStatus status;
    if (kind == MFn::kDoubleArrayData) {
        MFnDoubleArrayData fn(data, &status);
        if (status != MStatus::kSuccess)
            return;
        MDoubleArray stored = fn.array();
        if (!merge(stored, selection, values, AsDouble()))
            return;
        plug.setValue(data);
    } else if (kind == MFn::kVectorArrayData) {
        MFnVectorArrayData fn(data, &status);
        if (status != MStatus::kSuccess)
            return;
        MVectorArray stored = fn.array();
        if (!merge(stored, selection, values, AsVector()))
            return;
        plug.setValue(data);
    }
}

}  // namespace detail

void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
             const MVectorArray& values) {
    detail::write(particleObject, name, selection, values);
}

void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
             const MDoubleArray& values) {
    detail::write(particleObject, name, selection, values);
}

void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
             const MFloatVectorArray& values) {
    detail::write(particleObject, name, selection, values);
}

}  // namespace particleAttributes
