#include "command/RunBudget.h"

#include <host/Host.h>

namespace host {

namespace {

struct Budget {
    long long frames = -1;  // -1: unlimited
    long long pixels = -1;
};

Budget& budget() {
    static Budget left;
    return left;
}

bool spend(long long& left, long long amount) {
    if (left < 0)
        return true;
    if (amount > left)
        return false;
    left -= amount;
    return true;
}

}  // namespace

void setRunBudget(long long frames, long long pixels) {
    budget().frames = frames < 0 ? -1 : frames;
    budget().pixels = pixels < 0 ? -1 : pixels;
}

bool spendFrames(long long frames) { return spend(budget().frames, frames); }

bool spendPixels(long long pixels) { return spend(budget().pixels, pixels); }

}  // namespace host
