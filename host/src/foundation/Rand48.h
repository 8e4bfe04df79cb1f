#ifndef HOST_RAND48_H
#define HOST_RAND48_H

#include <cstdint>

namespace host {

// The 48-bit linear congruential stream of the C library's drand48 (x' = 0x5DEECE66D x + 0xB mod 2^48),
// started and seeded as GNU libc does, for a C runtime without one (Windows'): the same seed gives the
// same numbers on every target.
class Rand48 {
public:
    // The low 32 bits of value become the high 32 bits of the state; the low 16 are 0x330E.
    void seed(long long value);
    // The next state divided by 2^48: in [0, 1).
    double next();

private:
    std::uint64_t state_ = 0;  // GNU libc's state before any seeding
};

// The process's one stream, behind drand48 and srand48 where the C runtime lacks them.
Rand48& processRand48();

}  // namespace host

#endif
