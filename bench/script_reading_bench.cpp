// Reading large scene scripts: a million particles made by one long particle command (about 28 MB of
// script) and by a loop of emit commands, read and built by runScript, against a baseline that only reads
// the same file and splits it into tokens (words, strings, back-quotes, ';', comments skipped).
//
// Speed: MB of script per second, the median of several runs (the machine is shared, so the runs of the
// script and of the baseline alternate). Memory: each run is a child process; its peak resident set
// (getrusage ru_maxrss) less that of a child that runs an empty script is what reading the scene cost,
// compared with 3x the particle data (position, velocity and mass: 56 bytes a particle) plus the script's
// size. Google Benchmark then times the long command against the tokenizer in this process.

#include "goalReport.h"

#include <host/Host.h>
#include <maya/MGlobal.h>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int particleCount = 1000000;
const double particleBytes = 56.0;  // position and velocity (3 doubles each) and mass

std::string tempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/" + name + "." + std::to_string(::getpid()) + ".mel";
}

// particle -n cloud -p x y z -p ... with coordinates of four decimals in [-100, 100).
std::string writeParticleCommand() {
    std::string path = tempPath("million_particles");
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-100.0, 100.0);
    std::ofstream out(path);
    out << "// A million particles in one command.\nparticle -n cloud";
    char buffer[96];
    for (int i = 0; i < particleCount; ++i) {
        double x = coordinate(random), y = coordinate(random), z = coordinate(random);
        std::snprintf(buffer, sizeof buffer, "\n    -p %.4f %.4f %.4f", x, y, z);
        out << buffer;
    }
    out << ";\n";
    return path;
}

std::string writeEmitLoop() {
    std::string path = tempPath("million_emits");
    std::ofstream out(path);
    out << "// A million particles emitted one at a time.\n"
           "particle -n cloud;\n"
           "for ($i = 0; $i < "
        << particleCount
        << "; $i++) {\n"
           "    float $a = $i * 0.001;\n"
           "    emit -object cloud -position (sin($a) * 10) ($i * 0.0001) (cos($a) * 10);\n"
           "}\n";
    return path;
}

std::string writeEmpty() {
    std::string path = tempPath("empty_script");
    std::ofstream(path) << "// nothing\n";
    return path;
}

size_t fileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<size_t>(in.tellg()) : 0;
}

// The baseline: the file read into memory as runScript reads it, then split into tokens.
size_t tokenize(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text(fileSize(path), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    size_t tokens = 0;
    size_t i = 0, n = text.size();
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (i < n) {
        char c = text[i];
        if (blank(c)) {
            ++i;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '/') {
            while (i < n && text[i] != '\n')
                ++i;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            size_t end = text.find("*/", i + 2);
            i = end == std::string::npos ? n : end + 2;
        } else if (c == '"' || c == '`') {
            ++i;
            while (i < n && text[i] != c)
                i += text[i] == '\\' ? 2 : 1;
            ++i;
            ++tokens;
        } else if (c == ';') {
            ++i;
            ++tokens;
        } else {
            while (i < n && !blank(text[i]) && text[i] != ';')
                ++i;
            ++tokens;
        }
    }
    return tokens;
}

struct ChildRun {
    bool ok = false;
    double seconds = 0.0;
    double peakMB = 0.0;
};

// Runs the script (or the tokenizer) in a child process: its time and its peak resident set.
ChildRun runInChild(const std::string& path, bool tokenizeOnly) {
    int fds[2];
    if (::pipe(fds) != 0)
        return ChildRun();
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ChildRun r;
        host::setMayaState(MGlobal::kBatch);
        auto start = std::chrono::steady_clock::now();
        if (tokenizeOnly) {
            r.ok = tokenize(path) > 0;
        } else {
            host::OutputCapture quiet;
            r.ok = host::runScript(path) == MStatus::kSuccess;
        }
        r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        struct rusage usage {};
        ::getrusage(RUSAGE_SELF, &usage);
        r.peakMB = usage.ru_maxrss / 1024.0;
        ssize_t written = ::write(fds[1], &r, sizeof r);
        ::_exit(written == static_cast<ssize_t>(sizeof r) ? 0 : 1);
    }
    ::close(fds[1]);
    ChildRun r;
    ssize_t got = ::read(fds[0], &r, sizeof r);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (got != static_cast<ssize_t>(sizeof r) || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return ChildRun();
    return r;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

std::string range(const std::vector<double>& v, const char* format) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, format, *std::min_element(v.begin(), v.end()),
                  *std::max_element(v.begin(), v.end()));
    return buffer;
}

