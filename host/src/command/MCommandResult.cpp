#include <maya/MCommandResult.h>

#include "command/CommandResultAccess.h"

#include <cstdio>

// Reading a result as another type fails with kInvalidParameter, except that integer results also read
// as doubles (an int as a double, an int array as a double array). Reading an empty result fails.

MCommandResult::MCommandResult(MStatus* status) {
    if (status)
        *status = MStatus::kSuccess;
}

MCommandResult::Type MCommandResult::resultType(MStatus* status) const {
    if (status)
        *status = MStatus::kSuccess;
    return type_;
}

MStatus MCommandResult::getResult(int& result) const {
    if (type_ != kInt)
        return MStatus::kInvalidParameter;
    result = ints_[0];
    return MStatus::kSuccess;
}

MStatus MCommandResult::getResult(MIntArray& result) const {
    if (type_ != kIntArray)
        return MStatus::kInvalidParameter;
    result = ints_;
    return MStatus::kSuccess;
}

MStatus MCommandResult::getResult(double& result) const {
    if (type_ == kDouble) {
        result = doubles_[0];
        return MStatus::kSuccess;
    }
    if (type_ == kInt) {
        result = ints_[0];
        return MStatus::kSuccess;
    }
    return MStatus::kInvalidParameter;
}

MStatus MCommandResult::getResult(MDoubleArray& result) const {
    if (type_ == kDoubleArray) {
        result = doubles_;
        return MStatus::kSuccess;
    }
    if (type_ == kIntArray) {
        MDoubleArray converted;
        for (unsigned i = 0; i < ints_.length(); ++i)
            converted.append(ints_[i]);
        result = converted;
        return MStatus::kSuccess;
    }
    return MStatus::kInvalidParameter;
}

MStatus MCommandResult::getResult(MString& result) const {
    if (type_ != kString)
        return MStatus::kInvalidParameter;
    result = strings_[0];
    return MStatus::kSuccess;
}

MStatus MCommandResult::getResult(MStringArray& result) const {
    if (type_ != kStringArray)
        return MStatus::kInvalidParameter;
    result = strings_;
    return MStatus::kSuccess;
}

namespace host {

void CommandResultAccess::clear(MCommandResult& r) {
    r.type_ = MCommandResult::kInvalid;
    r.ints_.clear();
    r.doubles_.clear();
    r.strings_.clear();
}

void CommandResultAccess::setInt(MCommandResult& r, int value) {
    clear(r);
    r.type_ = MCommandResult::kInt;
    r.ints_.append(value);
}

void CommandResultAccess::setDouble(MCommandResult& r, double value) {
    clear(r);
    r.type_ = MCommandResult::kDouble;
    r.doubles_.append(value);
}

void CommandResultAccess::setString(MCommandResult& r, const MString& value) {
    clear(r);
    r.type_ = MCommandResult::kString;
    r.strings_.append(value);
}

void CommandResultAccess::setIntArray(MCommandResult& r, const MIntArray& values) {
    clear(r);
    r.type_ = MCommandResult::kIntArray;
    r.ints_ = values;
}

void CommandResultAccess::setDoubleArray(MCommandResult& r, const MDoubleArray& values) {
    clear(r);
    r.type_ = MCommandResult::kDoubleArray;
    r.doubles_ = values;
}

void CommandResultAccess::setStringArray(MCommandResult& r, const MStringArray& values) {
    clear(r);
    r.type_ = MCommandResult::kStringArray;
    r.strings_ = values;
}

namespace {

std::string numberText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    // The shortest form of at least 6 significant digits that reads back the same (so 20 is "20", not
    // "2e+01").
    for (int precision = 6; precision < 17; ++precision) {
        char shorter[64];
        std::snprintf(shorter, sizeof shorter, "%.*g", precision, value);
        double back = 0.0;
        if (std::sscanf(shorter, "%lf", &back) == 1 && back == value)
            return shorter;
    }
    return buffer;
}

}  // namespace

std::string CommandResultAccess::text(const MCommandResult& r) {
    std::string out;
    bool first = true;
    auto add = [&out, &first](const std::string& item) {
        if (!first)
            out += ' ';
        out += item;
        first = false;
    };
    switch (r.type_) {
        case MCommandResult::kInt:
        case MCommandResult::kIntArray:
            for (unsigned i = 0; i < r.ints_.length(); ++i)
                add(std::to_string(r.ints_[i]));
            break;
        case MCommandResult::kDouble:
        case MCommandResult::kDoubleArray:
            for (unsigned i = 0; i < r.doubles_.length(); ++i)
                add(numberText(r.doubles_[i]));
            break;
        case MCommandResult::kString:
        case MCommandResult::kStringArray:
            for (unsigned i = 0; i < r.strings_.length(); ++i)
                add(r.strings_[i].str());
            break;
        default:
            break;
    }
    return out;
}

}  // namespace host
