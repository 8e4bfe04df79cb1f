// The plug-in library exports its two entry points and the API version, and nothing else.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>
#include <string>

namespace {

// Built into each plug-in's test binary, which names its plug-in.
const std::string pluginPath = VEXMORA_PLUGIN_UNDER_TEST;

// Symbols every shared object defines for the linker's own use.
bool isLinkerSymbol(const std::string& name) {
    static const std::set<std::string> names = {"_init", "_fini", "__bss_start", "_edata", "_end",
                                                "__bss_start__", "_bss_end__", "__bss_end__", "__end__"};
    return names.count(name) > 0;
}

std::set<std::string> definedDynamicSymbols(const std::string& path) {
    std::set<std::string> symbols;
    const std::string command = "nm -D --defined-only '" + path + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return symbols;
    char line[4096];
    while (fgets(line, sizeof line, pipe)) {
        // "<address> <type> <name>"
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name && !isLinkerSymbol(name))
            symbols.insert(name);
    }
    EXPECT_EQ(pclose(pipe), 0) << "nm failed on " << path;
    return symbols;
}

TEST(PluginExports, OnlyTheEntryPointsAndApiVersion) {
    // The entry points have C++ linkage on MObject: initializePlugin(MObject), uninitializePlugin(MObject).
    const std::set<std::string> expected = {"MApiVersion", "_Z16initializePlugin7MObject",
                                            "_Z18uninitializePlugin7MObject"};
    EXPECT_EQ(definedDynamicSymbols(pluginPath), expected);
}

TEST(PluginExports, ApiVersionIs400) {
    void* library = dlopen(pluginPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const char* version = static_cast<const char*>(dlsym(library, "MApiVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(std::memcmp(version, "400", 4), 0);
    EXPECT_EQ(dlsym(library, "initializePlugin"), nullptr) << "entry points must not have C linkage";
    EXPECT_NE(dlsym(library, "_Z16initializePlugin7MObject"), nullptr);
    dlclose(library);
}

}  // namespace
