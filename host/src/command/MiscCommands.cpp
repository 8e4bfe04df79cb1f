#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/RunBudget.h"
#include "graph/Scene.h"

#include <maya/MCommandResult.h>
#include <maya/MTime.h>

#include <iostream>

namespace host {

// currentTime [t]: sets the time, in the UI unit; without a value (or with -q) the result is the current
// time in the UI unit.
MStatus currentTimeCommand(const Args& args, MCommandResult& result) {
    const char* const command = "currentTime";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args, {{"query", "q", 0}, {"edit", "e", 0}}, parsed);
    if (status)
        status = expectCount(command, parsed, 0, parsed.has("query") ? 0 : 1,
                             "currentTime [<time>] or currentTime -q");
    if (!status)
        return status;
    if (!parsed.positional.empty()) {
        double value = 0.0;
        if (!parseDouble(parsed.positional[0].text, value))
            return commandError(command, quoted(parsed.positional[0].text) + " is not a time.");
        if (!spendFrames(1))
            return commandError(command, "the run's frame budget is spent.");
        setCurrentTime(MTime(value, MTime::uiUnit()));
    }
    CommandResultAccess::setDouble(result, currentTime().as(MTime::uiUnit()));
    return MStatus::kSuccess;
}

// print text...: writes its arguments to standard output with no line end of its own. A bare "+" joins
// its neighbours ("a" + "b" prints ab); other arguments are separated by one blank.
MStatus printCommand(const Args& args, MCommandResult&) {
    if (args.empty())
        return commandError("print", "Missing argument. Usage: print <text>...");
    std::string text;
    bool join = true;
    for (const Arg& arg : args) {
        if (!arg.quoted && arg.text == "+") {
            join = true;
            continue;
        }
        if (!join)
            text += ' ';
        text += arg.text;
        join = false;
    }
    std::cout << text;
    std::cout.flush();
    return MStatus::kSuccess;
}

}  // namespace host
