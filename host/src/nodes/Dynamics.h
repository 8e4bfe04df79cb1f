#ifndef HOST_DYNAMICS_H
#define HOST_DYNAMICS_H

#include <maya/MTime.h>

namespace host {

// Called by the scene after the current time has moved from previous to now (time nodes already show
// now). Makes sure the scene has its time node "time1" (unless the scene is empty and the time did not
// move, which is what a scene reset does), then steps the particles by now - previous.
void timeChanged(const MTime& previous, const MTime& now);

// One solver step of dt seconds for every particle object of the scene; see the particleNode class
// comment for the rule. Nothing happens when dt <= 0 (or is not a number), nor when called again while
// a step is running (a field that sets the time during its compute does not start a nested step).
//
// Order: every particle object first takes deltaTime = dt, then every particle object gathers its
// forces (all at the positions and velocities of the previous time), then every particle object
// integrates, in creation order, and finally every particle object takes the new particles of its
// emitters (particleNode::takeNewParticles), so new particles start where they were emitted. A field answers for one particle object per outputForce element from
// that object's own data, so the order would not matter for well-behaved fields; gathering everything
// first keeps the result independent of creation order even for fields that look further.
void stepDynamics(double dt);

}  // namespace host

#endif
