#include <maya/MArrayDataHandle.h>

#include "graph/Scene.h"

#include <algorithm>

namespace {

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

// How many elements ahead of a walk next() asks the memory for.
constexpr size_t prefetchDistance = 48;

const host::ElementList* listOf(const host::Value* value) {
    return value ? value->elementsIfAny() : nullptr;
}

}  // namespace

inline bool MArrayDataHandle::cached() const {
    const host::ElementList* list = listOf(value_);
    return list && list->version() == version_;
}

// The element at the handle's position, or null past the end or beyond a shortened array; caches it.
host::Element* MArrayDataHandle::findAgain() const {
    const host::ElementList* list = listOf(value_);
    if (!onElement_ || !list) return nullptr;
    auto& chunks = const_cast<host::ElementList*>(list)->chunks();
    if (chunk_ >= chunks.size() || offset_ >= chunks[chunk_].size()) return nullptr;
    host::ElementList::Chunk& chunk = chunks[chunk_];
    element_ = chunk.data() + offset_;
    chunkEnd_ = chunk.data() + chunk.size();
    version_ = list->version();
    return element_;
}

MArrayDataHandle::MArrayDataHandle(host::Node* node, const host::Attribute* attribute, host::Value* arrayValue)
    : node_(node), attr_(attribute), value_(arrayValue) {
    const host::ElementList* list = listOf(value_);
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
    if (status) *status = MStatus::kSuccess;
    const host::ElementList* list = value_->elementsIfAny();
    return list ? static_cast<unsigned>(list->size()) : 0;
}

unsigned MArrayDataHandle::elementIndex(MStatus* status) const {
    if (__builtin_expect(!cached(), 0)) return elementIndexSlow(status);
    if (status) *status = MStatus::kSuccess;
    return element_->first;
}

unsigned MArrayDataHandle::elementIndexSlow(MStatus* status) const {
    const host::Element* element = findAgain();
    if (!element) {
        setStatus(status, MStatus::kFailure);
        return static_cast<unsigned>(-1);
    }
    setStatus(status, MStatus::kSuccess);
    return element->first;
}

MStatus MArrayDataHandle::jumpToElement(unsigned logicalIndex) {
    const host::ElementList* list = listOf(value_);
    if (!list) return MStatus::kInvalidParameter;
    // Already there (as a walk that starts by jumping to its first element is).
    if (list->version() == version_ && element_->first == logicalIndex) return MStatus::kSuccess;
    auto it = list->find(logicalIndex);
    if (it == list->end()) return MStatus::kInvalidParameter;
    chunk_ = it.chunk();
    offset_ = it.offset();
    onElement_ = true;
    findAgain();
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
    if (__builtin_expect(cached(), 1)) {
        ++offset_;
        // A walk reads the elements ahead soon: ask for them now (a hint; it never faults).
        __builtin_prefetch(element_ + prefetchDistance);
        if (++element_ != chunkEnd_) return MStatus::kSuccess;
    }
    return nextSlow();
}

// Called at the end of a chunk (the array unchanged), or when the current element must be found again.
MStatus MArrayDataHandle::nextSlow() {
    if (!cached()) {
        if (!findAgain()) {
            onElement_ = false;
            return MStatus::kFailure;
        }
        ++offset_;
        if (++element_ != chunkEnd_) return MStatus::kSuccess;
    }
    // On to the first element of the next chunk, if any; the array is unchanged, so it stays cached.
    auto& chunks = value_->elements().chunks();
    ++chunk_;
    offset_ = 0;
    if (chunk_ >= chunks.size()) {
        onElement_ = false;
        version_ = 0;
        return MStatus::kFailure;
    }
    element_ = chunks[chunk_].data();
    chunkEnd_ = element_ + chunks[chunk_].size();
    // The head of the new chunk, which the prefetches of the walk have not reached.
    const char* head = reinterpret_cast<const char*>(element_);
    const char* headEnd = reinterpret_cast<const char*>(std::min(chunkEnd_, element_ + prefetchDistance));
    for (; head < headEnd; head += 64) __builtin_prefetch(head);
    return MStatus::kSuccess;
}

MDataHandle MArrayDataHandle::inputValue(MStatus* status) {
    if (__builtin_expect(!cached(), 0)) return valueSlow(status);
    if (status) *status = MStatus::kSuccess;
    return MDataHandle(node_, attr_, &element_->second);
}

// The host keeps one value per element, which both input and output read and write.
MDataHandle MArrayDataHandle::outputValue(MStatus* status) {
    return inputValue(status);
}

MDataHandle MArrayDataHandle::valueSlow(MStatus* status) {
    host::Element* element = findAgain();
    if (!element) {
        setStatus(status, MStatus::kFailure);
        return MDataHandle();
    }
    setStatus(status, MStatus::kSuccess);
    return MDataHandle(node_, attr_, &element->second);
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
    auto it = value_->elements().findOrAdd(logicalIndex, [this] { return host::defaultValue(*attr_, true); }).first;
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
