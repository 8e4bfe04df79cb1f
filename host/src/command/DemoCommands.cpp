// Host commands for driving and reporting a scene from a script (not Maya commands):
//   playFrames [-every N] START END "commands"
//                                     sets the current time to each whole frame from START to END in turn
//                                     and runs the commands after every N-th frame (N = 1 by default) and
//                                     after the last; stops at the first failure.
//   particleStats [-header] [-color ATTR] PARTICLE CURVE
//                                     prints one table row: frame, particle count, mean distance of the
//                                     particles to the curve, mean curve parameter normalised to 0 .. 1,
//                                     and with -color the mean of the per-particle colour attribute ATTR.
//   writeParticles PARTICLE FILE      writes the particle positions as a MEL "particle" command that
//                                     recreates them (Maya can source it). The file is written beside
//                                     the target and renamed over it when complete, so a failed write
//                                     leaves the old file whole; a loaded plug-in library, a directory
//                                     or any target that is not a regular file is refused.
// playFrames plays at most 1,000,000 frames per call, and at most 100,000,000 bytes of command text
// (frames x text length), which is what the journal keeps of it.
#include "command/Args.h"
#include "command/Builtins.h"
#include "command/RunBudget.h"
#include "command/SceneArgs.h"
#include "graph/Scene.h"

#include <host/Host.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNurbsCurve.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MTime.h>

#include "plugin/Loader.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#endif

namespace host {

namespace {

bool vectorsOf(const std::shared_ptr<Node>& node, const std::string& attribute, MVectorArray& values) {
    MObject data;
    MFnDependencyNode fn{MObject(node)};
    if (fn.findPlug(attribute.c_str()).getValue(data) != MStatus::kSuccess) return false;
    MFnVectorArrayData vectors(data);
    return vectors.copyTo(values) == MStatus::kSuccess;
}

bool positionsOf(const std::shared_ptr<Node>& node, MVectorArray& positions) {
    return vectorsOf(node, "position", positions);
}

// printf into a string as long as the numbers need (1e300 prints 300 digits wide).
__attribute__((format(printf, 1, 2))) std::string formatted(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    return text;
}

std::string systemError(int error) {
    return std::strerror(error);
}

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Where a path's directory part ends: its last separator, or npos.
size_t lastSeparator(const std::string& path) {
#ifdef _WIN32
    return path.find_last_of("/\\");
#else
    return path.rfind('/');
#endif
}

// Writes text to path: into a new file beside it, renamed over it once complete. Why it failed, or "".
std::string replaceFile(const std::string& path, const std::string& text) {
    std::string target = path;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return "it is not a regular file";
#ifdef _WIN32
        char* real = ::_fullpath(nullptr, path.c_str(), 0);
#else
        char* real = ::realpath(path.c_str(), nullptr);
#endif
        if (real) {
            target = real;
            std::free(real);
        }
        for (const auto& plugin : loadedPlugins())
            if (plugin->path == target)
                return "it is the loaded plug-in library " + quoted(plugin->name);
    }
    size_t slash = lastSeparator(target);
    std::string temporary = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + ".";
    temporary += (slash == std::string::npos ? target : target.substr(slash + 1)) + ".XXXXXX";
    int fd = ::mkstemp(&temporary[0]);
    if (fd < 0)
        return systemError(errno);
#ifndef _WIN32
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
#endif
    bool written = writeAll(fd, text);
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
#ifdef _WIN32
    // Windows' rename refuses an existing target.
    if (written && !::MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        written = false;
        error = EACCES;
    }
#else
    if (written && ::rename(temporary.c_str(), target.c_str()) != 0) {
        written = false;
        error = errno;
    }
#endif
    if (!written) {
        ::unlink(temporary.c_str());
        return systemError(error);
    }
    return "";
}

}  // namespace

MStatus playFramesCommand(const Args& args, MCommandResult&) {
    ParsedArgs parsed;
    MStatus status = parseArgs("playFrames", args, {{"every", "e", 1}}, parsed);
    if (status) status = expectCount("playFrames", parsed, 3, 3, "playFrames [-every n] start end \"commands\"");
    if (!status) return status;
    int first = 0, last = 0, every = 1;
    if (!parseInt(parsed.positional[0].text, first) || !parseInt(parsed.positional[1].text, last))
        return commandError("playFrames", "start and end must be whole frame numbers.");
    if (parsed.has("every") && (!parseInt(parsed.value("every"), every) || every < 1))
        return commandError("playFrames", "-every needs a whole number of frames of at least 1.");
    const long long start = first, end = last;
    const long long frames = end - start + 1;
    const long long maxFrames = 1000000, maxText = 100000000;
    if (frames > maxFrames)
        return commandError("playFrames", std::to_string(frames) + " frames are more than the " +
                                              std::to_string(maxFrames) + " one call may play.");
    const long long runs = frames > 0 ? (frames - 1) / every + 1 + ((frames - 1) % every != 0) : 0;
    if (runs * static_cast<long long>(parsed.positional[2].text.size() + 1) > maxText)
        return commandError("playFrames", "the commands would run " + std::to_string(runs) +
                                              " times; shorten them or play fewer frames.");
    for (long long frame = start; frame <= end; ++frame) {
        if (!spendFrames(1))
            return commandError("playFrames", "stopped at frame " + std::to_string(frame) +
                                                  ": the run's frame budget is spent.");
        setCurrentTime(MTime(static_cast<double>(frame), MTime::uiUnit()));
        if ((frame - start) % every != 0 && frame != end) continue;
        MStatus ran = execute(parsed.positional[2].text);
        if (ran != MStatus::kSuccess) return commandError("playFrames", "stopped at frame " + std::to_string(frame) + ".");
    }
    return MStatus::kSuccess;
}

