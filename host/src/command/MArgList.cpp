#include <maya/MArgList.h>

#include "command/Args.h"

namespace {

void setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
}

}  // namespace

unsigned MArgList::length(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return static_cast<unsigned>(args_.size());
}

MString MArgList::asString(unsigned index, MStatus* status) const {
    if (index >= args_.size()) {
        setStatus(status, MStatus::kInvalidParameter);
        return MString();
    }
    setStatus(status, MStatus::kSuccess);
    return args_[index];
}

double MArgList::asDouble(unsigned index, MStatus* status) const {
    double value = 0.0;
    bool ok = index < args_.size() && host::parseDouble(args_[index].str(), value);
    setStatus(status, ok ? MStatus::kSuccess : MStatus::kInvalidParameter);
    return ok ? value : 0.0;
}

int MArgList::asInt(unsigned index, MStatus* status) const {
    int value = 0;
    bool ok = index < args_.size() && host::parseInt(args_[index].str(), value);
    setStatus(status, ok ? MStatus::kSuccess : MStatus::kInvalidParameter);
    return ok ? value : 0;
}

bool MArgList::asBool(unsigned index, MStatus* status) const {
    bool value = false;
    bool ok = index < args_.size() && host::parseBool(args_[index].str(), value);
    setStatus(status, ok ? MStatus::kSuccess : MStatus::kInvalidParameter);
    return ok && value;
}

bool MArgList::readNumbers(unsigned& index, unsigned count, double* out, MStatus* status) const {
    if (count == 0 || count > 4) {
        setStatus(status, MStatus::kInvalidParameter);
        return false;
    }
    for (unsigned k = 0; k < count; ++k) {
        // at < index: the sum wrapped around, which only an index near the top of the range does.
        unsigned at = index + k;
        if (at < index || at >= args_.size() || !host::parseDouble(args_[at].str(), out[k])) {
            index = at - 1;
            setStatus(status, MStatus::kInvalidParameter);
            return false;
        }
    }
    index += count - 1;
    setStatus(status, MStatus::kSuccess);
    return true;
}

MPoint MArgList::asPoint(unsigned& index, unsigned numElements, MStatus* status) const {
    double d[4] = {0.0, 0.0, 0.0, 1.0};
    if (!readNumbers(index, numElements, d, status)) return MPoint();
    return MPoint(d[0], d[1], d[2], d[3]);
}

MVector MArgList::asVector(unsigned& index, unsigned numElements, MStatus* status) const {
    double d[4] = {0.0, 0.0, 0.0, 0.0};
    if (numElements > 3 || !readNumbers(index, numElements, d, status)) {
        setStatus(status, MStatus::kInvalidParameter);
        return MVector();
    }
    return MVector(d[0], d[1], d[2]);
}

MArgList& MArgList::addArg(const MString& arg) {
    args_.push_back(arg);
    return *this;
}

MArgList& MArgList::addArg(double arg) {
    return addArg(MString() + arg);
}

MArgList& MArgList::addArg(int arg) {
    return addArg(MString() + arg);
}
