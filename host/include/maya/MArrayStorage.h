#ifndef MARRAYSTORAGE_H
#define MARRAYSTORAGE_H

#include <maya/MStatus.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <type_traits>
#include <utility>
#include <vector>

// Host-only helper, not a Maya class: the common implementation of the value arrays (MDoubleArray,
// MVectorArray, ...). Each array class derives from ValueArray<T, Itself> and names itself with a static
// className() for error messages.
//
// Storage is a std::shared_ptr<std::vector<T>>. An ordinary array owns its vector alone, and copy
// construction and copy assignment copy the elements (Maya's value semantics). A host data object can hand
// out an array built with fromShared(): that array writes through to the data object's vector. Assigning
// into such an array copies the elements into the shared vector, so it stays attached; copying it makes an
// independent array. Move construction takes the storage as it is (aliased or not) and never copies, so
// containers of arrays grow cheaply; the moved-from array is left empty. Move assignment takes the vector
// when nobody else shares it and otherwise copies, as assignment into an alias must.
//
// operator[] checks its index: an index past the end prints the class, the index and the length to stderr
// and aborts. insert, remove and set with a bad index return kFailure and change nothing.
namespace host {

[[noreturn]] void arrayIndexFault(const char* className, unsigned index, unsigned length);

// Selects the aliasing constructor of a value array.
struct SharedStorageTag {};

template <typename T, typename Array>
class ValueArray {
public:
    ValueArray() : p_(std::make_shared<std::vector<T>>()) {}
    explicit ValueArray(unsigned count, const T& init = T()) : p_(std::make_shared<std::vector<T>>(count, init)) {}
    ValueArray(const T* values, unsigned count) : p_(std::make_shared<std::vector<T>>()) {
        if (values)
            p_->assign(values, values + count);
    }
    // Host-only: an array that writes through to storage; a null pointer gives an ordinary empty array.
    ValueArray(SharedStorageTag, std::shared_ptr<std::vector<T>> storage) : p_(std::move(storage)) {
        if (!p_)
            p_ = std::make_shared<std::vector<T>>();
    }
    ValueArray(const ValueArray& other) : p_(std::make_shared<std::vector<T>>(*other.p_)) {}
    ValueArray(ValueArray&& other) noexcept : p_(std::move(other.p_)) {
        other.p_ = std::make_shared<std::vector<T>>();
    }
    ValueArray& operator=(const ValueArray& other) {
        if (p_ != other.p_)
            *p_ = *other.p_;
        return *this;
    }
    ValueArray& operator=(ValueArray&& other) noexcept {
        if (p_ == other.p_)
            return *this;
        if (other.p_.use_count() == 1) {
            *p_ = std::move(*other.p_);
            other.p_->clear();
        } else {
            *p_ = *other.p_;
        }
        return *this;
    }
    ~ValueArray() = default;

    unsigned length() const { return static_cast<unsigned>(p_->size()); }

    // The check compares against the vector itself and leaves the report to a cold out-of-line call, so
    // that a loop over a fixed-length array can keep the length in a register.
    const T& operator[](unsigned index) const {
        const std::vector<T>& v = *p_;
        if (__builtin_expect(index >= v.size(), 0))
            indexFault(index);
        return v[index];
    }
    T& operator[](unsigned index) {
        std::vector<T>& v = *p_;
        if (__builtin_expect(index >= v.size(), 0))
            indexFault(index);
        return v[index];
    }

    // Values of plain types are stored straight into the vector, and the growing call takes its own copy:
    // a value made in registers is then not first written to the stack and read back whole (which stalls
    // when it was written in parts, as a point narrowed from doubles is). The copy also keeps an element
    // of the array itself valid while the storage moves.
    MStatus append(const T& value) {
        std::vector<T>& v = *p_;
        if constexpr (std::is_trivially_copyable_v<T>) {
            if (__builtin_expect(v.size() == v.capacity(), 0)) {
                growAndAppend(v, value);
            } else {
                v.emplace_back();
                v.back() = value;
            }
        } else {
            v.push_back(value);
        }
        return MStatus::kSuccess;
    }
    // Inserts before index; index == length() appends.
    MStatus insert(const T& value, unsigned index) {
        if (index > p_->size())
            return MStatus::kFailure;
        p_->insert(p_->begin() + index, value);
        return MStatus::kSuccess;
    }
    MStatus remove(unsigned index) {
        if (index >= p_->size())
            return MStatus::kFailure;
        p_->erase(p_->begin() + index);
        return MStatus::kSuccess;
    }
    MStatus set(const T& value, unsigned index) {
        if (index >= p_->size())
            return MStatus::kFailure;
        (*p_)[index] = value;
        return MStatus::kSuccess;
    }
    // New elements are default-constructed (0, the origin, the zero vector, the empty string).
    MStatus setLength(unsigned length) {
        p_->resize(length);
        return MStatus::kSuccess;
    }
    MStatus clear() {
        p_->clear();
        return MStatus::kSuccess;
    }
    MStatus copy(const Array& source) {
        *this = source;
        return MStatus::kSuccess;
    }
    // Copies all elements to values, which must hold length() elements.
    MStatus get(T* values) const {
        if (!values)
            return MStatus::kInvalidParameter;
        std::copy(p_->begin(), p_->end(), values);
        return MStatus::kSuccess;
    }
    // Makes room for that many more elements at once, so that the appends that follow do not reallocate
    // (the request is a hint: one that cannot be met is ignored). Later growth is the vector's.
    void setSizeIncrement(unsigned increment) {
        try {
            p_->reserve(p_->size() + increment);
        } catch (...) {
        }
    }
    unsigned sizeIncrement() const { return 1; }

    // Host-only: the vector behind this array (shared with a data object if the array aliases one).
    std::vector<T>& hostVector() { return *p_; }
    const std::vector<T>& hostVector() const { return *p_; }
    const std::shared_ptr<std::vector<T>>& hostStorage() const { return p_; }

    // Host-only: an array that writes through to the given vector. A null pointer gives an ordinary empty
    // array. Return the result as a prvalue (`return MVectorArray::fromShared(p);`) so that C++17 copy
    // elision keeps the alias: a named local returned by value may be copied.
    static Array fromShared(std::shared_ptr<std::vector<T>> storage) {
        return Array(SharedStorageTag(), std::move(storage));
    }

private:
    __attribute__((noinline, cold)) static void growAndAppend(std::vector<T>& v, T value) { v.push_back(value); }
    [[noreturn]] __attribute__((noinline, cold)) void indexFault(unsigned index) const {
        arrayIndexFault(Array::className(), index, length());
    }

    std::shared_ptr<std::vector<T>> p_;
};

// Prints "[a, b, c]".
template <typename T, typename Array>
std::ostream& operator<<(std::ostream& os, const ValueArray<T, Array>& array) {
    os << '[';
    const std::vector<T>& v = array.hostVector();
    for (size_t i = 0; i < v.size(); ++i) {
        if (i)
            os << ", ";
        os << v[i];
    }
    return os << ']';
}

}  // namespace host

#endif
