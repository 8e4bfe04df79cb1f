#ifndef MPXEMITTERNODE_H
#define MPXEMITTERNODE_H

#include <maya/MPxNode.h>

// Base of emitter nodes. Its attributes exist before any emitter type is registered and are shared by
// all emitter types; besides the handles below it has "speedRandom", "normalSpeed", "needParentUV",
// "scaleRateByObjectSize", "minDistance" and "maxDistance", found by name. currentTime, startTime,
// rate, sweptGeometry, isFull and inheritFactor affect output. Defaults: rate 100, speed 1,
// speedRandom 0, normalSpeed 1, needParentUV off, scaleRateByObjectSize on, minDistance 0, maxDistance 0.
class MPxEmitterNode : public MPxNode {
public:
    MPxEmitterNode() = default;
    ~MPxEmitterNode() override;

    Type type() const override;

    static MObject mOutput;
    static MObject mSweptGeometry;
    static MObject mRate;
    static MObject mSpeed;
    static MObject mCurrentTime;
    static MObject mStartTime;
    static MObject mDeltaTime;
    static MObject mIsFull;
    static MObject mInheritFactor;
    static MObject mSeed;
};

#endif
