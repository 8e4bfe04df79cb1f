#include "plugin/Loader.h"

#include "graph/Scene.h"
#include "plugin/CommandRegistry.h"
#include "plugin/Library.h"
#include "plugin/PluginObject.h"
#include "plugin/PluginSearch.h"

#include <host/Host.h>
#include <maya/MGlobal.h>
#include <maya/MObject.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

// Loading follows Maya: open the library (dlopen with RTLD_NOW | RTLD_LOCAL, or LoadLibrary), read the
// exported MApiVersion, call initializePlugin(MObject). A bare name is looked for on the plug-in path
// and in modules. The entry points have C++ linkage on a global-namespace MObject, so they are found by
// their mangled names (the same with GCC on Linux and MinGW on Windows). Unloading calls uninitializePlugin and closes the library only when it
// succeeds. Every failure is shown with MGlobal::displayError and returns kFailure (or the failing
// entry point's status).

namespace host {

namespace {

const char* const kInitializeSymbol = "_Z16initializePlugin7MObject";
const char* const kUninitializeSymbol = "_Z18uninitializePlugin7MObject";
const char* const kApiVersionSymbol = "MApiVersion";

using EntryPoint = MStatus (*)(MObject);

std::vector<std::shared_ptr<LoadedPlugin>>& plugins() {
    static std::vector<std::shared_ptr<LoadedPlugin>> list;
    return list;
}

std::string resolvedPath(const std::string& path) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return error ? std::string() : resolved.string();
}

MStatus loadError(const std::string& message) {
    MGlobal::displayError(MString("loadPlugin: " + message));
    return MStatus::kFailure;
}

MStatus unloadError(const std::string& message) {
    MGlobal::displayError(MString("unloadPlugin: " + message));
    return MStatus::kFailure;
}

// MApiVersion is a 4-byte array; never read past it, even if its terminator is missing.
void checkApiVersion(void* handle, const std::string& name) {
    const char* version = static_cast<const char*>(librarySymbol(handle, kApiVersionSymbol));
    if (!version) {
        MGlobal::displayWarning(MString("loadPlugin: plug-in \"" + name + "\" exports no MApiVersion."));
        return;
    }
    std::string text(version, strnlen(version, 4));
    if (text != "400")
        MGlobal::displayWarning(MString("loadPlugin: plug-in \"" + name + "\" was built for API version \"" + text +
                                        "\", not \"400\"; loading it anyway."));
}

EntryPoint entryPoint(void* handle, const char* symbol) {
    return reinterpret_cast<EntryPoint>(librarySymbol(handle, symbol));
}

MObject pluginObject(const std::string& path) { return MObject(std::make_shared<PluginObject>(path)); }

// Removes what a plug-in left registered after a successful uninitializePlugin. Returns false when a
// node type could not be removed (nodes of it exist), in which case the library must stay open.
bool removeLeftovers(const LoadedPlugin& plugin) {
    bool allRemoved = true;
    std::vector<MTypeId> ids;
    for (const std::shared_ptr<NodeType>& type : nodeTypes())
        if (type->owner == plugin.path)
            ids.push_back(type->id);
    for (const MTypeId& id : ids) {
        if (!removeNodeType(id))
            allRemoved = false;
    }
    std::vector<std::string> commands = pluginCommandNames(plugin.path);
    for (const std::string& name : commands)
        removePluginCommand(name, plugin.path);
    if (!ids.empty() || !commands.empty())
        MGlobal::displayWarning(MString("unloadPlugin: plug-in \"" + plugin.name + "\" left " +
                                        std::to_string(ids.size()) + " node type(s) and " +
                                        std::to_string(commands.size()) + " command(s) registered."));
    return allRemoved;
}

}  // namespace

const std::vector<std::shared_ptr<LoadedPlugin>>& loadedPlugins() { return plugins(); }

std::string pluginNameOf(const std::string& path) { return std::filesystem::path(path).stem().string(); }

std::shared_ptr<LoadedPlugin> findPlugin(const std::string& pathOrName) {
    for (const std::shared_ptr<LoadedPlugin>& p : plugins())
        if (p->path == pathOrName || p->name == pathOrName)
            return p;
    std::string resolved = resolvedPath(pathOrName);
    if (resolved.empty())
        return nullptr;
    for (const std::shared_ptr<LoadedPlugin>& p : plugins())
        if (p->path == resolved)
            return p;
    return nullptr;
}

