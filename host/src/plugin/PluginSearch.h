#ifndef HOST_PLUGINSEARCH_H
#define HOST_PLUGINSEARCH_H

#include <string>
#include <vector>

namespace host {

// Where `loadPlugin <name>` looks, as Maya does: the directories of MAYA_PLUG_IN_PATH, then the plug-in
// folders of the modules described by the ".mod" files in the directories of MAYA_MODULE_PATH (lists
// separated by ':', or ';' on Windows). Both are read when a plug-in is looked for.

// This platform as module files name it: "linux64", "linux32", "win64" or "win32".
std::string hostPlatform();
// The extension of plug-in libraries here: ".so", or ".mll" on Windows.
std::string pluginExtension();
// A loadPlugin argument without a directory is a name to search for; one with a directory is a path.
bool isPluginName(const std::string& argument);

// One module of a ".mod" file whose conditions this host meets.
struct Module {
    std::string name;
    std::string version;
    std::string root;
    std::vector<std::string> pluginDirectories;
};

// The modules that a module file's text describes for the given platform and Maya version. A module
// starts with a line "+ [PLATFORM:p] [MAYAVERSION:v] [LOCALE:l] name version path"; a relative path is
// relative to the file's directory. Its plug-ins are in "<path>/plug-ins", or in the folders its lines
// "plug-ins: dir" or "MAYA_PLUG_IN_PATH +:= dir" name relative to the module's path ("+=" gives a
// directory as it is). PLATFORM "linux" stands for either Linux. Lines starting with '#' are comments;
// modules starting with '-' are disabled.
std::vector<Module> parseModuleFile(const std::string& file, const std::string& text, const std::string& platform,
                                    const std::string& mayaVersion);

// The directories searched, in order, duplicates removed; a module name seen before is skipped.
std::vector<std::string> pluginSearchDirectories();
// The first "<dir>/<name>" or "<dir>/<name><extension>" that is a file, or "" when there is none.
std::string findPluginFile(const std::string& name);

}  // namespace host

#endif
