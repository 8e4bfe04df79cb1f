#ifndef HOST_PARTICLE_H
#define HOST_PARTICLE_H

#include <maya/MDoubleArray.h>
#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>
#include <maya/MVectorArray.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace host {
class Object;
}

// The host's particle object (type "particle", apiType kParticle). It holds per-particle arrays as data
// objects and feeds fields through fieldData. Attributes, long/short name:
//
//   position/pos            vector-array data   one position per particle
//   velocity/vel            vector-array data   one velocity per particle
//   mass/mas                double-array data   one mass per particle
//   particleRenderType/prt  long, default 0     how the particles draw (7 = blobby surface); read as int
//   inheritFactor/inh       double, default 0   share of an emitter's velocity new particles inherit
//   deltaTime/dtm           time, default 0     the last solver step; 0 until the first step
//   fieldData/fd            compound, output    what a field needs of the particles; connect it to a
//                                               field's inputData[i]. Children, in this order (a
//                                               connection copies them by index into inputPositions,
//                                               inputVelocities, inputMass, deltaTime):
//     fieldDataPosition/fdp   vector-array data   the position data object itself (shared, not copied)
//     fieldDataVelocity/fdv   vector-array data   the velocity data object itself
//     fieldDataMass/fdm       double-array data   the mass data object itself
//     fieldDataDeltaTime/fdt  time                deltaTime, or one frame of the UI unit while it is 0
//   inputForce/ifc          array of vector-array data, input: forces from fields' outputForce[i]
//   count/cnt               long, output        number of particles (the length of position)
//   startTime/stt           time, default 0     emitters connected to the object emit only after it
//   maxCount/mxc            long, default -1    the most particles the object takes; -1 is no limit
//   isFull/ifl              bool, output        maxCount >= 0 and count >= maxCount
//   newParticles/npt        array of arrayAttrs data, input: emitters' output[i] (connectDynamic -em)
//
// position, velocity, mass and deltaTime affect fieldData (and its children); position, velocity and
// mass affect count. Each new particle object starts with its own empty (length 0, not null) position,
// velocity and mass data; their lengths are never forced to agree: whatever is stored stays as stored.
// position and maxCount affect isFull.
//
// Per-particle attributes beyond these are added to a node with addAttr (a dynamic attribute of
// double-array or vector-array data, such as rgbPP, opacityPP or rgbPP0). As in Maya, such an attribute
// holds one entry per particle from the start (zeros) and stays at the particle count: setParticles,
// appendParticles (the emit command) and takeNewParticles bring it along.
//
// New particles (takeNewParticles, run by the solver after integrating): each connected newParticles
// element is pulled, which runs the emitter's compute, and its arrays are appended. "position" gives
// the new particles (none without it); "velocity", "mass" and every further array whose name is a
// per-particle attribute of the object (a dynamic attribute holding double-array or vector-array data,
// such as rgbPP, opacityPP, parentU or user names) are appended to that attribute, converted to its
// kind (a vector stored as a double is (x + y + z) / 3, a double stored as a vector is (d, d, d)).
// Arrays of other names are ignored. Every per-particle array of the object then has one entry per
// particle: before the append each is brought to the old count (cut, or padded with the default), and
// each new particle without a value of its own takes the default: 1 for mass, 0 (or (0, 0, 0)) for
// everything else. A new particle whose position or velocity is not finite is dropped, with all its
// values; with maxCount set, new particles beyond it are dropped. An output object already appended
// once (the emitter did not recompute) is not appended again.
//
// Motion (host/src/nodes/Dynamics.cpp): when the scene's time moves forward by dt seconds, every
// particle object is stepped. Its deltaTime becomes dt; the forces of its connected inputForce elements
// are pulled (which runs the fields' outputForce[i] computes) and summed per particle: a force array
// shorter than the particle count pushes only the particles it covers, a longer one is cut. Then, by
// semi-implicit Euler,
//     velocity += force * dt;   position += velocity * dt
// for each of the count particles. Mass is not applied: fields divide by it where they want to. A
// velocity array shorter than position counts as zero for the missing particles (the written velocity
// then has one entry per particle); entries beyond the particle count are kept as they were. The new
// position and velocity are new data objects written through the plugs, so fieldData and the fields'
// outputs become dirty. Time moving backwards or staying put moves nothing and leaves deltaTime as it
// was: there is no stored start state to go back to.
class particleNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;

    static MObject position;
    static MObject velocity;
    static MObject mass;
    static MObject particleRenderType;
    static MObject inheritFactor;
    static MObject deltaTime;
    static MObject fieldData;
    static MObject fieldDataPosition;
    static MObject fieldDataVelocity;
    static MObject fieldDataMass;
    static MObject fieldDataDeltaTime;
    static MObject inputForce;
    static MObject count;
    static MObject startTime;
    static MObject maxCount;
    static MObject isFull;
    static MObject newParticles;

    static void* creator();
    static MStatus initialize();

    MStatus compute(const MPlug& plug, MDataBlock& block) override;

    // Appends what the connected emitters output for the current time (see the class comment).
    void takeNewParticles();

