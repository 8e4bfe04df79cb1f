#ifndef HOST_ATTRIBUTE_H
#define HOST_ATTRIBUTE_H

#include "foundation/Object.h"

#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>
#include <maya/MObject.h>

#include <memory>
#include <string>
#include <vector>

namespace host {

enum class AttrKind { Numeric, Typed, Generic, Compound, Unit, Message };

// An attribute definition, shared by every node of the types that have it.
// A numeric compound (k2/k3 types, or three numeric children) keeps its numbers in the parent's value;
// its children address one number each. Other compounds keep one value per child.
class Attribute : public Object {
public:
    AttrKind kind = AttrKind::Numeric;
    std::string longName;
    std::string shortName;
    MFnNumericData::Type numericType = MFnNumericData::kInvalid;
    MFnData::Type dataType = MFnData::kInvalid;
    int unitType = 0;  // MFnUnitAttribute::Type
    double defaults[3] = {0.0, 0.0, 0.0};
    MObject defaultData;
    std::vector<MFnData::Type> accepts;

    bool readable = true;
    bool writable = true;
    bool connectable = true;
    bool storable = true;
    bool cached = true;
    bool keyable = false;
    bool array = false;
    bool hidden = false;
    bool usedAsColor = false;
    bool indexMatters = true;

    std::vector<std::shared_ptr<Attribute>> children;
    Attribute* parent = nullptr;
    bool added = false;  // added to a node type or node by addAttribute

    MFn::Type apiType() const override;
    bool hasFn(MFn::Type type) const override;
    bool isCompound() const { return kind == AttrKind::Compound || !children.empty(); }
    // Numbers live in this attribute's value (numeric compounds) rather than in one value per child.
    bool isNumericCompound() const { return kind == AttrKind::Numeric && !children.empty(); }
    int childIndex(const Attribute* child) const;
    const Attribute* top() const;
    bool isTimeUnit() const;
};

std::shared_ptr<Attribute> attributeOf(const MObject& object);

}  // namespace host

#endif
