#ifndef HOST_CONNECTION_RULES_H
#define HOST_CONNECTION_RULES_H

#include <maya/MPlug.h>

#include <string>

namespace host {

// Whether a connection src -> dst may be made, as Maya checks it: the source must be readable and
// connectable, the destination writable and connectable, and neither may lie inside the other on one
// node. Then the shapes must fit:
// - numbers feed numbers with as many components; a numeric compound (a colour) may also feed a single
//   number, the connection points through which the plug-ins find their shading networks;
// - typed data feeds an attribute of the same data type, or a generic one that accepts it; a generic
//   source feeds typed or generic attributes of a type it accepts, and numbers;
// - a compound feeds a compound whose children fit one by one, in order;
// - a whole array feeds only a whole array;
// - message attributes are connection points: anything may feed one, and one may feed anything.
// Returns "" when the connection may be made, else why not, naming both plugs.
std::string connectionProblem(const MPlug& src, const MPlug& dst);

}  // namespace host

#endif
