#ifndef HOST_NODE_H
#define HOST_NODE_H

#include "graph/NodeType.h"
#include "graph/Value.h"

#include <maya/MPlug.h>
#include <maya/MStatus.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class MPxNode;

namespace host {

struct Connection;

// A node of the scene: its type, its own dynamic attributes, its data block, which plugs are clean and
// the connections it takes part in. The node object (the plug-in's or the host's MPxNode) is owned here.
class Node : public Object {
public:
    Node(std::shared_ptr<NodeType> type, std::string name);
    ~Node() override;

    MFn::Type apiType() const override;
    bool hasFn(MFn::Type type) const override;

    std::shared_ptr<NodeType> type;
    std::string name;
    MPxNode* px = nullptr;
    bool alive = true;

    std::vector<std::shared_ptr<Attribute>> dynamicAttributes;
    std::unordered_map<std::string, Attribute*> dynamicByName;

    std::unordered_map<const Attribute*, Value> values;  // by top-level attribute
    std::unordered_set<std::string> clean;               // keys of clean plugs
    std::set<std::string> computing;                     // keys of plugs being computed now
    std::map<std::string, MStatus> computeStatus;        // last status returned by compute, per plug key

    std::vector<Connection*> incoming;
    std::vector<Connection*> outgoing;

    Attribute* findAttribute(const std::string& attributeName) const;
    bool hasAttribute(const Attribute* attribute) const;
    const std::vector<const Attribute*>* affected(const Attribute* attribute) const;
    bool isComputed(const Attribute* attribute) const;
    Value& topValue(const Attribute* top);
    void destroyObject();
};

// A path down to one value. component >= 0 selects one number of a numeric compound.
struct ValueRef {
    Value* value = nullptr;
    const Attribute* attr = nullptr;
    int component = -1;
};

// Resolves a plug path in a node's data block; with create, missing elements are made with defaults.
ValueRef resolve(Node& node, const std::vector<PlugStep>& path, bool create);
std::string plugKey(const std::vector<PlugStep>& path);

}  // namespace host

#endif
