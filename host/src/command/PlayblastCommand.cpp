// playblast: writes a picture of what the active camera sees, one PNG file per frame, in Maya's manner.
//
//   playblast [-format image] [-compression png] [-filename NAME] [-frame F]... | [-startTime S] [-endTime E]
//             [-widthHeight W H | -width W -height H] [-percent P] [-framePadding N] [-viewer false]
//             [-forceOverwrite] [-offScreen] [-showOrnaments b] [-clearCache b] [-quality q]
//
// Files are named as Maya names image sequences: NAME.0001.png, the frame number rounded and padded to
// -framePadding digits (4 by default). Missing directories of NAME are made; an existing file is
// replaced. The result is the name with the frame number as '#'s (NAME.####.png).
//
// Frames: each -frame (the flag can be given many times), in the order given; else every whole frame
// from -startTime to -endTime (a missing end is the start, a missing start the current frame); else the
// current frame alone (Maya would play the time slider's range, which the host does not have). The time
// is set to each frame in turn (so dynamics step as when playing) and stays at the last frame: the host
// keeps no particle start state to go back to. At most 10000 frames.
//
// Camera: the active view's camera (lookThru chooses it), else "persp" (see M3dView.h). When the
// playblast had to make "persp" itself, it first moves it back along Maya's default view direction
// until the whole scene is in the picture (as viewFit does).
//
// Only PNG images are written: -format must be "image" (the default here; Maya's is a movie) and
// -compression "png". The size is -widthHeight (960 x 540 by default, each side 1 to 8192) scaled by
// -percent (clamped to 10 .. 100; 100 by default, where Maya's is 50). -viewer, -offScreen,
// -showOrnaments, -clearCache, -quality and -forceOverwrite are accepted and change nothing: the host
// has no viewer, no heads-up display and no cache, and always overwrites.
#include "command/Args.h"
#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/RunBudget.h"
#include "graph/Dag.h"
#include "graph/Scene.h"
#include "render/ActiveView.h"
#include "render/PngFile.h"
#include "render/Raster.h"
#include "render/RasterScene.h"

#include <maya/MTime.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>

namespace host {

namespace {

const char* const kPlayblast = "playblast";
constexpr int kMaxSide = 8192;
constexpr int kMaxFrames = 10000;
// Frame numbers beyond this cannot step by one frame (doubles lose whole numbers past 2^53) nor name a
// file; a picture of frame 1e300 is a mistake.
constexpr double kMaxFrameNumber = 1e9;

bool isFrameNumber(double frame) { return std::fabs(frame) <= kMaxFrameNumber; }

std::string formatFrame(double frame) {
    std::ostringstream text;
    text << frame;
    return text.str();
}

struct PlayblastRequest {
    std::string name = "playblast";
    int width = 960;
    int height = 540;
    int padding = 4;
    std::vector<double> frames;
};

// Takes every "-frame value" out of args (a flag Maya lets a script repeat) into frames.
MStatus takeFrames(const Args& args, Args& rest, std::vector<double>& frames) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (!isFlag(args[i]) || (args[i].text != "-frame" && args[i].text != "-fr")) {
            rest.push_back(args[i]);
            continue;
        }
        double frame = 0.0;
        if (i + 1 >= args.size() || !parseDouble(args[i + 1].text, frame) || !isFrameNumber(frame))
            return commandError(kPlayblast, "-frame needs a frame number from -1e9 to 1e9.");
        frames.push_back(frame);
        ++i;
    }
    return MStatus::kSuccess;
}

MStatus readSide(const std::string& text, const char* what, int& side) {
    if (!parseInt(text, side) || side < 1 || side > kMaxSide)
        return commandError(kPlayblast, std::string(what) + " must be a whole number of pixels from 1 to " +
                                            std::to_string(kMaxSide) + ".");
    return MStatus::kSuccess;
}

MStatus readSize(const ParsedArgs& parsed, PlayblastRequest& request) {
    MStatus status;
    if (parsed.has("widthHeight")) {
        if (parsed.has("width") || parsed.has("height"))
            return commandError(kPlayblast, "give -widthHeight or -width and -height, not both.");
        const std::vector<std::string>& values = parsed.flags.at("widthHeight");
        if (!(status = readSide(values[0], "The width", request.width)) ||
            !(status = readSide(values[1], "The height", request.height)))
            return status;
    }
    if (parsed.has("width") && !(status = readSide(parsed.value("width"), "The width", request.width)))
        return status;
    if (parsed.has("height") && !(status = readSide(parsed.value("height"), "The height", request.height)))
        return status;
    if (parsed.has("percent")) {
        double percent = 0.0;
        if (!parseDouble(parsed.value("percent"), percent))
            return commandError(kPlayblast, "-percent needs a number.");
        percent = std::clamp(percent, 10.0, 100.0);
        request.width = std::max(1, static_cast<int>(std::lround(request.width * percent / 100.0)));
        request.height = std::max(1, static_cast<int>(std::lround(request.height * percent / 100.0)));
    }
    return MStatus::kSuccess;
}

