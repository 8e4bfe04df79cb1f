#include "nodes/particle.h"

#include "graph/Scene.h"

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPlug.h>
#include <maya/MTime.h>

// Host node type ids are 0x7F0000xx, away from the plug-ins' 0x1059C0..0x1059C6.
const MTypeId particleNode::id(0x7F000001);
const char* const particleNode::typeName = "particle";

MObject particleNode::position;
MObject particleNode::velocity;
MObject particleNode::mass;
MObject particleNode::particleRenderType;
MObject particleNode::inheritFactor;
MObject particleNode::deltaTime;
MObject particleNode::fieldData;
MObject particleNode::fieldDataPosition;
MObject particleNode::fieldDataVelocity;
MObject particleNode::fieldDataMass;
MObject particleNode::fieldDataDeltaTime;
MObject particleNode::inputForce;
MObject particleNode::count;

namespace {

// A per-particle array attribute whose default is empty (not null) data. A node's value starts as a copy
// of the default, so every particle object has data objects of its own.
MObject arrayAttribute(const char* longName, const char* shortName, MFnData::Type type, MStatus& status) {
    MObject empty = type == MFnData::kDoubleArray ? MFnDoubleArrayData().create() : MFnVectorArrayData().create();
    MFnTypedAttribute fn;
    return fn.create(longName, shortName, type, empty, &status);
}

// An output the node computes: not written by users, not saved.
void makeOutput(const MObject& attribute) {
    MFnAttribute fn(attribute);
    fn.setWritable(false);
    fn.setStorable(false);
}

MStatus firstFailure(MStatus current, MStatus next) {
    return current == MStatus::kSuccess ? next : current;
}

}  // namespace

void* particleNode::creator() {
    return new particleNode();
}

MStatus particleNode::initialize() {
    MStatus status;
    MStatus s;

    position = arrayAttribute("position", "pos", MFnData::kVectorArray, s);
    status = firstFailure(status, s);
    velocity = arrayAttribute("velocity", "vel", MFnData::kVectorArray, s);
    status = firstFailure(status, s);
    mass = arrayAttribute("mass", "mas", MFnData::kDoubleArray, s);
    status = firstFailure(status, s);

    MFnNumericAttribute numeric;
    particleRenderType = numeric.create("particleRenderType", "prt", MFnNumericData::kLong, 0, &s);
    status = firstFailure(status, s);
    inheritFactor = numeric.create("inheritFactor", "inh", MFnNumericData::kDouble, 0.0, &s);
    status = firstFailure(status, s);

    fieldDataPosition = arrayAttribute("fieldDataPosition", "fdp", MFnData::kVectorArray, s);
    status = firstFailure(status, s);
    fieldDataVelocity = arrayAttribute("fieldDataVelocity", "fdv", MFnData::kVectorArray, s);
    status = firstFailure(status, s);
    fieldDataMass = arrayAttribute("fieldDataMass", "fdm", MFnData::kDoubleArray, s);
    status = firstFailure(status, s);
    MFnUnitAttribute unit;
    deltaTime = unit.create("deltaTime", "dtm", MTime(), &s);
    status = firstFailure(status, s);
    unit.setStorable(false);
    fieldDataDeltaTime = unit.create("fieldDataDeltaTime", "fdt", MTime(), &s);
    status = firstFailure(status, s);

    MFnCompoundAttribute compound;
    fieldData = compound.create("fieldData", "fd", &s);
    status = firstFailure(status, s);
    // The order of the children is what a connection to a field's inputData[i] relies on.
    for (const MObject* child : {&fieldDataPosition, &fieldDataVelocity, &fieldDataMass, &fieldDataDeltaTime}) {
        status = firstFailure(status, compound.addChild(*child));
        makeOutput(*child);
    }
    makeOutput(fieldData);

    MFnTypedAttribute typed;
    inputForce = typed.create("inputForce", "ifc", MFnData::kVectorArray, MObject::kNullObj, &s);
    status = firstFailure(status, s);
    typed.setArray(true);
    typed.setStorable(false);

    count = numeric.create("count", "cnt", MFnNumericData::kLong, 0, &s);
    status = firstFailure(status, s);
    makeOutput(count);
    if (status != MStatus::kSuccess)
        return status;

    for (const MObject* attribute : {&position, &velocity, &mass, &particleRenderType, &inheritFactor, &deltaTime,
                                     &fieldData, &inputForce, &count}) {
        status = addAttribute(*attribute);
        if (status != MStatus::kSuccess)
            return status;
    }
    for (const MObject* input : {&position, &velocity, &mass, &deltaTime}) {
        for (const MObject* output : {&fieldData, &fieldDataPosition, &fieldDataVelocity, &fieldDataMass,
                                      &fieldDataDeltaTime, &count}) {
            if (input == &deltaTime && output == &count)
                continue;
            status = attributeAffects(*input, *output);
            if (status != MStatus::kSuccess)
                return status;
        }
    }
    return MStatus::kSuccess;
}

