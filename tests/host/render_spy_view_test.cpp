#include "render_test_support.h"

#include "graph/Dag.h"

#include <maya/M3dView.h>
#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>

#include <cmath>

using namespace render_test;

namespace {

using RenderSpy = RenderTest;
using RenderView = RenderTest;

TEST_F(RenderSpy, RecordsNullnessLengthsFlagsAndContents) {
    make("ramp", "ramp1");
    MFloatPointArray points;
    points.append(MFloatPoint(1, 2, 3, 0));
    points.append(MFloatPoint(4, 5, 6, 0));
    MFloatArray u(2, 0.5f);
    MFloatVectorArray normals(1, MFloatVector(0, 1, 0));
    MFloatMatrix camera;
    camera[3][0] = 7.0f;
    MFloatVectorArray colors;
    MFloatVectorArray transparencies;
    ASSERT_EQ(MRenderUtil::sampleShadingNetwork("ramp1.outColor", 2, true, false, camera, &points, &u, &u, &normals,
                                                &points, nullptr, nullptr, nullptr, colors, transparencies),
              MStatus::kSuccess);
    ASSERT_EQ(host::samplerCalls().size(), 1u);
    const host::SamplerCall& call = host::samplerCalls()[0];
    EXPECT_EQ(call.name, "ramp1.outColor");
    EXPECT_EQ(call.numSamples, 2);
    EXPECT_TRUE(call.useShadowMaps);
    EXPECT_FALSE(call.reuseMaps);
    EXPECT_EQ(call.cameraMatrix, camera);
    EXPECT_FALSE(call.points.isNull);
    EXPECT_EQ(call.points.length, 2u);
    EXPECT_EQ(call.normals.length, 1u);
    EXPECT_TRUE(call.tangentUs.isNull);
    EXPECT_TRUE(call.tangentVs.isNull);
    EXPECT_TRUE(call.filterSizes.isNull);
    EXPECT_TRUE(call.refPointsAreThePoints);
    EXPECT_TRUE(call.vCoordsAreTheUCoords);
    EXPECT_EQ(call.status, MStatus::kSuccess);
    EXPECT_EQ(call.resultCount, 2u);
    ASSERT_TRUE(call.contentsRecorded);
    ASSERT_EQ(call.pointValues.length(), 2u);
    EXPECT_EQ(call.pointValues[1], MFloatPoint(4, 5, 6, 0));
    EXPECT_EQ(call.normalValues[0], MFloatVector(0, 1, 0));

    // Without contents the record keeps lengths and flags only; clearing empties it.
    host::setSamplerRecordsContents(false);
    sample("ramp1.outColor", 2, Samples());
    ASSERT_EQ(host::samplerCalls().size(), 2u);
    EXPECT_FALSE(host::samplerCalls()[1].contentsRecorded);
    EXPECT_TRUE(host::samplerCalls()[1].points.isNull);
    host::clearSamplerCalls();
    EXPECT_TRUE(host::samplerCalls().empty());
}

TEST_F(RenderSpy, HookRunsDuringTheCallAndMaySampleItself) {
    make("ramp", "ramp1");
    make("particle", "particle1");
    MPlug renderType = plug("particle1.particleRenderType");
    renderType.setValue(7);
    int seen = -1;
    std::string seenName;
    int depth = 0;
    host::setSamplerHook([&](const host::SamplerCall& call) {
        renderType.getValue(seen);
        seenName = call.name;
        if (depth++ == 0)
            sample("ramp1.outColor", 1);
    });
    Result r = sample("ramp1.outColor", 1);
    renderType.setValue(0);
    EXPECT_EQ(r.status, MStatus::kSuccess);
    EXPECT_EQ(seen, 7);
    EXPECT_EQ(seenName, "ramp1.outColor");
    EXPECT_EQ(depth, 2);
    EXPECT_EQ(host::samplerCalls().size(), 2u);
}

TEST_F(RenderSpy, ForcedFailureStillRecordsAndRunsTheHook) {
    make("ramp", "ramp1");
    bool ran = false;
    host::setSamplerHook([&](const host::SamplerCall&) { ran = true; });
    host::setSamplerFailure(true);
    Result r = sample("ramp1.outColor", 3);
    EXPECT_EQ(r.status, MStatus::kFailure);
    EXPECT_EQ(r.colors.length(), 0u);
    EXPECT_TRUE(ran);
    ASSERT_EQ(host::samplerCalls().size(), 1u);
    EXPECT_EQ(host::samplerCalls()[0].status, MStatus::kFailure);
    host::setSamplerFailure(false);
    EXPECT_EQ(sample("ramp1.outColor", 3).status, MStatus::kSuccess);
}

// The camera matrix as the plug-ins build it.
MFloatMatrix activeCameraMatrix(MDagPath& path, MStatus& status) {
    status = M3dView::active3dView().getCamera(path);
    MMatrix m = path.inclusiveMatrix();
    MFloatMatrix f;
    for (unsigned r = 0; r < 4; ++r)
        for (unsigned c = 0; c < 4; ++c)
            f[r][c] = static_cast<float>(m[r][c]);
    return f;
}

TEST_F(RenderView, BatchHasNoViewSoTheCameraIsIdentity) {
    make("camera", "cam");
    host::setActiveCamera(host::nodeByName("cam"));
    MDagPath path;
    MStatus status;
    MFloatMatrix m = activeCameraMatrix(path, status);
    EXPECT_EQ(status, MStatus::kFailure);
    EXPECT_FALSE(path.isValid());
    EXPECT_EQ(path.fullPathName(), MString(""));
    EXPECT_EQ(m, MFloatMatrix());
    EXPECT_FALSE(host::findNode("persp"));
}

TEST_F(RenderView, InteractiveViewUsesTheActiveCamerasTransform) {
    host::setMayaState(MGlobal::kInteractive);
    make("transform", "camXf");
    make("camera", "cam");
    ASSERT_EQ(host::setDagParent(host::findNode("cam"), host::findNode("camXf")), MStatus::kSuccess);
    set3("camXf.translate", 1.0, 2.0, 3.0);
    set3("camXf.rotate", 0.0, M_PI / 2.0, 0.0);
    ASSERT_EQ(host::setActiveCamera(host::nodeByName("cam")), MStatus::kSuccess);
    MDagPath path;
    MStatus status;
    MFloatMatrix m = activeCameraMatrix(path, status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(path.fullPathName(), MString("|camXf|cam"));
    EXPECT_TRUE(path.hasFn(MFn::kCamera));
    // A quarter turn about y takes x to -z, then the translation is added.
    MPoint p = MPoint(1, 0, 0) * path.inclusiveMatrix();
    EXPECT_NEAR(p.x, 1.0, 1e-9);
    EXPECT_NEAR(p.y, 2.0, 1e-9);
    EXPECT_NEAR(p.z, 2.0, 1e-9);
    EXPECT_FLOAT_EQ(m[3][0], 1.0f);
    EXPECT_FLOAT_EQ(m[3][2], 3.0f);
    EXPECT_NEAR(m[0][2], -1.0f, 1e-6);

    // Refusals, and a deleted camera: the view falls back to "persp".
    EXPECT_EQ(host::setActiveCamera(MObject(host::createNode("ramp", "notACamera"))), MStatus::kInvalidParameter);
    host::deleteNode(host::findNode("cam"));
    EXPECT_FALSE(path.isValid());
    EXPECT_EQ(path.inclusiveMatrix(), MMatrix());
    activeCameraMatrix(path, status);
    EXPECT_EQ(path.fullPathName(), MString("|persp|perspShape"));
}

TEST_F(RenderView, DefaultPerspIsMadeOnceAtMayasPlace) {
    host::setMayaState(MGlobal::kInteractive);
    MDagPath path;
    MStatus status;
    MFloatMatrix m = activeCameraMatrix(path, status);
    ASSERT_EQ(status, MStatus::kSuccess);
    EXPECT_EQ(path.fullPathName(), MString("|persp|perspShape"));
    EXPECT_FLOAT_EQ(m[3][0], 28.0f);
    EXPECT_FLOAT_EQ(m[3][1], 21.0f);
    EXPECT_FLOAT_EQ(m[3][2], 28.0f);
    // The camera looks down its -z axis towards the origin: row 2 points back at the camera.
    MPoint back = MPoint(0, 0, 1, 0) * path.inclusiveMatrix();
    MPoint toCamera(28, 21, 28, 0);
    double cosine = (back.x * toCamera.x + back.y * toCamera.y + back.z * toCamera.z) /
                    std::sqrt(toCamera.x * toCamera.x + toCamera.y * toCamera.y + toCamera.z * toCamera.z);
    EXPECT_GT(cosine, 0.99);
    activeCameraMatrix(path, status);
    size_t cameras = 0;
    for (const auto& node : host::sceneNodes())
        cameras += node->type->name == "camera" ? 1 : 0;
    EXPECT_EQ(cameras, 1u);

    // An empty path is empty everywhere.
    MDagPath empty;
    EXPECT_FALSE(empty.isValid());
    EXPECT_EQ(empty.length(), 0u);
    EXPECT_TRUE(empty.node().isNull());
    EXPECT_FALSE(empty.hasFn(MFn::kCamera));
}

}  // namespace