MStatus readFrames(const ParsedArgs& parsed, PlayblastRequest& request) {
    const bool range = parsed.has("startTime") || parsed.has("endTime");
    if (range && !request.frames.empty())
        return commandError(kPlayblast, "give -frame or -startTime/-endTime, not both.");
    if (!request.frames.empty())
        return request.frames.size() > static_cast<size_t>(kMaxFrames)
                   ? commandError(kPlayblast, "at most " + std::to_string(kMaxFrames) + " frames at once.")
                   : MStatus::kSuccess;
    const double now = currentTime().as(MTime::uiUnit());
    double start = now, end = now;
    if (parsed.has("startTime") && (!parseDouble(parsed.value("startTime"), start) || !isFrameNumber(start)))
        return commandError(kPlayblast, "-startTime needs a frame number from -1e9 to 1e9.");
    end = start;
    if (parsed.has("endTime") && (!parseDouble(parsed.value("endTime"), end) || !isFrameNumber(end)))
        return commandError(kPlayblast, "-endTime needs a frame number from -1e9 to 1e9.");
    if (!isFrameNumber(start))
        return commandError(kPlayblast, "the current time is beyond frame 1e9; give -startTime.");
    if (end < start)
        return commandError(kPlayblast, "-endTime is before -startTime.");
    if (end - start >= kMaxFrames)
        return commandError(kPlayblast, "at most " + std::to_string(kMaxFrames) + " frames at once.");
    const int count = static_cast<int>(std::floor(end - start + 1e-9)) + 1;
    for (int i = 0; i < count; ++i)
        request.frames.push_back(start + i);
    return MStatus::kSuccess;
}

MStatus readRequest(const Args& args, PlayblastRequest& request) {
    Args rest;
    MStatus status = takeFrames(args, rest, request.frames);
    if (!status)
        return status;
    ParsedArgs parsed;
    status = parseArgs(kPlayblast, rest,
                       {{"format", "fmt", 1},        {"compression", "c", 1},    {"filename", "f", 1},
                        {"startTime", "st", 1},      {"endTime", "et", 1},       {"widthHeight", "wh", 2},
                        {"width", "w", 1},           {"height", "h", 1},         {"percent", "p", 1},
                        {"framePadding", "fp", 1},   {"viewer", "v", 1},         {"forceOverwrite", "fo", 0},
                        {"offScreen", "os", 0},      {"showOrnaments", "orn", 1}, {"clearCache", "cc", 1},
                        {"quality", "qlt", 1}},
                       parsed);
    if (status)
        status = expectCount(kPlayblast, parsed, 0, 0, "playblast -format image -filename name [flags]");
    if (!status)
        return status;
    if (parsed.has("format") && parsed.value("format") != "image")
        return commandError(kPlayblast, "format " + quoted(parsed.value("format")) +
                                            " is not supported: the host writes image files (-format image).");
    if (parsed.has("compression") && parsed.value("compression") != "png")
        return commandError(kPlayblast, "compression " + quoted(parsed.value("compression")) +
                                            " is not supported: the host writes PNG files (-compression png).");
    for (const char* flag : {"viewer", "showOrnaments", "clearCache"}) {
        bool ignored = false;
        if (parsed.has(flag) && !parseBool(parsed.value(flag), ignored))
            return commandError(kPlayblast, "-" + std::string(flag) + " needs true or false.");
    }
    if (parsed.has("filename")) {
        request.name = parsed.value("filename");
        if (request.name.empty())
            return commandError(kPlayblast, "-filename needs a file name.");
    }
    if (parsed.has("framePadding") &&
        (!parseInt(parsed.value("framePadding"), request.padding) || request.padding < 0 || request.padding > 9))
        return commandError(kPlayblast, "-framePadding needs a whole number from 0 to 9.");
    if (!(status = readSize(parsed, request)))
        return status;
    return readFrames(parsed, request);
}

std::string frameFileName(const PlayblastRequest& request, double frame) {
    char number[32];
    std::snprintf(number, sizeof number, "%0*ld", request.padding, std::lround(frame));
    return request.name + "." + number + ".png";
}

MStatus makeParentDirectory(const std::string& file) {
    const std::filesystem::path parent = std::filesystem::path(file).parent_path();
    std::error_code error;
    if (parent.empty() || std::filesystem::is_directory(parent, error))
        return MStatus::kSuccess;
    std::filesystem::create_directories(parent, error);
    if (error)
        return commandError(kPlayblast, "cannot make the directory " + quoted(parent.string()) + ": " +
                                            error.message() + ".");
    return MStatus::kSuccess;
}

}  // namespace

MStatus playblastCommand(const Args& args, MCommandResult& result) {
    PlayblastRequest request;
    MStatus status = readRequest(args, request);
    if (!status)
        return status;
    const bool hadPersp = findNode("persp") != nullptr;
    std::shared_ptr<Node> camera = activeCamera();
    if (!camera)
        return commandError(kPlayblast, "there is no camera to look through: " + quoted("persp") + " is not a camera.");
    if (!(status = makeParentDirectory(request.name + ".png")))
        return status;
    bool fitted = hadPersp || camera != shapeOf(findNode("persp"));
    const long long pixels = static_cast<long long>(request.width) * request.height;
    if (!spendPixels(pixels))
        return commandError(kPlayblast, "the run's pixel budget is spent.");
    Raster raster(request.width, request.height);  // one for all frames: drawScene clears it
    for (size_t i = 0; i < request.frames.size(); ++i) {
        const double frame = request.frames[i];
        if ((i > 0 && !spendPixels(pixels)) || !spendFrames(1))
            return commandError(kPlayblast, "stopped at frame " + formatFrame(frame) +
                                                ": the run's frame or pixel budget is spent.");
        setCurrentTime(MTime(frame, MTime::uiUnit()));
        if (!fitted)
            fitted = fitCamera(camera, request.width, request.height);
        drawScene(raster, RasterCamera(cameraWorldMatrix(camera), request.width, request.height, cameraLens(camera)));
        const std::string file = frameFileName(request, frame);
        std::string error;
        if (!writePngFile(file, raster.width(), raster.height(), raster.rgb(), error))
            return commandError(kPlayblast, "cannot write " + quoted(file) + ": " + error + ".");
    }
    CommandResultAccess::setString(result, MString((request.name + "." + std::string(request.padding, '#') + ".png").c_str()));
    return MStatus::kSuccess;
}

}  // namespace host
