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
#include <maya/MFnArrayAttrsData.h>
#include <maya/MIntArray.h>
#include <maya/MPlugArray.h>
#include <maya/MTime.h>

#include <cmath>
#include <string>
#include <vector>

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
MObject particleNode::startTime;
MObject particleNode::maxCount;
MObject particleNode::isFull;
MObject particleNode::newParticles;

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

    startTime = unit.create("startTime", "stt", MTime(), &s);
    status = firstFailure(status, s);
    maxCount = numeric.create("maxCount", "mxc", MFnNumericData::kLong, -1, &s);
    status = firstFailure(status, s);
    isFull = numeric.create("isFull", "ifl", MFnNumericData::kBoolean, 0, &s);
    status = firstFailure(status, s);
    makeOutput(isFull);
    newParticles = typed.create("newParticles", "npt", MFnData::kDynArrayAttrs, MObject::kNullObj, &s);
    status = firstFailure(status, s);
    typed.setArray(true);
    typed.setStorable(false);
    if (status != MStatus::kSuccess)
        return status;

    for (const MObject* attribute : {&position, &velocity, &mass, &particleRenderType, &inheritFactor, &deltaTime,
                                     &fieldData, &inputForce, &count, &startTime, &maxCount, &isFull,
                                     &newParticles}) {
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
    for (const MObject* input : {&position, &maxCount}) {
        status = attributeAffects(*input, isFull);
        if (status != MStatus::kSuccess)
            return status;
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
    if (plug == isFull) {
        MObject positions = block.inputValue(position, &status).data();
        if (status != MStatus::kSuccess)
            return status;
        const int most = block.inputValue(maxCount, &status).asInt();
        if (status != MStatus::kSuccess)
            return status;
        const unsigned particles = MFnVectorArrayData(positions).length();
        block.outputValue(isFull).set(most >= 0 && particles >= static_cast<unsigned>(most));
        block.setClean(plug);
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
    status = firstFailure(status, store(node, particleNode::mass, MFnDoubleArrayData().create(masses)));
    return firstFailure(status, conformPerParticleAttributes(node));
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

namespace {

// One per-particle array of a particle object while new particles are appended: its values as doubles
// or vectors, whichever it holds.
struct PerParticle {
    MPlug plug;
    std::string name;
    bool vectors = false;
    double fallback = 0.0;
    MDoubleArray doubleValues;
    MVectorArray vectorValues;
};

bool isFinite(const MVector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The per-particle arrays of the node: position, velocity, mass, then every dynamic top-level attribute
// holding double-array or vector-array data, in the order they were added.
std::vector<PerParticle> perParticleArrays(const MObject& node) {
    std::vector<PerParticle> arrays;
    auto add = [&](const MPlug& plug, const std::string& name, double fallback) {
        MObject data;
        if (plug.getValue(data) != MStatus::kSuccess)
            return;
        // A per-particle attribute without a value yet counts as empty.
        if (data.isNull() && host::isPerParticleAttribute(node, plug.attribute()))
            data = host::attributeOf(plug.attribute())->dataType == MFnData::kVectorArray
                       ? MFnVectorArrayData().create()
                       : MFnDoubleArrayData().create();
        PerParticle entry{plug, name, false, fallback, {}, {}};
        if (data.apiType() == MFn::kVectorArrayData) {
            entry.vectors = true;
            MFnVectorArrayData(data).copyTo(entry.vectorValues);
        } else if (data.apiType() == MFn::kDoubleArrayData) {
            MFnDoubleArrayData(data).copyTo(entry.doubleValues);
        } else {
            return;
        }
        arrays.push_back(std::move(entry));
    };
    add(MPlug(node, particleNode::position), "position", 0.0);
    add(MPlug(node, particleNode::velocity), "velocity", 0.0);
    add(MPlug(node, particleNode::mass), "mass", 1.0);
    auto hostNode = std::dynamic_pointer_cast<host::Node>(node.impl());
    if (!hostNode)
        return arrays;
    for (const std::shared_ptr<host::Attribute>& attribute : hostNode->dynamicAttributes) {
        if (attribute->array || attribute->parent)
            continue;
        add(MPlug(node, MObject(attribute)), attribute->longName, 0.0);
    }
    return arrays;
}

// The values of one output array for the kept new particles, converted to the target's kind; entries
// the output lacks take the fallback.
void appendValues(PerParticle& target, unsigned oldCount, const std::vector<unsigned>& kept,
                  const MVectorArray* vectors, const MDoubleArray* doubles) {
    auto vectorAt = [&](unsigned i, bool& found) {
        found = true;
        if (vectors && i < vectors->length())
            return (*vectors)[i];
        if (doubles && i < doubles->length())
            return MVector((*doubles)[i], (*doubles)[i], (*doubles)[i]);
        found = false;
        return MVector(target.fallback, target.fallback, target.fallback);
    };
    if (target.vectors) {
        target.vectorValues.setLength(oldCount);
        for (unsigned i : kept) {
            bool found;
            target.vectorValues.append(vectorAt(i, found));
        }
    } else {
        const unsigned had = target.doubleValues.length();
        target.doubleValues.setLength(oldCount);
        for (unsigned i = had; i < oldCount; ++i)
            target.doubleValues[i] = target.fallback;
        for (unsigned i : kept) {
            bool found;
            const MVector v = vectorAt(i, found);
            if (!found)
                target.doubleValues.append(target.fallback);
            else if (doubles && i < doubles->length())
                target.doubleValues.append((*doubles)[i]);
            else
                target.doubleValues.append((v.x + v.y + v.z) / 3.0);
        }
    }
}

}  // namespace

void particleNode::takeNewParticles() {
    const MObject node = thisMObject();
    MPlug elements(node, newParticles);
    MIntArray indices;
    elements.getExistingArrayAttributeIndices(indices);
    for (unsigned e = 0; e < indices.length(); ++e) {
        const unsigned index = static_cast<unsigned>(indices[e]);
        MPlug element = elements.elementByLogicalIndex(index);
        MPlugArray sources;
        if (!element.connectedTo(sources, true, false))
            continue;
        MObject output;
        if (element.getValue(output) != MStatus::kSuccess || output.apiType() != MFn::kDynArrayAttrsData)
            continue;
        std::weak_ptr<host::Object>& last = appended_[index];
        if (last.lock() == output.impl())
            continue;
        last = output.impl();

        MFnArrayAttrsData fn(output);
        MFnArrayAttrsData::Type kind;
        if (!fn.checkArrayExist("position", kind) || kind != MFnArrayAttrsData::kVectorArray)
            continue;
        const MVectorArray positions = fn.getVectorData("position");
        MVectorArray velocities;
        if (fn.checkArrayExist("velocity", kind) && kind == MFnArrayAttrsData::kVectorArray)
            velocities = fn.getVectorData("velocity");

        const unsigned oldCount = host::particleCount(node);
        int most = -1;
        MPlug(node, maxCount).getValue(most);
        std::vector<unsigned> kept;
        for (unsigned i = 0; i < positions.length(); ++i) {
            if (most >= 0 && oldCount + kept.size() >= static_cast<unsigned>(most))
                break;
            const MVector velocity = i < velocities.length() ? velocities[i] : MVector(0.0, 0.0, 0.0);
            if (isFinite(positions[i]) && isFinite(velocity))
                kept.push_back(i);
        }
        if (kept.empty())
            continue;

        for (PerParticle& target : perParticleArrays(node)) {
            MVectorArray vectors;
            MDoubleArray doubles;
            const bool hasVectors = fn.checkArrayExist(target.name.c_str(), kind) &&
                                    kind == MFnArrayAttrsData::kVectorArray;
            const bool hasDoubles = !hasVectors && fn.checkArrayExist(target.name.c_str(), kind) &&
                                    kind == MFnArrayAttrsData::kDoubleArray;
            if (hasVectors)
                vectors = fn.getVectorData(target.name.c_str());
            if (hasDoubles)
                doubles = fn.getDoubleData(target.name.c_str());
            appendValues(target, oldCount, kept, hasVectors ? &vectors : nullptr, hasDoubles ? &doubles : nullptr);
            MObject data = target.vectors ? MFnVectorArrayData().create(target.vectorValues)
                                          : MFnDoubleArrayData().create(target.doubleValues);
            target.plug.setValue(data);
        }
    }
}
