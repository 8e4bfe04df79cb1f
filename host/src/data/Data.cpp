#include "data/Data.h"

namespace host {

MFnData::Type dataTypeOf(const MObject& object) {
    auto data = std::dynamic_pointer_cast<Data>(object.impl());
    return data ? data->dataType() : MFnData::kInvalid;
}

}  // namespace host
