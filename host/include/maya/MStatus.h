#ifndef MSTATUS_H
#define MSTATUS_H

#include <iosfwd>

class MString;

// Result of an API call. Codes compare exactly; errorString() gives a fixed text per code.
class MStatus {
public:
    enum MStatusCode {
        kSuccess = 0,
        kFailure = 1,
        kInsufficientMemory = 2,
        kInvalidParameter = 3,
        kLicenseFailure = 4,
        kUnknownParameter = 5,
        kNotImplemented = 6,
        kNotFound = 7,
        kEndOfFile = 8
    };

    MStatus() : code_(kSuccess) {}
    MStatus(MStatusCode code) : code_(code) {}

    bool operator==(const MStatus& other) const { return code_ == other.code_; }
    bool operator==(MStatusCode code) const { return code_ == code; }
    bool operator!=(const MStatus& other) const { return code_ != other.code_; }
    bool operator!=(MStatusCode code) const { return code_ != code; }
    explicit operator bool() const { return code_ == kSuccess; }

    MStatusCode statusCode() const { return code_; }
    MString errorString() const;
    // Writes "<text>: <error string>" and a line end to standard error.
    void perror(const char* text) const;
    void perror(const MString& text) const;

private:
    MStatusCode code_;
};

namespace MS {
using MStatusCode = MStatus::MStatusCode;
constexpr MStatusCode kSuccess = MStatus::kSuccess;
constexpr MStatusCode kFailure = MStatus::kFailure;
constexpr MStatusCode kInsufficientMemory = MStatus::kInsufficientMemory;
constexpr MStatusCode kInvalidParameter = MStatus::kInvalidParameter;
constexpr MStatusCode kLicenseFailure = MStatus::kLicenseFailure;
constexpr MStatusCode kUnknownParameter = MStatus::kUnknownParameter;
constexpr MStatusCode kNotImplemented = MStatus::kNotImplemented;
constexpr MStatusCode kNotFound = MStatus::kNotFound;
constexpr MStatusCode kEndOfFile = MStatus::kEndOfFile;
}  // namespace MS

std::ostream& operator<<(std::ostream& os, const MStatus& status);

#endif
