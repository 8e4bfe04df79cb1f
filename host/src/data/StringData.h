#ifndef HOST_STRINGDATA_H
#define HOST_STRINGDATA_H

#include "data/Data.h"

#include <maya/MString.h>

namespace host {

// Data holding one string.
class StringData : public Data {
public:
    StringData() = default;
    explicit StringData(const MString& text) : text(text) {}

    MFn::Type apiType() const override { return MFn::kStringData; }
    MFnData::Type dataType() const override { return MFnData::kString; }
    std::shared_ptr<Data> clone() const override { return std::make_shared<StringData>(text); }

    MString text;
};

}  // namespace host

#endif
