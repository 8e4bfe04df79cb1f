#include "data/NumericData.h"

#include <climits>
#include <cmath>

namespace host {

unsigned NumericData::componentsOf(MFnNumericData::Type type) {
    switch (type) {
        case MFnNumericData::kBoolean:
        case MFnNumericData::kByte:
        case MFnNumericData::kChar:
        case MFnNumericData::kShort:
        case MFnNumericData::kLong:
        case MFnNumericData::kFloat:
        case MFnNumericData::kDouble:
        case MFnNumericData::kAddr:
            return 1;
        case MFnNumericData::k2Short:
        case MFnNumericData::k2Long:
        case MFnNumericData::k2Float:
        case MFnNumericData::k2Double:
            return 2;
        case MFnNumericData::k3Short:
        case MFnNumericData::k3Long:
        case MFnNumericData::k3Float:
        case MFnNumericData::k3Double:
            return 3;
        case MFnNumericData::k4Double:
            return 4;
        default:
            return 0;
    }
}

bool NumericData::isIntegral(MFnNumericData::Type type) {
    switch (type) {
        case MFnNumericData::kBoolean:
        case MFnNumericData::kByte:
        case MFnNumericData::kChar:
        case MFnNumericData::kShort:
        case MFnNumericData::k2Short:
        case MFnNumericData::k3Short:
        case MFnNumericData::kLong:
        case MFnNumericData::k2Long:
        case MFnNumericData::k3Long:
            return true;
        default:
            return false;
    }
}

void NumericData::store(unsigned i, double value) {
    if (i >= 4)
        return;
    if (type == MFnNumericData::kBoolean)
        value = (value != 0.0 && !std::isnan(value)) ? 1.0 : 0.0;
    else if (isIntegral(type))
        value = toInt(value);
    values[i] = value;
}

int toInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace host
