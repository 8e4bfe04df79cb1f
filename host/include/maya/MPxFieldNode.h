#ifndef MPXFIELDNODE_H
#define MPXFIELDNODE_H

#include <maya/MDoubleArray.h>
#include <maya/MPxNode.h>
#include <maya/MVectorArray.h>

// Base of field nodes. Its attributes exist before any field type is registered and are shared by all
// field types. "inputData" (array of compounds: inputPositions, inputVelocities, inputMass, deltaTime)
// is fed by particle objects; element i of "outputForce" holds the forces on the particle object
// feeding inputData[i]. inputData, magnitude, attenuation, maxDistance and useMaxDistance affect
// outputForce. Defaults: magnitude 1, attenuation 1, maxDistance -1, useMaxDistance off.
class MPxFieldNode : public MPxNode {
public:
    MPxFieldNode() = default;
    ~MPxFieldNode() override;

    Type type() const override;
    virtual MStatus getForceAtPoint(const MVectorArray& points, const MVectorArray& velocities,
                                    const MDoubleArray& masses, MVectorArray& forceArray, double deltaTime);

    static MObject mInputData;
    static MObject mInputPositions;
    static MObject mInputVelocities;
    static MObject mInputMass;
    static MObject mDeltaTime;
    static MObject mOutputForce;
    static MObject mMagnitude;
    static MObject mAttenuation;
    static MObject mMaxDistance;
    static MObject mUseMaxDistance;
};

#endif
