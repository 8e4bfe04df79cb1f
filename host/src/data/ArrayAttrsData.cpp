#include "data/ArrayAttrsData.h"

namespace host {

namespace {

template <typename T>
std::shared_ptr<std::vector<T>> copyOf(const std::shared_ptr<std::vector<T>>& p) {
    return p ? std::make_shared<std::vector<T>>(*p) : nullptr;
}

}  // namespace

unsigned ArrayAttrsData::Entry::length() const {
    size_t n = 0;
    if (vectors)
        n = vectors->size();
    else if (doubles)
        n = doubles->size();
    else if (ints)
        n = ints->size();
    else if (strings)
        n = strings->size();
    return static_cast<unsigned>(n);
}

std::shared_ptr<Data> ArrayAttrsData::clone() const {
    auto copy = std::make_shared<ArrayAttrsData>();
    for (const Entry& e : entries) {
        Entry c;
        c.name = e.name;
        c.kind = e.kind;
        c.vectors = copyOf(e.vectors);
        c.doubles = copyOf(e.doubles);
        c.ints = copyOf(e.ints);
        c.strings = copyOf(e.strings);
        copy->entries.push_back(std::move(c));
    }
    return copy;
}

ArrayAttrsData::Entry* ArrayAttrsData::find(const std::string& name) {
    for (Entry& e : entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

const ArrayAttrsData::Entry* ArrayAttrsData::find(const std::string& name) const {
    for (const Entry& e : entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

ArrayAttrsData::Entry* ArrayAttrsData::fetch(const std::string& name, MFnArrayAttrsData::Type kind) {
    if (Entry* e = find(name))
        return e->kind == kind ? e : nullptr;
    Entry e;
    e.name = name;
    e.kind = kind;
    switch (kind) {
        case MFnArrayAttrsData::kVectorArray:
            e.vectors = std::make_shared<std::vector<MVector>>();
            break;
        case MFnArrayAttrsData::kDoubleArray:
            e.doubles = std::make_shared<std::vector<double>>();
            break;
        case MFnArrayAttrsData::kIntArray:
            e.ints = std::make_shared<std::vector<int>>();
            break;
        case MFnArrayAttrsData::kStringArray:
            e.strings = std::make_shared<std::vector<MString>>();
            break;
        default:
            return nullptr;
    }
    entries.push_back(std::move(e));
    return &entries.back();
}

}  // namespace host
