// Entry points of the vexmoraDynamics plug-in: registration of its node types and their menu hooks.

#include "curveField.h"
#include "normalField.h"
#include "samplerEmitter.h"
#include "shadingField.h"

#include <maya/MCommandResult.h>
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>
#include <maya/MTypes.h>

// The API version the plug-in is built against, read by the host after loading the library.
PLUGIN_EXPORT char MApiVersion[4] = "400";

namespace {

struct Registration {
    const char* name;
    const MTypeId* id;
    MCreatorFunction creator;
    MInitializeFunction initialize;
    MPxNode::Type kind;
    const char* failure;
    const char* menu;
};

struct Deregistration {
    const MTypeId* id;
    const char* menu;
    const char* failure;
};

// In registration order. The emitter comes last: it is skipped under Maya 4.5.
const Registration fieldRegistrations[] = {
    {"curveField", &curveField::id, curveField::creator, curveField::initialize, MPxNode::kFieldNode,
     "curveField registerNode", "DynAddCurveFieldMenu"},
    {"normalField", &normalField::id, normalField::creator, normalField::initialize, MPxNode::kFieldNode,
     "normalField registerNode", "DynAddNormalFieldMenu"},
    {"shadingField", &shadingField::id, shadingField::creator, shadingField::initialize, MPxNode::kFieldNode,
     "shadingField registerNode", "DynAddShadingFieldMenu"},
};
const Registration emitterRegistration = {"samplerEmitter", &samplerEmitter::id, samplerEmitter::creator,
                                          samplerEmitter::initialize, MPxNode::kEmitterNode,
                                          "samplerEmitter registerNode", "DynAddSamplerEmitterMenu"};

// In deregistration order, which differs from registration order.
const Deregistration fieldDeregistrations[] = {
    {&normalField::id, "DynRemoveNormalFieldMenu", "deregisterNode normalField"},
    {&curveField::id, "DynRemoveCurveFieldMenu", "deregisterNode curveField"},
    {&shadingField::id, "DynRemoveShadingFieldMenu", "deregisterNode shadingField"},
};
const Deregistration emitterDeregistration = {&samplerEmitter::id, "DynRemoveSamplerEmitterMenu",
                                              "deregisterNode samplerEmitter"};

const char* const maya45Version = "4.5";

// Runs a menu procedure, only when Maya runs interactively (asked anew each time). Its status and
// result are not used.
void runMenuProcedure(const char* procedure, MString& command, MCommandResult& result) {
    if (MGlobal::mayaState() != MGlobal::kInteractive)
        return;
    command = procedure;
    MGlobal::executeCommand(command, result, false, false);
}

MStatus registerRow(MFnPlugin& plugin, const Registration& row, MString& command, MCommandResult& result) {
    MStatus status = plugin.registerNode(row.name, *row.id, row.creator, row.initialize, row.kind, nullptr);
    if (status != MStatus::kSuccess) {
        status.perror(row.failure);
        return status;
    }
    runMenuProcedure(row.menu, command, result);
    return status;
}

// The menu item is removed even when the deregistration fails.
MStatus deregisterRow(MFnPlugin& plugin, const Deregistration& row, MString& command, MCommandResult& result) {
    MStatus status = plugin.deregisterNode(*row.id);
    runMenuProcedure(row.menu, command, result);
    if (status != MStatus::kSuccess)
        status.perror(row.failure);
    return status;
}

}  // namespace

PLUGIN_EXPORT MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "the tunnimor inc.", "1.5 CG", "any");
    MStatus status;
    MString command;
    MCommandResult result;

    // A failure stops the load; what was registered before it stays registered.
    for (const Registration& row : fieldRegistrations) {
        status = registerRow(plugin, row, command, result);
        if (status != MStatus::kSuccess)
            return status;
    }
    if (MGlobal::mayaVersion() == maya45Version)
        return MStatus::kSuccess;
    status = registerRow(plugin, emitterRegistration, command, result);
    if (status != MStatus::kSuccess)
        return status;
    return MStatus::kSuccess;
}

PLUGIN_EXPORT MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "Unknown", "Unknown", "Any");
    MStatus status;
    MString command;
    MCommandResult result;

    for (const Deregistration& row : fieldDeregistrations) {
        status = deregisterRow(plugin, row, command, result);
        if (status != MStatus::kSuccess)
            return status;
    }
    if (MGlobal::mayaVersion() != maya45Version) {
        status = deregisterRow(plugin, emitterDeregistration, command, result);
        if (status != MStatus::kSuccess)
            return status;
    }
    runMenuProcedure("rebuildDynamicsMenus", command, result);
    return MStatus::kSuccess;
}
