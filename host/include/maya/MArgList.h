#ifndef MARGLIST_H
#define MARGLIST_H

#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MVector.h>

#include <vector>

// The raw arguments of a command, as the command language hands them to a plug-in command registered
// without a syntax object: one word per argument, back-quoted commands already replaced by their results.
//
// Host choices:
// - An index at or past length() fails with kInvalidParameter; asString then returns "".
// - A number is decimal text as a whole word ("1", "-2.5", "3e2"); anything else fails asDouble and
//   asInt with kInvalidParameter (asInt also fails for a fraction or a value out of int range).
// - asPoint and asVector read numElements numbers (1 to 4; a point's w is 1 unless a fourth is read) from
//   index on. On success the index is left on the LAST number read, so that a caller's own "move past
//   this argument" step lands on the next flag. On failure the index is left just before the first
//   argument that is not a number (the one past the end when the list ran out), the status is
//   kInvalidParameter and the result is the origin (w 1), the zero vector for asVector.
class MArgList {
public:
    MArgList() = default;

    unsigned length(MStatus* status = nullptr) const;
    MString asString(unsigned index, MStatus* status = nullptr) const;
    double asDouble(unsigned index, MStatus* status = nullptr) const;
    int asInt(unsigned index, MStatus* status = nullptr) const;
    bool asBool(unsigned index, MStatus* status = nullptr) const;
    MPoint asPoint(unsigned& index, unsigned numElements = 3, MStatus* status = nullptr) const;
    MVector asVector(unsigned& index, unsigned numElements = 3, MStatus* status = nullptr) const;

    MArgList& addArg(const MString& arg);
    MArgList& addArg(double arg);
    MArgList& addArg(int arg);

private:
    bool readNumbers(unsigned& index, unsigned count, double* out, MStatus* status) const;
    std::vector<MString> args_;
};

#endif
