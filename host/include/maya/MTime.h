#ifndef MTIME_H
#define MTIME_H

#include <maya/MStatus.h>

#include <iosfwd>

// A time value with its unit. MTime() is 0 in kFilm (24 frames per second).
//
// value() is in the time's own unit; as(unit) converts. setUnit() converts the value so the time stays the
// same. a - b and a + b give their result in the left operand's unit; comparisons convert units, so
// MTime(1.0, kSeconds) == MTime(24.0, kFilm). The UI unit (uiUnit(), kFilm by default) is a host-wide
// setting.
//
// kInvalid, kUserDef and kLast are not real units: setUnit and setUIUnit refuse them with
// kInvalidParameter and change nothing. A time constructed with one of them keeps its value, but
// converting it to or from another unit (as(), arithmetic) yields NaN, and comparing it with a time in
// another unit is false (!= is true).
class MTime {
public:
    enum Unit {
        kInvalid = 0,
        kHours = 1,
        kMinutes = 2,
        kSeconds = 3,
        kMilliseconds = 4,
        kGames = 5,       // 15 fps
        kFilm = 6,        // 24 fps
        kPALFrame = 7,    // 25 fps
        kNTSCFrame = 8,   // 30 fps
        kShowScan = 9,    // 48 fps
        kPALField = 10,   // 50 fps
        kNTSCField = 11,  // 60 fps
        k2FPS,
        k3FPS,
        k4FPS,
        k5FPS,
        k6FPS,
        k8FPS,
        k10FPS,
        k12FPS,
        k16FPS,
        k20FPS,
        k40FPS,
        k75FPS,
        k80FPS,
        k100FPS,
        k120FPS,
        k125FPS,
        k150FPS,
        k200FPS,
        k240FPS,
        k250FPS,
        k300FPS,
        k375FPS,
        k400FPS,
        k500FPS,
        k600FPS,
        k750FPS,
        k1200FPS,
        k1500FPS,
        k2000FPS,
        k3000FPS,
        k6000FPS,
        kUserDef,
        kLast
    };

    MTime() : value_(0.0), unit_(kFilm) {}
    MTime(double value, Unit unit = kFilm) : value_(value), unit_(unit) {}

    double value() const { return value_; }
    Unit unit() const { return unit_; }
    double as(Unit unit) const;
    MStatus setValue(double value);
    MStatus setUnit(Unit unit);

    static Unit uiUnit();
    static MStatus setUIUnit(Unit unit);

    MTime operator+(const MTime& o) const;
    MTime operator-(const MTime& o) const;
    MTime& operator+=(const MTime& o);
    MTime& operator-=(const MTime& o);
    MTime operator*(double s) const { return MTime(value_ * s, unit_); }
    MTime operator/(double s) const { return MTime(value_ / s, unit_); }
    MTime& operator*=(double s) { value_ *= s; return *this; }
    MTime& operator/=(double s) { value_ /= s; return *this; }

    bool operator==(const MTime& o) const;
    bool operator!=(const MTime& o) const;
    bool operator<(const MTime& o) const;
    bool operator<=(const MTime& o) const;
    bool operator>(const MTime& o) const;
    bool operator>=(const MTime& o) const;

private:
    double value_;
    Unit unit_;
};

// Prints the value and the unit's name, e.g. "12.5 film".
std::ostream& operator<<(std::ostream& os, const MTime& t);

#endif
