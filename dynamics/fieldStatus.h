#ifndef VEXMORA_FIELDSTATUS_H
#define VEXMORA_FIELDSTATUS_H

// The dynamics nodes' error line: the status's error string, a blank, the message (which carries its
// own line feed), then a line end.

#include <maya/MStatus.h>
#include <maya/MString.h>

#include <iostream>

namespace fieldStatus {

inline void reportError(const MStatus& status, const char* message) {
    std::cerr << status.errorString() << " " << message << std::endl;
}

}  // namespace fieldStatus

#endif
