#include "graph/Scene.h"
#include "graph/Dag.h"
#include "nodes/Dynamics.h"

#include <maya/MDataBlock.h>
#include <maya/MPxNode.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace host {

struct NodeBinding {
    static void bind(MPxNode* px, Node* node) { px->node_ = node; }
};

namespace {

struct SceneState {
    std::vector<std::shared_ptr<NodeType>> types;
    std::vector<std::shared_ptr<Node>> nodes;
    std::list<Connection> connections;
    NodeType* initializing = nullptr;
    bool hostTypesRegistered = false;
    MTime time;
    // Dirty propagation: what one wave of changes has already dirtied.
    int waveDepth = 0;
    std::set<std::pair<const Node*, const Attribute*>> waveDirtied;
};

// Never destroyed: nodes may hold objects of plug-in libraries whose unload order at exit is not ours.
SceneState& state() {
    static SceneState* s = new SceneState;
    return *s;
}

void ensureHostTypes() {
    SceneState& s = state();
    if (s.hostTypesRegistered) return;
    s.hostTypesRegistered = true;
    registerHostTypes();
}

Node* nodeOf(const MPlug& plug) {
    return plug.hostNode().get();
}

bool sameStep(const PlugStep& a, const PlugStep& b) {
    return a.attr == b.attr && a.index == b.index;
}

bool samePath(const std::vector<PlugStep>& a, const std::vector<PlugStep>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!sameStep(a[i], b[i])) return false;
    return true;
}

// True when a is b or lies above it: a prefix of b, where an array level of a without an index stands
// for all of its elements.
bool covers(const std::vector<PlugStep>& a, const std::vector<PlugStep>& b) {
    if (a.size() > b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].attr != b[i].attr) return false;
        if (a[i].index >= 0 && a[i].index != b[i].index) return false;
        if (a[i].index < 0 && i + 1 < a.size() && b[i].index >= 0) return false;
    }
    return true;
}

bool related(const std::vector<PlugStep>& a, const std::vector<PlugStep>& b) {
    return covers(a, b) || covers(b, a);
}

// Copies a value across a connection, number by number where one side is a single number.
void copyValue(const ValueRef& src, const ValueRef& dst) {
    if (src.component >= 0 || dst.component >= 0) {
        double v = src.value->num[src.component >= 0 ? src.component : 0];
        dst.value->num[dst.component >= 0 ? dst.component : 0] = v;
        return;
    }
    Value& d = *dst.value;
    const Value& s = *src.value;
    for (int i = 0; i < 3; ++i) d.num[i] = s.num[i];
    d.str = s.str;
    d.data = s.data;
    if (!s.elements.empty() || (src.attr && src.attr->array)) d.elements = s.elements;
    size_t n = std::min(d.children.size(), s.children.size());
    for (size_t i = 0; i < n; ++i) {
        ValueRef cs{const_cast<Value*>(&s.children[i]), nullptr, -1};
        ValueRef cd{&d.children[i], nullptr, -1};
        copyValue(cs, cd);
    }
}

MStatus runCompute(Node& node, const MPlug& plug) {
    std::string key = plugKey(plug.hostPath());
    if (node.computing.count(key) || !node.px) return MStatus::kSuccess;
    auto keepAlive = std::static_pointer_cast<Node>(node.shared_from_this());
    node.computing.insert(key);
    MDataBlock block(&node);
    MStatus status = node.px->compute(plug, block);
    node.computing.erase(key);
    node.computeStatus[key] = status;
    return status;
}

// Keys under which a plug counts as clean: its own and those of the plugs above it.
std::vector<std::string> coveringKeys(std::vector<PlugStep> path) {
    std::vector<std::string> keys;
    while (!path.empty()) {
        keys.push_back(plugKey(path));
        if (path.back().index >= 0) {
            path.back().index = -1;
            keys.push_back(plugKey(path));
        }
        path.pop_back();
    }
    return keys;
}

void dirtyTop(Node& node, const Attribute* top);

void propagateFrom(Node& node, const std::vector<PlugStep>& path) {
    std::vector<MPlug> targets;
    for (Connection* c : node.outgoing)
        if (related(path, c->src.hostPath())) targets.push_back(c->dst);
    for (const MPlug& dst : targets) changed(dst);
}

void dirtyTop(Node& node, const Attribute* top) {
    SceneState& s = state();
    if (!s.waveDirtied.insert({&node, top}).second) return;
    const std::string& name = top->longName;
    for (auto it = node.clean.begin(); it != node.clean.end();) {
        const std::string& k = *it;
        bool under = k.compare(0, name.size(), name) == 0 &&
                     (k.size() == name.size() || k[name.size()] == '[' || k[name.size()] == '.');
        it = under ? node.clean.erase(it) : std::next(it);
    }
    propagateFrom(node, {PlugStep{top, -1}});
}