MStatus loadPlugin(const std::string& argument) {
    if (argument.empty())
        return loadError("no plug-in file given.");
    std::string path = argument;
    if (isPluginName(argument)) {
        if (findPlugin(argument)) {
            MGlobal::displayWarning(MString("loadPlugin: plug-in \"" + argument + "\" is already loaded."));
            return MStatus::kSuccess;
        }
        // Searched for; a file of that name where the host runs is taken last.
        path = findPluginFile(argument);
        if (path.empty()) {
            std::error_code error;
            if (!std::filesystem::exists(argument, error))
                return loadError("plug-in \"" + argument +
                                 "\" was found neither on MAYA_PLUG_IN_PATH nor in the modules on MAYA_MODULE_PATH.");
            path = argument;
        }
    }
    std::error_code error;
    std::filesystem::file_status info = std::filesystem::status(path, error);
    if (!std::filesystem::exists(info))
        return loadError("plug-in file \"" + path + "\" does not exist.");
    if (!std::filesystem::is_regular_file(info))
        return loadError("\"" + path + "\" is not a file.");
    std::string resolved = resolvedPath(path);
    if (resolved.empty())
        return loadError("cannot resolve the path \"" + path + "\".");
    std::string name = pluginNameOf(resolved);
    if (std::shared_ptr<LoadedPlugin> loaded = findPlugin(resolved)) {
        MGlobal::displayWarning(MString("loadPlugin: plug-in \"" + name + "\" is already loaded."));
        return MStatus::kSuccess;
    }
    for (const std::shared_ptr<LoadedPlugin>& p : plugins())
        if (p->name == name)
            return loadError("a plug-in named \"" + name + "\" is already loaded from \"" + p->path + "\".");

    std::string openError;
    void* handle = openLibrary(resolved, openError);
    if (!handle)
        return loadError("cannot open \"" + path + "\" as a library: " + openError);
    EntryPoint initialize = entryPoint(handle, kInitializeSymbol);
    EntryPoint uninitialize = entryPoint(handle, kUninitializeSymbol);
    if (!initialize || !uninitialize) {
        closeLibrary(handle);
        return loadError("\"" + path + "\" is not a plug-in: it does not export " +
                         (initialize ? "uninitializePlugin" : "initializePlugin") + ".");
    }
    checkApiVersion(handle, name);

    auto record = std::make_shared<LoadedPlugin>();
    record->path = resolved;
    record->name = name;
    record->handle = handle;
    record->initializing = true;
    plugins().push_back(record);

    MStatus status = initialize(pluginObject(resolved));
    record->initializing = false;
    if (!status) {
        MGlobal::displayError(MString("loadPlugin: initializePlugin of \"" + name + "\" failed (" +
                                      status.errorString().str() +
                                      "); what it registered stays registered and the plug-in stays loaded."));
        return status;
    }
    record->initialized = true;
    return MStatus::kSuccess;
}

MStatus unloadPlugin(const std::string& pathOrName) {
    std::shared_ptr<LoadedPlugin> record = findPlugin(pathOrName);
    if (!record)
        return unloadError("plug-in \"" + pathOrName + "\" is not loaded.");
    EntryPoint uninitialize = entryPoint(record->handle, kUninitializeSymbol);
    if (!uninitialize)
        return unloadError("plug-in \"" + record->name + "\" has no uninitializePlugin.");

    MStatus status = uninitialize(pluginObject(record->path));
    if (!status) {
        MGlobal::displayError(MString("unloadPlugin: uninitializePlugin of \"" + record->name + "\" failed (" +
                                      status.errorString().str() + "); the plug-in stays loaded."));
        return status;
    }
    bool canClose = removeLeftovers(*record);
    std::vector<std::shared_ptr<LoadedPlugin>>& list = plugins();
    list.erase(std::remove(list.begin(), list.end(), record), list.end());
    if (canClose)
        closeLibrary(record->handle);
    else
        MGlobal::displayWarning(MString("unloadPlugin: nodes of \"" + record->name +
                                        "\" types still exist; its library stays open."));
    return MStatus::kSuccess;
}

bool isPluginLoaded(const std::string& pathOrName) { return findPlugin(pathOrName) != nullptr; }

}  // namespace host
