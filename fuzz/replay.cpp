// Replays inputs of the command-language fuzz target as an ordinary program, so that the kept inputs run
// as tests in every build: fuzz_replay input... runs each file through the target in turn, in a scratch
// directory holding copies of the built plug-ins (the inputs load them by relative path and may write
// files). Exits 0 when every input ran; a fault of the host ends it as the fuzzer would.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace {

bool copyInto(const fs::path& directory, const char* plugin) {
    std::error_code error;
    fs::create_directories(directory, error);
    fs::copy_file(plugin, directory / fs::path(plugin).filename(), fs::copy_options::overwrite_existing, error);
    if (error)
        std::cerr << "fuzz_replay: cannot copy " << plugin << ": " << error.message() << "\n";
    return !error;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: fuzz_replay input...\n";
        return 2;
    }
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::cerr << "fuzz_replay: cannot read " << argv[i] << "\n";
            return 2;
        }
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::error_code error;
    fs::path scratch = fs::temp_directory_path(error) / ("fuzz_replay." + std::to_string(::getpid()));
    fs::create_directories(scratch, error);
    if (error || !copyInto(scratch / "dynamics", VEXMORA_DYNAMICS_PLUGIN) ||
        !copyInto(scratch / "animation", VEXMORA_ANIMATION_PLUGIN))
        return 2;
    const fs::path home = fs::current_path();
    fs::current_path(scratch);
    for (size_t i = 0; i < inputs.size(); ++i) {
        std::printf("fuzz_replay: %s\n", argv[i + 1]);
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(inputs[i].data()), inputs[i].size());
    }
    fs::current_path(home);
    fs::remove_all(scratch, error);
    return 0;
}
