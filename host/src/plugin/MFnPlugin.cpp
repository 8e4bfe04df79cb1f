#include <maya/MFnPlugin.h>

#include "graph/Scene.h"
#include "plugin/CommandRegistry.h"
#include "plugin/Loader.h"
#include "plugin/PluginObject.h"

// A function set on the plug-in object the host passes to initializePlugin/uninitializePlugin.
// Registration needs only the plug-in object (its path becomes the owner of what is registered); the
// vendor/version queries need the loaded-plug-in record, which exists for libraries opened by
// host::loadPlugin. Vendor, version and required API version are recorded only while initializePlugin
// runs. registerNode maps the node kind to the API type of the new node type: field, emitter and
// deformer kinds to kPluginFieldNode, kPluginEmitterNode and kPluginDeformerNode, all others to
// kPluginDependNode.

namespace {

std::shared_ptr<host::PluginObject> pluginObjectOf(const MObject& object) {
    return std::dynamic_pointer_cast<host::PluginObject>(object.impl());
}

std::shared_ptr<host::LoadedPlugin> recordOf(const MObject& object) {
    std::shared_ptr<host::PluginObject> plugin = pluginObjectOf(object);
    return plugin ? host::findPlugin(plugin->path) : nullptr;
}

void setStatus(MStatus* status, MStatus value) {
    if (status)
        *status = value;
}

MString recordText(const MObject& object, MStatus* status, std::string host::LoadedPlugin::*field) {
    std::shared_ptr<host::LoadedPlugin> record = recordOf(object);
    setStatus(status, record ? MStatus::kSuccess : MStatus::kFailure);
    return record ? MString((*record).*field) : MString();
}

MFn::Type apiTypeOfKind(MPxNode::Type kind) {
    switch (kind) {
        case MPxNode::kFieldNode: return MFn::kPluginFieldNode;
        case MPxNode::kEmitterNode: return MFn::kPluginEmitterNode;
        case MPxNode::kDeformerNode: return MFn::kPluginDeformerNode;
        default: return MFn::kPluginDependNode;
    }
}

}  // namespace

MFnPlugin::MFnPlugin(MObject& object, const char* vendor, const char* version, const char* requiredApiVersion,
                     MStatus* status) {
    obj_ = object;
    if (!pluginObjectOf(object)) {
        setStatus(status, MStatus::kInvalidParameter);
        return;
    }
    std::shared_ptr<host::LoadedPlugin> record = recordOf(object);
    if (record && record->initializing) {
        record->vendor = vendor ? vendor : "";
        record->version = version ? version : "";
        record->apiVersion = requiredApiVersion ? requiredApiVersion : "";
    }
    setStatus(status, MStatus::kSuccess);
}

MString MFnPlugin::vendor(MStatus* status) const { return recordText(obj_, status, &host::LoadedPlugin::vendor); }

MString MFnPlugin::version(MStatus* status) const {
    return recordText(obj_, status, &host::LoadedPlugin::version);
}

MString MFnPlugin::apiVersion(MStatus* status) const {
    return recordText(obj_, status, &host::LoadedPlugin::apiVersion);
}

MString MFnPlugin::name(MStatus* status) const { return recordText(obj_, status, &host::LoadedPlugin::name); }

// The directory the library was loaded from.
MString MFnPlugin::loadPath(MStatus* status) const {
    MString path = recordText(obj_, status, &host::LoadedPlugin::path);
    size_t slash = path.str().find_last_of('/');
    return slash == std::string::npos ? MString() : MString(path.str().substr(0, slash));
}

MStatus MFnPlugin::registerNode(const MString& typeName, const MTypeId& typeId, MCreatorFunction creatorFunction,
                                MInitializeFunction initFunction, MPxNode::Type type, const MString*) {
    std::shared_ptr<host::PluginObject> plugin = pluginObjectOf(obj_);
    if (!plugin || typeName.length() == 0 || !creatorFunction || !initFunction)
        return MStatus::kInvalidParameter;
    return host::registerType(typeName.str(), typeId, creatorFunction, initFunction, type, apiTypeOfKind(type),
                              plugin->path);
}

// Only the plug-in that registered a type may deregister it.
MStatus MFnPlugin::deregisterNode(const MTypeId& typeId) {
    std::shared_ptr<host::PluginObject> plugin = pluginObjectOf(obj_);
    if (!plugin)
        return MStatus::kInvalidParameter;
    std::shared_ptr<host::NodeType> type = host::findNodeType(typeId);
    if (!type || type->owner != plugin->path)
        return MStatus::kFailure;
    return host::removeNodeType(typeId);
}

MStatus MFnPlugin::registerCommand(const MString& commandName, MCreatorFunction creatorFunction,
                                   MCreateSyntaxFunction createSyntaxFunction) {
    std::shared_ptr<host::PluginObject> plugin = pluginObjectOf(obj_);
    if (!plugin)
        return MStatus::kInvalidParameter;
    host::PluginCommand command;
    command.name = commandName.str();
    command.creator = creatorFunction;
    command.syntax = createSyntaxFunction;
    command.owner = plugin->path;
    return host::addPluginCommand(command);
}

MStatus MFnPlugin::deregisterCommand(const MString& commandName) {
    std::shared_ptr<host::PluginObject> plugin = pluginObjectOf(obj_);
    if (!plugin)
        return MStatus::kInvalidParameter;
    return host::removePluginCommand(commandName.str(), plugin->path);
}
