#ifndef HOST_CAMERA_H
#define HOST_CAMERA_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

// A camera (type "camera", apiType kCamera): a shape, placed by the transform above it (graph/Dag.h).
// Its world matrix is MDagPath::inclusiveMatrix of a path to it. It has no attributes of its own.
class cameraNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;

    static void* creator();
    static MStatus initialize();
};

#endif
