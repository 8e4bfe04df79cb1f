// mayahost-run [--batch|--interactive] [--version V] script.mel
//
// Runs a scene script in the host. The host starts in batch state (no menu procedures run when plug-ins
// load), as a script run from the command line does in Maya; --interactive switches to interactive state.
// --version sets what MGlobal::mayaVersion() returns (default "2026"). An error in the script is
// reported as "<file>:<line>: <message>" on standard error, stops the script and makes the exit status 1;
// bad options give exit status 2. Before the script, the host sources its own MEL scripts (the menu
// procedures of the plug-ins, and in the interactive state its main menus).

#include <host/Host.h>
#include <maya/MGlobal.h>

#include <cstring>
#include <iostream>
#include <string>

namespace {

int usage(const char* message) {
    if (message)
        std::cerr << "mayahost-run: " << message << "\n";
    std::cerr << "usage: mayahost-run [--batch|--interactive] [--version V] script.mel\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string script;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--batch") {
            host::setMayaState(MGlobal::kBatch);
        } else if (arg == "--interactive") {
            host::setMayaState(MGlobal::kInteractive);
        } else if (arg == "--version") {
            if (i + 1 >= argc)
                return usage("--version needs a value");
            host::setMayaVersion(argv[++i]);
        } else if (arg == "-h" || arg == "--help") {
            usage(nullptr);
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage(("unknown option " + arg).c_str());
        } else if (script.empty()) {
            script = arg;
        } else {
            return usage("give one script");
        }
    }
    if (script.empty())
        return usage("no script given");
    // As Maya sources its scripts at start: the menu procedures the plug-ins run by name. A failure
    // there has been reported and does not stop the scene script.
    host::sourceStartupScripts();
    MStatus status = host::runScript(script);
    std::cout.flush();
    return status ? 0 : 1;
}
