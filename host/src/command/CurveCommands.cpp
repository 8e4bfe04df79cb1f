#include "command/Builtins.h"

#include <maya/MGlobal.h>

namespace host {

MStatus curveCommand(const Args&, MCommandResult&) {
    MGlobal::displayError("curve: not available yet.");
    return MStatus::kFailure;
}

}  // namespace host
