#ifndef HOST_GEOMETRY_ATTRIBUTES_H
#define HOST_GEOMETRY_ATTRIBUTES_H

#include <maya/MDataBlock.h>
#include <maya/MFnData.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

// Helpers for the attributes of the host's geometry shapes.
namespace host {

// A typed geometry attribute; outputs are neither writable nor stored. Keeps the first failure in
// status (which must start as kSuccess).
MObject geometryAttribute(const char* longName, const char* shortName, MFnData::Type type, bool output,
                          bool array, MStatus& status);

// Sets element 0 of an array output (such as "worldSpace") to data.
MStatus setFirstElement(MDataBlock& block, const MObject& arrayAttribute, const MObject& data);

}  // namespace host

#endif
