#ifndef CLOSESTPOINTONMESH_H
#define CLOSESTPOINTONMESH_H

#include <maya/MArgList.h>
#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>

// closestPointOnMesh -position x y z -mesh name (short flags -p and -m): the closest polygon's id, the
// closest point, the normal there and the (u, v) of the query position on that polygon, nine numbers in
// world space. It changes nothing in the scene and is not undoable.
//
// When the closest-point query itself fails (a mesh without polygons), the command shows
// "<path> has no polygons to find a closest point on." and fails with no result, rather than returning
// numbers no polygon gave.
class closestPointOnMesh : public MPxCommand {
public:
    closestPointOnMesh();
    ~closestPointOnMesh() override;

    MStatus doIt(const MArgList& args) override;
    MStatus undoIt() override;
    MStatus redoIt() override;
    bool isUndoable() const override;

    static void* creator();

private:
    MDagPath meshPath;
    MObject meshComponent;
    MPoint queryPoint;
};

#endif
