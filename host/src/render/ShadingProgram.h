#ifndef HOST_SHADING_PROGRAM_H
#define HOST_SHADING_PROGRAM_H

#include "nodes/shading/ShadingFormulas.h"

#include <maya/MPlug.h>
#include <maya/MStatus.h>

#include <string>
#include <vector>

namespace host {

class Node;

// The data of one sample (w of points dropped). refPoint is the reference point, or the point when the
// call gives no reference point for this sample.
struct ShadingSample {
    Float3 point;
    Float3 refPoint;
    Float3 normal;
    Float3 tangentU;
    Float3 tangentV;
    float u = 0.0f;
    float v = 0.0f;
};

// A shading network resolved for one sampler call: a flat list of steps, each step's inputs before it,
// so that a sample is evaluated by one pass over the list without lookups or allocation.
//
// Resolution walks connections from the named output: an input of a host shading node fed by another host
// shading node's output becomes that node's steps; any other input (unconnected, or fed by a node the
// sampler does not know, or connected per component) is read once, after graph evaluation, and becomes a
// constant. A shading switch resolves through its "default" input. A network that loops back on itself is
// cut where it loops: the output met again is read once as a constant.
class ShadingProgram {
public:
    // Resolves a shading group name or a plug name (see MRenderUtil.h). kFailure when the name gives
    // nothing to sample.
    MStatus compile(const std::string& name);
    void evaluate(const ShadingSample& sample, Float3& color, Float3& transparency);

private:
    enum class StepKind { Constant, Ramp, SolidGradient, Direction, Grey };
    struct Step {
        StepKind kind = StepKind::Constant;
        int a = -1;    // input steps
        int b = -1;
        int mode = 0;  // ramp type, useTangent, or the component for Grey
        Float3 c0;     // constant value, or solidGradient scale
        Float3 c1;     // solidGradient offset
    };

    int add(const Step& step);
    int constant(const Float3& value);
    // A numeric plug of any node: its steps, or -1 when the plug holds no numbers.
    int compilePlug(const MPlug& plug);
    // An input: the steps of the shading output feeding it, or its current value.
    int compileInput(const MPlug& plug);
    // A host shading node's output (top level); -1 when the plug is not one.
    int compileShadingOutput(const MPlug& plug);
    int compileEngine(Node& engine);

    std::vector<Step> steps_;
    std::vector<int> dynamic_;    // the steps that depend on the sample, in order
    std::vector<Float3> values_;  // the value of each step for the current sample
    std::vector<const Node*> open_;
    int color_ = -1;
    int transparency_ = -1;
};

// True for an output plug of one of the host's shading nodes (at top level or a component of one).
bool isShadingOutput(const MPlug& plug);

}  // namespace host

#endif
