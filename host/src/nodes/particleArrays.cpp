#include "nodes/particle.h"

#include "graph/Node.h"
#include "graph/Scene.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPlug.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

// The per-particle arrays of a particle object kept at one entry per particle: attributes added later
// start at the particle count, and particles appended one call at a time grow every array in place.

namespace host {

namespace {

struct ArrayAttribute {
    MObject attribute;
    const Attribute* attr = nullptr;
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
        {particleNode::position, attributeOf(particleNode::position).get(), "position", "pos", true, 0.0, true},
        {particleNode::velocity, attributeOf(particleNode::velocity).get(), "velocity", "vel", true, 0.0, true},
        {particleNode::mass, attributeOf(particleNode::mass).get(), "mass", "mas", false, 1.0, true},
    };
    for (const std::shared_ptr<Attribute>& attribute : node.dynamicAttributes)
        if (isDynamicArray(*attribute))
            out.push_back({MObject(attribute), attribute.get(), attribute->longName, attribute->shortName,
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

bool isBuiltinArray(const Attribute* attribute) {
    for (const MObject* builtin : {&particleNode::position, &particleNode::velocity, &particleNode::mass})
        if (attributeOf(*builtin).get() == attribute)
            return true;
    return false;
}

bool isFiniteValues(const PerParticleValues& entry) {
    for (unsigned i = 0; i < entry.vectorValues.length(); ++i)
        if (!isFinite(entry.vectorValues[i]))
            return false;
    for (unsigned i = 0; i < entry.doubleValues.length(); ++i)
        if (!std::isfinite(entry.doubleValues[i]))
            return false;
    return true;
}

// The values given for new particles by attribute: each name must be a per-particle attribute other
// than position, with finite numbers and no more entries than particles (else false). A later entry
// for the same attribute replaces an earlier one.
bool valuesByAttribute(const Node& node, const std::vector<PerParticleValues>& values, unsigned particles,
                       std::unordered_map<const Attribute*, const PerParticleValues*>& out) {
    const Attribute* position = attributeOf(particleNode::position).get();
    for (const PerParticleValues& entry : values) {
        const Attribute* attribute = node.findAttribute(entry.name);
        if (!attribute || attribute == position ||
            !(isBuiltinArray(attribute) || (isDynamicArray(*attribute) && node.hasAttribute(attribute))))
            return false;
        if ((entry.vectors ? entry.vectorValues.length() : entry.doubleValues.length()) > particles ||
            !isFiniteValues(entry))
            return false;
        out[attribute] = &entry;
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
    return isBuiltinArray(a.get()) || isDynamicArray(*a);
}

namespace {

// Brings one dynamic per-particle attribute to count entries; one fed by a connection holds its source's
// data and follows the source.
MStatus conformOne(const MObject& object, const ArrayAttribute& entry, unsigned count) {
    MPlug plug(object, entry.attribute);
    if (incomingConnection(plug))
        return MStatus::kSuccess;
    bool fresh = false;
    MObject data = arrayData(plug, entry.vectors, fresh);
    if (resize(data, entry.vectors, entry.fallback, count) || fresh)
        return plug.setValue(data);
    return MStatus::kSuccess;
}

}  // namespace

MStatus conformPerParticleAttributes(const MObject& object) {
    std::shared_ptr<Node> node = particleNodeOf(object);
    if (!node)
        return MStatus::kSuccess;
    const unsigned count = particleCount(object);
    MStatus result;
    for (const ArrayAttribute& entry : arrayAttributes(*node)) {
        if (entry.builtin)
            continue;
        MStatus status = conformOne(object, entry, count);
        if (status != MStatus::kSuccess)
            result = status;
    }
    return result;
}

MStatus conformPerParticleAttribute(const MObject& object, const MObject& attribute) {
    std::shared_ptr<Node> node = particleNodeOf(object);
    std::shared_ptr<Attribute> a = attributeOf(attribute);
    if (!node || !a || !node->hasAttribute(a.get()) || !isDynamicArray(*a))
        return MStatus::kSuccess;
    const ArrayAttribute entry{attribute, a.get(), a->longName, a->shortName,
                               a->dataType == MFnData::kVectorArray, 0.0, false};
    return conformOne(object, entry, particleCount(object));
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
    std::unordered_map<const Attribute*, const PerParticleValues*> given;
    if (!valuesByAttribute(*node, values, positions.length(), given))
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
        auto own = given.find(entry.attr);
        appendTo(data, entry, positions, own == given.end() ? nullptr : own->second, count);
        // Storing the same data object again marks what depends on the attribute dirty.
        MStatus status = plug.setValue(data);
        if (status != MStatus::kSuccess)
            result = status;
    }
    appended = count;
    return result;
}

}  // namespace host
