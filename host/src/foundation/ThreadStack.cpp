#include "foundation/ThreadStack.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

namespace host {

size_t threadStackSize() {
    const size_t fallback = size_t(8) << 20;
#ifdef _WIN32
    ULONG_PTR low = 0;
    ULONG_PTR high = 0;
    ::GetCurrentThreadStackLimits(&low, &high);
    return high > low ? static_cast<size_t>(high - low) : fallback;
#else
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_STACK, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        return static_cast<size_t>(limit.rlim_cur);
    return fallback;
#endif
}

}  // namespace host
