#include "command/ShapeNames.h"

#include "command/Args.h"
#include "graph/Dag.h"
#include "graph/Scene.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

namespace host {

std::string shapeNameOf(const std::string& object) {
    std::string shape = object;
    const size_t digits = shape.find_last_not_of("0123456789") + 1;
    shape.insert(digits, "Shape");
    return shape;
}

std::string freeObjectName(const std::function<std::string(int)>& pattern) {
    for (int i = 1;; ++i) {
        const std::string object = pattern(i);
        if (!findNode(object) && !findNode(shapeNameOf(object)))
            return object;
    }
}

MStatus createShape(const char* command, const char* typeName, const std::string& object, const char* input,
                    MObject data, std::shared_ptr<Node>& transform, std::shared_ptr<Node>& shape) {
    MStatus status;
    transform = createTransform(object, nullptr, &status);
    if (!transform)
        return commandError(command, "cannot create a transform (" + status.errorString().str() + ").");
    shape = createNode(typeName, shapeNameOf(transform->name), &status);
    if (shape)
        status = setDagParent(shape, transform);
    if (status && input) {
        MPlug plug = MFnDependencyNode(MObject(shape)).findPlug(input, &status);
        if (status)
            status = plug.setValue(data);
    }
    if (!shape || !status) {
        if (shape && !dagParent(*shape))
            deleteNode(shape);
        deleteNode(transform);  // and the shape below it
        transform.reset();
        shape.reset();
        return commandError(command, std::string("cannot make the ") + typeName + " shape (" +
                                         status.errorString().str() + ").");
    }
    return MStatus::kSuccess;
}

}  // namespace host
