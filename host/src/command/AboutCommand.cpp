#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/QueryArgs.h"

#include <maya/MCommandResult.h>
#include <maya/MGlobal.h>

namespace host {

// about -batch: 1 when Maya runs without its interface (any state but the interactive one), else 0.
// about -version: the Maya version the host reports.
MStatus aboutCommand(const Args& args, MCommandResult& result) {
    const char* const command = "about";
    QueryArgs parsed;
    MStatus status = parseQueryArgs(command, args,
                                    {{"batch", "b", QueryFlag::Switch}, {"version", "v", QueryFlag::Switch}}, parsed);
    if (!status)
        return status;
    if (parsed.given.size() != 1 || !parsed.positional.empty())
        return commandError(command, "Give one of -batch and -version. Usage: about -batch | about -version");
    if (parsed.has("batch"))
        CommandResultAccess::setInt(result, MGlobal::mayaState() == MGlobal::kInteractive ? 0 : 1);
    else
        CommandResultAccess::setString(result, MGlobal::mayaVersion());
    return MStatus::kSuccess;
}

}  // namespace host
