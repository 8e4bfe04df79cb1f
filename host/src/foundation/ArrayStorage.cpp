#include <maya/MArrayStorage.h>

#include <cstdio>
#include <cstdlib>

namespace host {

void arrayIndexFault(const char* className, unsigned index, unsigned length) {
    std::fprintf(stderr, "%s: index %u is out of range (length %u)\n", className, index, length);
    std::fflush(stderr);
    std::abort();
}

}  // namespace host
