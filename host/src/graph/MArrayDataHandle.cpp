#include <maya/MArrayDataHandle.h>

#include "graph/Scene.h"

namespace {

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

// The element at a cursor, or null when the cursor is past the end or the array has become shorter.
host::Element* elementAt(host::Value* array, bool onElement, size_t chunk, size_t offset) {
    if (!array || !onElement) return nullptr;
    auto& chunks = array->elements().chunks();
    if (chunk >= chunks.size() || offset >= chunks[chunk].size()) return nullptr;
    return &chunks[chunk][offset];
}

}  // namespace

MArrayDataHandle::MArrayDataHandle(host::Node* node, const host::Attribute* attribute, host::Value* arrayValue)
    : node_(node), attr_(attribute), value_(arrayValue) {
    onElement_ = value_ && !value_->elements().empty();
}

MArrayDataHandle::MArrayDataHandle(const MDataHandle& arrayHandle, MStatus* status) {
    const host::Attribute* attr = arrayHandle.hostAttribute();
    if (arrayHandle.isNull() || !attr || !attr->array) {
        setStatus(status, MStatus::kInvalidParameter);
        return;
    }
    *this = MArrayDataHandle(arrayHandle.hostNode(), attr, arrayHandle.hostValue());
    setStatus(status, MStatus::kSuccess);
}

unsigned MArrayDataHandle::elementCount(MStatus* status) const {
    if (!value_) {
        setStatus(status, MStatus::kFailure);
        return 0;
    }
    setStatus(status, MStatus::kSuccess);
    return static_cast<unsigned>(value_->elements().size());
}

unsigned MArrayDataHandle::elementIndex(MStatus* status) const {
    const host::Element* element = elementAt(value_, onElement_, chunk_, offset_);
    if (!element) {
        setStatus(status, MStatus::kFailure);
        return static_cast<unsigned>(-1);
    }
    setStatus(status, MStatus::kSuccess);
    return element->first;
}

MStatus MArrayDataHandle::jumpToElement(unsigned logicalIndex) {
    if (!value_) return MStatus::kInvalidParameter;
    auto it = value_->elements().find(logicalIndex);
    if (it == value_->elements().end()) return MStatus::kInvalidParameter;
    chunk_ = it.chunk();
    offset_ = it.offset();
    onElement_ = true;
    return MStatus::kSuccess;
}

MStatus MArrayDataHandle::jumpToArrayElement(unsigned physicalIndex) {
    if (!value_ || physicalIndex >= value_->elements().size()) return MStatus::kInvalidParameter;
    auto it = value_->elements().at(physicalIndex);
    chunk_ = it.chunk();
    offset_ = it.offset();
    onElement_ = true;
    return MStatus::kSuccess;
}

MStatus MArrayDataHandle::next() {
    if (!elementAt(value_, onElement_, chunk_, offset_)) {
        onElement_ = false;
        return MStatus::kFailure;
    }
    const auto& chunks = value_->elements().chunks();
    if (++offset_ == chunks[chunk_].size()) {
        ++chunk_;
        offset_ = 0;
    }
    onElement_ = chunk_ < chunks.size();
    return onElement_ ? MStatus::kSuccess : MStatus::kFailure;
}

MDataHandle MArrayDataHandle::inputValue(MStatus* status) {
    host::Element* element = elementAt(value_, onElement_, chunk_, offset_);
    if (!element) {
        setStatus(status, MStatus::kFailure);
        return MDataHandle();
    }
    setStatus(status, MStatus::kSuccess);
    return MDataHandle(node_, attr_, &element->second);
}

MDataHandle MArrayDataHandle::outputValue(MStatus* status) {
    return inputValue(status);
}

MArrayDataBuilder MArrayDataHandle::builder(MStatus* status) {
    if (!value_) {
        setStatus(status, MStatus::kFailure);
        return MArrayDataBuilder();
    }
    setStatus(status, MStatus::kSuccess);
    return MArrayDataBuilder(node_, attr_, value_);
}

MStatus MArrayDataHandle::set(MArrayDataBuilder& builder) {
    return builder.hostValue() == value_ ? MStatus::kSuccess : MStatus::kInvalidParameter;
}

MStatus MArrayDataHandle::setAllClean() {
    if (!value_ || !attr_) return MStatus::kFailure;
    if (node_) host::setCleanAttribute(*node_, attr_);
    return MStatus::kSuccess;
}

MStatus MArrayDataHandle::setClean() {
    return setAllClean();
}

MDataHandle MArrayDataBuilder::addElement(unsigned logicalIndex, MStatus* status) {
    if (!value_ || !attr_ || logicalIndex > 0x7fffffffu) {
        if (status) *status = MStatus::kFailure;
        return MDataHandle();
    }
    host::ElementList& elements = value_->elements();
    // Appending past the last index needs no search.
    auto it = !elements.empty() && logicalIndex <= elements.back().first ? elements.find(logicalIndex) : elements.end();
    if (it == elements.end()) it = elements.emplace(logicalIndex, host::defaultValue(*attr_, true)).first;
    if (status) *status = MStatus::kSuccess;
    return MDataHandle(node_, attr_, &it->second);
}

MDataHandle MArrayDataBuilder::addLast(MStatus* status) {
    unsigned next = (!value_ || value_->elements().empty()) ? 0 : value_->elements().back().first + 1;
    return addElement(next, status);
}

MStatus MArrayDataBuilder::removeElement(unsigned logicalIndex) {
    if (!value_ || !value_->elements().erase(logicalIndex)) return MStatus::kInvalidParameter;
    return MStatus::kSuccess;
}

unsigned MArrayDataBuilder::elementCount(MStatus* status) const {
    if (status) *status = value_ ? MStatus::kSuccess : MStatus::kFailure;
    return value_ ? static_cast<unsigned>(value_->elements().size()) : 0;
}
