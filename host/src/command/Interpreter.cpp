#include "command/Interpreter.h"

#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/Journal.h"
#include "command/PluginCommandRunner.h"
#include "plugin/CommandRegistry.h"

#include <host/Host.h>
#include <maya/MCommandResult.h>
#include <maya/MGlobal.h>

#include <set>

namespace host {

namespace {

std::set<std::string>& procedures() {
    static std::set<std::string> names;
    return names;
}

// Back-quoted words become the text of their command's result; they are never flags.
MStatus resolveArgs(const Statement& statement, Args& args) {
    for (size_t i = 1; i < statement.tokens.size(); ++i) {
        const Token& token = statement.tokens[i];
        Arg arg;
        arg.text = token.text;
        arg.quoted = token.kind != Token::Word;
        if (token.kind == Token::Nested) {
            MCommandResult nested;
            MStatus status = execute(token.text, &nested);
            if (!status)
                return status;
            arg.text = CommandResultAccess::text(nested);
        }
        args.push_back(arg);
    }
    return MStatus::kSuccess;
}

MStatus dispatch(const Statement& statement, MCommandResult& result) {
    const Token& first = statement.tokens.front();
    const std::string& name = first.text;
    BuiltinCommand builtin = first.kind == Token::Word ? findBuiltinCommand(name) : nullptr;
    const PluginCommand* pluginCommand = first.kind == Token::Word ? findPluginCommand(name) : nullptr;
    bool procedure = first.kind == Token::Word && procedures().count(name) != 0;
    if (!builtin && !pluginCommand && !procedure) {
        MGlobal::displayError(MString("Cannot find procedure \"" + name + "\"."));
        return MStatus::kFailure;
    }
    Args args;
    MStatus status = resolveArgs(statement, args);
    if (!status)
        return status;
    if (builtin)
        return builtin(args, result);
    if (pluginCommand)
        return runPluginCommand(*pluginCommand, args, result);
    return MStatus::kSuccess;
}

}  // namespace

MStatus runStatement(const Statement& statement, MCommandResult& result) {
    CommandResultAccess::clear(result);
    size_t entry = journalCommandStart(statement.text);
    MStatus status = dispatch(statement, result);
    journalCommandEnd(entry, status);
    return status;
}

MStatus execute(const std::string& text, MCommandResult* result) {
    MCommandResult local;
    MCommandResult& out = result ? *result : local;
    CommandResultAccess::clear(out);
    ParseError error;
    std::vector<Statement> statements = parseCommands(text, error);
    if (error.line != 0) {
        size_t entry = journalCommandStart(text);
        MGlobal::displayError(MString("Syntax error on line " + std::to_string(error.line) + ": " + error.message));
        journalCommandEnd(entry, MStatus::kFailure);
        return MStatus::kFailure;
    }
    for (const Statement& statement : statements) {
        MStatus status = runStatement(statement, out);
        if (!status)
            return status;
    }
    return MStatus::kSuccess;
}

void defineProcedure(const std::string& name) { procedures().insert(name); }

}  // namespace host