void collectFamily(const Attribute* attribute, std::vector<const Attribute*>& out) {
    for (const Attribute* a = attribute; a; a = a->parent) out.push_back(a);
    std::vector<const Attribute*> stack(attribute->children.size());
    for (size_t i = 0; i < attribute->children.size(); ++i) stack[i] = attribute->children[i].get();
    while (!stack.empty()) {
        const Attribute* a = stack.back();
        stack.pop_back();
        out.push_back(a);
        for (const auto& c : a->children) stack.push_back(c.get());
    }
}

std::string uniqueName(const std::string& wanted) {
    if (!wanted.empty() && !findNode(wanted)) return wanted;
    std::string base = wanted;
    while (!base.empty() && std::isdigit(static_cast<unsigned char>(base.back()))) base.pop_back();
    for (int i = 1;; ++i) {
        std::string candidate = base + std::to_string(i);
        if (!findNode(candidate)) return candidate;
    }
}

std::vector<PlugStep> chainOf(const Attribute* attribute) {
    std::vector<PlugStep> path;
    for (const Attribute* a = attribute; a; a = a->parent) path.insert(path.begin(), PlugStep{a, -1});
    return path;
}

}  // namespace

// ---- Node types ------------------------------------------------------------------------------------

std::shared_ptr<NodeType> findNodeType(const std::string& name) {
    ensureHostTypes();
    for (const auto& t : state().types)
        if (t->name == name) return t;
    return nullptr;
}

std::shared_ptr<NodeType> findNodeType(const MTypeId& id) {
    ensureHostTypes();
    for (const auto& t : state().types)
        if (t->id == id) return t;
    return nullptr;
}

std::vector<std::shared_ptr<NodeType>> nodeTypes() {
    ensureHostTypes();
    return state().types;
}

MStatus addNodeType(const std::shared_ptr<NodeType>& type) {
    for (const auto& t : state().types)
        if (t->name == type->name || t->id == type->id) return MStatus::kFailure;
    state().types.push_back(type);
    return MStatus::kSuccess;
}

MStatus removeNodeType(const MTypeId& id) {
    auto& types = state().types;
    auto it = std::find_if(types.begin(), types.end(), [&](const std::shared_ptr<NodeType>& t) { return t->id == id; });
    if (it == types.end()) return MStatus::kFailure;
    for (const auto& node : state().nodes)
        if (node->type == *it) return MStatus::kFailure;
    types.erase(it);
    return MStatus::kSuccess;
}

NodeType* typeBeingInitialized() {
    return state().initializing;
}

void setTypeBeingInitialized(NodeType* type) {
    state().initializing = type;
}

MStatus registerType(const std::string& name, const MTypeId& id, MCreatorFunction creator,
                     MInitializeFunction initialize, MPxNode::Type kind, MFn::Type apiType, const std::string& owner) {
    ensureHostTypes();
    if (name.empty() || !creator) return MStatus::kInvalidParameter;
    for (const auto& t : state().types)
        if (t->name == name || t->id == id) return MStatus::kFailure;
    auto type = std::make_shared<NodeType>();
    type->name = name;
    type->id = id;
    type->kind = kind;
    type->apiType = apiType;
    type->creator = creator;
    type->owner = owner;
    addBaseAttributes(*type);
    NodeType* previous = state().initializing;
    state().initializing = type.get();
    MStatus status = initialize ? initialize() : MStatus(MStatus::kSuccess);
    state().initializing = previous;
    if (status != MStatus::kSuccess) return status;
    type->settleHierarchy();
    return addNodeType(type);
}

// ---- Scene -----------------------------------------------------------------------------------------

std::shared_ptr<Node> createNode(const std::string& typeName, const std::string& name, MStatus* status) {
    auto type = findNodeType(typeName);
    if (!type) {
        if (status) *status = MStatus::kInvalidParameter;
        return nullptr;
    }
    auto node = std::make_shared<Node>(type, uniqueName(name.empty() ? typeName : name));
    node->px = static_cast<MPxNode*>(type->creator());
    if (!node->px) {
        if (status) *status = MStatus::kFailure;
        return nullptr;
    }
    NodeBinding::bind(node->px, node.get());
    state().nodes.push_back(node);
    node->px->postConstructor();
    if (status) *status = MStatus::kSuccess;
    return node;
}

MStatus deleteNode(const std::shared_ptr<Node>& target) {
    std::shared_ptr<Node> node = target;  // the caller's reference may live in the list erased below
    auto& nodes = state().nodes;
    auto it = std::find(nodes.begin(), nodes.end(), node);
    if (it == nodes.end()) return MStatus::kInvalidParameter;
    dagNodeDeleting(*node);
    std::vector<Connection> gone;
    for (const Connection& c : state().connections)
        if (c.src.hostNode() == node || c.dst.hostNode() == node) gone.push_back(c);
    for (const Connection& c : gone) disconnect(c.src, c.dst);
    nodes.erase(std::find(nodes.begin(), nodes.end(), node));
    node->destroyObject();
    return MStatus::kSuccess;
}

