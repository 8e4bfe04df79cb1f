#include "closestPointOnMesh.h"

#include "verbose.h"

#include <maya/MDoubleArray.h>
#include <maya/MFn.h>
#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MSelectionList.h>
#include <maya/MSpace.h>
#include <maya/MString.h>
#include <maya/MVector.h>


closestPointOnMesh::closestPointOnMesh() = default;

closestPointOnMesh::~closestPointOnMesh() = default;

void* closestPointOnMesh::creator() { return new closestPointOnMesh; }

MStatus closestPointOnMesh::doIt(const MArgList& args) {
    MString meshName = "";
    unsigned i = 0;
    while (i < args.length()) {
        MString arg = args.asString(i);
        if (arg == "-p" || arg == "-position") {
            ++i;
            MStatus status;
            // asPoint leaves i on the last number it read; a bad value keeps the point it returns.
            queryPoint = args.asPoint(i, 3, &status);
            if (status != MStatus::kSuccess) {
                ++i;
                MGlobal::displayError(args.asString(i) + " is not a valid position.");
            }
        } else if (arg == "-m" || arg == "-mesh") {
            ++i;
            meshName = args.asString(i);
        } else {
            MGlobal::displayError(arg + " is not a valid flag.");
            return MStatus::kFailure;
        }
        ++i;
    }

    MSelectionList selection;
    selection.clear();
    selection.add(meshName);
    selection.getDagPath(0, meshPath, meshComponent);

    if (meshPath.hasFn(MFn::kMesh))
        return redoIt();
    MGlobal::displayError(meshPath.fullPathName() + " is not a polygonal mesh object.");
    return MStatus::kSuccess;
}

MStatus closestPointOnMesh::redoIt() {
    MStatus status;
    MFnMesh meshFn(meshPath, &status);
    if (status != MStatus::kSuccess) {
        errorLine(status, " error creating meshFn");
        return MStatus::kUnknownParameter;
    }

    MPoint closestPoint;
    MVector normal;
    int polygonId = -1;
    // A mesh without polygons, or a point so far away that its distances overflow, has no closest point:
    // that is the user's error, not nine made-up numbers.
    if (meshFn.getClosestPointAndNormal(queryPoint, closestPoint, normal, MSpace::kWorld, &polygonId) !=
        MStatus::kSuccess) {
        if (meshFn.numPolygons() == 0)
            MGlobal::displayError(meshPath.fullPathName() + " has no polygons to find a closest point on.");
        else
            MGlobal::displayError("The point is too far from " + meshPath.fullPathName() +
                                  " to find a closest point (its distances overflow).");
        return MStatus::kFailure;
    }

    float2 uv = {0.0f, 0.0f};
    MItMeshPolygon polygonIt(meshPath, MObject::kNullObj);
    int previous = 0;
    polygonIt.setIndex(polygonId, previous);
    polygonIt.getUVAtPoint(queryPoint, uv, MSpace::kWorld);

    MDoubleArray result;
    clearResult();
    result.append(polygonId);
    result.append(closestPoint.x);
    result.append(closestPoint.y);
    result.append(closestPoint.z);
    result.append(normal.x);
    result.append(normal.y);
    result.append(normal.z);
    result.append(uv[0]);
    result.append(uv[1]);
    setResult(result);
    return MStatus::kSuccess;
}

MStatus closestPointOnMesh::undoIt() { return MStatus::kSuccess; }

bool closestPointOnMesh::isUndoable() const { return false; }
