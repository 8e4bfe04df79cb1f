#include "meshConstraint.h"

#include "verbose.h"

#include <maya/MArrayDataHandle.h>
#include <maya/MDataHandle.h>
#include <maya/MFloatVector.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnData.h>
#include <maya/MFnGenericAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MSpace.h>
#include <maya/MString.h>
#include <maya/MTransformationMatrix.h>
#include <maya/MTypes.h>
#include <maya/MVector.h>

#include <cmath>

MObject meshConstraint::inMesh;
MObject meshConstraint::input;
MObject meshConstraint::polygonId;
MObject meshConstraint::uValue;
MObject meshConstraint::vValue;
MObject meshConstraint::resultPosition;
MObject meshConstraint::rotateX;
MObject meshConstraint::rotateY;
MObject meshConstraint::rotateZ;
MObject meshConstraint::resultRotation;
MObject meshConstraint::resultNormal;

MTypeId meshConstraint::id(0x1059C6);

namespace {

MStatus fail(const MStatus& status, const MString& message) {
    errorLine(status, message.asChar());
    return MStatus::kUnknownParameter;
}

// Euler angles (XYZ, radians) of the frame that turns the y axis onto the normal n and then, about n,
// turns the polygon's first edge toward the z axis.
void rotationAngles(MItMeshPolygon& polygon, const MVector& n, double angles[3]) {
    const MPoint p0 = polygon.point(0, MSpace::kWorld);
    const MPoint p1 = polygon.point(1, MSpace::kWorld);
    MVector e = p1 - p0;
    // A first edge that leaves the polygon's plane is projected into it.
    if (std::fabs(n * e) > 0.001) {
        MVector t = (n ^ e) ^ n;
        if (e * t < 0)
            t *= -1.0;
        e = t;
    }

    MVector axis = MVector::yAxis ^ n;
    axis.normalize();
    MTransformationMatrix first;
    first.setToRotationAxis(axis, MVector::yAxis.angle(n));

    MVector e2 = first.asMatrix() * e;
    e2.normalize();
    double a2 = e2.angle(MVector::zAxis);
    if (e2.x < 0)
        a2 *= -1.0;
    MTransformationMatrix second;
    second.setToRotationAxis(n, a2);

    MTransformationMatrix combined(first.asMatrix() * second.asMatrix());
    combined.reorderRotation(MTransformationMatrix::kXYZ);
    MTransformationMatrix::RotationOrder order = MTransformationMatrix::kXYZ;
    combined.getRotation(angles, order, MSpace::kTransform);
}

MObject makeOutput(const char* longName, const char* shortName) {
    MFnNumericAttribute fn;
    MStatus status;
    MObject attribute = fn.create(longName, shortName, MFnNumericData::k3Double, 0, &status);
    fn.setArray(true);
    fn.setConnectable(true);
    fn.setReadable(true);
    fn.setWritable(false);
    fn.setStorable(false);
    return attribute;
}

MObject makeAngle(const char* longName, const char* shortName) {
    MFnUnitAttribute fn;
    MObject attribute = fn.create(longName, shortName, MFnUnitAttribute::kAngle, 0.0);
    fn.setStorable(false);
    return attribute;
}

}  // namespace

meshConstraint::meshConstraint() = default;

meshConstraint::~meshConstraint() = default;

void* meshConstraint::creator() { return new meshConstraint; }

