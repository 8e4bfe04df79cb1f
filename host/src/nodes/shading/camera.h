#ifndef HOST_CAMERA_H
#define HOST_CAMERA_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

// A camera you can place (type "camera", apiType kCamera). The host has no separate transform above it
// yet, so the camera carries its own placement:
//
//   translate/t   double3, default (0, 0, 0)
//   rotate/r      double3, radians, default (0, 0, 0); order XYZ (about X first)
//
// Its world matrix (MDagPath::inclusiveMatrix of a path to it) is R * T in the row-vector convention,
// R = Rx * Ry * Rz, T holding the translation in row 3.
class cameraNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;
    static MObject translate;
    static MObject rotate;

    static void* creator();
    static MStatus initialize();
};

#endif
