#include "samplerEmitter.h"

#include <maya/MFnData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnTypedAttribute.h>

bool scaleBySize = false;
double dt = 0.0;
double minU = 0.0;
double maxU = 0.0;
double minV = 0.0;
double maxV = 0.0;

MObject samplerEmitter::speedMapObj;
MObject samplerEmitter::rateMapObj;
MObject samplerEmitter::inhMapObj;
MObject samplerEmitter::enableShadows;
MObject samplerEmitter::colMapObj;
MObject samplerEmitter::opacityMapObj;
MObject samplerEmitter::shaderObj;
MObject samplerEmitter::mapToObj;

MTypeId samplerEmitter::id(0x1059C3);

samplerEmitter::samplerEmitter() {}

samplerEmitter::~samplerEmitter() {}

void* samplerEmitter::creator() { return new samplerEmitter; }

// No status is examined here: the emitter's attributes carry no affects, and registration decides.
MStatus samplerEmitter::initialize() {
    struct Row {
        MObject* handle;
        const char* longName;
        const char* shortName;
        MFnNumericData::Type numericType;
    };
    const Row rows[] = {
        {&speedMapObj, "speedMap", "smap", MFnNumericData::k3Double},
        {&rateMapObj, "rateMap", "rmap", MFnNumericData::k3Double},
        {&inhMapObj, "inheritMap", "ihmap", MFnNumericData::k3Double},
        {&enableShadows, "enableShadows", "es", MFnNumericData::kBoolean},
        {&colMapObj, "colorMap", "colmap", MFnNumericData::k3Double},
        {&opacityMapObj, "opacityMap", "opmap", MFnNumericData::k3Double},
    };

    MFnNumericAttribute numAttr;
    MFnTypedAttribute typedAttr;
    for (const Row& row : rows) {
        *row.handle = numAttr.create(row.longName, row.shortName, row.numericType, 0.0);
        addAttribute(*row.handle);
    }

    shaderObj = numAttr.create("map", "mp", MFnNumericData::k3Double, 0.0);
    numAttr.setArray(true);
    numAttr.setReadable(false);
    numAttr.setWritable(true);
    numAttr.setConnectable(true);
    addAttribute(shaderObj);

    mapToObj = typedAttr.create("to", "tu", MFnData::kString, MObject::kNullObj);
    typedAttr.setArray(true);
    typedAttr.setReadable(false);
    typedAttr.setWritable(true);
    typedAttr.setConnectable(false);
    addAttribute(mapToObj);

    return MStatus::kSuccess;
}

MStatus samplerEmitter::compute(const MPlug&, MDataBlock&) { return MStatus::kUnknownParameter; }