// fieldData (asked for whole or through one child): its children take the node's current position,
// velocity and mass data objects themselves, and deltaTime as the step (one frame of the UI unit before the
// first solver step). count: the number of positions.
MStatus particleNode::compute(const MPlug& plug, MDataBlock& block) {
    MStatus status;
    MPlug top = plug.isChild() ? plug.parent() : plug;
    if (top == fieldData) {
        MObject positions = block.inputValue(position, &status).data();
        if (status != MStatus::kSuccess)
            return status;
        MObject velocities = block.inputValue(velocity, &status).data();
        if (status != MStatus::kSuccess)
            return status;
        MObject masses = block.inputValue(mass, &status).data();
        if (status != MStatus::kSuccess)
            return status;
        MTime step = block.inputValue(deltaTime, &status).asTime();
        if (status != MStatus::kSuccess)
            return status;
        if (!(step.as(MTime::kSeconds) > 0.0))
            step = MTime(1.0, MTime::uiUnit());

        MDataHandle out = block.outputValue(fieldData, &status);
        if (status != MStatus::kSuccess)
            return status;
        MStatus written;
        // A null input (no value) leaves the child null as well; setting a null object is not an error.
        const std::pair<const MObject*, const MObject*> shared[] = {
            {&fieldDataPosition, &positions}, {&fieldDataVelocity, &velocities}, {&fieldDataMass, &masses}};
        for (const auto& [child, data] : shared) {
            MStatus s = out.child(*child).set(*data);
            if (!data->isNull())
                written = firstFailure(written, s);
        }
        out.child(fieldDataDeltaTime).set(step);
        if (written != MStatus::kSuccess)
            return written;
        for (const MObject* attribute :
             {&fieldData, &fieldDataPosition, &fieldDataVelocity, &fieldDataMass, &fieldDataDeltaTime})
            block.setClean(*attribute);
        return MStatus::kSuccess;
    }
    if (plug == count) {
        MObject positions = block.inputValue(position, &status).data();
        if (status != MStatus::kSuccess)
            return status;
        MFnVectorArrayData fn(positions);
        block.outputValue(count).set(static_cast<int>(fn.length()));
        block.setClean(plug);
        return MStatus::kSuccess;
    }
    return MStatus::kUnknownParameter;
}

namespace host {

namespace {

bool isParticle(const MObject& node) {
    MStatus status;
    MFnDependencyNode fn(node, &status);
    return status == MStatus::kSuccess && fn.typeId() == particleNode::id;
}

MStatus store(const MObject& node, const MObject& attribute, MObject data) {
    return MPlug(node, attribute).setValue(data);
}

}  // namespace

MStatus registerParticleType() {
    return registerType(particleNode::typeName, particleNode::id, particleNode::creator, particleNode::initialize,
                        MPxNode::kDependNode, MFn::kParticle, "");
}

MStatus setParticles(const MObject& node, const MVectorArray& positions) {
    return setParticles(node, positions, MVectorArray(positions.length(), MVector(0.0, 0.0, 0.0)),
                        MDoubleArray(positions.length(), 1.0));
}

MStatus setParticles(const MObject& node, const MVectorArray& positions, const MVectorArray& velocities,
                     const MDoubleArray& masses) {
    if (!isParticle(node))
        return MStatus::kInvalidParameter;
    if (velocities.length() != positions.length() || masses.length() != positions.length())
        return MStatus::kInvalidParameter;
    MStatus status = store(node, particleNode::position, MFnVectorArrayData().create(positions));
    status = firstFailure(status, store(node, particleNode::velocity, MFnVectorArrayData().create(velocities)));
    return firstFailure(status, store(node, particleNode::mass, MFnDoubleArrayData().create(masses)));
}

unsigned particleCount(const MObject& node) {
    if (!isParticle(node))
        return 0;
    MObject data;
    if (MPlug(node, particleNode::position).getValue(data) != MStatus::kSuccess)
        return 0;
    return MFnVectorArrayData(data).length();
}

}  // namespace host