MStatus meshConstraint::initialize() {
    MStatus status;
    MFnGenericAttribute genericFn;
    inMesh = genericFn.create("inMesh", "inm", &status);
    genericFn.addAccept(MFnData::kMesh);
    genericFn.setReadable(true);
    genericFn.setWritable(true);
    genericFn.setConnectable(true);
    addAttribute(inMesh);

    MFnCompoundAttribute compoundFn;
    input = compoundFn.create("input", "in", &status);
    compoundFn.setArray(true);
    addAttribute(input);

    MFnNumericAttribute numericFn;
    polygonId = numericFn.create("polygonId", "pid", MFnNumericData::kLong, 0, &status);
    numericFn.setParent(input);
    numericFn.setConnectable(true);
    numericFn.setReadable(true);
    numericFn.setWritable(true);
    numericFn.setIndexMatters(false);
    addAttribute(polygonId);
    compoundFn.addChild(polygonId);

    for (MObject* child : {&uValue, &vValue}) {
        const bool isU = child == &uValue;
        *child = numericFn.create(isU ? "uValue" : "vValue", isU ? "u" : "v", MFnNumericData::kDouble, 0, &status);
        numericFn.setConnectable(true);
        numericFn.setReadable(true);
        numericFn.setWritable(true);
        addAttribute(*child);
        compoundFn.addChild(*child);
    }

    resultPosition = makeOutput("resultPosition", "rp");
    addAttribute(resultPosition);

    rotateX = makeAngle("rotateX", "rx");
    rotateY = makeAngle("rotateY", "ry");
    rotateZ = makeAngle("rotateZ", "rz");
    resultRotation = numericFn.create("resultRotation", "rr", rotateX, rotateY, rotateZ);
    numericFn.setArray(true);
    numericFn.setConnectable(true);
    numericFn.setReadable(true);
    numericFn.setWritable(false);
    numericFn.setStorable(false);
    addAttribute(resultRotation);

    resultNormal = makeOutput("resultNormal", "rn");
    addAttribute(resultNormal);

    for (const MObject* cause : {&inMesh, &polygonId, &uValue, &vValue, &input}) {
        attributeAffects(*cause, resultPosition);
        attributeAffects(*cause, resultRotation);
        attributeAffects(*cause, resultNormal);
    }
    return MStatus::kSuccess;
}

MStatus meshConstraint::compute(const MPlug& plug, MDataBlock& data) {
    verbose = false;
    const unsigned i = plug.logicalIndex();

    MStatus status;
    MArrayDataHandle inputArray = data.inputArrayValue(input, &status);
    if (status != MStatus::kSuccess)
        return fail(status, " error creating array data handle");
    status = inputArray.jumpToElement(i);
    if (status != MStatus::kSuccess)
        return fail(status, MString(" error creating inputHandle ") + plug.name() + " " + static_cast<double>(i));
    MDataHandle element = inputArray.inputValue(&status);
    if (status != MStatus::kSuccess)
        return fail(status, " error creating inputHandle ");

    int id = element.child(polygonId).asLong();
    if (id < 0)
        id = 0;

    MDataHandle meshHandle = data.inputValue(inMesh, &status);
    if (status != MStatus::kSuccess)
        return fail(status, " error creating mesh iterator.");
    MItMeshPolygon polygon(meshHandle.asMesh());

    const int count = polygon.count();
    if (id > count - 1)
        id = count - 1;

    float2 uv = {static_cast<float>(element.child(uValue).asDouble()),
                 static_cast<float>(element.child(vValue).asDouble())};

    int previous = 0;
    status = polygon.setIndex(id, previous);
    if (status != MStatus::kSuccess)
        return fail(status, " error setting polyIt index");
    MVector n;
    status = polygon.getNormal(n, MSpace::kWorld);
    if (status != MStatus::kSuccess)
        return fail(status, " error getting  normal");

    MPoint p;
    status = polygon.getPointAtUV(p, uv, MSpace::kWorld);
    if (status == MStatus::kFailure) {
        p = polygon.center(MSpace::kWorld, &status);
        if (status != MStatus::kSuccess)
            return fail(status, " error getting  center");
    }
    const MFloatVector point(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));

    for (MObject* output : {&resultPosition, &resultRotation, &resultNormal}) {
        if (!(plug == *output))
            continue;
        MArrayDataHandle outputArray = data.outputArrayValue(*output);
        status = outputArray.jumpToElement(i);
        if (status != MStatus::kSuccess) {
            if (output == &resultPosition)
                return fail(status, " error jumpting to element for center");
            return MStatus::kUnknownParameter;
        }
        MDataHandle outputElement = outputArray.outputValue();
        if (output == &resultPosition) {
            outputElement.set(static_cast<double>(point.x), static_cast<double>(point.y),
                              static_cast<double>(point.z));
        } else if (output == &resultRotation) {
            double angles[3] = {0.0, 0.0, 0.0};
            rotationAngles(polygon, n, angles);
            outputElement.set(angles[0], angles[1], angles[2]);
        } else {
            outputElement.set(3.0 * n.x, 3.0 * n.y, 3.0 * n.z);
        }
        outputArray.setClean();
    }
    data.setClean(plug);
    return MStatus::kSuccess;
}
