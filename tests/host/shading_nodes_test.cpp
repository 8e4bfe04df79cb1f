#include "render_test_support.h"

#include "command/ShadingCommands.h"
#include "command/CommandResultAccess.h"
#include "nodes/shading/tripleShadingSwitch.h"

#include <maya/MCommandResult.h>
#include <maya/MFnDependencyNode.h>

#include <sstream>

using namespace render_test;

namespace {

using RenderShadingNodes = RenderTest;

MFloatVector read3(const std::string& name) {
    MPlug p = plug(name);
    double v[3] = {0, 0, 0};
    for (unsigned i = 0; i < 3; ++i)
        EXPECT_EQ(p.child(i).getValue(v[i]), MStatus::kSuccess) << name;
    return MFloatVector(static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2]));
}

TEST_F(RenderShadingNodes, TypesAndGraphReadsWithoutSampleContext) {
    const std::pair<const char*, int> types[] = {{"shadingEngine", 310}, {"tripleShadingSwitch", 593},
                                                 {"camera", MFn::kCamera}, {"lambert", MFn::kSurfaceShader}};
    for (const auto& [type, api] : types)
        EXPECT_EQ(host::nodeByName(make(type, "")).apiType(), api) << type;

    make("lambert", "lam");
    EXPECT_TRUE(near3(read3("lam.outColor"), 0.5f, 0.5f, 0.5f));
    make("ramp", "r");
    set3("r.startColor", 0.1, 0.2, 0.3);
    connect("r.outColor", "lam.color");
    EXPECT_TRUE(near3(read3("lam.outColor"), 0.1f, 0.2f, 0.3f));  // u = v = 0: the start colour
    set3("lam.transparency", 0.4, 0.0, 0.0);
    EXPECT_TRUE(near3(read3("lam.outTransparency"), 0.4f, 0.0f, 0.0f));

    make("solidGradient", "g");
    set3("g.offset", 0.5, -1.0, 2.0);
    EXPECT_TRUE(near3(read3("g.outColor"), 0.5f, 0.0f, 1.0f));  // point at the origin
    make("normalTexture", "n");
    EXPECT_TRUE(near3(read3("n.outColor"), 0.5f, 0.5f, 0.5f));
    make("tripleShadingSwitch", "sw");
    connect("lam.outColor", "sw.default");
    EXPECT_TRUE(near3(read3("sw.output"), 0.1f, 0.2f, 0.3f));
    set3("r.startColor", 0.9, 0.9, 0.9);
    EXPECT_TRUE(near3(read3("sw.output"), 0.9f, 0.9f, 0.9f));
}

TEST_F(RenderShadingNodes, SwitchInputChildOrder) {
    make("tripleShadingSwitch", "sw");
    MPlug element = plug("sw.input").elementByLogicalIndex(0);
    ASSERT_EQ(element.numChildren(), 2u);
    EXPECT_EQ(element.child(0u).name(), MString("sw.input[0].inTriple"));
    EXPECT_EQ(element.child(1u).name(), MString("sw.input[0].inShape"));
    make("particle", "shape");
    EXPECT_EQ(host::connect(plug("shape.message"), element.child(1u), true), MStatus::kSuccess);
}

host::Args words(const std::string& text) {
    host::Args args;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        args.push_back(host::Arg{word, false});
    return args;
}

MStatus run(MStatus (*command)(const host::Args&, MCommandResult&), const std::string& text, std::string& out) {
    MCommandResult result;
    MStatus status = command(words(text), result);
    out = host::CommandResultAccess::text(result);
    return status;
}

TEST_F(RenderShadingNodes, ShadingNodeAndSetsCommands) {
    std::string name;
    ASSERT_EQ(run(host::shadingNodeCommand, "-asTexture ramp", name), MStatus::kSuccess);
    EXPECT_EQ(name, "ramp1");
    ASSERT_EQ(run(host::shadingNodeCommand, "-asShader lambert -n skin", name), MStatus::kSuccess);
    EXPECT_EQ(name, "skin");
    ASSERT_EQ(run(host::shadingNodeCommand, "-au colorConstant -name skin", name), MStatus::kSuccess);
    EXPECT_EQ(name, "skin1");
    EXPECT_EQ(host::findNode("skin1")->type->name, "colorConstant");
    ASSERT_EQ(run(host::shadingNodeCommand, "-asShader -shared lambert -n skin", name), MStatus::kSuccess);
    EXPECT_EQ(name, "skin");
    EXPECT_FALSE(host::findNode("skin2"));
    for (const char* bad : {"ramp", "-asTexture -asShader ramp", "-asTexture noSuchType", "-asTexture",
                            "-asTexture ramp -n 9bad"})
        EXPECT_EQ(run(host::shadingNodeCommand, bad, name), MStatus::kFailure) << bad;

    ASSERT_EQ(run(host::setsCommand, "-renderable true -noSurfaceShader true -empty -name blinnSG", name),
              MStatus::kSuccess);
    EXPECT_EQ(name, "blinnSG");
    EXPECT_EQ(host::nodeByName("blinnSG").apiType(), MFn::kShadingEngine);
    ASSERT_EQ(run(host::setsCommand, "-r 1 -nss 1 -em -n blinnSG", name), MStatus::kSuccess);
    EXPECT_EQ(name, "blinnSG1");
    for (const char* bad : {"-empty -name plainSet", "-renderable maybe -empty", "-renderable true someMember"})
        EXPECT_EQ(run(host::setsCommand, bad, name), MStatus::kFailure) << bad;
    EXPECT_FALSE(host::findNode("plainSet"));
}

}  // namespace
