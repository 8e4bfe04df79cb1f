#include "command_fixture.h"

#include <maya/MFnNurbsCurve.h>

#include <vector>

using cmdtest::CommandTest;

namespace {

std::vector<double> knotsOf(const std::string& node) {
    MStatus status;
    MFnNurbsCurve fn(host::nodeByName(node), &status);
    EXPECT_EQ(status, MStatus::kSuccess) << node;
    MDoubleArray knots;
    fn.getKnots(knots);
    return std::vector<double>(knots.hostVector().begin(), knots.hostVector().end());
}

std::string points(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += " -p " + std::to_string(i) + " " + std::to_string(i % 2) + " 0";
    return text;
}

}  // namespace

TEST_F(CommandTest, CurveCommandDefaultKnotsAndNames) {
    ok("curve -p 0 0 0 -p 1 1 0 -p 2 0 0 -p 3 1 0");
    MString name;
    result.getResult(name);
    EXPECT_EQ(name, "curve1");
    EXPECT_EQ(knotsOf("curve1"), (std::vector<double>{0, 0, 0, 1, 1, 1}));

    ok("curve -d 3" + points(6));
    result.getResult(name);
    EXPECT_EQ(name, "curve2");
    EXPECT_EQ(knotsOf("curve2"), (std::vector<double>{0, 0, 0, 1, 2, 3, 3, 3}));
    EXPECT_EQ(getDouble("curve2.maxValue"), 3.0);

    ok("curve -degree 1 -point 0 0 0 -point 1 0 0 -point 1 1 0 -name path");
    result.getResult(name);
    EXPECT_EQ(name, "path");
    EXPECT_EQ(knotsOf("path"), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(getDouble("path.spans"), 2.0);

    ok("curve -d 2 -os -p 0 0 0 -p -1.5 2e1 0 -p 1 0 0");
    EXPECT_EQ(knotsOf("curve3"), (std::vector<double>{0, 0, 1, 1}));
    MPoint cv;
    MFnNurbsCurve(host::nodeByName("curve3")).getCV(1, cv);
    EXPECT_EQ(cv.x, -1.5);
    EXPECT_EQ(cv.y, 20.0);
}

TEST_F(CommandTest, CurveCommandTakesGivenKnots) {
    ok("curve -d 3 -p 0 0 0 -p 1 0 0 -p 2 0 0 -p 3 0 0 -p 4 0 0 -k 0 -k 0 -k 0 -k 0.5 -k 2 -k 2 -k 2");
    EXPECT_EQ(knotsOf("curve1"), (std::vector<double>{0, 0, 0, 0.5, 2, 2, 2}));
    EXPECT_EQ(getDouble("curve1.minValue"), 0.0);
    EXPECT_EQ(getDouble("curve1.maxValue"), 2.0);
    EXPECT_EQ(getDouble("curve1.spans"), 2.0);
}

TEST_F(CommandTest, CurveCommandPeriodic) {
    // Four points and the first three again.
    ok("curve -d 3 -per true -p 1 0 0 -p 0 1 0 -p -1 0 0 -p 0 -1 0 -p 1 0 0 -p 0 1 0 -p -1 0 0");
    EXPECT_EQ(knotsOf("curve1"), (std::vector<double>{-2, -1, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(getDouble("curve1.form"), 3.0);
    EXPECT_EQ(getDouble("curve1.minValue"), 0.0);
    EXPECT_EQ(getDouble("curve1.maxValue"), 4.0);
    EXPECT_EQ(getDouble("curve1.spans"), 4.0);

    ok("curve -d 1 -periodic false -p 0 0 0 -p 1 0 0");
    EXPECT_EQ(getDouble("curve2.form"), 1.0);
}

TEST_F(CommandTest, CurveCommandErrorsCreateNothing) {
    const size_t before = host::sceneNodes().size();
    fails("curve -d 3 -p 0 0 0 -p 1 0 0 -p 2 0 0 -p 3 0 0 -k 0 -k 0 -k 1 -k 1", {"curve:", "6 knots", "got 4"});
    fails("curve -d 3 -p 0 0 0 -p 1 0 0 -p 2 0 0", {"curve:", "at least 4 points", "got 3"});
    fails("curve", {"curve:", "at least 4 points"});
    fails("curve -d 1 -p 0 0 0 -p 1 x 0", {"curve:", "-p", "'x'"});
    fails("curve -d 1 -p 0 0 0 -p 1 0", {"curve:", "-p", "three numbers"});
    fails("curve -d 1 -p 0 0 0 -p 1 0 0 -k 0 -k one", {"curve:", "-k", "'one'"});
    fails("curve -d 0 -p 0 0 0 -p 1 0 0", {"curve:", "degree"});
    fails("curve -d 2.5 -p 0 0 0 -p 1 0 0 -p 2 0 0", {"curve:", "-d", "'2.5'"});
    fails("curve -d 1 -p 0 0 0 -p 1 0 0 -k 1 -k 0", {"curve:", "decrease"});
    fails("curve -d 1 -p 0 0 0 -p 1 0 0 -k 1 -k 1", {"curve:", "multiplicity"});
    fails("curve -d 2 -p 0 0 0 -p 1 0 0 -p 2 0 0 -k 0 -k 1 -k 1 -k 2", {"curve:", "empty"});
    fails("curve -d 1 -p 0 0 0 -p 1 0 0 -bogus", {"curve:", "-bogus"});
    fails("curve -d 1 -p 0 0 0 -p 1 0 0 extra", {"curve:", "'extra'"});
    fails("curve -d 1 -d 2 -p 0 0 0 -p 1 0 0", {"curve:", "twice"});
    fails("curve -d 1 -p 0 0 0 -p 1 0 0 -n \"a.b\"", {"curve:", "a.b"});
    fails("curve -d 1 -per maybe -p 0 0 0 -p 1 0 0", {"curve:", "true or false"});
    // Periodic: the last d points must repeat the first d, and given knots must repeat their spacing.
    fails("curve -d 3 -per true -p 1 0 0 -p 0 1 0 -p -1 0 0 -p 0 -1 0 -p 1 0 0 -p 0 1 0 -p -1 0 1",
          {"curve:", "periodic", "point 7"});
    fails("curve -d 3 -per true -p 1 0 0 -p 0 1 0 -p 1 0 0 -p 0 1 0", {"curve:", "periodic"});
    fails("curve -d 3 -per true -p 1 0 0 -p 0 1 0 -p -1 0 0 -p 0 -1 0 -p 1 0 0 -p 0 1 0 -p -1 0 0"
          " -k 0 -k 0 -k 0 -k 1 -k 2 -k 3 -k 4 -k 4 -k 4",
          {"curve:", "periodic"});
    EXPECT_EQ(host::sceneNodes().size(), before);
    EXPECT_FALSE(host::findNode("curve1"));
}
