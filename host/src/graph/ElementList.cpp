#include "graph/Value.h"

#include <algorithm>
#include <atomic>

namespace host {

unsigned long long ElementList::newVersion() noexcept {
    static std::atomic<unsigned long long> last{0};
    return ++last;
}

ElementList::ElementList(const ElementList& other) : chunks_(other.chunks_), size_(other.size_), version_(newVersion()) {}

ElementList& ElementList::operator=(const ElementList& other) {
    if (this != &other) {
        chunks_ = other.chunks_;
        size_ = other.size_;
        version_ = newVersion();
    }
    return *this;
}

size_t ElementList::chunkFor(unsigned index) const {
    auto it = std::partition_point(chunks_.begin(), chunks_.end(),
                                   [index](const Chunk& chunk) { return chunk.back().first < index; });
    return static_cast<size_t>(it - chunks_.begin());
}

size_t ElementList::offsetIn(size_t c, unsigned index) const {
    const Chunk& chunk = chunks_[c];
    auto it = std::partition_point(chunk.begin(), chunk.end(),
                                   [index](const Element& element) { return element.first < index; });
    return static_cast<size_t>(it - chunk.begin());
}

ElementList::iterator ElementList::find(unsigned index) {
    size_t c = chunkFor(index);
    if (c == chunks_.size()) return end();
    size_t offset = offsetIn(c, index);
    return chunks_[c][offset].first == index ? iterator(&chunks_, c, offset) : end();
}

ElementList::const_iterator ElementList::find(unsigned index) const {
    return const_cast<ElementList*>(this)->find(index);
}

ElementList::iterator ElementList::lower_bound(unsigned index) {
    size_t c = chunkFor(index);
    if (c == chunks_.size()) return end();
    return iterator(&chunks_, c, offsetIn(c, index));
}

ElementList::iterator ElementList::at(size_t position) {
    for (size_t c = 0; c < chunks_.size(); ++c) {
        if (position < chunks_[c].size()) return iterator(&chunks_, c, position);
        position -= chunks_[c].size();
    }
    return end();
}

ElementList::iterator ElementList::append(unsigned index, Value value) {
    if (chunks_.empty() || chunks_.back().size() >= maxChunk) {
        // A list that has filled a chunk is long: the next chunk takes its full size at once, one block
        // instead of a series of growing ones.
        const bool full = !chunks_.empty();
        chunks_.emplace_back();
        if (full) chunks_.back().reserve(maxChunk);
    }
    chunks_.back().push_back(Element{index, std::move(value)});
    ++size_;
    version_ = newVersion();
    return iterator(&chunks_, chunks_.size() - 1, chunks_.back().size() - 1);
}

ElementList::iterator ElementList::insert(size_t c, size_t offset, unsigned index, Value value) {
    if (chunks_[c].size() >= maxChunk) {
        // A full chunk gives its upper half to a new chunk after it.
        Chunk& full = chunks_[c];
        const size_t half = full.size() / 2;
        Chunk upper(std::make_move_iterator(full.begin() + static_cast<std::ptrdiff_t>(half)),
                    std::make_move_iterator(full.end()));
        full.erase(full.begin() + static_cast<std::ptrdiff_t>(half), full.end());
        chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(c) + 1, std::move(upper));
        if (offset > half) {
            ++c;
            offset -= half;
        }
    }
    Chunk& chunk = chunks_[c];
    chunk.insert(chunk.begin() + static_cast<std::ptrdiff_t>(offset), Element{index, std::move(value)});
    ++size_;
    version_ = newVersion();
    return iterator(&chunks_, c, offset);
}

size_t ElementList::erase(unsigned index) {
    iterator it = find(index);
    if (it == end()) return 0;
    Chunk& chunk = chunks_[it.chunk()];
    chunk.erase(chunk.begin() + static_cast<std::ptrdiff_t>(it.offset()));
    if (chunk.empty()) chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(it.chunk()));
    --size_;
    version_ = newVersion();
    return 1;
}

void ElementList::clear() {
    chunks_.clear();
    size_ = 0;
    version_ = newVersion();
}

}  // namespace host
