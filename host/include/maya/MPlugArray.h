#ifndef MPLUGARRAY_H
#define MPLUGARRAY_H

#include <maya/MPlug.h>

#include <vector>

// Array of plugs. An index past the end yields a null plug.
class MPlugArray {
public:
    MPlugArray() = default;
    MPlugArray(unsigned count, const MPlug& init) : plugs_(count, init) {}

    unsigned length() const { return static_cast<unsigned>(plugs_.size()); }
    MPlug operator[](unsigned index) const { return index < plugs_.size() ? plugs_[index] : MPlug(); }
    MStatus append(const MPlug& plug) { plugs_.push_back(plug); return MStatus::kSuccess; }
    MStatus clear() { plugs_.clear(); return MStatus::kSuccess; }
    MStatus setLength(unsigned length) { plugs_.resize(length); return MStatus::kSuccess; }
    MStatus remove(unsigned index);
    MStatus insert(const MPlug& plug, unsigned index);
    MStatus set(const MPlug& plug, unsigned index);

private:
    std::vector<MPlug> plugs_;
};

std::ostream& operator<<(std::ostream& os, const MPlugArray& plugs);

#endif
