#include "nodes/Dynamics.h"

#include "graph/Scene.h"
#include "nodes/particle.h"
#include "nodes/time.h"

#include <maya/MFnVectorArrayData.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MVectorArray.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace host {

namespace {

bool stepping = false;

std::vector<std::shared_ptr<Node>> particleObjects() {
    std::vector<std::shared_ptr<Node>> found;
    for (const std::shared_ptr<Node>& node : sceneNodes())
        if (node->type->id == particleNode::id)
            found.push_back(node);
    return found;
}

// A vector-array plug's value, read in place (the array aliases the data object); null or missing data
// reads as an empty array.
MVectorArray vectorsOf(const MPlug& plug) {
    MObject data;
    if (plug.getValue(data) != MStatus::kSuccess || data.isNull())
        return MVectorArray();
    return MFnVectorArrayData(data).array();
}

// New vector-array data of count zero vectors; the array returned writes into it.
MVectorArray newVectors(unsigned count, MObject& data) {
    MFnVectorArrayData fn;
    data = fn.create();
    MVectorArray values = fn.array();
    values.setLength(count);
    return values;
}

// The sum of the forces on each of the count particles, from every connected inputForce element.
// Pulling an element evaluates the field's outputForce[i] feeding it.
MVectorArray gatherForces(const MObject& particle, unsigned count) {
    MVectorArray total(count, MVector(0.0, 0.0, 0.0));
    MPlug forces(particle, particleNode::inputForce);
    MIntArray indices;
    forces.getExistingArrayAttributeIndices(indices);
    for (unsigned e = 0; e < indices.length(); ++e) {
        MPlug element = forces.elementByLogicalIndex(static_cast<unsigned>(indices[e]));
        MPlugArray sources;
        if (!element.connectedTo(sources, true, false))
            continue;
        MVectorArray force = vectorsOf(element);
        unsigned n = force.length() < count ? force.length() : count;
        for (unsigned k = 0; k < n; ++k)
            total[k] += force[k];
    }
    return total;
}

// Semi-implicit Euler over dt with the gathered forces; writes new position and velocity data. The old
// arrays are read in place and each new one is written once. Missing velocities count as zero; velocities
// beyond the particle count are kept.
void integrate(const MObject& particle, const MVectorArray& force, double dt) {
    const MVectorArray positions = vectorsOf(MPlug(particle, particleNode::position));
    const MVectorArray velocities = vectorsOf(MPlug(particle, particleNode::velocity));
    unsigned count = positions.length();
    if (count == 0)
        return;
    MObject positionData;
    MObject velocityData;
    MVectorArray newPositions = newVectors(count, positionData);
    // Velocity entries beyond the particle count are kept as they are.
    MVectorArray newVelocities = newVectors(std::max(count, velocities.length()), velocityData);
    for (unsigned k = count; k < velocities.length(); ++k)
        newVelocities[k] = velocities[k];
    const unsigned withVelocity = std::min(count, velocities.length());
    const unsigned withForce = std::min(count, force.length());
    for (unsigned k = 0; k < count; ++k) {
        MVector velocity = k < withVelocity ? velocities[k] : MVector(0.0, 0.0, 0.0);
        if (k < withForce)
            velocity += force[k] * dt;
        newVelocities[k] = velocity;
        newPositions[k] = positions[k] + velocity * dt;
    }
    MPlug(particle, particleNode::velocity).setValue(velocityData);
    MPlug(particle, particleNode::position).setValue(positionData);
}

}  // namespace

void stepDynamics(double dt) {
    if (!(dt > 0.0) || stepping)
        return;
    stepping = true;
    std::vector<std::shared_ptr<Node>> particles = particleObjects();

    for (const std::shared_ptr<Node>& node : particles)
        MPlug(MObject(node), particleNode::deltaTime).setValue(MTime(dt, MTime::kSeconds));

    std::vector<MVectorArray> forces;
    forces.reserve(particles.size());
    for (const std::shared_ptr<Node>& node : particles)
        forces.push_back(gatherForces(MObject(node), particleCount(MObject(node))));

    for (size_t p = 0; p < particles.size(); ++p)
        if (particles[p]->alive)
            integrate(MObject(particles[p]), forces[p], dt);

    // New particles come after integrating, so they start where they were emitted.
    for (const std::shared_ptr<Node>& node : particles)
        if (node->alive && node->px)
            static_cast<particleNode*>(node->px)->takeNewParticles();
    stepping = false;
}

void timeChanged(const MTime& previous, const MTime& now) {
    double dt = now.as(MTime::kSeconds) - previous.as(MTime::kSeconds);
    if (!sceneNodes().empty() || dt != 0.0)
        sceneTimeNode();
    stepDynamics(dt);
}

}  // namespace host
