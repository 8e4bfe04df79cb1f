#ifndef HOST_VALUE_H
#define HOST_VALUE_H

#include <maya/MObject.h>
#include <maya/MString.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace host {

class Attribute;
struct Element;
struct Value;

// Positions in an ElementList: a chunk and an offset in it. An iterator past the last element has the
// chunk count as its chunk and offset 0.
template <class Chunks, class E>
class ElementIterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Element;
    using difference_type = std::ptrdiff_t;
    using pointer = E*;
    using reference = E&;

    ElementIterator() = default;
    ElementIterator(Chunks* chunks, size_t chunk, size_t offset) : chunks_(chunks), chunk_(chunk), offset_(offset) {}
    template <class C, class F, class = std::enable_if_t<std::is_convertible_v<F*, E*>>>
    ElementIterator(const ElementIterator<C, F>& other)
        : chunks_(other.chunks()), chunk_(other.chunk()), offset_(other.offset()) {}

    E& operator*() const { return (*chunks_)[chunk_][offset_]; }
    E* operator->() const { return &**this; }
    ElementIterator& operator++() {
        if (++offset_ == (*chunks_)[chunk_].size()) {
            ++chunk_;
            offset_ = 0;
        }
        return *this;
    }
    ElementIterator operator++(int) {
        ElementIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const ElementIterator& other) const { return chunk_ == other.chunk_ && offset_ == other.offset_; }
    bool operator!=(const ElementIterator& other) const { return !(*this == other); }

    Chunks* chunks() const { return chunks_; }
    size_t chunk() const { return chunk_; }
    size_t offset() const { return offset_; }

private:
    Chunks* chunks_ = nullptr;
    size_t chunk_ = 0;
    size_t offset_ = 0;
};

// The elements of an array attribute's value, in ascending logical index, each {first = logical index,
// second = value}. They are held in chunks of contiguous storage of bounded length: a walk reads memory in
// order, appending past the last index is amortized constant time, and adding or removing an element
// anywhere else moves at most one chunk's elements. Adding or removing an element may move the other
// elements of its chunk, so addresses of elements and iterators hold only until the next change.
class ElementList {
public:
    using Chunk = std::vector<Element>;
    using iterator = ElementIterator<std::vector<Chunk>, Element>;
    using const_iterator = ElementIterator<const std::vector<Chunk>, const Element>;

    iterator begin() { return iterator(&chunks_, 0, 0); }
    iterator end() { return iterator(&chunks_, chunks_.size(), 0); }
    const_iterator begin() const { return const_iterator(&chunks_, 0, 0); }
    const_iterator end() const { return const_iterator(&chunks_, chunks_.size(), 0); }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // The element of the highest index; the list must not be empty.
    Element& back();
    const Element& back() const;

    iterator find(unsigned index);
    const_iterator find(unsigned index) const;
    // The first element whose index is not below the given one.
    iterator lower_bound(unsigned index);
    // The element at a position in index order, or end().
    iterator at(size_t position);
    // The element of the index; when there is none, adds one holding make()'s value (make is called only
    // then). second tells whether it was added.
    template <class Make>
    std::pair<iterator, bool> findOrAdd(unsigned index, Make make);
    size_t erase(unsigned index);
    void clear();

    // The chunks, for cursors that keep a chunk and an offset.
    const std::vector<Chunk>& chunks() const { return chunks_; }
    std::vector<Chunk>& chunks() { return chunks_; }

    static constexpr size_t maxChunk = 512;

    // Changes whenever elements are added or removed or the list is replaced; no two states of any lists
    // share a version, and none is 0.
    unsigned long long version() const { return version_; }

    // A copy takes a new version. Lists are copied, never moved: a value holds its list on the heap and
    // moves the pointer.
    ElementList() : version_(newVersion()) {}
    ElementList(const ElementList& other);
    ElementList& operator=(const ElementList& other);
    ~ElementList() = default;

private:
    static unsigned long long newVersion() noexcept;
    // The first chunk whose last index is at or above the given one; the chunk count when there is none.
    size_t chunkFor(unsigned index) const;
    // The offset in chunk c of the first element whose index is not below the given one.
    size_t offsetIn(size_t c, unsigned index) const;
    // Adds an element past the last index.
    iterator append(unsigned index, Value value);
    // Adds an element at offset in chunk c, where offsetIn puts its index.
    iterator insert(size_t c, size_t offset, unsigned index, Value value);

