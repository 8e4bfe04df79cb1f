#ifndef HOST_NUMERICDATA_H
#define HOST_NUMERICDATA_H

#include "data/Data.h"

#include <maya/MFnNumericData.h>

namespace host {

// Data holding one to four numbers of one numeric type (a k3Double colour, a kLong, ...). Numbers are
// kept as doubles; integer and boolean types keep integral values (see store()).
class NumericData : public Data {
public:
    explicit NumericData(MFnNumericData::Type type) : type(type) {}

    MFn::Type apiType() const override { return MFn::kNumericData; }
    MFnData::Type dataType() const override { return MFnData::kNumeric; }
    std::shared_ptr<Data> clone() const override { return std::make_shared<NumericData>(*this); }

    // How many numbers the type has: 1 to 4, or 0 for kInvalid and kLast.
    unsigned components() const { return componentsOf(type); }
    // Stores value as component i, made integral for integer types and 0/1 for kBoolean.
    void store(unsigned i, double value);

    static unsigned componentsOf(MFnNumericData::Type type);
    static bool isIntegral(MFnNumericData::Type type);

    MFnNumericData::Type type;
    double values[4] = {0.0, 0.0, 0.0, 0.0};
};

// A double converted to int without undefined behaviour: truncated toward zero, clamped to the int
// range, NaN as 0.
int toInt(double value);

}  // namespace host

#endif
