#include "verbose.h"

#include <maya/MString.h>

#include <iostream>

bool verbose = false;

void errorLine(const MStatus& status, const char* message) {
    if (verbose)
        std::cerr << status.errorString().asChar() << " " << message << std::endl;
}