std::shared_ptr<Node> findNode(const std::string& name) {
    for (const auto& n : state().nodes)
        if (n->name == name) return n;
    return nullptr;
}

const std::vector<std::shared_ptr<Node>>& sceneNodes() {
    return state().nodes;
}

MStatus renameNode(const std::shared_ptr<Node>& node, const std::string& name) {
    if (!node || !node->alive || name.empty()) return MStatus::kInvalidParameter;
    if (name == node->name) return MStatus::kSuccess;
    node->name = uniqueName(name);
    return MStatus::kSuccess;
}

void clearScene() {
    while (!state().nodes.empty()) deleteNode(state().nodes.back());
    state().time = MTime();
}

// ---- Plugs by name ---------------------------------------------------------------------------------

MPlug plugOf(const std::shared_ptr<Node>& node, const Attribute* attribute) {
    if (!node || !attribute) return MPlug();
    return MPlug(node, chainOf(attribute));
}

MPlug plugFromName(const std::string& text, MStatus* status) {
    auto fail = [&](MStatus::MStatusCode code) {
        if (status) *status = code;
        return MPlug();
    };
    size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0) return fail(MStatus::kInvalidParameter);
    const std::string nodeName = text.substr(0, dot);
    auto node = nodeName.find('|') == std::string::npos ? findNode(nodeName) : findDagNode(nodeName);
    if (!node) return fail(MStatus::kNotFound);
    std::vector<PlugStep> path;
    size_t pos = dot + 1;
    while (pos <= text.size()) {
        size_t end = text.find('.', pos);
        std::string part = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        int index = -1;
        size_t bracket = part.find('[');
        if (bracket != std::string::npos) {
            if (part.back() != ']') return fail(MStatus::kInvalidParameter);
            std::string digits = part.substr(bracket + 1, part.size() - bracket - 2);
            if (digits.empty() || digits.size() > 9 ||
                !std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
                return fail(MStatus::kInvalidParameter);
            index = std::stoi(digits);
            part = part.substr(0, bracket);
        }
        Attribute* attr = node->findAttribute(part);
        if (!attr && path.empty()) {
            // A transform's name stands for its shape's attributes, as in Maya.
            std::shared_ptr<Node> shape = shapeOf(node);
            if (shape && shape != node && (attr = shape->findAttribute(part))) node = shape;
        }
        if (!attr) return fail(MStatus::kInvalidParameter);
        if (path.empty() ? attr->parent != nullptr : attr->parent != path.back().attr) {
            // A child named without its parent: complete the chain when the parents are not arrays.
            if (!path.empty()) return fail(MStatus::kInvalidParameter);
            path = chainOf(attr);
            for (const PlugStep& step : path)
                if (step.attr != attr && step.attr->array) return fail(MStatus::kInvalidParameter);
            path.pop_back();
        }
        if (index >= 0 && !attr->array) return fail(MStatus::kInvalidParameter);
        path.push_back(PlugStep{attr, index});
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    if (status) *status = MStatus::kSuccess;
    return MPlug(node, path);
}

// ---- Connections -----------------------------------------------------------------------------------

const Connection* incomingConnection(const MPlug& plug) {
    Node* node = nodeOf(plug);
    if (!node) return nullptr;
    for (Connection* c : node->incoming)
        if (samePath(c->dst.hostPath(), plug.hostPath())) return c;
    return nullptr;
}

MStatus connect(const MPlug& src, const MPlug& dst, bool force) {
    Node* s = nodeOf(src);
    Node* d = nodeOf(dst);
    if (!s || !d || !s->alive || !d->alive || src.hostPath().empty() || dst.hostPath().empty())
        return MStatus::kInvalidParameter;
    const Attribute* da = dst.hostPath().back().attr;
    if (!da->connectable || !da->writable || !src.hostPath().back().attr->connectable) return MStatus::kInvalidParameter;
    if (s == d && samePath(src.hostPath(), dst.hostPath())) return MStatus::kInvalidParameter;
    if (const Connection* existing = incomingConnection(dst)) {
        if (samePath(existing->src.hostPath(), src.hostPath()) && existing->src.hostNode() == src.hostNode())
            return MStatus::kSuccess;
        if (!force) return MStatus::kFailure;
        MPlug oldSrc = existing->src;
        disconnect(oldSrc, dst);
    }
    resolve(*s, src.hostPath(), true);
    resolve(*d, dst.hostPath(), true);
    state().connections.push_back(Connection{src, dst});
    Connection* c = &state().connections.back();
    s->outgoing.push_back(c);
    d->incoming.push_back(c);
    changed(dst);
    return MStatus::kSuccess;
}

MStatus disconnect(const MPlug& src, const MPlug& dst) {
    auto& all = state().connections;
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (it->src.hostNode() != src.hostNode() || it->dst.hostNode() != dst.hostNode()) continue;
        if (!samePath(it->src.hostPath(), src.hostPath()) || !samePath(it->dst.hostPath(), dst.hostPath())) continue;
        Connection* c = &*it;
        auto& out = c->src.hostNode()->outgoing;
        out.erase(std::remove(out.begin(), out.end(), c), out.end());
        auto& in = c->dst.hostNode()->incoming;
        in.erase(std::remove(in.begin(), in.end(), c), in.end());
        MPlug target = c->dst;
        all.erase(it);
        changed(target);
        return MStatus::kSuccess;
    }
    return MStatus::kInvalidParameter;
}

