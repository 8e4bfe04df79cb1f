#include "render/ShadingProgram.h"

#include "graph/Scene.h"
#include "nodes/shading/lambert.h"
#include "nodes/shading/shadingEngine.h"
#include "nodes/shading/textures.h"
#include "nodes/shading/tripleShadingSwitch.h"

#include <algorithm>

namespace host {

namespace {

const MTypeId& typeOf(const MPlug& plug) {
    return plug.hostNode()->type->id;
}

MPlug plugOn(const MPlug& nodePlug, const MObject& attribute) {
    return MPlug(MObject(nodePlug.hostNode()), attribute);
}

bool isNumeric(const Attribute* a) {
    return a->kind == AttrKind::Numeric || a->kind == AttrKind::Unit;
}

// The plug's current value (pulled through the graph): three numbers of a numeric compound, or one number
// as grey.
Float3 currentValue(const MPlug& plug) {
    const Attribute* attr = plug.hostPath().back().attr;
    double v[3] = {0.0, 0.0, 0.0};
    if (attr->isNumericCompound()) {
        unsigned n = std::min<unsigned>(3, static_cast<unsigned>(attr->children.size()));
        for (unsigned i = 0; i < n; ++i)
            plug.child(i).getValue(v[i]);
    } else {
        plug.getValue(v[0]);
        v[1] = v[2] = v[0];
    }
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

float component(const Float3& value, int index) {
    return index == 0 ? value.x : (index == 1 ? value.y : value.z);
}

}  // namespace

bool isShadingOutput(const MPlug& plug) {
    if (plug.isNull() || !plug.hostNode()->alive)
        return false;
    MPlug top = plug.isChild() ? plug.parent() : plug;
    const MTypeId& id = typeOf(top);
    if (id == lambertNode::id)
        return top == lambertNode::outColor || top == lambertNode::outTransparency;
    if (id == rampNode::id)
        return top == rampNode::outColor;
    if (id == solidGradientNode::id)
        return top == solidGradientNode::outColor;
    if (id == normalTextureNode::id)
        return top == normalTextureNode::outColor;
    if (id == colorConstantNode::id)
        return top == colorConstantNode::outColor;
    if (id == tripleShadingSwitchNode::id)
        return top == tripleShadingSwitchNode::output;
    return false;
}

int ShadingProgram::add(const Step& step) {
    steps_.push_back(step);
    values_.push_back(step.c0);
    int index = static_cast<int>(steps_.size()) - 1;
    if (step.kind != StepKind::Constant)
        dynamic_.push_back(index);
    return index;
}

int ShadingProgram::constant(const Float3& value) {
    Step step;
    step.c0 = value;
    return add(step);
}

int ShadingProgram::compileInput(const MPlug& plug) {
    if (const Connection* c = incomingConnection(plug)) {
        if (isShadingOutput(c->src)) {
            MPlug src = c->src;
            return compilePlug(src);
        }
    }
    return constant(currentValue(plug));
}

int ShadingProgram::compilePlug(const MPlug& plug) {
    if (plug.isNull() || !plug.hostNode()->alive)
        return -1;
    const Attribute* attr = plug.hostPath().back().attr;
    if (!isNumeric(attr) || plug.isArray())
        return -1;
    if (attr->parent && attr->parent->isNumericCompound()) {
        // One number of a colour: the whole colour's steps, then that component as grey.
        int whole = compilePlug(plug.parent());
        if (whole < 0)
            return -1;
        Step step;
        step.kind = StepKind::Grey;
        step.a = whole;
        step.mode = attr->parent->childIndex(attr);
        return add(step);
    }
    if (attr->isCompound() && !attr->isNumericCompound())
        return -1;
    if (isShadingOutput(plug))
        return compileShadingOutput(plug);
    return compileInput(plug);
}

int ShadingProgram::compileShadingOutput(const MPlug& plug) {
    const Node* node = plug.hostNode().get();
    if (std::find(open_.begin(), open_.end(), node) != open_.end())
        return constant(currentValue(plug));
    open_.push_back(node);
    const MTypeId& id = typeOf(plug);
    int result = -1;
    if (id == lambertNode::id) {
        result = compileInput(plugOn(plug, plug == lambertNode::outColor ? lambertNode::color : lambertNode::transparency));
    } else if (id == rampNode::id) {
        Step step;
        step.kind = StepKind::Ramp;
        plugOn(plug, rampNode::type).getValue(step.mode);
        step.a = compileInput(plugOn(plug, rampNode::startColor));
        step.b = compileInput(plugOn(plug, rampNode::endColor));
        result = add(step);
    } else if (id == solidGradientNode::id) {
        Step step;
        step.kind = StepKind::SolidGradient;
        step.c0 = currentValue(plugOn(plug, solidGradientNode::scale));
        step.c1 = currentValue(plugOn(plug, solidGradientNode::offset));
        result = add(step);
    } else if (id == normalTextureNode::id) {
        Step step;
        step.kind = StepKind::Direction;
        bool tangent = false;
        plugOn(plug, normalTextureNode::useTangent).getValue(tangent);
        step.mode = tangent ? 1 : 0;
        result = add(step);
    } else if (id == colorConstantNode::id) {
        result = compileInput(plugOn(plug, colorConstantNode::inColor));
    } else if (id == tripleShadingSwitchNode::id) {
        result = compileInput(plugOn(plug, tripleShadingSwitchNode::defaultColor));
    }
    open_.pop_back();
    return result;
}

// The group's colour is that of the node feeding surfaceShader and its transparency that node's
// transparency (0 for nodes without one); an unconnected group gives its stored value and 0.
int ShadingProgram::compileEngine(Node& engine) {
    Attribute* attr = engine.findAttribute("surfaceShader");
    if (!attr || !isNumeric(attr))
        return -1;
    MPlug surfaceShader = plugOf(std::static_pointer_cast<Node>(engine.shared_from_this()), attr);
    const Connection* c = incomingConnection(surfaceShader);
    if (c && c->src.hostNode()->type->id == lambertNode::id) {
        MPlug shader = c->src;
        color_ = compileShadingOutput(plugOn(shader, lambertNode::outColor));
        transparency_ = compileShadingOutput(plugOn(shader, lambertNode::outTransparency));
        return color_;
    }
    color_ = compileInput(surfaceShader);
    transparency_ = constant(Float3());
    return color_;
}

MStatus ShadingProgram::compile(const std::string& name) {
    *this = ShadingProgram();
    if (name.empty())
        return MStatus::kFailure;
    if (name.find('.') == std::string::npos) {
        std::shared_ptr<Node> node = findNode(name);
        if (!node || !node->alive || node->type->apiType != MFn::kShadingEngine)
            return MStatus::kFailure;
        return compileEngine(*node) < 0 ? MStatus::kFailure : MStatus::kSuccess;
    }
    MStatus status;
    MPlug plug = plugFromName(name, &status);
    if (status != MStatus::kSuccess || plug.isNull())
        return MStatus::kFailure;
    if (typeOf(plug) == lambertNode::id && plug == lambertNode::outColor && !plug.isChild()) {
        color_ = compileShadingOutput(plug);
        transparency_ = compileShadingOutput(plugOn(plug, lambertNode::outTransparency));
    } else {
        color_ = compilePlug(plug);
        transparency_ = constant(Float3());
    }
    return color_ < 0 || transparency_ < 0 ? MStatus::kFailure : MStatus::kSuccess;
}

void ShadingProgram::evaluate(const ShadingSample& s, Float3& color, Float3& transparency) {
    Float3* values = values_.data();
    const Step* steps = steps_.data();
    for (int index : dynamic_) {
        const Step& step = steps[index];
        switch (step.kind) {
        case StepKind::Ramp:
            values[index] = rampColor(step.mode, values[step.a], values[step.b], s.u, s.v);
            break;
        case StepKind::SolidGradient:
            values[index] = solidGradientColor(s.refPoint, step.c0, step.c1);
            break;
        case StepKind::Direction:
            values[index] = directionColor(step.mode ? s.tangentU : s.normal);
            break;
        case StepKind::Grey: {
            float g = component(values[step.a], step.mode);
            values[index] = {g, g, g};
            break;
        }
        case StepKind::Constant:
            break;
        }
    }
    color = values[color_];
    transparency = values[transparency_];
}

}  // namespace host
