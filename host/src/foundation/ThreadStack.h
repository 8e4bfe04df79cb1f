#ifndef HOST_THREADSTACK_H
#define HOST_THREADSTACK_H

#include <cstddef>

namespace host {

// The size of the calling thread's stack as the system gives it: the main thread's limit (RLIMIT_STACK,
// 8 MB when unlimited or unknown) on Linux, the thread's reserved stack on Windows.
size_t threadStackSize();

}  // namespace host

#endif
