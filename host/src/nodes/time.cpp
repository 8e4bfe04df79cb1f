#include "nodes/time.h"

#include "graph/Scene.h"

#include <maya/MFnUnitAttribute.h>
#include <maya/MPlug.h>
#include <maya/MTime.h>

const MTypeId timeNode::id(0x7F000002);
const char* const timeNode::typeName = "time";

MObject timeNode::outTime;

void* timeNode::creator() {
    return new timeNode();
}

MStatus timeNode::initialize() {
    MStatus status;
    MFnUnitAttribute unit;
    outTime = unit.create("outTime", "o", MTime(), &status);
    if (status != MStatus::kSuccess)
        return status;
    unit.setStorable(false);
    return addAttribute(outTime);
}

void timeNode::postConstructor() {
    MPlug(thisMObject(), outTime).setValue(host::currentTime());
}

namespace host {

MStatus registerTimeType() {
    return registerType(timeNode::typeName, timeNode::id, timeNode::creator, timeNode::initialize,
                        MPxNode::kDependNode, MFn::kTime, "");
}

std::shared_ptr<Node> sceneTimeNode() {
    std::shared_ptr<Node> named = findNode("time1");
    if (named && named->type->id == timeNode::id)
        return named;
    for (const std::shared_ptr<Node>& node : sceneNodes())
        if (node->type->id == timeNode::id)
            return node;
    return createNode(timeNode::typeName, "time1");
}

}  // namespace host
