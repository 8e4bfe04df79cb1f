#include "nodes/Dynamics.h"

#include "graph/Scene.h"
#include "nodes/particle.h"
#include "nodes/time.h"

#include <maya/MFnVectorArrayData.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MVectorArray.h>

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

// A copy of a vector-array plug's value; null or missing data reads as an empty array.
MVectorArray vectorsOf(const MPlug& plug) {
    MVectorArray values;
    MObject data;
    if (plug.getValue(data) == MStatus::kSuccess && !data.isNull())
        MFnVectorArrayData(data).copyTo(values);
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

// Semi-implicit Euler over dt with the gathered forces; writes new position and velocity data.
void integrate(const MObject& particle, const MVectorArray& force, double dt) {
    MVectorArray positions = vectorsOf(MPlug(particle, particleNode::position));
    MVectorArray velocities = vectorsOf(MPlug(particle, particleNode::velocity));
    unsigned count = positions.length();
    if (count == 0)
        return;
    if (velocities.length() < count)
        velocities.setLength(count);
    for (unsigned k = 0; k < count; ++k) {
        if (k < force.length())
            velocities[k] += force[k] * dt;
        positions[k] += velocities[k] * dt;
    }
    MObject newVelocities = MFnVectorArrayData().create(velocities);
    MObject newPositions = MFnVectorArrayData().create(positions);
    MPlug(particle, particleNode::velocity).setValue(newVelocities);
    MPlug(particle, particleNode::position).setValue(newPositions);
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
