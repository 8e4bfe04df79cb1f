#ifndef HOST_LIBRARY_H
#define HOST_LIBRARY_H

#include <string>

namespace host {

// Shared libraries of the running system: dlopen and dlsym on Linux, LoadLibrary and GetProcAddress on
// Windows. Symbols bind at once and stay local to the library.
void* openLibrary(const std::string& path, std::string& error);
// The address of an exported function or data symbol, or null.
void* librarySymbol(void* library, const char* name);
void closeLibrary(void* library);
// The file of the loaded library (or program) whose code holds address, or "" when none does.
std::string libraryFileOf(const void* address);

}  // namespace host

#endif