    std::vector<Chunk> chunks_;  // none empty
    size_t size_ = 0;
    unsigned long long version_;
};

// The value of one attribute (or of one element of an array attribute) in a node's data block.
// Numbers (bool, int, double, time in seconds, angle in radians, up to three components) are in num;
// strings in str(); data objects (arrays, geometry) in data(); compound children in children() (child
// order); the elements of an array attribute, by logical index, in elements(). Only the numbers are held
// inline: the rest is made on first write, so that a numeric element stays small and a walk over many of
// them reads little memory. Reading a part never written gives an empty one.
struct Value {
    double num[3] = {0.0, 0.0, 0.0};

    Value() = default;
    Value(const Value& other);
    Value(Value&&) noexcept = default;
    Value& operator=(const Value& other);
    Value& operator=(Value&&) noexcept = default;
    ~Value();

    MString& str();
    const MString& str() const;
    MObject& data();
    const MObject& data() const;
    std::vector<Value>& children();
    const std::vector<Value>& children() const;
    ElementList& elements();
    const ElementList& elements() const;
    // The elements when any part beyond the numbers was ever written, else null; never makes them.
    const ElementList* elementsIfAny() const;

private:
    struct More;
    More& more();
    const More& more() const;
    std::unique_ptr<More> more_;
};

struct Element {
    unsigned first;
    Value second;
};

// Moving values must not throw, so that growing storage moves them instead of copying.
static_assert(std::is_nothrow_move_constructible_v<Value> && std::is_nothrow_move_assignable_v<Value>,
              "values move without copying");

struct Value::More {
    MString str;
    MObject data;
    std::vector<Value> children;
    ElementList elements;
};

inline Value::Value(const Value& other)
    : more_(other.more_ ? std::make_unique<More>(*other.more_) : nullptr) {
    std::copy(other.num, other.num + 3, num);
}

inline Value& Value::operator=(const Value& other) {
    if (this != &other) {
        std::copy(other.num, other.num + 3, num);
        more_ = other.more_ ? std::make_unique<More>(*other.more_) : nullptr;
    }
    return *this;
}

inline Value::~Value() = default;

inline Value::More& Value::more() {
    if (!more_) more_ = std::make_unique<More>();
    return *more_;
}

inline const Value::More& Value::more() const {
    static const More none;
    return more_ ? *more_ : none;
}

inline MString& Value::str() { return more().str; }
inline const MString& Value::str() const { return more().str; }
inline MObject& Value::data() { return more().data; }
inline const MObject& Value::data() const { return more().data; }
inline std::vector<Value>& Value::children() { return more().children; }
inline const std::vector<Value>& Value::children() const { return more().children; }
inline ElementList& Value::elements() { return more().elements; }
inline const ElementList& Value::elements() const { return more().elements; }
inline const ElementList* Value::elementsIfAny() const { return more_ ? &more_->elements : nullptr; }

inline Element& ElementList::back() { return chunks_.back().back(); }
inline const Element& ElementList::back() const { return chunks_.back().back(); }

template <class Make>
std::pair<ElementList::iterator, bool> ElementList::findOrAdd(unsigned index, Make make) {
    // Past the last index (as when elements are written in order) needs no search.
    if (chunks_.empty() || index > back().first) return {append(index, make()), true};
    const size_t c = chunkFor(index);
    const size_t offset = offsetIn(c, index);
    if (chunks_[c][offset].first == index) return {iterator(&chunks_, c, offset), false};
    return {insert(c, offset, index, make()), true};
}

// The default value of an attribute. For an array attribute, element = true gives the default of one
// element and element = false the (empty) array.
Value defaultValue(const Attribute& attribute, bool element);

}  // namespace host

#endif
