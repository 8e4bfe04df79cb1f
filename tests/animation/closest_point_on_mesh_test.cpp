// closestPointOnMesh from the command language: its nine numbers, its messages, and a generated table of
// malformed argument lists that must never crash it.

#include "animation_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using anim::numbers;
using anim::run;

class ClosestPointOnMesh : public anim::AnimationSuite {
protected:
    void SetUp() override {
        AnimationSuite::SetUp();
        // The plane's shape, and a transform "xf" whose only shape "xfShape" holds the same mesh.
        run("polyPlane -w 2 -h 2 -sx 2 -sy 2 -n pl; createNode transform -n xf; createNode mesh -n xfShape -p xf;"
            "connectAttr plShape.outMesh xfShape.inMesh");
    }

    // Runs the command; the error it displayed last ("" if none) and its status.
    MStatus query(const std::string& args, std::vector<double>* result = nullptr) {
        host::OutputCapture quiet;
        const size_t before = host::journalErrors().size();
        MCommandResult r;
        MStatus status = host::execute("closestPointOnMesh " + args, &r);
        const std::vector<std::string> errors = host::journalErrors();
        lastError = errors.size() > before ? errors.back() : std::string();
        errorCount = errors.size() - before;
        MDoubleArray values;
        if (result) {
            result->clear();
            if (r.getResult(values))
                result->assign(values.hostVector().begin(), values.hostVector().end());
        }
        return status;
    }

    std::string lastError;
    size_t errorCount = 0;
};

TEST_F(ClosestPointOnMesh, NineNumbersThatAMeshConstraintReproduces) {
    std::vector<double> r;
    ASSERT_EQ(query("-p 0.5 3 0.4 -m plShape", &r), MStatus::kSuccess) << lastError;
    ASSERT_EQ(r.size(), 9u);
    EXPECT_EQ(r[0], std::floor(r[0])) << "the polygon id, as a double";
    EXPECT_GE(r[0], 0);
    EXPECT_LE(r[0], 3);
    EXPECT_NEAR(r[1], 0.5, 1e-9);
    EXPECT_NEAR(r[2], 0.0, 1e-9);
    EXPECT_NEAR(r[3], 0.4, 1e-9);
    EXPECT_NEAR(r[5], 1.0, 1e-9) << "the plane's normal";
    // The polygon and (u, v) place a meshConstraint on the closest point.
    run("createNode meshConstraint -n mc; connectAttr plShape.worldMesh[0] mc.inMesh");
    run("setAttr mc.input[0].polygonId " + std::to_string(static_cast<int>(r[0])) +
        "; setAttr mc.input[0].uValue " + std::to_string(r[7]) + "; setAttr mc.input[0].vValue " +
        std::to_string(r[8]));
    const std::vector<double> p = numbers("getAttr mc.resultPosition[0]");
    ASSERT_EQ(p.size(), 3u);
    EXPECT_NEAR(p[0], 0.5, 1e-5);
    EXPECT_NEAR(p[2], 0.4, 1e-5);

    // Long flags, a shape's name and its transform's name give the same answer.
    std::vector<double> longForm;
    ASSERT_EQ(query("-position 0.5 3 0.4 -mesh xf", &longForm), MStatus::kSuccess) << lastError;
    EXPECT_EQ(longForm, r);
    ASSERT_EQ(query("-position 0.5 3 0.4 -mesh xfShape", &longForm), MStatus::kSuccess) << lastError;
    EXPECT_EQ(longForm, r);
    // A flag given twice takes its last value; without -position the query point is the origin.
    ASSERT_EQ(query("-p 9 9 9 -m plShape -p 0.5 3 0.4", &longForm), MStatus::kSuccess);
    EXPECT_EQ(longForm, r);
    ASSERT_EQ(query("-m plShape", &r), MStatus::kSuccess);
    EXPECT_NEAR(r[1], 0.0, 1e-9);
    EXPECT_NEAR(r[3], 0.0, 1e-9);
}

TEST_F(ClosestPointOnMesh, NamesThatAreNoMeshSucceedWithoutAResult) {
    std::vector<double> r;
    EXPECT_EQ(query("-p 1 2 3", &r), MStatus::kSuccess);
    EXPECT_EQ(lastError, " is not a polygonal mesh object.");
    EXPECT_TRUE(r.empty());
    EXPECT_EQ(query("-p 1 2 3 -m nothingCalledThis", &r), MStatus::kSuccess);
    EXPECT_EQ(lastError, " is not a polygonal mesh object.");
    run("nurbsPlane -n np");
    EXPECT_EQ(query("-p 1 2 3 -m npShape", &r), MStatus::kSuccess);
    EXPECT_NE(lastError.find("np"), std::string::npos) << lastError;
    EXPECT_EQ(lastError.substr(lastError.size() - 32), " is not a polygonal mesh object.") << lastError;
    EXPECT_EQ(lastError[0], '|') << "the full path name";
    EXPECT_TRUE(r.empty());
}

