#ifndef MFNPLUGIN_H
#define MFNPLUGIN_H

#include <maya/MFnBase.h>
#include <maya/MPxNode.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>
#include <maya/MTypes.h>

// Marks the plug-in entry points (initializePlugin, uninitializePlugin) and MApiVersion as exported: from a
// DLL on Windows (where nothing else of the plug-in is then exported), from a library built with hidden
// visibility elsewhere.
#ifdef _WIN32
#define PLUGIN_EXPORT __declspec(dllexport)
#else
#define PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

// Registers a plug-in's node types and commands with the host. Registering a taken name or id fails,
// as does a class whose initialize fails; deregistering fails for an unknown id and while nodes of the
// type exist.
class MFnPlugin : public MFnBase {
public:
    MFnPlugin() = default;
    explicit MFnPlugin(MObject& object, const char* vendor = "Unknown", const char* version = "Unknown",
                       const char* requiredApiVersion = "Any", MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kPluginObject; }
    MString vendor(MStatus* status = nullptr) const;
    MString version(MStatus* status = nullptr) const;
    MString apiVersion(MStatus* status = nullptr) const;
    MString name(MStatus* status = nullptr) const;
    MString loadPath(MStatus* status = nullptr) const;

    MStatus registerNode(const MString& typeName, const MTypeId& typeId, MCreatorFunction creatorFunction,
                         MInitializeFunction initFunction, MPxNode::Type type = MPxNode::kDependNode,
                         const MString* classification = nullptr);
    MStatus deregisterNode(const MTypeId& typeId);
    MStatus registerCommand(const MString& commandName, MCreatorFunction creatorFunction,
                            MCreateSyntaxFunction createSyntaxFunction = nullptr);
    MStatus deregisterCommand(const MString& commandName);
};

#endif