// Prints the speed and memory goals of one scene; false when a run failed.
bool measureScene(const char* title, const std::string& path, const std::string& empty, int runs, bool speedGoal) {
    double mb = fileSize(path) / 1e6;
    std::vector<double> scriptRate, tokenRate, peak, emptyPeak;
    for (int k = 0; k < runs; ++k) {
        ChildRun base = runInChild(empty, false);
        ChildRun tokens = runInChild(path, true);
        ChildRun script = runInChild(path, false);
        if (!base.ok || !tokens.ok || !script.ok) {
            std::printf("GOAL %s: could not be measured (a run failed)\n", title);
            return false;
        }
        scriptRate.push_back(mb / script.seconds);
        tokenRate.push_back(mb / tokens.seconds);
        peak.push_back(script.peakMB - base.peakMB);
        emptyPeak.push_back(base.peakMB);
    }
    double bound = 3.0 * particleCount * particleBytes / 1e6 + mb;
    double cost = median(peak);
    std::printf("%s: %.3f MB of script, %d runs\n", title, mb, runs);
    if (speedGoal)
        std::printf("  read and built: %.1f MB/s (range %s); tokenizing alone: %.1f MB/s (range %s), %.2fx the time\n",
                    median(scriptRate), range(scriptRate, "%.1f-%.1f").c_str(), median(tokenRate),
                    range(tokenRate, "%.1f-%.1f").c_str(), median(tokenRate) / median(scriptRate));
    else
        std::printf("  read and built in %.2f s (median)\n", mb / median(scriptRate));
    std::printf("  peak resident set %.1f MB above an empty script's (%.1f MB; range %s above)\n", cost,
                median(emptyPeak), range(peak, "%.1f-%.1f").c_str());
    if (speedGoal)
        std::printf("GOAL %s, speed: %.1f MB/s of script (goal >= 50 MB/s)\n", title, median(scriptRate));
    std::printf("GOAL %s, memory: peak %.1f MB, %.2fx of 3 x %.0f MB particle data + %.1f MB script (goal <= 1 x)\n",
                title, cost, cost / bound, particleCount * particleBytes / 1e6, mb);
    return true;
}

std::string particlePath;

void tokenizeParticleCommand(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(tokenize(particlePath));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileSize(particlePath)));
}

void readParticleCommand(benchmark::State& state) {
    for (auto _ : state) {
        host::OutputCapture quiet;
        if (host::runScript(particlePath) != MStatus::kSuccess) {
            state.SkipWithError("the scene failed");
            return;
        }
        state.PauseTiming();
        host::newScene();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileSize(particlePath)));
}

}  // namespace

BENCHMARK(tokenizeParticleCommand)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(readParticleCommand)->Unit(benchmark::kMillisecond)->Repetitions(5);

int main(int argc, char** argv) {
    host::setMayaState(MGlobal::kBatch);
    particlePath = writeParticleCommand();
    std::string loopPath = writeEmitLoop();
    std::string emptyPath = writeEmpty();
    bool ok = measureScene("script reading, 1,000,000 particles in one particle command", particlePath, emptyPath, 5,
                           true);
    ok = measureScene("script reading, 1,000,000 particles by a loop of emit", loopPath, emptyPath, 3, false) && ok;
    std::cout.flush();
    int status = benchGoals::runAndReport(
        argc, argv,
        {{"script reading, one particle command of 1,000,000 positions, against tokenizing it",
          "readParticleCommand", "tokenizeParticleCommand", 10.0}});
    std::remove(particlePath.c_str());
    std::remove(loopPath.c_str());
    std::remove(emptyPath.c_str());
    return ok ? status : 1;
}
