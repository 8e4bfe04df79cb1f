#include "plugin/PluginSearch.h"

#include <maya/MGlobal.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace host {

namespace {

#ifdef _WIN32
const char kListSeparator = ';';
#else
const char kListSeparator = ':';
#endif

std::vector<std::string> environmentList(const char* variable) {
    std::vector<std::string> entries;
    const char* value = std::getenv(variable);
    if (!value)
        return entries;
    std::string entry;
    std::istringstream in(value);
    while (std::getline(in, entry, kListSeparator))
        if (!entry.empty())
            entries.push_back(entry);
    return entries;
}

std::string trimmed(const std::string& text) {
    const char* space = " \t\r\n";
    size_t first = text.find_first_not_of(space);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

bool platformMatches(const std::string& wanted, const std::string& platform) {
    return wanted == platform || (wanted == "linux" && platform.rfind("linux", 0) == 0);
}

// A module line's conditions are met, its name, version and path read; false when it does not apply.
bool readModuleLine(const std::string& line, const std::string& platform, const std::string& mayaVersion,
                    Module& module) {
    std::istringstream in(line);
    std::string token;
    std::vector<std::string> words;
    while (in >> token) {
        size_t colon = token.find(':');
        std::string key = colon == std::string::npos ? std::string() : token.substr(0, colon);
        if (words.empty() && (key == "PLATFORM" || key == "MAYAVERSION" || key == "LOCALE")) {
            std::string value = token.substr(colon + 1);
            if (key == "PLATFORM" && !platformMatches(value, platform))
                return false;
            if (key == "MAYAVERSION" && value != mayaVersion)
                return false;
            continue;
        }
        words.push_back(token);
        if (words.size() == 2)
            break;
    }
    std::string path;
    std::getline(in, path);
    path = trimmed(path);
    if (words.size() < 2 || path.empty())
        return false;
    module.name = words[0];
    module.version = words[1];
    module.root = path;
    return true;
}

}  // namespace

std::string hostPlatform() {
#ifdef _WIN32
    return sizeof(void*) == 8 ? "win64" : "win32";
#else
    return sizeof(void*) == 8 ? "linux64" : "linux32";
#endif
}

std::string pluginExtension() {
#ifdef _WIN32
    return ".mll";
#else
    return ".so";
#endif
}

bool isPluginName(const std::string& argument) {
#ifdef _WIN32
    return argument.find_first_of("/\\:") == std::string::npos;
#else
    return argument.find('/') == std::string::npos;
#endif
}

std::vector<Module> parseModuleFile(const std::string& file, const std::string& text, const std::string& platform,
                                    const std::string& mayaVersion) {
    std::vector<Module> modules;
    const fs::path base = fs::path(file).parent_path();
    Module current;
    bool inModule = false;
    bool pluginsGiven = false;
    auto finish = [&]() {
        if (!inModule)
            return;
        if (!pluginsGiven)
            current.pluginDirectories.push_back((fs::path(current.root) / "plug-ins").string());
        modules.push_back(current);
        inModule = false;
    };
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '+' || line[0] == '-') {
            finish();
            current = Module();
            pluginsGiven = false;
            inModule = line[0] == '+' && readModuleLine(line.substr(1), platform, mayaVersion, current);
            if (inModule)
                current.root = (base / current.root).lexically_normal().string();
            continue;
        }
        if (!inModule)
            continue;
        std::string directory;
        bool relative = true;
        if (line.rfind("plug-ins:", 0) == 0) {
            directory = trimmed(line.substr(9));
        } else if (line.rfind("MAYA_PLUG_IN_PATH", 0) == 0) {
            std::string rest = trimmed(line.substr(17));
            if (rest.rfind("+:=", 0) == 0) {
                directory = trimmed(rest.substr(3));
            } else if (rest.rfind("+=", 0) == 0) {
                directory = trimmed(rest.substr(2));
                relative = false;
            }
        }
        if (directory.empty())
            continue;
        fs::path path = relative ? fs::path(current.root) / directory : fs::path(directory);
        current.pluginDirectories.push_back(path.lexically_normal().string());
        pluginsGiven = true;
    }
    finish();
    return modules;
}

std::vector<std::string> pluginSearchDirectories() {
    std::vector<std::string> directories = environmentList("MAYA_PLUG_IN_PATH");
    const std::string platform = hostPlatform();
    const std::string version = MGlobal::mayaVersion().asChar();
    std::set<std::string> moduleNames;
    for (const std::string& directory : environmentList("MAYA_MODULE_PATH")) {
        std::error_code error;
        std::vector<fs::path> files;
        for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error))
            if (it->path().extension() == ".mod" && it->is_regular_file(error))
                files.push_back(it->path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            for (const Module& module : parseModuleFile(file.string(), text.str(), platform, version)) {
                if (!moduleNames.insert(module.name).second)
                    continue;
                directories.insert(directories.end(), module.pluginDirectories.begin(),
                                   module.pluginDirectories.end());
            }
        }
    }
    std::vector<std::string> unique;
    for (const std::string& directory : directories)
        if (std::find(unique.begin(), unique.end(), directory) == unique.end())
            unique.push_back(directory);
    return unique;
}

std::string findPluginFile(const std::string& name) {
    const std::string extension = pluginExtension();
    const bool hasExtension = name.size() > extension.size() &&
                              name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
    std::vector<std::string> candidates = {name};
    if (!hasExtension)
        candidates.push_back(name + extension);
    for (const std::string& directory : pluginSearchDirectories()) {
        for (const std::string& file : candidates) {
            fs::path path = fs::path(directory) / file;
            std::error_code error;
            if (fs::is_regular_file(path, error))
                return path.string();
        }
    }
    return std::string();
}

}  // namespace host
