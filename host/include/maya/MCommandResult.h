#ifndef MCOMMANDRESULT_H
#define MCOMMANDRESULT_H

#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

namespace host {
struct CommandResultAccess;
}

// The result of a command run through MGlobal::executeCommand.
class MCommandResult {
public:
    enum Type { kInvalid = 0, kInt, kIntArray, kDouble, kDoubleArray, kString, kStringArray, kLast };

    MCommandResult(MStatus* status = nullptr);

    Type resultType(MStatus* status = nullptr) const;
    MStatus getResult(int& result) const;
    MStatus getResult(MIntArray& result) const;
    MStatus getResult(double& result) const;
    MStatus getResult(MDoubleArray& result) const;
    MStatus getResult(MString& result) const;
    MStatus getResult(MStringArray& result) const;

private:
    friend struct host::CommandResultAccess;
    Type type_ = kInvalid;
    MIntArray ints_;
    MDoubleArray doubles_;
    MStringArray strings_;
};

#endif
