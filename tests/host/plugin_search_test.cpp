// loadPlugin by name: the plug-in path, Maya modules and their files.
#include "command_fixture.h"

#include "plugin/PluginSearch.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using cmdtest::CommandTest;

namespace {

namespace fs = std::filesystem;

const std::string kTiny = VEXMORA_TINY_PLUGIN;
const std::string kTinyDirectory = fs::path(kTiny).parent_path().string();

// Sets an environment variable for the test's length and restores it after.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

std::vector<std::string> directoriesOf(const std::vector<host::Module>& modules) {
    std::vector<std::string> all;
    for (const host::Module& m : modules)
        all.insert(all.end(), m.pluginDirectories.begin(), m.pluginDirectories.end());
    return all;
}

}  // namespace

TEST(ModuleFile, SectionsApplyByPlatformAndVersionWithTheirPluginFolders) {
    const std::string text =
        "# vexmora for every platform\n"
        "+ PLATFORM:win32 vexmora 1.0 ./vexmora\n"
        "plug-ins: plug-ins/win32\n"
        "+ PLATFORM:linux64 vexmora 1.0 ./vexmora\n"
        "plug-ins: plug-ins/linux64\n"
        "+ PLATFORM:linux MAYAVERSION:2026 tools 2.5 /opt/tools\n"
        "+ MAYAVERSION:2025 old 1.0 old\n"
        "- PLATFORM:linux64 disabled 1.0 ./disabled\n"
        "+ extras 1.0   ../shared extras  \n"
        "MAYA_PLUG_IN_PATH +:= bin\n"
        "MAYA_PLUG_IN_PATH += /abs/plugins\n"
        "+ PLATFORM:linux64 broken 1.0\n";
    std::vector<host::Module> modules = host::parseModuleFile("/mods/vexmora.mod", text, "linux64", "2026");
    ASSERT_EQ(modules.size(), 3u);
    EXPECT_EQ(modules[0].name, "vexmora");
    EXPECT_EQ(modules[0].version, "1.0");
    EXPECT_EQ(modules[0].root, "/mods/vexmora");
    EXPECT_EQ(modules[1].name, "tools");  // "linux" stands for either Linux
    EXPECT_EQ(modules[2].root, "/shared extras");
    EXPECT_EQ(directoriesOf(modules), (std::vector<std::string>{"/mods/vexmora/plug-ins/linux64",
                                                                "/opt/tools/plug-ins", "/shared extras/bin",
                                                                "/abs/plugins"}));

    // The other platforms and versions take their own sections.
    EXPECT_EQ(directoriesOf(host::parseModuleFile("/mods/vexmora.mod", text, "win32", "2025")),
              (std::vector<std::string>{"/mods/vexmora/plug-ins/win32", "/mods/old/plug-ins", "/shared extras/bin",
                                        "/abs/plugins"}));
    EXPECT_EQ(directoriesOf(host::parseModuleFile("/mods/vexmora.mod", text, "linux32", "2025")),
              (std::vector<std::string>{"/mods/old/plug-ins", "/shared extras/bin", "/abs/plugins"}));
}

TEST(ModuleFile, ThisHostsPlatformAndExtension) {
    const bool wide = sizeof(void*) == 8;
#ifdef _WIN32
    EXPECT_EQ(host::hostPlatform(), wide ? "win64" : "win32");
    EXPECT_EQ(host::pluginExtension(), ".mll");
#else
    EXPECT_EQ(host::hostPlatform(), wide ? "linux64" : "linux32");
    EXPECT_EQ(host::pluginExtension(), ".so");
#endif
    EXPECT_TRUE(host::isPluginName("vexmoraDynamics"));
    EXPECT_TRUE(host::isPluginName("vexmoraDynamics.so"));
    EXPECT_FALSE(host::isPluginName("dynamics/vexmoraDynamics.so"));
}

using PluginByName = CommandTest;

TEST_F(PluginByName, FoundOnThePluginPathWithOrWithoutItsExtension) {
    ScopedVariable path("MAYA_PLUG_IN_PATH", "/no/such/directory:" + kTinyDirectory);
    ScopedVariable modules("MAYA_MODULE_PATH", "");
    ok("loadPlugin tinyPlugin");
    EXPECT_EQ(host::findPlugin("tinyPlugin")->path, fs::canonical(kTiny).string());
    // Loaded already: found by its name without a search.
    ok("loadPlugin tinyPlugin");
    EXPECT_NE(err.find("already loaded"), std::string::npos) << err;
    ok("unloadPlugin tinyPlugin; loadPlugin tinyPlugin" + host::pluginExtension());
    EXPECT_TRUE(host::isPluginLoaded("tinyPlugin"));
}

TEST_F(PluginByName, FoundInAModuleOnTheModulePath) {
    const fs::path modules = fs::path(testing::TempDir()) / ("modules_" + std::to_string(::getpid()));
    fs::create_directories(modules);
    // A module file of another platform first, then ours: the module's path is absolute, its
    // plug-ins folder the directory of the test plug-ins.
    std::ofstream(modules / "a.mod") << "+ PLATFORM:otheros tiny 1.0 /nowhere\n";
    std::ofstream(modules / "tiny.mod") << "+ PLATFORM:" << host::hostPlatform() << " tiny 1.0 " << kTinyDirectory
                                        << "\nplug-ins: .\n";
    std::ofstream(modules / "notes.txt") << "+ tiny 1.0 /elsewhere\n";
    ScopedVariable path("MAYA_PLUG_IN_PATH", "");
    ScopedVariable modulePath("MAYA_MODULE_PATH", "/no/such/modules:" + modules.string());
    ok("loadPlugin tinyPlugin");
    EXPECT_EQ(host::findPlugin("tinyPlugin")->path, fs::canonical(kTiny).string());
    fs::remove_all(modules);
}

TEST_F(PluginByName, NotFoundAnywhereFailsNamingWhereItLookedAndChangesNothing) {
    ScopedVariable path("MAYA_PLUG_IN_PATH", "/no/such/directory");
    ScopedVariable modules("MAYA_MODULE_PATH", "/no/such/modules");
    size_t types = host::nodeTypes().size();
    fails("loadPlugin tinyPlugin",
          {"plug-in \"tinyPlugin\" was found neither on MAYA_PLUG_IN_PATH nor in the modules on MAYA_MODULE_PATH"});
    // A path is taken as a path, never searched for.
    ScopedVariable found("MAYA_PLUG_IN_PATH", kTinyDirectory);
    fails("loadPlugin elsewhere/tinyPlugin.so", {"does not exist"});
    EXPECT_EQ(host::nodeTypes().size(), types);
    EXPECT_TRUE(host::loadedPlugins().empty());
}
