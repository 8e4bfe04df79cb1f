#include <maya/MTime.h>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

TEST(FoundationTime, DefaultIsZeroFilm) {
    const MTime t;
    EXPECT_EQ(t.value(), 0.0);
    EXPECT_EQ(t.unit(), MTime::kFilm);
    EXPECT_EQ(MTime::kSeconds, 3);
    EXPECT_EQ(MTime::kFilm, 6);
    EXPECT_EQ(MTime::kNTSCField, 11);
}

TEST(FoundationTime, ConvertsBetweenUnits) {
    EXPECT_EQ(MTime(1.0, MTime::kFilm).as(MTime::kSeconds), 1.0 / 24.0);
    EXPECT_EQ(MTime(1.0, MTime::kSeconds).as(MTime::kFilm), 24.0);
    EXPECT_EQ(MTime(1.0, MTime::kHours).as(MTime::kFilm), 86400.0);
    EXPECT_EQ(MTime(2.0, MTime::kMinutes).as(MTime::kSeconds), 120.0);
    EXPECT_EQ(MTime(24.0, MTime::kFilm).as(MTime::kNTSCFrame), 30.0);
    EXPECT_EQ(MTime(15.0, MTime::kGames).as(MTime::kPALFrame), 25.0);
    EXPECT_EQ(MTime(48.0, MTime::kShowScan).as(MTime::kPALField), 50.0);
    EXPECT_DOUBLE_EQ(MTime(1.0, MTime::kNTSCField).as(MTime::kMilliseconds), 1000.0 / 60.0);
    EXPECT_EQ(MTime(6.0, MTime::k2FPS).as(MTime::kSeconds), 3.0);
    EXPECT_EQ(MTime(2.5, MTime::kFilm).as(MTime::kFilm), 2.5);
}

TEST(FoundationTime, ArithmeticKeepsTheLeftUnit) {
    const MTime step = MTime(10.0, MTime::kFilm) - MTime(0.25, MTime::kSeconds);
    EXPECT_EQ(step.unit(), MTime::kFilm);
    EXPECT_EQ(step.value(), 4.0);

    const MTime back = MTime(1.0, MTime::kSeconds) - MTime(12.0, MTime::kFilm);
    EXPECT_EQ(back.unit(), MTime::kSeconds);
    EXPECT_EQ(back.value(), 0.5);

    MTime t(1.0, MTime::kFilm);
    t += MTime(1.0, MTime::kSeconds);
    EXPECT_EQ(t.unit(), MTime::kFilm);
    EXPECT_EQ(t.value(), 25.0);
    t -= MTime(0.0, MTime::kHours);
    EXPECT_EQ(t.value(), 25.0);
    EXPECT_EQ((t * 2.0).value(), 50.0);
    EXPECT_EQ((t / 5.0).unit(), MTime::kFilm);

    // A one-frame step in frames: the emitter's stepSize.
    const MTime current(11.0, MTime::kFilm);
    const MTime last(10.0, MTime::kFilm);
    EXPECT_EQ((current - last).value(), 1.0);
    EXPECT_EQ((current - last).as(MTime::kSeconds), 1.0 / 24.0);
}

TEST(FoundationTime, ComparisonsConvertUnits) {
    const MTime second(1.0, MTime::kSeconds);
    const MTime frames(24.0, MTime::kFilm);
    EXPECT_TRUE(second == frames);
    EXPECT_FALSE(second != frames);
    EXPECT_TRUE(second <= frames);
    EXPECT_TRUE(second >= frames);
    EXPECT_FALSE(second < frames);

    const MTime later(25.0, MTime::kFilm);
    EXPECT_TRUE(second < later);
    EXPECT_TRUE(later > second);
    EXPECT_FALSE(later <= second);
    EXPECT_TRUE(MTime(0.0, MTime::kSeconds) == MTime());
    EXPECT_TRUE(MTime(-1.0, MTime::kFilm) <= MTime(0.0, MTime::kFilm));
    // 1/3 s is not representable, but the comparison must still see equality.
    EXPECT_TRUE(MTime(1.0, MTime::kPALFrame) == MTime(2.0, MTime::kPALField));
    EXPECT_TRUE(MTime(10.0, MTime::kNTSCFrame) == MTime(8.0, MTime::kFilm));
}

TEST(FoundationTime, SetUnitConvertsAndRefusesNonUnits) {
    MTime t(48.0, MTime::kFilm);
    EXPECT_EQ(t.setUnit(MTime::kSeconds), MS::kSuccess);
    EXPECT_EQ(t.value(), 2.0);
    EXPECT_EQ(t.unit(), MTime::kSeconds);
    for (MTime::Unit bad : {MTime::kInvalid, MTime::kUserDef, MTime::kLast}) {
        EXPECT_EQ(t.setUnit(bad), MS::kInvalidParameter);
        EXPECT_EQ(t.unit(), MTime::kSeconds);
        EXPECT_EQ(t.value(), 2.0);
    }
    EXPECT_EQ(t.setValue(3.0), MS::kSuccess);
    EXPECT_EQ(t.as(MTime::kFilm), 72.0);
}

TEST(FoundationTime, UIUnitIsSettableHostWide) {
    EXPECT_EQ(MTime::uiUnit(), MTime::kFilm);
    EXPECT_EQ(MTime::setUIUnit(MTime::kNTSCFrame), MS::kSuccess);
    EXPECT_EQ(MTime::uiUnit(), MTime::kNTSCFrame);
    EXPECT_EQ(MTime::setUIUnit(MTime::kUserDef), MS::kInvalidParameter);
    EXPECT_EQ(MTime::uiUnit(), MTime::kNTSCFrame);
    EXPECT_EQ(MTime(1.0, MTime::uiUnit()).as(MTime::kSeconds), 1.0 / 30.0);
    EXPECT_EQ(MTime::setUIUnit(MTime::kFilm), MS::kSuccess);
}

TEST(FoundationTime, InvalidUnitNeverConvertsSilently) {
    const MTime bad(5.0, MTime::kInvalid);
    EXPECT_EQ(bad.value(), 5.0);
    EXPECT_TRUE(std::isnan(bad.as(MTime::kSeconds)));
    EXPECT_TRUE(std::isnan(MTime(1.0, MTime::kFilm).as(MTime::kUserDef)));
    EXPECT_TRUE(std::isnan((MTime(1.0, MTime::kFilm) - bad).value()));
    EXPECT_FALSE(bad == MTime(5.0, MTime::kFilm));
    EXPECT_FALSE(bad < MTime(6.0, MTime::kFilm));
    EXPECT_FALSE(bad >= MTime(0.0, MTime::kFilm));
    EXPECT_TRUE(bad != MTime(5.0, MTime::kFilm));
}

TEST(FoundationTime, Prints) {
    std::ostringstream os;
    os << MTime(12.5, MTime::kFilm) << '|' << MTime(2.0, MTime::kSeconds);
    EXPECT_EQ(os.str(), "12.5 film|2 sec");
}

}  // namespace
