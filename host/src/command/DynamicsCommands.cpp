#include "command/Builtins.h"

#include <maya/MGlobal.h>

namespace host {

MStatus particleCommand(const Args&, MCommandResult&) {
    MGlobal::displayError("particle: not available yet.");
    return MStatus::kFailure;
}

MStatus connectDynamicCommand(const Args&, MCommandResult&) {
    MGlobal::displayError("connectDynamic: not available yet.");
    return MStatus::kFailure;
}

}  // namespace host
