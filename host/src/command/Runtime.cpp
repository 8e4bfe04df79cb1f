#include "graph/Scene.h"

#include <host/Host.h>
#include <maya/MGlobal.h>
#include <maya/MTime.h>

#include <iostream>

// The scene-level part of host/Host.h: evaluation, scene reset, lookups and output capture.

namespace host {

MStatus evaluate(const std::string& plugName) {
    MStatus status;
    MPlug plug = plugFromName(plugName, &status);
    if (plug.isNull()) {
        MGlobal::displayError(MString("evaluate: no plug named '" + plugName + "'."));
        return MStatus::kInvalidParameter;
    }
    return pull(plug);
}

bool isPlugClean(const std::string& plugName) {
    MPlug plug = plugFromName(plugName);
    return !plug.isNull() && isClean(plug);
}

void newScene() {
    // Delete from a copy of the node list, newest first, so that each node outlives its own deletion
    // whatever deleteNode does with the scene's list; clearScene then resets the rest.
    std::vector<std::shared_ptr<Node>> nodes = sceneNodes();
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
        deleteNode(*it);
    clearScene();
    MTime::setUIUnit(MTime::kFilm);
    setCurrentTime(MTime());
}

MObject nodeByName(const std::string& name) {
    std::shared_ptr<Node> node = findNode(name);
    return node ? MObject(node) : MObject();
}

MPlug plugByName(const std::string& name) { return plugFromName(name); }

OutputCapture::OutputCapture()
    : oldOut_(std::cout.rdbuf(out_.rdbuf())), oldErr_(std::cerr.rdbuf(err_.rdbuf())) {}

OutputCapture::~OutputCapture() {
    std::cout.rdbuf(oldOut_);
    std::cerr.rdbuf(oldErr_);
}

void OutputCapture::clear() {
    out_.str(std::string());
    out_.clear();
    err_.str(std::string());
    err_.clear();
}

}  // namespace host
