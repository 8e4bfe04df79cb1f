#ifndef MPXCOMMAND_H
#define MPXCOMMAND_H

#include <maya/MArgList.h>
#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

// Base of plug-in commands. The host creates one object per invocation with the registered creator,
// calls doIt with the raw arguments and deletes the object when doIt returns. The host keeps no undo
// queue, so undoIt and redoIt are never called by it, whatever isUndoable answers.
//
// Host choices: the result set with setResult is the result of the command now running (what a
// back-quoted use or MGlobal::executeCommand's MCommandResult sees); each setResult replaces the previous
// one and clearResult empties it. Outside a running command both do nothing.
class MPxCommand {
public:
    MPxCommand() = default;
    MPxCommand(const MPxCommand&) = delete;
    MPxCommand& operator=(const MPxCommand&) = delete;
    virtual ~MPxCommand();

    virtual MStatus doIt(const MArgList& args);
    virtual MStatus undoIt();
    virtual MStatus redoIt();
    virtual bool isUndoable() const;
    virtual bool hasSyntax() const;

    static void clearResult();
    static void setResult(bool result);
    static void setResult(int result);
    static void setResult(double result);
    static void setResult(const MString& result);
    static void setResult(const MIntArray& result);
    static void setResult(const MDoubleArray& result);
    static void setResult(const MStringArray& result);
};

#endif
