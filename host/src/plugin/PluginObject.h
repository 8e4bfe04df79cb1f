#ifndef HOST_PLUGINOBJECT_H
#define HOST_PLUGINOBJECT_H

#include "foundation/Object.h"

#include <string>

namespace host {

// The object handed to a plug-in's entry points. It carries the library's path, which is how MFnPlugin
// finds the loaded-plug-in record and the owner of what the plug-in registers.
class PluginObject : public Object {
public:
    explicit PluginObject(std::string libraryPath) : path(std::move(libraryPath)) {}
    MFn::Type apiType() const override { return MFn::kPluginObject; }

    const std::string path;
};

}  // namespace host

#endif
