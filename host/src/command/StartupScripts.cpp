#include "plugin/Library.h"

#include <host/Host.h>
#include <maya/MGlobal.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

// The host's own MEL scripts (host/mel), standing in for the scripts Maya sources when it starts: the
// menu procedures that the plug-ins run by name. They are found in "mel" beside the host library (where
// the build puts them, beside mayahost-run), else in the source tree the host was built from.

namespace host {

namespace {

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The directory of the library this code is in.
std::string libraryDirectory() {
    const std::string path = libraryFileOf(reinterpret_cast<const void*>(&startupScriptDirectory));
    if (path.empty())
        return std::string();
    const std::string directory = std::filesystem::path(path).parent_path().string();
    return directory.empty() ? std::string(".") : directory;
}

std::vector<std::string> melFiles(const std::string& directory) {
    std::vector<std::string> files;
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return files;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".mel") == 0)
            files.push_back(directory + "/" + name);
    }
    ::closedir(dir);
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::string startupScriptDirectory() {
    const std::string beside = libraryDirectory() + "/mel";
    if (isDirectory(beside))
        return beside;
#ifdef HOST_MEL_DIR
    if (isDirectory(HOST_MEL_DIR))
        return HOST_MEL_DIR;
#endif
    return std::string();
}

MStatus sourceStartupScripts() {
    const std::string directory = startupScriptDirectory();
    if (directory.empty()) {
        MGlobal::displayWarning("The host's MEL scripts were not found: the plug-ins' menu procedures are missing.");
        return MStatus::kNotFound;
    }
    MStatus result;
    for (const std::string& file : melFiles(directory)) {
        MStatus status = runScript(file);
        if (!status)
            result = status;
    }
    return result;
}

}  // namespace host
