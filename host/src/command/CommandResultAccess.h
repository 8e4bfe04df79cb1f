#ifndef HOST_COMMANDRESULTACCESS_H
#define HOST_COMMANDRESULTACCESS_H

#include <maya/MCommandResult.h>

#include <string>

namespace host {

// How host commands store their result in an MCommandResult. Each setter replaces the previous result.
struct CommandResultAccess {
    static void clear(MCommandResult& r);
    static void setInt(MCommandResult& r, int value);
    static void setDouble(MCommandResult& r, double value);
    static void setString(MCommandResult& r, const MString& value);
    static void setIntArray(MCommandResult& r, const MIntArray& values);
    static void setDoubleArray(MCommandResult& r, const MDoubleArray& values);
    static void setStringArray(MCommandResult& r, const MStringArray& values);
    // The result as text, the way a back-quoted command or print shows it: numbers in shortest form,
    // array elements separated by blanks.
    static std::string text(const MCommandResult& r);
};

}  // namespace host

#endif
