#ifndef HOST_HOST_H
#define HOST_HOST_H

// The host runtime's own interface (not part of Maya's API): what the host executable and the tests
// use to drive a scene, load plug-ins and observe what happened.

#include <maya/MGlobal.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <cstddef>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

class MCommandResult;

namespace host {

// ---- State -------------------------------------------------------------------------------------
void setMayaState(MGlobal::MMayaState state);
void setMayaVersion(const std::string& version);  // default "2026"

// ---- Plug-ins ----------------------------------------------------------------------------------
// Opens the library (a path, or a name without a directory looked for on MAYA_PLUG_IN_PATH and in the
// modules on MAYA_MODULE_PATH), reads MApiVersion, calls initializePlugin. A missing file or a library
// without the entry points fails with a clear error and changes nothing. A failed initializePlugin keeps
// what it registered, and the library stays loaded.
MStatus loadPlugin(const std::string& pathOrName);
// Calls uninitializePlugin; on success the library is closed. Accepts the path or the plug-in name
// (file name without directory and extension).
MStatus unloadPlugin(const std::string& pathOrName);
bool isPluginLoaded(const std::string& pathOrName);

// ---- Commands and scripts ----------------------------------------------------------------------
// Runs command-language text (one or more statements separated by ';').
MStatus execute(const std::string& text, MCommandResult* result = nullptr);
// Runs a script file. On an error the message names the file and line, the script stops and the
// status is the failure.
MStatus runScript(const std::string& path);
// Makes a procedure name known, so that running it succeeds and does nothing.
void defineProcedure(const std::string& name);

// Bounds on what a script may do, so that no script hangs the host or grows it without bound. Past a
// bound the script fails with an error that names it.
struct ScriptLimits {
    // Loop iterations and procedure calls (of all loops and procedures together) in one top-level run
    // of a script or text.
    unsigned long long loopIterations = 100000000ull;
    // Procedure calls nested in each other.
    int callDepth = 1000;
    // Bytes held by script variables together (array elements, string characters).
    size_t variableBytes = size_t(1) << 30;
};
void setScriptLimits(const ScriptLimits& limits);
ScriptLimits scriptLimits();

// ---- Menus -------------------------------------------------------------------------------------
// The host's menus stand in for Maya's main window: the menu commands (menu, menuItem, deleteUI) change
// them, and the plug-ins' menu procedures add and remove their items there.
// The labels of a menu's items, in order; empty for a missing menu.
std::vector<std::string> menuItemLabels(const std::string& menu);
// Deletes every menu and item.
void clearMenus();
// Sources the host's own MEL scripts, as Maya sources its scripts at start: they define the menu
// procedures the plug-ins run by name and, in the interactive state, make the main menus. mayahost-run
// does this before its script; a program embedding the host calls it once. Fails (after a warning) when
// the scripts are not found or one of them fails.
MStatus sourceStartupScripts();
// The directory the scripts are read from: "mel" beside the host library, else the source tree's; ""
// when neither exists.
std::string startupScriptDirectory();

// ---- Journal -----------------------------------------------------------------------------------
struct JournalEntry {
    enum Kind { Command, Error, Warning, Info };
    Kind kind;
    std::string text;  // the command text, or the displayed message
    MStatus status;    // for commands
};
// The most recent entries: a long run keeps only its last entries (see journalDropped).
const std::vector<JournalEntry>& journal();
// How many of the oldest entries were dropped to keep the journal bounded since it was last cleared.
size_t journalDropped();
void clearJournal();
// The command texts of the journal, in order.
std::vector<std::string> journalCommands();
std::vector<std::string> journalErrors();

// ---- Evaluation --------------------------------------------------------------------------------
// Evaluates a plug (element or child included) as a downstream read would; returns what compute
// returned, or kSuccess when nothing had to be computed.
MStatus evaluate(const std::string& plugName);
bool isPlugClean(const std::string& plugName);

// ---- Scene -------------------------------------------------------------------------------------
// Deletes every node, resets time to 0 and the UI unit to film; loaded plug-ins stay loaded.
void newScene();
MObject nodeByName(const std::string& name);
MPlug plugByName(const std::string& name);

// ---- Budget for automated runs ------------------------------------------------------------------
// Caps the frames that the commands changing time (playFrames, playblast, currentTime) may still play and
// the pixels playblast may still draw; once either is spent, those commands fail with an error saying so.
// -1 is unlimited, the default: the fuzz target sets a small budget before each input so that no input
// runs long, while real scenes play as long as they ask.
void setRunBudget(long long frames, long long pixels);

// ---- Output capture ----------------------------------------------------------------------------
// Captures what is written to std::cout and std::cerr while it lives (plug-ins write there directly).
class OutputCapture {
public:
    OutputCapture();
    ~OutputCapture();
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;
    std::string out() const { return out_.str(); }
    std::string err() const { return err_.str(); }
    void clear();

private:
    std::ostringstream out_;
    std::ostringstream err_;
    std::streambuf* oldOut_;
    std::streambuf* oldErr_;
};

}  // namespace host

#endif
