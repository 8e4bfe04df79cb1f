#ifndef HOST_ARRAYDATA_H
#define HOST_ARRAYDATA_H

#include "data/Data.h"

#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MVectorArray.h>

#include <memory>
#include <vector>

namespace host {

// Data holding one value array (per-particle doubles, vectors or ints). The elements live in a shared
// vector so that an array can be handed out cheaply: shared() gives an array that writes through to the
// data, copy() one independent copy, and assign() replaces the elements in place (reusing capacity).
// A read-only view shares another array data's elements without copying them; through it nothing reaches
// them: its shared() is a copy, and assign() gives the view elements of its own.
template <typename T, typename Array, MFnData::Type DataKind, MFn::Type ApiKind>
class ArrayData : public Data {
public:
    ArrayData() : elements_(std::make_shared<std::vector<T>>()) {}
    explicit ArrayData(const Array& values) : elements_(std::make_shared<std::vector<T>>(values.hostVector())) {}

    MFn::Type apiType() const override { return ApiKind; }
    MFnData::Type dataType() const override { return DataKind; }
    std::shared_ptr<Data> clone() const override {
        auto copy = std::make_shared<ArrayData>();
        *copy->elements_ = *elements_;
        return copy;
    }
    std::shared_ptr<Data> readOnly(const std::shared_ptr<Data>&) const override {
        auto view = std::make_shared<ArrayData>();
        view->elements_ = elements_;
        view->view_ = true;
        return view;
    }
    bool isReadOnlyView() const override { return view_; }

    unsigned length() const { return static_cast<unsigned>(elements_->size()); }
    const std::vector<T>& elements() const { return *elements_; }

    // An independent copy of the elements.
    Array copy() const {
        Array out;
        out.hostVector() = *elements_;
        return out;
    }
    // An array that writes through to this data (a copy, for a view).
    Array shared() { return view_ ? copy() : Array::fromShared(elements_); }
    // Replaces the elements; assigning an array to itself (an alias of this data) changes nothing.
    void assign(const Array& values) {
        if (view_) {
            elements_ = std::make_shared<std::vector<T>>(values.hostVector());
            view_ = false;
        } else if (&values.hostVector() != elements_.get()) {
            *elements_ = values.hostVector();
        }
    }

private:
    std::shared_ptr<std::vector<T>> elements_;
    bool view_ = false;
};

using DoubleArrayData = ArrayData<double, MDoubleArray, MFnData::kDoubleArray, MFn::kDoubleArrayData>;
using VectorArrayData = ArrayData<MVector, MVectorArray, MFnData::kVectorArray, MFn::kVectorArrayData>;
using IntArrayData = ArrayData<int, MIntArray, MFnData::kIntArray, MFn::kIntArrayData>;

// New data objects, for the host's nodes, commands and tests.
MObject makeDoubleArrayData(const MDoubleArray& values = MDoubleArray());
MObject makeVectorArrayData(const MVectorArray& values = MVectorArray());
MObject makeIntArrayData(const MIntArray& values = MIntArray());

}  // namespace host

#endif
