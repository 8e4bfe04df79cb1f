#ifndef HOST_INTERPRETER_H
#define HOST_INTERPRETER_H

#include "command/Parser.h"

#include <maya/MStatus.h>

class MCommandResult;

namespace host {

// Runs one parsed statement: journals its text, replaces back-quoted words by their commands' results,
// then runs the built-in command, plug-in command or defined procedure of that name. An unknown name fails
// with "Cannot find procedure \"NAME\".".
MStatus runStatement(const Statement& statement, MCommandResult& result);

}  // namespace host

#endif