MStatus particleStatsCommand(const Args& args, MCommandResult&) {
    ParsedArgs parsed;
    MStatus status = parseArgs("particleStats", args, {{"header", "h", 0}, {"color", "c", 1}}, parsed);
    if (status)
        status = expectCount("particleStats", parsed, 2, 2, "particleStats [-header] [-color attribute] particle curve");
    if (!status) return status;
    std::shared_ptr<Node> particle, curve;
    if (!(status = resolveNode("particleStats", parsed.positional[0].text, particle))) return status;
    if (!(status = resolveNode("particleStats", parsed.positional[1].text, curve))) return status;
    MVectorArray positions;
    if (!positionsOf(particle, positions))
        return commandError("particleStats", quoted(particle->name) + " has no particle positions.");
    MStatus curveStatus;
    MFnNurbsCurve fn{MObject(curve), &curveStatus};
    double first = 0.0, last = 0.0;
    if (curveStatus != MStatus::kSuccess || fn.getKnotDomain(first, last) != MStatus::kSuccess)
        return commandError("particleStats", quoted(curve->name) + " is not a NURBS curve.");
    double distance = 0.0, u = 0.0;
    for (unsigned i = 0; i < positions.length(); ++i) {
        double param = 0.0;
        MPoint p(positions[i]);
        MPoint c = fn.closestPoint(p, &param, 1e-6, MSpace::kWorld);
        distance += (p - c).length();
        u += last > first ? (param - first) / (last - first) : 0.0;
    }
    MVectorArray colors;
    MVector color;
    if (parsed.has("color")) {
        if (!vectorsOf(particle, parsed.value("color"), colors))
            return commandError("particleStats", quoted(parsed.value("color")) + " is not a per-particle vector attribute.");
        for (unsigned i = 0; i < colors.length(); ++i) color += colors[i];
        if (colors.length() > 0) color = color / colors.length();
    }
    const double n = positions.length();
    if (parsed.has("header"))
        std::cout << " frame  particles  mean distance  mean u" << (parsed.has("color") ? "  mean colour (r g b)" : "") << "\n";
    std::string row = formatted("%6.0f  %9u  %13.4f  %6.3f", currentTime().as(MTime::uiUnit()), positions.length(),
                                n > 0 ? distance / n : 0.0, n > 0 ? u / n : 0.0);
    if (parsed.has("color"))
        row += formatted("  %5.3f %5.3f %5.3f", color.x, color.y, color.z);
    std::cout << row << "\n" << std::flush;
    return MStatus::kSuccess;
}

MStatus writeParticlesCommand(const Args& args, MCommandResult&) {
    ParsedArgs parsed;
    MStatus status = parseArgs("writeParticles", args, {}, parsed);
    if (status) status = expectCount("writeParticles", parsed, 2, 2, "writeParticles particle file");
    if (!status) return status;
    std::shared_ptr<Node> particle;
    if (!(status = resolveNode("writeParticles", parsed.positional[0].text, particle))) return status;
    MVectorArray positions;
    if (!positionsOf(particle, positions))
        return commandError("writeParticles", quoted(particle->name) + " has no particle positions.");
    const std::string& path = parsed.positional[1].text;
    std::ostringstream out;
    out << "// " << positions.length() << " particles of " << particle->name << " at frame "
        << currentTime().as(MTime::uiUnit()) << "\nparticle -n " << particle->name;
    for (unsigned i = 0; i < positions.length(); ++i)
        out << formatted("\n    -p %.9g %.9g %.9g", positions[i].x, positions[i].y, positions[i].z);
    out << ";\n";
    std::string problem = replaceFile(path, out.str());
    if (!problem.empty())
        return commandError("writeParticles", "cannot write " + quoted(path) + ": " + problem + ".");
    return MStatus::kSuccess;
}

}  // namespace host
