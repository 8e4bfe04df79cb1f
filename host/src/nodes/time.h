#ifndef HOST_TIME_H
#define HOST_TIME_H

#include "graph/Node.h"

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

#include <memory>

// The host's time node (type "time", apiType kTime). Attribute:
//
//   outTime/o    time    the scene's current time; the scene writes it whenever the time changes
//
// A new time node starts at the current time. The scene's own time node is "time1" (see
// host::sceneTimeNode); connect time1.outTime to whatever must follow the time, such as an emitter's
// currentTime.
class timeNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;

    static MObject outTime;

    static void* creator();
    static MStatus initialize();

    void postConstructor() override;
};

namespace host {

// Registers the "time" node type.
MStatus registerTimeType();

// The scene's time node: the node named "time1" when it is a time node, else the first time node of
// the scene; when there is none, a new one named "time1" is made. Null only when creation fails.
std::shared_ptr<Node> sceneTimeNode();

}  // namespace host

#endif
