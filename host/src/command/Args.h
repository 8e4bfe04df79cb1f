#ifndef HOST_ARGS_H
#define HOST_ARGS_H

#include <maya/MStatus.h>

#include <map>
#include <string>
#include <vector>

namespace host {

// One argument of a command, after back-quoted commands have been replaced by their results.
struct Arg {
    std::string text;
    bool quoted = false;
};
using Args = std::vector<Arg>;

// Shows "<command>: <message>" with MGlobal::displayError and returns code (a failed command returns
// kFailure, as MGlobal::executeCommand does for any MEL error).
MStatus commandError(const std::string& command, const std::string& message,
                     MStatus code = MStatus::kFailure);

// Whole-text conversions; leading or trailing junk, empty text, overflow and non-finite values fail.
bool parseDouble(const std::string& text, double& value);
bool parseInt(const std::string& text, int& value);
// true/false, on/off, yes/no, 1/0.
bool parseBool(const std::string& text, bool& value);

// An unquoted word starting with '-' that is not a number.
bool isFlag(const Arg& arg);

struct FlagDef {
    const char* longName;
    const char* shortName;
    int valueCount;  // words taken after the flag
};

// Flags (by long name) and the remaining positional arguments, in order.
struct ParsedArgs {
    std::map<std::string, std::vector<std::string>> flags;
    Args positional;

    bool has(const std::string& longName) const { return flags.count(longName) != 0; }
    // The flag's first value, or "" when absent.
    std::string value(const std::string& longName) const;
};

// Separates flags from positional arguments. An unknown flag, a flag given twice and a flag without
// enough values are errors named after the command. Once stopAfter positional arguments have been seen
// (when stopAfter > 0), the rest is positional whatever it looks like.
MStatus parseArgs(const std::string& command, const Args& args, const std::vector<FlagDef>& definitions,
                  ParsedArgs& out, size_t stopAfter = 0);

// The positional count must be in [min, max]; otherwise an error that says what the command expects.
MStatus expectCount(const std::string& command, const ParsedArgs& parsed, size_t min, size_t max,
                    const std::string& usage);

// Quotes a name for messages: 'name'.
std::string quoted(const std::string& text);

}  // namespace host

#endif
