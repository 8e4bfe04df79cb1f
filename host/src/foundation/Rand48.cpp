#include "foundation/Rand48.h"

#include <maya/MTypes.h>

namespace host {

void Rand48::seed(long long value) {
    state_ = ((static_cast<std::uint64_t>(value) & 0xFFFFFFFFu) << 16) | 0x330Eu;
}

double Rand48::next() {
    const std::uint64_t mask = (std::uint64_t(1) << 48) - 1;
    state_ = (0x5DEECE66Dull * state_ + 0xBu) & mask;
    return static_cast<double>(state_) / 281474976710656.0;  // 2^48: exact, 48 bits fit a double
}

Rand48& processRand48() {
    static Rand48 stream;
    return stream;
}

}  // namespace host

#ifdef _WIN32
double drand48() { return host::processRand48().next(); }
void srand48(long seed) { host::processRand48().seed(seed); }
#endif
