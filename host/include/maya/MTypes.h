#ifndef MTYPES_H
#define MTYPES_H

#include <cstdlib>

class MStatus;
class MSyntax;

typedef float float2[2];
typedef float float3[3];
typedef double double2[2];
typedef double double3[3];
typedef void* (*MCreatorFunction)();
typedef MStatus (*MInitializeFunction)();
typedef MSyntax (*MCreateSyntaxFunction)();

#ifdef _WIN32
// Windows' C runtime has no drand48 family. The host library provides the process's one stream, the
// same generator, start and seeding as GNU libc's, so that a scene emits the same particles everywhere.
extern "C" double drand48();
extern "C" void srand48(long seed);
#endif

#endif
