#include <maya/MTime.h>

#include <limits>
#include <ostream>

namespace {

// A unit is num/den seconds; a valid unit has num > 0.
struct UnitInfo {
    double num;
    double den;
    const char* name;
};

UnitInfo unitInfo(MTime::Unit unit) {
    switch (unit) {
    case MTime::kHours: return {3600.0, 1.0, "hour"};
    case MTime::kMinutes: return {60.0, 1.0, "min"};
    case MTime::kSeconds: return {1.0, 1.0, "sec"};
    case MTime::kMilliseconds: return {1.0, 1000.0, "millisec"};
    case MTime::kGames: return {1.0, 15.0, "game"};
    case MTime::kFilm: return {1.0, 24.0, "film"};
    case MTime::kPALFrame: return {1.0, 25.0, "pal"};
    case MTime::kNTSCFrame: return {1.0, 30.0, "ntsc"};
    case MTime::kShowScan: return {1.0, 48.0, "show"};
    case MTime::kPALField: return {1.0, 50.0, "palf"};
    case MTime::kNTSCField: return {1.0, 60.0, "ntscf"};
    case MTime::k2FPS: return {1.0, 2.0, "2fps"};
    case MTime::k3FPS: return {1.0, 3.0, "3fps"};
    case MTime::k4FPS: return {1.0, 4.0, "4fps"};
    case MTime::k5FPS: return {1.0, 5.0, "5fps"};
    case MTime::k6FPS: return {1.0, 6.0, "6fps"};
    case MTime::k8FPS: return {1.0, 8.0, "8fps"};
    case MTime::k10FPS: return {1.0, 10.0, "10fps"};
    case MTime::k12FPS: return {1.0, 12.0, "12fps"};
    case MTime::k16FPS: return {1.0, 16.0, "16fps"};
    case MTime::k20FPS: return {1.0, 20.0, "20fps"};
    case MTime::k40FPS: return {1.0, 40.0, "40fps"};
    case MTime::k75FPS: return {1.0, 75.0, "75fps"};
    case MTime::k80FPS: return {1.0, 80.0, "80fps"};
    case MTime::k100FPS: return {1.0, 100.0, "100fps"};
    case MTime::k120FPS: return {1.0, 120.0, "120fps"};
    case MTime::k125FPS: return {1.0, 125.0, "125fps"};
    case MTime::k150FPS: return {1.0, 150.0, "150fps"};
    case MTime::k200FPS: return {1.0, 200.0, "200fps"};
    case MTime::k240FPS: return {1.0, 240.0, "240fps"};
    case MTime::k250FPS: return {1.0, 250.0, "250fps"};
    case MTime::k300FPS: return {1.0, 300.0, "300fps"};
    case MTime::k375FPS: return {1.0, 375.0, "375fps"};
    case MTime::k400FPS: return {1.0, 400.0, "400fps"};
    case MTime::k500FPS: return {1.0, 500.0, "500fps"};
    case MTime::k600FPS: return {1.0, 600.0, "600fps"};
    case MTime::k750FPS: return {1.0, 750.0, "750fps"};
    case MTime::k1200FPS: return {1.0, 1200.0, "1200fps"};
    case MTime::k1500FPS: return {1.0, 1500.0, "1500fps"};
    case MTime::k2000FPS: return {1.0, 2000.0, "2000fps"};
    case MTime::k3000FPS: return {1.0, 3000.0, "3000fps"};
    case MTime::k6000FPS: return {1.0, 6000.0, "6000fps"};
    case MTime::kInvalid:
    case MTime::kUserDef:
    case MTime::kLast: break;
    }
    return {0.0, 1.0, "invalid"};
}

bool isValid(MTime::Unit unit) {
    return unitInfo(unit).num > 0.0;
}

// value in unit `from`, expressed in unit `to`. The integer factors are exact in double, so
// a conversion rounds once per multiplication and division (1 film frame -> exactly 1.0 / 24 s).
double convert(double value, MTime::Unit from, MTime::Unit to) {
    if (from == to)
        return value;
    const UnitInfo a = unitInfo(from);
    const UnitInfo b = unitInfo(to);
    if (a.num <= 0.0 || b.num <= 0.0)
        return std::numeric_limits<double>::quiet_NaN();
    return value * (a.num * b.den) / (a.den * b.num);
}

// Compares two times without converting either into the other's unit: -1, 0, 1, or 2 if not comparable.
int compare(const MTime& left, const MTime& right) {
    double l = left.value();
    double r = right.value();
    if (left.unit() != right.unit()) {
        const UnitInfo a = unitInfo(left.unit());
        const UnitInfo b = unitInfo(right.unit());
        if (a.num <= 0.0 || b.num <= 0.0)
            return 2;
        l = l * (a.num * b.den);
        r = r * (b.num * a.den);
    }
    if (l < r)
        return -1;
    if (l > r)
        return 1;
    if (l == r)
        return 0;
    return 2;
}

MTime::Unit gUIUnit = MTime::kFilm;

}  // namespace

double MTime::as(Unit unit) const {
    return convert(value_, unit_, unit);
}

MStatus MTime::setValue(double value) {
    value_ = value;
    return MStatus::kSuccess;
}

MStatus MTime::setUnit(Unit unit) {
    if (!isValid(unit))
        return MStatus::kInvalidParameter;
    value_ = convert(value_, unit_, unit);
    unit_ = unit;
    return MStatus::kSuccess;
}

MTime::Unit MTime::uiUnit() {
    return gUIUnit;
}

MStatus MTime::setUIUnit(Unit unit) {
    if (!isValid(unit))
        return MStatus::kInvalidParameter;
    gUIUnit = unit;
    return MStatus::kSuccess;
}

MTime MTime::operator+(const MTime& o) const {
    return MTime(value_ + o.as(unit_), unit_);
}

MTime MTime::operator-(const MTime& o) const {
    return MTime(value_ - o.as(unit_), unit_);
}

MTime& MTime::operator+=(const MTime& o) {
    value_ += o.as(unit_);
    return *this;
}

MTime& MTime::operator-=(const MTime& o) {
    value_ -= o.as(unit_);
    return *this;
}

bool MTime::operator==(const MTime& o) const { return compare(*this, o) == 0; }
bool MTime::operator!=(const MTime& o) const { return !(*this == o); }
bool MTime::operator<(const MTime& o) const { return compare(*this, o) == -1; }
bool MTime::operator<=(const MTime& o) const {
    const int c = compare(*this, o);
    return c == -1 || c == 0;
}
bool MTime::operator>(const MTime& o) const { return compare(*this, o) == 1; }
bool MTime::operator>=(const MTime& o) const {
    const int c = compare(*this, o);
    return c == 1 || c == 0;
}

std::ostream& operator<<(std::ostream& os, const MTime& t) {
    return os << t.value() << ' ' << unitInfo(t.unit()).name;
}
