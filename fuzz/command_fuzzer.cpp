// libFuzzer target: runs each input as command-language text in a fresh scene, with its output captured.
// Plug-ins load by the paths the text names; the runner (scripts/fuzz.sh) works in a scratch directory
// holding copies of the built plug-ins, so that what the text writes lands there.

#include <host/Host.h>
#include <maya/MGlobal.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        host::setMayaState(MGlobal::kBatch);
        return true;
    }();
    (void)ready;
    std::string text(reinterpret_cast<const char*>(data), size);
    {
        host::OutputCapture quiet;
        host::execute(text);
        host::newScene();
    }
    host::clearJournal();
    return 0;
}