private:
    // The output object last appended, per newParticles element.
    std::map<unsigned, std::weak_ptr<host::Object>> appended_;
};

namespace host {

// Registers the "particle" node type.
MStatus registerParticleType();

// Gives a particle object these particles: positions, zero velocities and unit masses, each in a new
// data object set through the node's plugs. Fails with kInvalidParameter on anything but a particle
// object.
MStatus setParticles(const MObject& particleNode, const MVectorArray& positions);
// The same with given velocities and masses; all three must have the same length (else
// kInvalidParameter and nothing changes).
MStatus setParticles(const MObject& particleNode, const MVectorArray& positions, const MVectorArray& velocities,
                     const MDoubleArray& masses);
// The number of particles (the length of position); 0 on anything but a particle object.
unsigned particleCount(const MObject& particleNode);

// Whether the attribute is one of the object's per-particle attributes: position, velocity, mass, or a
// dynamic top-level attribute (not an array attribute) of double-array or vector-array data. Such an
// attribute holds one entry per particle.
bool isPerParticleAttribute(const MObject& particleNode, const MObject& attribute);

// Brings every dynamic per-particle attribute of a particle object to the particle count: a missing
// (null) value becomes an array of that many zeros, a shorter one is padded with zeros and a longer one
// is cut. position, velocity and mass are left as stored, and so is an attribute fed by a connection.
// Does nothing on other nodes.
MStatus conformPerParticleAttributes(const MObject& particleNode);
// The same for one attribute (addAttr gives a new per-particle attribute its zeros this way); does
// nothing when it is not a per-particle attribute of a particle object.
MStatus conformPerParticleAttribute(const MObject& particleNode, const MObject& attribute);

// Values for one per-particle attribute of particles being appended, one entry per new particle; the
// entries missing at the end take the attribute's default.
struct PerParticleValues {
    std::string name;
    bool vectors = false;
    MVectorArray vectorValues;
    MDoubleArray doubleValues;
};

// Appends particles at these positions, as emit does: each new particle takes its values from values
// (by attribute name), else zero velocity, unit mass and zero (or (0, 0, 0)) in every other per-particle
// attribute. Every per-particle array is first brought to the old count (padded with the default or
// cut), so that all stay at one entry per particle. With maxCount set, particles beyond it are not
// appended. The arrays grow in place (their data objects stay the same), so appending a few particles
// costs no copy of the others. appended is set to the number of particles appended. Fails with
// kInvalidParameter, changing nothing, on a node that is not a particle object, a non-finite position or
// value, a name in values that is not a per-particle attribute of the object other than position, or a
// per-particle attribute fed by a connection (its long name is then put in drivenAttribute, if given).
MStatus appendParticles(const MObject& particleNode, const MVectorArray& positions,
                        const std::vector<PerParticleValues>& values, unsigned& appended,
                        std::string* drivenAttribute = nullptr);

}  // namespace host

#endif
