#include "graph/Dag.h"

#include "graph/Scene.h"

#include <maya/MTransformationMatrix.h>

#include <algorithm>
#include <unordered_map>

namespace host {

namespace {

// Parent and children of the nodes that have either; nodes under the world without children have no
// entry. Entries go when their node is deleted (dagNodeDeleting).
struct Links {
    Node* parent = nullptr;
    std::vector<Node*> children;
};

std::unordered_map<const Node*, Links>& links() {
    static auto* table = new std::unordered_map<const Node*, Links>;
    return *table;
}

const Links* linksOf(const Node& node) {
    auto it = links().find(&node);
    return it == links().end() ? nullptr : &it->second;
}

std::shared_ptr<Node> shared(Node* node) {
    return node ? std::static_pointer_cast<Node>(node->shared_from_this()) : nullptr;
}

void forget(const Node& node) {
    auto it = links().find(&node);
    if (it != links().end() && !it->second.parent && it->second.children.empty())
        links().erase(it);
}

// Takes the node out of its parent's children; the search runs from the back, where the most recent
// children are, so that deleting a scene in reverse creation order stays linear.
void unlink(Node& node) {
    auto it = links().find(&node);
    if (it == links().end() || !it->second.parent)
        return;
    Node* parent = it->second.parent;
    it->second.parent = nullptr;
    std::vector<Node*>& siblings = links()[parent].children;
    auto pos = std::find(siblings.rbegin(), siblings.rend(), &node);
    if (pos != siblings.rend())
        siblings.erase(std::next(pos).base());
    forget(node);
    forget(*parent);
}

bool isMatrixInput(const Attribute* attribute) {
    const std::string& name = attribute->top()->longName;
    return name == "translate" || name == "rotate" || name == "scale";
}

// The three numbers of a transform's double3 attribute.
void read3(const Node& node, const char* name, double out[3]) {
    Attribute* attribute = node.findAttribute(name);
    if (!attribute || attribute->children.size() != 3)
        return;
    MPlug plug = plugOf(shared(const_cast<Node*>(&node)), attribute);
    for (unsigned i = 0; i < 3; ++i)
        plug.child(i).getValue(out[i]);
}

// Marks the world matrix of the node and of every node below it changed, so that what depends on it is
// dirtied. The walk is a loop, not a recursion: deep hierarchies cannot exhaust the stack.
void worldMatrixChanged(Node& node) {
    MObject attribute = worldMatrixAttribute();
    std::shared_ptr<Node> self = shared(&node);
    changed(plugOf(self, attributeOf(attribute).get()));
    for (const std::shared_ptr<Node>& below : dagDescendants(node))
        changed(plugOf(below, attributeOf(attribute).get()));
}

std::string joinedPath(const std::vector<std::shared_ptr<Node>>& nodes) {
    std::string text;
    for (const auto& node : nodes)
        text += "|" + node->name;
    return text;
}

}  // namespace

// ---- Roles ------------------------------------------------------------------------------------------

bool isShapeApiType(MFn::Type type) {
    return type == MFn::kNurbsCurve || type == MFn::kMesh || type == MFn::kNurbsSurface || type == MFn::kCamera ||
           type == MFn::kLattice;
}

bool isDagApiType(MFn::Type type) {
    return type == MFn::kTransform || isShapeApiType(type);
}

bool isTransform(const Node& node) {
    return node.type->apiType == MFn::kTransform;
}

bool isShape(const Node& node) {
    return isShapeApiType(node.type->apiType);
}

bool isDagNode(const Node& node) {
    return isDagApiType(node.type->apiType);
}

MObject worldMatrixAttribute() {
    static const MObject* attribute = [] {
        auto a = std::make_shared<Attribute>();
        a->kind = AttrKind::Message;
        a->longName = "worldMatrix";
        a->shortName = "wm";
        a->hidden = true;
        a->writable = false;
        a->storable = false;
        a->connectable = false;
        return new MObject(a);
    }();
    return *attribute;
}

// ---- Relations --------------------------------------------------------------------------------------

std::shared_ptr<Node> dagParent(const Node& node) {
    const Links* l = linksOf(node);
    return l ? shared(l->parent) : nullptr;
}

std::vector<std::shared_ptr<Node>> dagChildren(const Node& node) {
    std::vector<std::shared_ptr<Node>> out;
    if (const Links* l = linksOf(node))
        for (Node* child : l->children)
            out.push_back(shared(child));
    return out;
}

std::vector<std::shared_ptr<Node>> shapesOf(const Node& node) {
    std::vector<std::shared_ptr<Node>> out;
    if (const Links* l = linksOf(node))
        for (Node* child : l->children)
            if (isShape(*child))
                out.push_back(shared(child));
    return out;
}

std::shared_ptr<Node> shapeOf(const std::shared_ptr<Node>& node) {
    if (!node || !node->alive)
        return nullptr;
    if (isShape(*node))
        return node;
    if (!isTransform(*node))
        return nullptr;
    std::vector<std::shared_ptr<Node>> shapes = shapesOf(*node);
    return shapes.size() == 1 ? shapes[0] : nullptr;
}

std::vector<std::shared_ptr<Node>> dagDescendants(const Node& node) {
    std::vector<std::shared_ptr<Node>> out;
    std::vector<const Node*> pending{&node};
    while (!pending.empty()) {
        const Node* current = pending.back();
        pending.pop_back();
        const Links* l = linksOf(*current);
        if (!l)
            continue;
        for (auto it = l->children.rbegin(); it != l->children.rend(); ++it) {
            out.push_back(shared(*it));
            pending.push_back(*it);
        }
    }
    return out;
}

MStatus setDagParent(const std::shared_ptr<Node>& child, const std::shared_ptr<Node>& parent) {
    if (!child || !child->alive || !isDagNode(*child) || !findNode(child->name))
        return MStatus::kInvalidParameter;
    if (parent && (!parent->alive || !isTransform(*parent) || findNode(parent->name) != parent))
        return MStatus::kInvalidParameter;
    for (Node* above = parent.get(); above; above = linksOf(*above) ? linksOf(*above)->parent : nullptr)
        if (above == child.get())
            return MStatus::kInvalidParameter;
    if (dagParent(*child) == parent)
        return MStatus::kSuccess;
    unlink(*child);
    if (parent) {
        links()[child.get()].parent = parent.get();
        links()[parent.get()].children.push_back(child.get());
    }
    worldMatrixChanged(*child);
    return MStatus::kSuccess;
}

// ---- Creation ---------------------------------------------------------------------------------------

std::shared_ptr<Node> createTransform(const std::string& name, const std::shared_ptr<Node>& parent, MStatus* status) {
    MStatus s;
    std::shared_ptr<Node> node = createNode("transform", name.empty() ? "transform1" : name, &s);
    if (node && parent) {
        s = setDagParent(node, parent);
        if (!s) {
            deleteNode(node);
            node = nullptr;
        }
    }
    if (status)
        *status = s;
    return node;
}

MStatus createShapeWithTransform(const std::string& shapeType, const std::string& base,
                                 std::shared_ptr<Node>& transform, std::shared_ptr<Node>& shape) {
    transform = nullptr;
    shape = nullptr;
    std::shared_ptr<NodeType> type = findNodeType(shapeType);
    if (base.empty() || !type || !isShapeApiType(type->apiType))
        return MStatus::kInvalidParameter;
    std::string transformName, shapeName;
    for (unsigned n = 1;; ++n) {
        transformName = base + std::to_string(n);
        shapeName = base + "Shape" + std::to_string(n);
        if (!findNode(transformName) && !findNode(shapeName))
            break;
    }
    MStatus status;
    std::shared_ptr<Node> t = createTransform(transformName, nullptr, &status);
    if (!t)
        return status;
    std::shared_ptr<Node> s = createNode(shapeType, shapeName, &status);
    if (s)
        status = setDagParent(s, t);
    if (!status) {
        if (s && s->alive)
            deleteNode(s);
        deleteNode(t);
        return status;
    }
    transform = t;
    shape = s;
    return MStatus::kSuccess;
}

// ---- Names and paths --------------------------------------------------------------------------------

std::shared_ptr<Node> findDagNode(const std::string& nameOrPath) {
    std::vector<std::string> parts;
    size_t start = 0;
    bool absolute = !nameOrPath.empty() && nameOrPath[0] == '|';
    if (absolute)
        start = 1;
    while (true) {
        size_t bar = nameOrPath.find('|', start);
        parts.push_back(nameOrPath.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    for (const std::string& part : parts)
        if (part.empty())
            return nullptr;
    std::shared_ptr<Node> node = findNode(parts.back());
    if (!node || !isDagNode(*node))
        return nullptr;
    // The names before the last must be the node's ancestors, nearest last; a full path reaches the world.
    std::shared_ptr<Node> above = dagParent(*node);
    for (size_t i = parts.size() - 1; i-- > 0;) {
        if (!above || above->name != parts[i])
            return nullptr;
        above = dagParent(*above);
    }
    if (absolute && above)
        return nullptr;
    return node;
}

MDagPath dagPathOf(const std::shared_ptr<Node>& node) {
    if (!node || !node->alive || !isDagNode(*node))
        return MDagPath();
    std::vector<std::shared_ptr<Node>> nodes;
    for (std::shared_ptr<Node> n = node; n; n = dagParent(*n))
        nodes.push_back(n);
    std::reverse(nodes.begin(), nodes.end());
    return MDagPath(std::move(nodes));
}

std::string fullPathName(const Node& node) {
    if (!isDagNode(node))
        return std::string();
    return joinedPath(dagPathOf(shared(const_cast<Node*>(&node))).hostNodes());
}

// ---- Matrices ---------------------------------------------------------------------------------------

MMatrix localMatrix(const Node& node) {
    if (!isTransform(node))
        return MMatrix();
    double translate[3] = {0.0, 0.0, 0.0};
    double rotate[3] = {0.0, 0.0, 0.0};
    double scale[3] = {1.0, 1.0, 1.0};
    read3(node, "translate", translate);
    read3(node, "rotate", rotate);
    read3(node, "scale", scale);
    MTransformationMatrix m;
    m.setScale(scale, MSpace::kTransform);
    m.setRotation(rotate, MTransformationMatrix::kXYZ, MSpace::kTransform);
    m.setTranslation(MVector(translate[0], translate[1], translate[2]), MSpace::kTransform);
    return m.asMatrix();
}

MMatrix worldMatrix(const Node& node) {
    MMatrix world = localMatrix(node);
    for (std::shared_ptr<Node> above = dagParent(node); above; above = dagParent(*above))
        world = world * localMatrix(*above);
    return world;
}

MMatrix worldMatrix(const MObject& node) {
    auto n = std::dynamic_pointer_cast<Node>(node.impl());
    return n ? worldMatrix(*n) : MMatrix();
}

MMatrix parentWorldMatrix(const Node& node) {
    std::shared_ptr<Node> parent = dagParent(node);
    return parent ? worldMatrix(*parent) : MMatrix();
}

// ---- Hooks of the scene -----------------------------------------------------------------------------

void dagPlugChanged(Node& node, const Attribute* attribute) {
    if (attribute && isTransform(node) && isMatrixInput(attribute))
        worldMatrixChanged(node);
}

void dagNodeDeleting(Node& node) {
    if (!linksOf(node))
        return;
    // Children first, deepest last in the list: delete from the back so leaves go before their parents.
    std::vector<std::shared_ptr<Node>> below = dagDescendants(node);
    for (auto it = below.rbegin(); it != below.rend(); ++it)
        if ((*it)->alive)
            deleteNode(*it);
    unlink(node);
    links().erase(&node);
}

}  // namespace host
