// libFuzzer target: runs each input as command-language text in a fresh scene. What the text prints is
// thrown away (a loop of prints would otherwise pile up), and the journal is emptied after each input.
// Each input gets small bounds on loop iterations, script variables, frames and pictures, so that an
// input asking for a long but finite run (a hundred million iterations, a million frames, ten thousand
// large pictures) stops early with an error instead of reading as a hang.
// Plug-ins load by the paths the text names; the runner (scripts/fuzz.sh) works in a scratch directory
// holding copies of the built plug-ins, so that what the text writes lands there.

#include <host/Host.h>
#include <maya/MGlobal.h>

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <streambuf>
#include <string>

namespace {

class Discard : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        host::setMayaState(MGlobal::kBatch);
        // Tighter bounds than a scene's, so that a runaway loop or recursion ends well within the time
        // an input may take.
        host::ScriptLimits limits;
        limits.loopIterations = 20000;
        limits.callDepth = 200;
        limits.variableBytes = size_t(16) << 20;
        host::setScriptLimits(limits);
        // Never destroyed: the standard streams still flush into it when the program ends.
        static Discard* discard = new Discard;
        std::cout.rdbuf(discard);
        std::cerr.rdbuf(discard);
        return true;
    }();
    (void)ready;
    host::setRunBudget(200, 1000000);
    host::execute(std::string(reinterpret_cast<const char*>(data), size));
    host::newScene();
    host::clearJournal();
    return 0;
}
