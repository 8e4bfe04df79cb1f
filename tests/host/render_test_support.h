#ifndef RENDER_TEST_SUPPORT_H
#define RENDER_TEST_SUPPORT_H

// Scene building and sampler calls shared by the render tests.

#include "graph/Scene.h"
#include "render/ActiveView.h"
#include "render/SamplerRecord.h"

#include <host/Host.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MRenderUtil.h>

#include <gtest/gtest.h>

#include <string>

namespace render_test {

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        host::setSamplerRecording(true);
    }
    void TearDown() override { reset(); }
    static void reset() {
        host::clearScene();
        host::resetSampler();
        host::setActiveCamera(MObject());
        host::setMayaState(MGlobal::kBatch);
    }
};

inline std::string make(const char* type, const char* name) {
    MStatus status;
    auto node = host::createNode(type, name, &status);
    EXPECT_TRUE(node) << type;
    return node ? node->name : std::string();
}

inline MPlug plug(const std::string& name) {
    MStatus status;
    MPlug p = host::plugFromName(name, &status);
    EXPECT_EQ(status, MStatus::kSuccess) << name;
    return p;
}

inline void set3(const std::string& name, double x, double y, double z) {
    MPlug p = plug(name);
    ASSERT_EQ(p.child(0).setValue(x), MStatus::kSuccess) << name;
    p.child(1).setValue(y);
    p.child(2).setValue(z);
}

inline void connect(const std::string& src, const std::string& dst) {
    ASSERT_EQ(host::connect(plug(src), plug(dst), true), MStatus::kSuccess) << src << " -> " << dst;
}

// The optional arrays of one sampler call; null members go as NULL.
struct Samples {
    MFloatPointArray* points = nullptr;
    MFloatArray* u = nullptr;
    MFloatArray* v = nullptr;
    MFloatVectorArray* normals = nullptr;
    MFloatPointArray* refPoints = nullptr;
    MFloatVectorArray* tangentUs = nullptr;
    MFloatVectorArray* tangentVs = nullptr;
};

struct Result {
    MStatus status;
    MFloatVectorArray colors;
    MFloatVectorArray transparencies;
};

inline Result sample(const std::string& name, int count, const Samples& s = Samples(), bool shadows = false) {
    Result r;
    MFloatMatrix camera;
    r.status = MRenderUtil::sampleShadingNetwork(MString(name.c_str()), count, shadows, false, camera, s.points, s.u,
                                                 s.v, s.normals, s.refPoints, s.tangentUs, s.tangentVs, nullptr,
                                                 r.colors, r.transparencies);
    return r;
}

inline ::testing::AssertionResult near3(const MFloatVector& v, float x, float y, float z, float tol = 1e-5f) {
    if (std::abs(v.x - x) <= tol && std::abs(v.y - y) <= tol && std::abs(v.z - z) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << v.x << ", " << v.y << ", " << v.z << ") != (" << x << ", " << y
                                         << ", " << z << ")";
}

}  // namespace render_test

#endif
