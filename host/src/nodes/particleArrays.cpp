#include "nodes/particle.h"

#include "graph/Node.h"
#include "graph/Scene.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPlug.h>

#include <algorithm>
#include <cmath>

// The per-particle arrays of a particle object kept at one entry per particle: attributes added later
// start at the particle count, and particles appended one call at a time grow every array in place.

namespace host {

namespace {

struct ArrayAttribute {
    MObject attribute;
    std::string longName;
    std::string shortName;
    bool vectors = false;
    double fallback = 0.0;
    bool builtin = false;
};

std::shared_ptr<Node> particleNodeOf(const MObject& object) {
    auto node = std::dynamic_pointer_cast<Node>(object.impl());
    return node && node->type->id == particleNode::id ? node : nullptr;
}

bool isDynamicArray(const Attribute& attribute) {
    return attribute.kind == AttrKind::Typed && !attribute.array && !attribute.parent &&
           (attribute.dataType == MFnData::kDoubleArray || attribute.dataType == MFnData::kVectorArray);
}

// position, velocity, mass, then the dynamic per-particle attributes in the order they were added.
std::vector<ArrayAttribute> arrayAttributes(const Node& node) {
    std::vector<ArrayAttribute> out = {
        {particleNode::position, "position", "pos", true, 0.0, true},
        {particleNode::velocity, "velocity", "vel", true, 0.0, true},
        {particleNode::mass, "mass", "mas", false, 1.0, true},
    };
    for (const std::shared_ptr<Attribute>& attribute : node.dynamicAttributes)
        if (isDynamicArray(*attribute))
            out.push_back({MObject(attribute), attribute->longName, attribute->shortName,
                           attribute->dataType == MFnData::kVectorArray, 0.0, false});
    return out;
}

// The attribute's data object, made (empty, of the attribute's kind) when it has none or holds another
// kind; fresh tells which.
MObject arrayData(const MPlug& plug, bool vectors, bool& fresh) {
    MObject data;
    plug.getValue(data);
    const MFn::Type wanted = vectors ? MFn::kVectorArrayData : MFn::kDoubleArrayData;
    fresh = data.isNull() || data.apiType() != wanted;
    if (fresh)
        data = vectors ? MFnVectorArrayData().create() : MFnDoubleArrayData().create();
    return data;
}

// Brings the data's array to count entries (cut, or padded with the fallback) in place; true when
// anything changed.
bool resize(MObject& data, bool vectors, double fallback, unsigned count) {
    if (vectors) {
        MVectorArray array = MFnVectorArrayData(data).array();
        const unsigned had = array.length();
        if (had == count)
            return false;
        array.setLength(count);
        for (unsigned i = had; i < count; ++i)
            array[i] = MVector(fallback, fallback, fallback);
        return true;
    }
    MDoubleArray array = MFnDoubleArrayData(data).array();
    const unsigned had = array.length();
    if (had == count)
        return false;
    array.setLength(count);
    for (unsigned i = had; i < count; ++i)
        array[i] = fallback;
    return true;
}

bool isFinite(const MVector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

const PerParticleValues* valuesFor(const std::vector<PerParticleValues>& values, const ArrayAttribute& target) {
    for (const PerParticleValues& entry : values)
        if (entry.name == target.longName || entry.name == target.shortName)
            return &entry;
    return nullptr;
}

// Checks the values given for new particles: known per-particle names other than position, finite
// numbers, no more entries than particles.
bool valuesAreValid(const std::vector<ArrayAttribute>& attributes, const std::vector<PerParticleValues>& values,
                    unsigned particles) {
    for (const PerParticleValues& entry : values) {
        bool known = false;
        for (const ArrayAttribute& attribute : attributes)
            known = known || (attribute.longName != "position" &&
                              (entry.name == attribute.longName || entry.name == attribute.shortName));
        if (!known)
            return false;
        if ((entry.vectors ? entry.vectorValues.length() : entry.doubleValues.length()) > particles)
            return false;
        for (unsigned i = 0; i < entry.vectorValues.length(); ++i)
            if (!isFinite(entry.vectorValues[i]))
                return false;
        for (unsigned i = 0; i < entry.doubleValues.length(); ++i)
            if (!std::isfinite(entry.doubleValues[i]))
                return false;
    }
    return true;
}

// Appends the values of the first `count` new particles to one array (already at the old count).
void appendTo(MObject& data, const ArrayAttribute& target, const MVectorArray& positions,
              const PerParticleValues* given, unsigned count) {
    const double d = target.fallback;
    if (target.vectors) {
        MVectorArray array = MFnVectorArrayData(data).array();
        for (unsigned i = 0; i < count; ++i) {
            if (target.longName == "position")
                array.append(positions[i]);
            else if (given && given->vectors && i < given->vectorValues.length())
                array.append(given->vectorValues[i]);
            else if (given && !given->vectors && i < given->doubleValues.length())
                array.append(MVector(given->doubleValues[i], given->doubleValues[i], given->doubleValues[i]));
            else
                array.append(MVector(d, d, d));
        }
        return;
    }
    MDoubleArray array = MFnDoubleArrayData(data).array();
    for (unsigned i = 0; i < count; ++i) {
        if (given && !given->vectors && i < given->doubleValues.length()) {
            array.append(given->doubleValues[i]);
        } else if (given && given->vectors && i < given->vectorValues.length()) {
            const MVector& v = given->vectorValues[i];
            array.append((v.x + v.y + v.z) / 3.0);
        } else {
            array.append(d);
        }
    }
}

}  // namespace

bool isPerParticleAttribute(const MObject& object, const MObject& attribute) {
    std::shared_ptr<Node> node = particleNodeOf(object);
    std::shared_ptr<Attribute> a = attributeOf(attribute);
    if (!node || !a || !node->hasAttribute(a.get()))
        return false;
    for (const ArrayAttribute& entry : arrayAttributes(*node))
        if (attributeOf(entry.attribute) == a)
            return true;
    return false;
}

namespace {

MStatus conform(const MObject& object, const std::shared_ptr<Attribute>& only) {
    std::shared_ptr<Node> node = particleNodeOf(object);
    if (!node)
        return MStatus::kSuccess;
    const unsigned count = particleCount(object);
    MStatus result;
    for (const ArrayAttribute& entry : arrayAttributes(*node)) {
        if (entry.builtin || (only && attributeOf(entry.attribute) != only))
            continue;
        MPlug plug(object, entry.attribute);
        // An attribute fed by a connection holds its source's data and follows the source.
        if (incomingConnection(plug))
            continue;
        bool fresh = false;
        MObject data = arrayData(plug, entry.vectors, fresh);
        if (resize(data, entry.vectors, entry.fallback, count) || fresh) {
            MStatus status = plug.setValue(data);
            if (status != MStatus::kSuccess)
                result = status;
        }
    }
    return result;
}

}  // namespace

MStatus conformPerParticleAttributes(const MObject& object) { return conform(object, nullptr); }

MStatus conformPerParticleAttribute(const MObject& object, const MObject& attribute) {
    std::shared_ptr<Attribute> a = attributeOf(attribute);
    return a ? conform(object, a) : MStatus::kSuccess;
}

MStatus appendParticles(const MObject& object, const MVectorArray& positions,
                        const std::vector<PerParticleValues>& values, unsigned& appended,
                        std::string* drivenAttribute) {
    appended = 0;
    std::shared_ptr<Node> node = particleNodeOf(object);
    if (!node)
        return MStatus::kInvalidParameter;
    for (unsigned i = 0; i < positions.length(); ++i)
        if (!isFinite(positions[i]))
            return MStatus::kInvalidParameter;
    const std::vector<ArrayAttribute> attributes = arrayAttributes(*node);
    if (!valuesAreValid(attributes, values, positions.length()))
        return MStatus::kInvalidParameter;
    // An array fed by a connection is its source's data: growing it in place would change the source
    // behind its back.
    for (const ArrayAttribute& entry : attributes) {
        if (incomingConnection(MPlug(object, entry.attribute))) {
            if (drivenAttribute)
                *drivenAttribute = entry.longName;
            return MStatus::kInvalidParameter;
        }
    }

    const unsigned oldCount = particleCount(object);
    int most = -1;
    MPlug(object, particleNode::maxCount).getValue(most);
    unsigned count = positions.length();
    if (most >= 0)
        count = oldCount >= static_cast<unsigned>(most) ? 0 : std::min(count, static_cast<unsigned>(most) - oldCount);
    if (count == 0)
        return MStatus::kSuccess;

    MStatus result;
    for (const ArrayAttribute& entry : attributes) {
        MPlug plug(object, entry.attribute);
        bool fresh = false;
        MObject data = arrayData(plug, entry.vectors, fresh);
        if (entry.longName != "position")
            resize(data, entry.vectors, entry.fallback, oldCount);
        appendTo(data, entry, positions, valuesFor(values, entry), count);
        // Storing the same data object again marks what depends on the attribute dirty.
        MStatus status = plug.setValue(data);
        if (status != MStatus::kSuccess)
            result = status;
    }
    appended = count;
    return result;
}

}  // namespace host
