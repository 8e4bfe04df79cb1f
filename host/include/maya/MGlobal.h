#ifndef MGLOBAL_H
#define MGLOBAL_H

#include <maya/MStatus.h>
#include <maya/MString.h>

class MCommandResult;

// Process-wide state and the command language. The host sets the state and version (see host/Host.h).
class MGlobal {
public:
    enum MMayaState { kInteractive = 0, kBatch = 1, kLibraryApp = 2, kBaseUIMode = 3 };

    static MMayaState mayaState(MStatus* status = nullptr);
    static MString mayaVersion();
    static int apiVersion();
    static MStatus executeCommand(const MString& command, bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MCommandResult& result, bool displayEnabled = false,
                                  bool undoEnabled = false);
    static void displayError(const MString& text);
    static void displayWarning(const MString& text);
    static void displayInfo(const MString& text);
};

#endif
