#include "data/ArrayData.h"

namespace host {

MObject makeDoubleArrayData(const MDoubleArray& values) {
    return MObject(std::make_shared<DoubleArrayData>(values));
}

MObject makeVectorArrayData(const MVectorArray& values) {
    return MObject(std::make_shared<VectorArrayData>(values));
}

MObject makeIntArrayData(const MIntArray& values) {
    return MObject(std::make_shared<IntArrayData>(values));
}

}  // namespace host