TEST_F(ClosestPointOnMesh, FlagsAreExactAndAnythingElseStopsTheCommand) {
    std::vector<double> r;
    EXPECT_EQ(query("-P 1 2 3 -m plShape", &r), MStatus::kFailure);
    EXPECT_EQ(lastError, "-P is not a valid flag.");
    EXPECT_TRUE(r.empty());
    EXPECT_EQ(query("-p 1 2 3 -m plShape extra", &r), MStatus::kFailure);
    EXPECT_EQ(lastError, "extra is not a valid flag.");
    EXPECT_TRUE(r.empty());
}

TEST_F(ClosestPointOnMesh, ABadPositionIsNamedAndParsingGoesOn) {
    std::vector<double> r;
    // "x" is named; "3" then stands where a flag belongs.
    EXPECT_EQ(query("-p 1 x 3 -m plShape", &r), MStatus::kFailure);
    EXPECT_EQ(host::journalErrors()[host::journalErrors().size() - 2], "x is not a valid position.");
    EXPECT_EQ(lastError, "3 is not a valid flag.");
    // A flag where a number belongs is named, and the mesh name after it read as a flag.
    EXPECT_EQ(query("-p 1 2 -m plShape", &r), MStatus::kFailure);
    EXPECT_EQ(host::journalErrors()[host::journalErrors().size() - 2], "-m is not a valid position.");
    EXPECT_EQ(lastError, "plShape is not a valid flag.");
    // Running out of numbers: nothing to name, the query goes on from the origin.
    EXPECT_EQ(query("-m plShape -p 1 2", &r), MStatus::kSuccess);
    EXPECT_EQ(lastError, " is not a valid position.");
    ASSERT_EQ(r.size(), 9u);
    EXPECT_NEAR(r[1], 0.0, 1e-9);
    // A mesh flag at the end names nothing.
    EXPECT_EQ(query("-p 1 2 3 -m", &r), MStatus::kSuccess);
    EXPECT_EQ(lastError, " is not a polygonal mesh object.");
}

TEST_F(ClosestPointOnMesh, AMeshWithoutPolygonsIsAnError) {
    run("createNode mesh -n emptyShape");
    std::vector<double> r;
    EXPECT_EQ(query("-p 1 2 3 -m emptyShape", &r), MStatus::kFailure);
    EXPECT_NE(lastError.find("has no polygons"), std::string::npos) << lastError;
    EXPECT_TRUE(r.empty());
    // So is a point so far away that no distance to the mesh can be measured.
    EXPECT_EQ(query("-p 1e300 0 -1e300 -m plShape", &r), MStatus::kFailure);
    EXPECT_NE(lastError.find("too far from"), std::string::npos) << lastError;
    EXPECT_TRUE(r.empty());
}

// Argument lists drawn from flags, numbers, names and junk: every one ends in success or failure with
// either no result or nine finite numbers, and shows at most as many errors as it has arguments.
TEST_F(ClosestPointOnMesh, GeneratedArgumentListsNeverCrash) {
    run("nurbsPlane -n np; createNode mesh -n emptyShape");
    const char* const words[] = {"-p", "-position", "-m", "-mesh", "-P", "-Mesh", "--p", "-", "1", "-2.5",
                                 "1e400", "nan", "x", "xf", "plShape", "npShape", "emptyShape", "\"\"",
                                 "\"two words\"", "|xf|xfShape", "0"};
    std::mt19937 random(20261209);
    for (int run = 0; run < 1500; ++run) {
        std::string args;
        const int count = static_cast<int>(random() % 9);
        for (int k = 0; k < count; ++k)
            args += std::string(k ? " " : "") + words[random() % (sizeof words / sizeof *words)];
        SCOPED_TRACE(args);
        std::vector<double> r;
        const MStatus status = query(args, &r);
        EXPECT_TRUE(status == MStatus::kSuccess || status == MStatus::kFailure) << status.errorString().asChar();
        EXPECT_TRUE(r.empty() || r.size() == 9u);
        for (double value : r)
            EXPECT_TRUE(std::isfinite(value));
        EXPECT_LE(errorCount, static_cast<size_t>(count) + 1);
    }
}

}  // namespace
