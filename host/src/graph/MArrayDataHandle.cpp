#include <maya/MArrayDataHandle.h>

#include "graph/Scene.h"

#include <cstring>
#include <type_traits>

namespace {

using Elements = std::map<unsigned, host::Value>;

// The handle keeps its map position in a pointer-sized field of the public header, which cannot name the
// host's map type. The position is valid exactly as long as the element's address is.
static_assert(sizeof(Elements::iterator) == sizeof(void*) && std::is_trivially_copyable_v<Elements::iterator>,
              "a map position must fit the handle's cursor");

void* toCursor(Elements::iterator it) {
    void* cursor;
    std::memcpy(&cursor, &it, sizeof cursor);
    return cursor;
}

Elements::iterator fromCursor(void* cursor) {
    Elements::iterator it;
    std::memcpy(static_cast<void*>(&it), &cursor, sizeof cursor);
    return it;
}

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

}  // namespace

MArrayDataHandle::MArrayDataHandle(host::Node* node, const host::Attribute* attribute, host::Value* arrayValue)
    : node_(node), attr_(attribute), value_(arrayValue) {
    if (value_ && !value_->elements.empty()) {
        cursor_ = toCursor(value_->elements.begin());
    }
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
    return static_cast<unsigned>(value_->elements.size());
}

unsigned MArrayDataHandle::elementIndex(MStatus* status) const {
    if (!value_ || !cursor_) {
        setStatus(status, MStatus::kFailure);
        return static_cast<unsigned>(-1);
    }
    setStatus(status, MStatus::kSuccess);
    return fromCursor(cursor_)->first;
}

MStatus MArrayDataHandle::jumpToElement(unsigned logicalIndex) {
    if (!value_) return MStatus::kInvalidParameter;
    auto it = value_->elements.find(logicalIndex);
    if (it == value_->elements.end()) return MStatus::kInvalidParameter;
    cursor_ = toCursor(it);
    return MStatus::kSuccess;
}

MStatus MArrayDataHandle::jumpToArrayElement(unsigned physicalIndex) {
    if (!value_ || physicalIndex >= value_->elements.size()) return MStatus::kInvalidParameter;
    auto it = value_->elements.begin();
    std::advance(it, physicalIndex);
    cursor_ = toCursor(it);
    return MStatus::kSuccess;
}

MStatus MArrayDataHandle::next() {
    if (!value_ || !cursor_) return MStatus::kFailure;
    Elements::iterator it = std::next(fromCursor(cursor_));
    cursor_ = it == value_->elements.end() ? nullptr : toCursor(it);
    return cursor_ ? MStatus::kSuccess : MStatus::kFailure;
}

MDataHandle MArrayDataHandle::inputValue(MStatus* status) {
    if (!value_ || !cursor_) {
        setStatus(status, MStatus::kFailure);
        return MDataHandle();
    }
    setStatus(status, MStatus::kSuccess);
    return MDataHandle(node_, attr_, &fromCursor(cursor_)->second);
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
    // One search: appending past the last element needs none, otherwise the search's place is the hint.
    Elements& elements = value_->elements;
    Elements::iterator it = !elements.empty() && logicalIndex > elements.rbegin()->first
                                ? elements.end()
                                : elements.lower_bound(logicalIndex);
    if (it == elements.end() || it->first != logicalIndex)
        it = elements.emplace_hint(it, logicalIndex, host::defaultValue(*attr_, true));
    if (status) *status = MStatus::kSuccess;
    return MDataHandle(node_, attr_, &it->second);
}

MDataHandle MArrayDataBuilder::addLast(MStatus* status) {
    unsigned next = (!value_ || value_->elements.empty()) ? 0 : value_->elements.rbegin()->first + 1;
    return addElement(next, status);
}

MStatus MArrayDataBuilder::removeElement(unsigned logicalIndex) {
    if (!value_ || !value_->elements.erase(logicalIndex)) return MStatus::kInvalidParameter;
    return MStatus::kSuccess;
}

unsigned MArrayDataBuilder::elementCount(MStatus* status) const {
    if (status) *status = value_ ? MStatus::kSuccess : MStatus::kFailure;
    return value_ ? static_cast<unsigned>(value_->elements.size()) : 0;
}
