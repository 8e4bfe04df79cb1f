#ifndef HOST_ARRAYATTRSDATA_H
#define HOST_ARRAYATTRSDATA_H

#include "data/Data.h"

#include <maya/MDoubleArray.h>
#include <maya/MFnArrayAttrsData.h>
#include <maya/MIntArray.h>
#include <maya/MStringArray.h>
#include <maya/MVectorArray.h>

#include <memory>
#include <string>
#include <vector>

namespace host {

// Named arrays of four kinds (an emitter's output: "position", "velocity", "parentU", ...), kept in the
// order the names were first made. Each array lives in its own shared vector, so an array handed out
// for a name keeps writing into this data; removing the names (clear) detaches such arrays without
// leaving them dangling.
class ArrayAttrsData : public Data {
public:
    struct Entry {
        std::string name;
        MFnArrayAttrsData::Type kind = MFnArrayAttrsData::kInvalid;
        std::shared_ptr<std::vector<MVector>> vectors;
        std::shared_ptr<std::vector<double>> doubles;
        std::shared_ptr<std::vector<int>> ints;
        std::shared_ptr<std::vector<MString>> strings;
        unsigned length() const;
    };

    MFn::Type apiType() const override { return MFn::kDynArrayAttrsData; }
    MFnData::Type dataType() const override { return MFnData::kDynArrayAttrs; }
    std::shared_ptr<Data> clone() const override;

    Entry* find(const std::string& name);
    const Entry* find(const std::string& name) const;
    // The entry of that name, made (empty, of that kind) when missing; null when the name exists with
    // another kind.
    Entry* fetch(const std::string& name, MFnArrayAttrsData::Type kind);

    std::vector<Entry> entries;
};

}  // namespace host

#endif
