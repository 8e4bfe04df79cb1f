#ifndef HOST_QUERYARGS_H
#define HOST_QUERYARGS_H

#include "command/Args.h"
#include "graph/Node.h"

#include <maya/MStatus.h>

#include <memory>
#include <string>
#include <vector>

// Argument reading shared by the query commands (listAttr, attributeQuery, ls, listConnections, ...).

namespace host {

// A node by name or DAG path ("|a|b"); null when there is none.
std::shared_ptr<Node> lookupNode(const std::string& name);

// Every attribute of a node: its type's (base attributes first), then its dynamic ones in the order they
// were added. Top level only.
std::vector<const Attribute*> topAttributes(const Node& node);

// A flag as the query commands read it: long and short name, and whether it takes a value.
struct QueryFlag {
    const char* longName;
    const char* shortName;
    enum Kind {
        Switch,      // no value
        OptionalBool,  // an optional true/false/on/off/yes/no/1/0 after it (absent: true)
        Text,        // one word
    } kind;
    bool repeatable = false;
};

struct QueryArgs {
    // Per flag given (by long name): its values, one per time given ("1" for a switch).
    std::vector<std::pair<std::string, std::string>> given;
    Args positional;

    bool has(const std::string& longName) const;
    // The last value given for the flag, or fallback.
    std::string value(const std::string& longName, const std::string& fallback = std::string()) const;
    // A switch or boolean flag: true when given without a value or with a true value.
    bool on(const std::string& longName, bool fallback = false) const;
    std::vector<std::string> values(const std::string& longName) const;
};

// Reads flags and positional arguments. An unknown flag, a non-repeatable flag given twice and a
// missing value are errors named after the command.
MStatus parseQueryArgs(const std::string& command, const Args& args, const std::vector<QueryFlag>& flags,
                       QueryArgs& out);

}  // namespace host

#endif
