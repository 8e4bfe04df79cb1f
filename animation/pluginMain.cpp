// Entry points of the vexmoraAnimation plug-in: registration of its node types, its command and their
// menu hooks.

#include "closestPointOnMesh.h"
#include "meshConstraint.h"
#include "nonLinearBlendShape.h"
#include "renderSamplerInfo.h"

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

// Runs a menu procedure, only when Maya runs interactively (asked anew each time). Its status and
// result are not used.
void runMenuProcedure(const char* procedure, MString& command, MCommandResult& result) {
    if (MGlobal::mayaState() != MGlobal::kInteractive)
        return;
    command = procedure;
    MGlobal::executeCommand(command, result, false, false);
}

// A registration step: on failure the status is reported and returned, and nothing is undone.
MStatus afterRegistering(MStatus status, const char* failure, const char* menu, MString& command,
                         MCommandResult& result) {
    if (status != MStatus::kSuccess) {
        status.perror(failure);
        return status;
    }
    if (menu)
        runMenuProcedure(menu, command, result);
    return status;
}

// A deregistration step: the menu item is removed whether or not the deregistration succeeded.
MStatus afterDeregistering(MStatus status, const char* menu, const char* failure, MString& command,
                           MCommandResult& result) {
    if (menu)
        runMenuProcedure(menu, command, result);
    if (status != MStatus::kSuccess)
        status.perror(failure);
    return status;
}

}  // namespace

PLUGIN_EXPORT MStatus initializePlugin(MObject obj) {
    MCommandResult result;
    MFnPlugin plugin(obj, "the tunnimor inc. - vexmoraAnimation", "1.0 CG", "any");
    MString command;

    MStatus status = afterRegistering(
        plugin.registerNode("nonLinearBlendShape", nonLinearBlendShape::id, nonLinearBlendShape::creator,
                            nonLinearBlendShape::initialize, MPxNode::kDeformerNode, nullptr),
        "nonLinearBlendShape registerNode", "addNonLinearBlendShapeMenu", command, result);
    if (status != MStatus::kSuccess)
        return status;

    status = afterRegistering(plugin.registerCommand("closestPointOnMesh", closestPointOnMesh::creator, nullptr),
                              "closestPointOnMesh registerCommand", nullptr, command, result);
    if (status != MStatus::kSuccess)
        return status;

    status = afterRegistering(plugin.registerNode("meshConstraint", meshConstraint::id, meshConstraint::creator,
                                                  meshConstraint::initialize, MPxNode::kDependNode, nullptr),
                              "meshConstraint registerNode", "addMeshConstraintMenu", command, result);
    if (status != MStatus::kSuccess)
        return status;

    // Registered as a plain dependency node although the class derives from the deformer base. The
    // misspelt failure text is what users and scripts have always seen.
    status = afterRegistering(plugin.registerNode("renderSamplerInfo", renderSamplerInfo::id,
                                                  renderSamplerInfo::creator, renderSamplerInfo::initialize,
                                                  MPxNode::kDependNode, nullptr),
                              "renderSamplerIfno registerNode", "addRenderSamplerInfoMenu", command, result);
    if (status != MStatus::kSuccess)
        return status;
    return MStatus::kSuccess;
}

// Deregisters in its own order, which is not the reverse of the registration order.
PLUGIN_EXPORT MStatus uninitializePlugin(MObject obj) {
    MCommandResult result;
    MFnPlugin plugin(obj, "Unknown", "Unknown", "Any");
    MString command;

    MStatus status = afterDeregistering(plugin.deregisterNode(nonLinearBlendShape::id), "removeNonLinearBlendShapeMenu",
                                        "deregisterNode nonLinearBlendShape", command, result);
    if (status != MStatus::kSuccess)
        return status;

    status = afterDeregistering(plugin.deregisterNode(meshConstraint::id), "removeMeshConstraintMenu",
                                "deregisterNode meshConstraint", command, result);
    if (status != MStatus::kSuccess)
        return status;

    status = afterDeregistering(plugin.deregisterCommand("closestPointOnMesh"), nullptr,
                                "deregisterCommand closestPointOnMesh", command, result);
    if (status != MStatus::kSuccess)
        return status;

    status = afterDeregistering(plugin.deregisterNode(renderSamplerInfo::id), "removeRenderSamplerInfoMenu",
                                "deregisterNode renderSamplerInfo", command, result);
    if (status != MStatus::kSuccess)
        return status;
    return MStatus::kSuccess;
}
