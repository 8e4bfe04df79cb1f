// The host's drand48 stream, for C runtimes without one.
#include "foundation/Rand48.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(Rand48, GivesTheCLibrarysStreamForTheSameSeed) {
    // Seeds past 32 bits and negative ones keep their low 32 bits, in the C library and here.
    for (long long seed : {0LL, 1LL, 42LL, -1LL, 0x7FFFFFFFLL, 0x80000000LL, 0x123456789LL}) {
        host::Rand48 ours;
        ours.seed(seed);
        srand48(static_cast<long>(seed));
        for (int i = 0; i < 2000; ++i)
            ASSERT_EQ(ours.next(), drand48()) << "seed " << seed << ", draw " << i;
    }
    // Never seeded, the stream starts where GNU libc's starts: from state 0.
    host::Rand48 fresh;
    EXPECT_EQ(fresh.next(), 11.0 / 281474976710656.0);
}
