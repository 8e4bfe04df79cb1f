// Commands that choose and place the camera pictures are taken through, with Maya's names and flags:
//
//   lookThru CAMERA          makes CAMERA the active view's camera; -q gives the active camera's name.
//   viewPlace [-eye x y z] [-lookAt x y z] [CAMERA]
//                            moves the camera to eye and turns it (no roll, world +Y up) toward lookAt;
//                            with only -eye it keeps its direction, with only -lookAt its position.
//   viewFit [CAMERA]         moves the camera back along its view direction until the whole scene is in
//                            a 960 x 540 picture.
// CAMERA defaults to the active camera.
#include "command/Args.h"
#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/SceneArgs.h"
#include "graph/Dag.h"
#include "nodes/shading/camera.h"
#include "render/ActiveView.h"
#include "render/RasterScene.h"

namespace host {

namespace {

MStatus cameraNamed(const char* command, const ParsedArgs& parsed, std::shared_ptr<Node>& camera) {
    if (parsed.positional.empty()) {
        camera = activeCamera();
        return camera ? MStatus::kSuccess
                      : commandError(command, "there is no camera: " + quoted("persp") + " is not a camera.");
    }
    MStatus status = resolveNode(command, parsed.positional[0].text, camera);
    if (!status)
        return status;
    // A camera's transform stands for its camera.
    std::shared_ptr<Node> shape = shapeOf(camera);
    if (!shape || !shape->hasFn(MFn::kCamera))
        return commandError(command, quoted(camera->name) + " is not a camera.");
    camera = shape;
    return MStatus::kSuccess;
}

MStatus readPoint(const char* command, const ParsedArgs& parsed, const char* flag, geom::Vec3& point) {
    const std::vector<std::string>& values = parsed.flags.at(flag);
    double xyz[3];
    for (int i = 0; i < 3; ++i)
        if (!parseDouble(values[i], xyz[i]))
            return commandError(command, "-" + std::string(flag) + " needs three numbers.");
    point = {xyz[0], xyz[1], xyz[2]};
    return MStatus::kSuccess;
}

}  // namespace

MStatus lookThruCommand(const Args& args, MCommandResult& result) {
    const char* const command = "lookThru";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args, {{"query", "q", 0}}, parsed);
    if (status)
        status = expectCount(command, parsed, parsed.has("query") ? 0 : 1, 1, "lookThru camera");
    if (!status)
        return status;
    if (parsed.has("query")) {
        std::shared_ptr<Node> camera = activeCamera();
        CommandResultAccess::setString(result, MString(camera ? camera->name.c_str() : ""));
        return MStatus::kSuccess;
    }
    std::shared_ptr<Node> camera;
    if (!(status = cameraNamed(command, parsed, camera)))
        return status;
    setActiveCamera(MObject(camera));
    return MStatus::kSuccess;
}

MStatus viewPlaceCommand(const Args& args, MCommandResult&) {
    const char* const command = "viewPlace";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args, {{"eye", "eye", 3}, {"lookAt", "la", 3}}, parsed);
    if (status)
        status = expectCount(command, parsed, 0, 1, "viewPlace [-eye x y z] [-lookAt x y z] [camera]");
    std::shared_ptr<Node> camera;
    if (status)
        status = cameraNamed(command, parsed, camera);
    if (!status)
        return status;
    geom::Vec3 eye, target;
    double rotate[3];
    cameraPlacement(camera, eye, rotate);
    if (parsed.has("eye") && !(status = readPoint(command, parsed, "eye", eye)))
        return status;
    if (parsed.has("lookAt")) {
        if (!(status = readPoint(command, parsed, "lookAt", target)))
            return status;
        if (geom::length(target - eye) == 0.0)
            return commandError(command, "the eye and the point looked at are the same point.");
        RasterCamera::lookAt(eye, target, rotate);
    }
    if (!placeCamera(camera, eye, rotate))
        return commandError(command, quoted(camera->name) + " cannot be moved.");
    return MStatus::kSuccess;
}

MStatus viewFitCommand(const Args& args, MCommandResult&) {
    const char* const command = "viewFit";
    ParsedArgs parsed;
    MStatus status = parseArgs(command, args, {}, parsed);
    if (status)
        status = expectCount(command, parsed, 0, 1, "viewFit [camera]");
    std::shared_ptr<Node> camera;
    if (status)
        status = cameraNamed(command, parsed, camera);
    if (!status)
        return status;
    fitCamera(camera, 960, 540);
    return MStatus::kSuccess;
}

}  // namespace host
