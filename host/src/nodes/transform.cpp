#include "nodes/transform.h"

#include "graph/Scene.h"

#include <maya/MFnNumericAttribute.h>
#include <maya/MFnUnitAttribute.h>

// Host node type ids for the DAG are 0x7300xx.
const MTypeId transformNode::id(0x730001);
const char* const transformNode::typeName = "transform";

MObject transformNode::translate;
MObject transformNode::rotate;
MObject transformNode::scale;

namespace {

// A double3 "name"/"short" with children nameX/shortx ..., or of three angles when angle is true.
MObject triple(const char* longName, const char* shortName, double value, bool angle, MStatus& status) {
    const char* axes[] = {"X", "Y", "Z"};
    const char* shortAxes[] = {"x", "y", "z"};
    MObject children[3];
    for (int i = 0; i < 3; ++i) {
        MString childLong = MString(longName) + axes[i];
        MString childShort = MString(shortName) + shortAxes[i];
        if (angle) {
            MFnUnitAttribute fn;
            children[i] = fn.create(childLong, childShort, MFnUnitAttribute::kAngle, value);
        } else {
            MFnNumericAttribute fn;
            children[i] = fn.create(childLong, childShort, MFnNumericData::kDouble, value);
        }
    }
    MFnNumericAttribute fn;
    MStatus s;
    MObject attribute = fn.create(longName, shortName, children[0], children[1], children[2], &s);
    if (s != MStatus::kSuccess)
        status = s;
    fn.setKeyable(true);
    return attribute;
}

}  // namespace

void* transformNode::creator() {
    return new transformNode();
}

MStatus transformNode::initialize() {
    MStatus status;
    translate = triple("translate", "t", 0.0, false, status);
    rotate = triple("rotate", "r", 0.0, true, status);
    scale = triple("scale", "s", 1.0, false, status);
    if (status != MStatus::kSuccess)
        return status;
    for (const MObject* attribute : {&translate, &rotate, &scale}) {
        status = addAttribute(*attribute);
        if (status != MStatus::kSuccess)
            return status;
    }
    return MStatus::kSuccess;
}

MStatus host::registerTransformType() {
    return registerType(transformNode::typeName, transformNode::id, transformNode::creator,
                        transformNode::initialize, MPxNode::kDependNode, MFn::kTransform, "");
}
