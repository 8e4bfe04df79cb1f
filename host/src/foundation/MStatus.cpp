#include <maya/MStatus.h>
#include <maya/MString.h>

#include <iostream>

namespace {

const char* statusText(MStatus::MStatusCode code) {
    switch (code) {
    case MStatus::kSuccess: return "Success";
    case MStatus::kFailure: return "Failure";
    case MStatus::kInsufficientMemory: return "Insufficient memory";
    case MStatus::kInvalidParameter: return "Invalid parameter";
    case MStatus::kLicenseFailure: return "License failure";
    case MStatus::kUnknownParameter: return "Unknown parameter";
    case MStatus::kNotImplemented: return "Not implemented";
    case MStatus::kNotFound: return "Not found";
    case MStatus::kEndOfFile: return "End of file";
    }
    return "Unknown status";
}

}  // namespace

MString MStatus::errorString() const {
    return MString(statusText(code_));
}

void MStatus::perror(const char* text) const {
    std::cerr << (text ? text : "") << ": " << statusText(code_) << '\n';
}

void MStatus::perror(const MString& text) const {
    perror(text.asChar());
}

std::ostream& operator<<(std::ostream& os, const MStatus& status) {
    return os << statusText(status.statusCode());
}
