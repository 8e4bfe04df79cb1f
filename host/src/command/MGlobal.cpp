#include <maya/MGlobal.h>

#include <maya/MCommandResult.h>

#include "command/Journal.h"

#include <host/Host.h>

#include <cstdlib>
#include <iostream>

// State: the host runtime starts in kBatch (a scene script runs without a user interface, so the plug-ins'
// menu procedures are not run); the host executable and the tests switch it with host::setMayaState.
// Version: "2026" unless set; apiVersion() derives from it (see below).
//
// Messages: every displayError/displayWarning/displayInfo text is journaled. Errors are also written to
// standard error as "// Error: <text>", warnings as "// Warning: <text>"; info texts go to standard
// output as "<text>", each on its own line.

namespace {

MGlobal::MMayaState& state() {
    static MGlobal::MMayaState value = MGlobal::kBatch;
    return value;
}

std::string& version() {
    static std::string value = "2026";
    return value;
}

}  // namespace

namespace host {

void setMayaState(MGlobal::MMayaState value) { state() = value; }

void setMayaVersion(const std::string& value) { version() = value; }

}  // namespace host

MGlobal::MMayaState MGlobal::mayaState(MStatus* status) {
    if (status)
        *status = MStatus::kSuccess;
    return state();
}

MString MGlobal::mayaVersion() { return MString(version()); }

// Maya numbers its API as major * 10000 for the year-named releases (2026 -> 20260000) and as
// major * 100 + minor * 10 before them (4.5 -> 450). A version that starts with no number gives 0.
int MGlobal::apiVersion() {
    const char* text = version().c_str();
    char* end = nullptr;
    long major = std::strtol(text, &end, 10);
    if (end == text || major < 0)
        return 0;
    if (major >= 2000)
        return static_cast<int>(major * 10000);
    long minor = 0;
    if (*end == '.')
        minor = std::strtol(end + 1, nullptr, 10);
    return static_cast<int>(major * 100 + minor * 10);
}

MStatus MGlobal::executeCommand(const MString& command, bool, bool) {
    return host::execute(command.str(), nullptr);
}

MStatus MGlobal::executeCommand(const MString& command, MCommandResult& result, bool, bool) {
    return host::execute(command.str(), &result);
}

void MGlobal::displayError(const MString& text) {
    host::journalMessage(host::JournalEntry::Error, text.str());
    std::cerr << "// Error: " << text.str() << std::endl;
}

void MGlobal::displayWarning(const MString& text) {
    host::journalMessage(host::JournalEntry::Warning, text.str());
    std::cerr << "// Warning: " << text.str() << std::endl;
}

void MGlobal::displayInfo(const MString& text) {
    host::journalMessage(host::JournalEntry::Info, text.str());
    std::cout << text.str() << std::endl;
}
