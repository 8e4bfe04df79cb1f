#ifndef HOST_SHAPENAMES_H
#define HOST_SHAPENAMES_H

#include "graph/Node.h"

#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <functional>
#include <memory>
#include <string>

namespace host {

// The name Maya gives the shape of an object: "Shape" before the object name's trailing digits
// ("nurbsPlane1" -> "nurbsPlaneShape1"), or at its end ("floor" -> "floorShape").
std::string shapeNameOf(const std::string& object);

// The first object name pattern(1), pattern(2), ... that is free for both the object and its shape.
std::string freeObjectName(const std::function<std::string(int)>& pattern);

// Makes a transform named object (made unique as createNode does) under the world and below it a shape
// node of the given type named after it, and, unless input is null, sets that attribute (by name) of the
// shape to data. On failure nothing is left behind and the error is reported for the command.
MStatus createShape(const char* command, const char* typeName, const std::string& object, const char* input,
                    MObject data, std::shared_ptr<Node>& transform, std::shared_ptr<Node>& shape);

}  // namespace host

#endif
