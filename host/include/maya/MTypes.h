#ifndef MTYPES_H
#define MTYPES_H

class MStatus;
class MSyntax;

typedef float float2[2];
typedef float float3[3];
typedef double double2[2];
typedef double double3[3];
typedef void* (*MCreatorFunction)();
typedef MStatus (*MInitializeFunction)();
typedef MSyntax (*MCreateSyntaxFunction)();

#endif