// ---- Evaluation ------------------------------------------------------------------------------------

namespace {

void pullConnection(const Connection& c) {
    MPlug src = c.src;
    MPlug dst = c.dst;
    pull(src);
    Node* s = nodeOf(src);
    Node* d = nodeOf(dst);
    if (!s || !d) return;
    ValueRef from = resolve(*s, src.hostPath(), true);
    ValueRef to = resolve(*d, dst.hostPath(), true);
    if (from.value && to.value && from.value != to.value) copyValue(from, to);
}

// Pulls the connections into plugs above, at or below this path, coarsest first.
void pullRelated(Node& node, const std::vector<PlugStep>& path) {
    std::vector<Connection*> list;
    for (Connection* c : node.incoming)
        if (related(c->dst.hostPath(), path)) list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [](const Connection* a, const Connection* b) {
        return a->dst.hostPath().size() < b->dst.hostPath().size();
    });
    for (Connection* c : list) pullConnection(*c);
}

}  // namespace

void pullInputs(Node& node, const Attribute* top) {
    pullRelated(node, {PlugStep{top, -1}});
}

MStatus pull(const MPlug& plug) {
    Node* node = nodeOf(plug);
    if (!node || plug.hostPath().empty()) return MStatus::kInvalidParameter;
    pullRelated(*node, plug.hostPath());
    const Attribute* attr = plug.hostPath().back().attr;
    if (!node->isComputed(attr)) return MStatus::kSuccess;
    if (attr->array && plug.hostPath().back().index < 0) return MStatus::kSuccess;
    // An element that the request itself brings into being has never been computed, even when its
    // array was marked clean as a whole.
    bool created = resolve(*node, plug.hostPath(), false).value == nullptr;
    if (!created && isClean(plug)) return MStatus::kSuccess;
    resolve(*node, plug.hostPath(), true);
    return runCompute(*node, plug);
}

void changed(const MPlug& plug) {
    Node* node = nodeOf(plug);
    if (!node || plug.hostPath().empty()) return;
    SceneState& s = state();
    if (s.waveDepth++ == 0) s.waveDirtied.clear();
    std::vector<const Attribute*> family;
    collectFamily(plug.hostPath().back().attr, family);
    for (const Attribute* a : family)
        if (const auto* targets = node->affected(a))
            for (const Attribute* t : *targets) dirtyTop(*node, t->top());
    propagateFrom(*node, plug.hostPath());
    dagPlugChanged(*node, plug.hostPath().back().attr);
    --s.waveDepth;
}

bool isClean(const MPlug& plug) {
    Node* node = nodeOf(plug);
    if (!node) return false;
    for (const std::string& key : coveringKeys(plug.hostPath()))
        if (node->clean.count(key)) return true;
    return false;
}

void setClean(const MPlug& plug) {
    if (Node* node = nodeOf(plug)) node->clean.insert(plugKey(plug.hostPath()));
}

void setCleanAttribute(Node& node, const Attribute* attribute) {
    node.clean.insert(plugKey(chainOf(attribute)));
}

// ---- Time ------------------------------------------------------------------------------------------

MTime currentTime() {
    return state().time;
}

void setCurrentTime(const MTime& time) {
    MTime previous = state().time;
    state().time = time;
    std::vector<std::shared_ptr<Node>> timeNodes;
    for (const auto& n : state().nodes)
        if (n->type->name == "time") timeNodes.push_back(n);
    for (const auto& n : timeNodes) {
        if (Attribute* out = n->findAttribute("outTime")) {
            resolve(*n, {PlugStep{out, -1}}, true).value->num[0] = time.as(MTime::kSeconds);
            changed(plugOf(n, out));
        }
    }
    timeChanged(previous, time);
}

}  // namespace host
