#ifndef HOST_VALUE_H
#define HOST_VALUE_H

#include <maya/MObject.h>
#include <maya/MString.h>

#include <map>
#include <vector>

namespace host {

class Attribute;

// The value of one attribute (or of one element of an array attribute) in a node's data block.
// Numbers (bool, int, double, time in seconds, angle in radians, up to three components) are in num;
// strings in str; data objects (arrays, geometry) in data; compound children in children (child order);
// the elements of an array attribute, by logical index, in elements.
struct Value {
    double num[3] = {0.0, 0.0, 0.0};
    MString str;
    MObject data;
    std::vector<Value> children;
    std::map<unsigned, Value> elements;
};

// The default value of an attribute. For an array attribute, element = true gives the default of one
// element and element = false the (empty) array.
Value defaultValue(const Attribute& attribute, bool element);

}  // namespace host

#endif
