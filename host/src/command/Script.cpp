#include "command/CommandResultAccess.h"
#include "command/Interpreter.h"
#include "command/Journal.h"
#include "command/Parser.h"

#include <host/Host.h>
#include <maya/MCommandResult.h>
#include <maya/MGlobal.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include <sys/stat.h>

// A script runs statement by statement. The first failing statement stops it; its error is written to
// standard error as "<file>:<line>: <message>" (after the command's own "// Error:" line), where the
// message is the last error the statement displayed. A syntax error anywhere in the file stops the
// script before anything runs.

namespace host {

namespace {

MStatus scriptError(const std::string& path, int line, const std::string& message) {
    std::string text = path + ":" + std::to_string(line) + ": " + message;
    std::cerr << text << std::endl;
    return MStatus::kFailure;
}

}  // namespace

MStatus runScript(const std::string& path) {
    struct stat info {};
    bool directory = ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    std::ifstream in(path, std::ios::binary);
    if (!in || directory) {
        MGlobal::displayError(MString("Cannot open the script file \"" + path + "\"" +
                                      (directory ? ": it is a directory." : ".")));
        return MStatus::kFailure;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        MGlobal::displayError(MString("Cannot read the script file \"" + path + "\"."));
        return MStatus::kFailure;
    }

    ParseError error;
    std::vector<Statement> statements = parseCommands(content.str(), error);
    if (error.line != 0) {
        MGlobal::displayError(MString("Syntax error: " + error.message));
        return scriptError(path, error.line, "syntax error: " + error.message);
    }
    for (const Statement& statement : statements) {
        size_t mark = journalSize();
        MCommandResult result;
        MStatus status = runStatement(statement, result);
        if (!status) {
            std::string message = lastErrorSince(mark);
            if (message.empty())
                message = "\"" + statement.text + "\" failed (" + status.errorString().str() + ")";
            scriptError(path, statement.line, message);
            return status;
        }
    }
    return MStatus::kSuccess;
}

}  // namespace host
