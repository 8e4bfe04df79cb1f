#ifndef HOST_SCRIPT_LANGUAGE_H
#define HOST_SCRIPT_LANGUAGE_H

#include <maya/MStatus.h>

#include <memory>
#include <string>

class MCommandResult;

namespace host {

// Runs command-language text: checks the whole text first (a syntax error runs nothing), then reads and
// runs one top-level statement at a time. Each top-level statement is journaled. The result is the last
// top-level statement's. path names the file for error reports ("" for text that is not a file).
MStatus runText(std::shared_ptr<const std::string> text, const std::string& path, MCommandResult* result);

// Where the last failure happened: the file ("" for text) and line of the innermost failing statement.
struct FailurePlace {
    std::string path;
    int line = 0;
    std::string syntaxError;  // the message, when the failure is a syntax error
};
FailurePlace lastFailurePlace();

}  // namespace host

#endif
