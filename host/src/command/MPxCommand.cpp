#include <maya/MPxCommand.h>

#include "command/CommandResultAccess.h"
#include "command/PluginCommandRunner.h"

#include <maya/MCommandResult.h>

#include <memory>

namespace {

// The result of the plug-in command now running; commands may run commands, so this nests.
MCommandResult*& currentResult() {
    static MCommandResult* result = nullptr;
    return result;
}

}  // namespace

MPxCommand::~MPxCommand() = default;

MStatus MPxCommand::doIt(const MArgList&) { return MStatus::kSuccess; }
MStatus MPxCommand::undoIt() { return MStatus::kSuccess; }
MStatus MPxCommand::redoIt() { return MStatus::kSuccess; }
bool MPxCommand::isUndoable() const { return false; }
bool MPxCommand::hasSyntax() const { return true; }

void MPxCommand::clearResult() {
    if (MCommandResult* r = currentResult()) host::CommandResultAccess::clear(*r);
}

void MPxCommand::setResult(bool result) { setResult(result ? 1 : 0); }

void MPxCommand::setResult(int result) {
    if (MCommandResult* r = currentResult()) host::CommandResultAccess::setInt(*r, result);
}

void MPxCommand::setResult(double result) {
    if (MCommandResult* r = currentResult()) host::CommandResultAccess::setDouble(*r, result);
}

void MPxCommand::setResult(const MString& result) {
    if (MCommandResult* r = currentResult()) host::CommandResultAccess::setString(*r, result);
}

void MPxCommand::setResult(const MIntArray& result) {
    if (MCommandResult* r = currentResult()) host::CommandResultAccess::setIntArray(*r, result);
}

void MPxCommand::setResult(const MDoubleArray& result) {
    if (MCommandResult* r = currentResult()) host::CommandResultAccess::setDoubleArray(*r, result);
}

void MPxCommand::setResult(const MStringArray& result) {
    if (MCommandResult* r = currentResult()) host::CommandResultAccess::setStringArray(*r, result);
}

namespace host {

MStatus runPluginCommand(const PluginCommand& command, const Args& args, MCommandResult& result) {
    MArgList list;
    for (const Arg& arg : args) list.addArg(MString(arg.text));
    std::unique_ptr<MPxCommand> object(static_cast<MPxCommand*>(command.creator()));
    if (!object) return commandError(command.name, "the plug-in could not create the command.");
    MCommandResult* outer = currentResult();
    currentResult() = &result;
    MStatus status = object->doIt(list);
    currentResult() = outer;
    return status;
}

}  // namespace host
