#include <maya/MArrayDataHandle.h>

#include "graph/Scene.h"

namespace {

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

}  // namespace

// Defined before its callers so that they read the element directly.
inline host::Element* MArrayDataHandle::element() const {
    const host::ElementList* list = onElement_ && value_ ? value_->elementsIfAny() : nullptr;
    if (!list) return nullptr;
    if (list->version() == version_) return element_;
    // Found again after any change of the array, at the same position.
    auto& chunks = const_cast<host::ElementList*>(list)->chunks();
    if (chunk_ >= chunks.size() || offset_ >= chunks[chunk_].size()) return nullptr;
    element_ = &chunks[chunk_][offset_];
    chunkSize_ = chunks[chunk_].size();
    version_ = list->version();
    return element_;
}

MArrayDataHandle::MArrayDataHandle(host::Node* node, const host::Attribute* attribute, host::Value* arrayValue)
    : node_(node), attr_(attribute), value_(arrayValue) {
    const host::ElementList* list = value_ ? value_->elementsIfAny() : nullptr;
    onElement_ = list && !list->empty();
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
    const host::ElementList* list = value_->elementsIfAny();
    return list ? static_cast<unsigned>(list->size()) : 0;
}

unsigned MArrayDataHandle::elementIndex(MStatus* status) const {
    const host::Element* current = element();
    if (!current) {
        setStatus(status, MStatus::kFailure);
        return static_cast<unsigned>(-1);
    }
    setStatus(status, MStatus::kSuccess);
    return current->first;
}

MStatus MArrayDataHandle::jumpToElement(unsigned logicalIndex) {
    const host::ElementList* list = value_ ? value_->elementsIfAny() : nullptr;
    if (!list) return MStatus::kInvalidParameter;
    auto it = list->find(logicalIndex);
    if (it == list->end()) return MStatus::kInvalidParameter;
    chunk_ = it.chunk();
    offset_ = it.offset();
    onElement_ = true;
    version_ = 0;
    return MStatus::kSuccess;
}

MStatus MArrayDataHandle::jumpToArrayElement(unsigned physicalIndex) {
    if (!value_ || physicalIndex >= elementCount()) return MStatus::kInvalidParameter;
    auto it = value_->elements().at(physicalIndex);
    chunk_ = it.chunk();
    offset_ = it.offset();
    onElement_ = true;
    version_ = 0;
    return MStatus::kSuccess;
}

MStatus MArrayDataHandle::next() {
    if (!element()) {
        onElement_ = false;
        return MStatus::kFailure;
    }
    if (++offset_ < chunkSize_) {
        ++element_;
        return MStatus::kSuccess;
    }
    ++chunk_;
    offset_ = 0;
    version_ = 0;
    onElement_ = chunk_ < value_->elementsIfAny()->chunks().size();
    return onElement_ ? MStatus::kSuccess : MStatus::kFailure;
}

MDataHandle MArrayDataHandle::inputValue(MStatus* status) {
    host::Element* current = element();
    if (!current) {
        setStatus(status, MStatus::kFailure);
        return MDataHandle();
    }
    setStatus(status, MStatus::kSuccess);
    return MDataHandle(node_, attr_, &current->second);
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
