#include "command/Builtins.h"
#include "command/CommandResultAccess.h"

#include <maya/MCommandResult.h>
#include <maya/MTime.h>
#include <maya/MTypes.h>  // drand48 and srand48 where the C runtime has none

#include <cstdlib>

// currentUnit -time and seed: the two host-wide settings that emission depends on.

namespace host {

namespace {

struct TimeUnitName {
    const char* name;
    const char* rate;  // the "<n>fps" spelling, or null
    MTime::Unit unit;
};

const TimeUnitName timeUnitNames[] = {
    {"hour", nullptr, MTime::kHours},     {"min", nullptr, MTime::kMinutes},
    {"sec", nullptr, MTime::kSeconds},    {"millisec", nullptr, MTime::kMilliseconds},
    {"game", "15fps", MTime::kGames},     {"film", "24fps", MTime::kFilm},
    {"pal", "25fps", MTime::kPALFrame},   {"ntsc", "30fps", MTime::kNTSCFrame},
    {"show", "48fps", MTime::kShowScan},  {"palf", "50fps", MTime::kPALField},
    {"ntscf", "60fps", MTime::kNTSCField},
};

}  // namespace

// currentUnit -time <unit>: sets the UI time unit that MTime::uiUnit reports (film, ntsc, pal, game,
// show, palf, ntscf, or their "<n>fps" spellings, and hour, min, sec, millisec). The scene's current
// time stays the same instant, so its frame number changes with the unit. currentUnit -q -time gives
// the unit's name. Linear and angular units are not kept by the host.
MStatus currentUnitCommand(const Args& args, MCommandResult& result) {
    const char* const command = "currentUnit";
    const char* const usage = "currentUnit -time <unit> or currentUnit -q -time";
    ParsedArgs parsed;
    const bool query = !args.empty() && (args[0].text == "-q" || args[0].text == "-query");
    MStatus status = parseArgs(command, args, {{"query", "q", 0}, {"time", "t", query ? 0 : 1}}, parsed);
    if (status)
        status = expectCount(command, parsed, 0, 0, usage);
    if (!status)
        return status;
    if (!parsed.has("time"))
        return commandError(command, std::string("Only the time unit is kept. Usage: ") + usage);
    if (parsed.has("query")) {
        for (const TimeUnitName& entry : timeUnitNames)
            if (entry.unit == MTime::uiUnit()) {
                CommandResultAccess::setString(result, MString(entry.name));
                return MStatus::kSuccess;
            }
        CommandResultAccess::setString(result, MString(""));
        return MStatus::kSuccess;
    }
    const std::string name = parsed.value("time");
    for (const TimeUnitName& entry : timeUnitNames) {
        if (name == entry.name || (entry.rate && name == entry.rate)) {
            MTime::setUIUnit(entry.unit);
            CommandResultAccess::setString(result, MString(entry.name));
            return MStatus::kSuccess;
        }
    }
    return commandError(command, quoted(name) + " is not a time unit (film, ntsc, pal, game, show, palf, ntscf, "
                                                "hour, min, sec, millisec or <n>fps).");
}

// seed <n>: seeds the process's drand48 stream (srand48), which emitters draw from, so that a scene
// plays the same particles each time. The result is the seed.
MStatus seedCommand(const Args& args, MCommandResult& result) {
    const char* const command = "seed";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args, {}, parsed);
    if (status)
        status = expectCount(command, parsed, 1, 1, "seed <integer>");
    if (!status)
        return status;
    int value = 0;
    if (!parseInt(parsed.positional[0].text, value))
        return commandError(command, quoted(parsed.positional[0].text) + " is not an integer.");
    srand48(value);
    CommandResultAccess::setInt(result, value);
    return MStatus::kSuccess;
}

}  // namespace host
