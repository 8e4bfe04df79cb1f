#include <maya/MPxDeformerNode.h>

#include "data/Data.h"
#include "data/GeometryPoints.h"
#include "graph/DeformerAccess.h"
#include "graph/Value.h"

#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MItGeometry.h>
#include <maya/MMatrix.h>
#include <maya/MPlug.h>

#include <algorithm>

// The static attribute handles of the deformer base; graph/BaseAttributes.cpp fills them.

MObject MPxDeformerNode::input;
MObject MPxDeformerNode::inputGeom;
MObject MPxDeformerNode::groupId;
MObject MPxDeformerNode::outputGeom;
MObject MPxDeformerNode::envelope;
MObject MPxDeformerNode::weightList;
MObject MPxDeformerNode::weights;

namespace host {

void DeformerAccess::setMembership(MPxDeformerNode& node, unsigned k, std::vector<int> indices) {
    node.membership_[k] = std::move(indices);
}

const std::vector<int>* DeformerAccess::membership(const MPxDeformerNode& node, unsigned k) {
    auto it = node.membership_.find(k);
    return it == node.membership_.end() ? nullptr : &it->second;
}

std::unique_ptr<MItGeometry> GeometryIteratorAccess::make(std::unique_ptr<GeometryPoints> points, std::vector<int> members,
                                                          bool all) {
    return std::unique_ptr<MItGeometry>(new MItGeometry(std::move(points), std::move(members), all, false));
}

}  // namespace host

namespace {

// Linear indices of the listed components that the geometry has as members, ascending and unique; with
// no list, the geometry's members (left empty when every point is one).
std::vector<int> memberIndices(const host::GeometryPoints& points, const std::vector<int>* listed) {
    if (!listed) return points.members();
    int n = static_cast<int>(points.componentType()) - static_cast<int>(MFn::kSingleIndexedComponent) + 1;
    std::vector<int> out;
    for (size_t i = 0; i + static_cast<size_t>(n) <= listed->size(); i += static_cast<size_t>(n)) {
        int index = points.indexOf(listed->data() + i);
        if (points.isMember(index)) out.push_back(index);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace

MPxDeformerNode::~MPxDeformerNode() = default;

MPxNode::Type MPxDeformerNode::type() const {
    return kDeformerNode;
}

MStatus MPxDeformerNode::compute(const MPlug& plug, MDataBlock& block) {
    if (plug != outputGeom || !plug.isElement()) return MStatus::kUnknownParameter;
    unsigned k = plug.logicalIndex();
    MObject source;
    MArrayDataHandle inputs = block.inputArrayValue(input);
    if (inputs.jumpToElement(k) == MStatus::kSuccess) source = inputs.inputValue().child(inputGeom).data();
    MDataHandle out = block.outputValue(plug);
    auto data = std::dynamic_pointer_cast<host::Data>(source.impl());
    MObject copy = data ? MObject(data->clone()) : MObject();
    if (host::Value* value = out.hostValue()) value->data() = copy;
    auto points = host::geometryPoints(copy);
    if (!points) {
        block.setClean(plug);
        return MStatus::kInvalidParameter;
    }

    // The weights of this geometry, one per point, 1 where none is set; no table when none is set.
    weightCache_.clear();
    unweighted_ = true;
    MArrayDataHandle lists = block.inputArrayValue(weightList);
    if (lists.jumpToElement(k) == MStatus::kSuccess) {
        MStatus status;
        MArrayDataHandle values(lists.inputValue().child(weights), &status);
        for (unsigned n = values.elementCount(); status == MStatus::kSuccess && n > 0; --n, values.next()) {
            if (unweighted_) {
                weightCache_.assign(static_cast<size_t>(points->count()), 1.0f);
                unweighted_ = false;
            }
            unsigned i = values.elementIndex();
            if (i < weightCache_.size()) weightCache_[i] = values.inputValue().asFloat();
        }
    }
    cachedIndex_ = static_cast<long>(k);

    MStatus status;
    {
        const std::vector<int>* listed = host::DeformerAccess::membership(*this, k);
        const bool all = !listed && points->allMembers();
        std::vector<int> members = memberIndices(*points, listed);
        std::unique_ptr<MItGeometry> iter =
            host::GeometryIteratorAccess::make(std::move(points), std::move(members), all);
        status = deform(block, *iter, MMatrix::identity, k);
    }
    cachedIndex_ = -1;
    unweighted_ = false;
    weightCache_.clear();
    block.setClean(plug);
    return status;
}

MStatus MPxDeformerNode::deform(MDataBlock&, MItGeometry&, const MMatrix&, unsigned int) {
    return MStatus::kUnknownParameter;
}

float MPxDeformerNode::readWeight(MDataBlock& block, unsigned int multiIndex, unsigned int wtIndex) {
    MStatus status;
    MArrayDataHandle lists = block.inputArrayValue(weightList, &status);
    if (status != MStatus::kSuccess || lists.jumpToElement(multiIndex) != MStatus::kSuccess) return 1.0f;
    MArrayDataHandle values(lists.inputValue().child(weights), &status);
    if (status != MStatus::kSuccess || values.jumpToElement(wtIndex) != MStatus::kSuccess) return 1.0f;
    return values.inputValue().asFloat();
}
