#ifndef VERBOSE_H
#define VERBOSE_H

#include <maya/MStatus.h>

// Library-wide switch for the plug-in's error lines on standard error: they are written only while it is
// true. It is false when the library loads and nothing in the library sets it true.
extern bool verbose;

// While verbose is on, writes the status's error text, a blank, the message and a line end to standard
// error.
void errorLine(const MStatus& status, const char* message);

#endif
