#include "graph/Scene.h"
#include "graph/ConnectionRules.h"
#include "graph/Dag.h"
#include "nodes/Dynamics.h"

#include <maya/MDataBlock.h>
#include <maya/MPxNode.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace host {

struct NodeBinding {
    static void bind(MPxNode* px, Node* node) { px->node_ = node; }
};

namespace {

// One plug of one node, as a hashable key.
struct PlugId {
    const Node* node;
    std::string key;
    bool operator==(const PlugId& other) const { return node == other.node && key == other.key; }
};

struct PlugIdHash {
    size_t operator()(const PlugId& id) const {
        return std::hash<std::string>()(id.key) ^ (std::hash<const void*>()(id.node) * 31u);
    }
};

PlugId idOf(const MPlug& plug) {
    return PlugId{plug.hostNode().get(), plugKey(plug.hostPath())};
}

struct SceneState {
    std::vector<std::shared_ptr<NodeType>> types;
    std::vector<std::shared_ptr<Node>> nodes;
    std::unordered_map<std::string, std::shared_ptr<Node>> byName;
    // For each base name, a number below which every "<base><n>" is taken (a hint for uniqueName).
    std::unordered_map<std::string, long> freeSuffixFrom;
    std::list<Connection> connections;
    std::unordered_map<const Connection*, std::list<Connection>::iterator> connectionAt;
    NodeType* initializing = nullptr;
    bool hostTypesRegistered = false;
    MTime time;
    // Evaluation: the plugs being evaluated now (a pull of one of them meets a cycle and stops) and the
    // plugs already evaluated, with their status, during the outermost pull. Any change forgets the latter.
    int evalDepth = 0;
    std::unordered_set<PlugId, PlugIdHash> active;
    std::unordered_map<PlugId, MStatus, PlugIdHash> settled;
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
    const Value& current = d;  // read without making the parts that were never written
    for (int i = 0; i < 3; ++i) d.num[i] = s.num[i];
    if (!(current.str() == s.str())) d.str() = s.str();
    if (!(current.data() == s.data())) d.data() = s.data();
    if (!s.elements().empty() || (src.attr && src.attr->array && !current.elements().empty()))
        d.elements() = s.elements();
    size_t n = std::min(current.children().size(), s.children().size());
    for (size_t i = 0; i < n; ++i) {
        ValueRef cs{const_cast<Value*>(&s.children()[i]), nullptr, -1};
        ValueRef cd{&d.children()[i], nullptr, -1};
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

// Adds the destinations of the node's outgoing connections whose source is related to the path.
void addTargets(Node& node, const std::vector<PlugStep>& path, std::vector<MPlug>& work) {
    for (Connection* c : node.outgoing)
        if (related(path, c->src.hostPath())) work.push_back(c->dst);
}

// Marks every clean plug at or under the top-level attribute dirty, once per wave.
void dirtyTop(Node& node, const Attribute* top, std::set<std::pair<const Node*, const Attribute*>>& dirtied,
              std::vector<MPlug>& work) {
    if (!dirtied.insert({&node, top}).second) return;
    const std::string& name = top->longName;
    for (auto it = node.clean.begin(); it != node.clean.end();) {
        const std::string& k = *it;
        bool under = k.compare(0, name.size(), name) == 0 &&
                     (k.size() == name.size() || k[name.size()] == '[' || k[name.size()] == '.');
        it = under ? node.clean.erase(it) : std::next(it);
    }
    addTargets(node, {PlugStep{top, -1}}, work);
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

std::string baseOf(const std::string& name) {
    std::string base = name;
    while (!base.empty() && std::isdigit(static_cast<unsigned char>(base.back()))) base.pop_back();
    return base;
}

// The wanted name when it is free, else its base with the lowest free number.
std::string uniqueName(const std::string& wanted) {
    if (!wanted.empty() && !findNode(wanted)) return wanted;
    std::string base = baseOf(wanted);
    long& from = state().freeSuffixFrom[base];
    for (long i = std::max(from, 1L);; ++i) {
        std::string candidate = base + std::to_string(i);
        if (!findNode(candidate)) {
            from = i;
            return candidate;
        }
    }
}

// A name given up: its number is free again.
void releaseName(const std::string& name) {
    std::string base = baseOf(name);
    auto it = state().freeSuffixFrom.find(base);
    if (it == state().freeSuffixFrom.end() || base.size() == name.size() || name.size() - base.size() > 9) return;
    if (name[base.size()] == '0') return;
    it->second = std::min(it->second, std::stol(name.substr(base.size())));
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
    state().byName[node->name] = node;
    node->px->postConstructor();
    if (status) *status = MStatus::kSuccess;
    return node;
}

MStatus deleteNode(const std::shared_ptr<Node>& target) {
    std::shared_ptr<Node> node = target;  // the caller's reference may live in the list erased below
    auto& nodes = state().nodes;
    auto found = state().byName.find(node ? node->name : std::string());
    if (found == state().byName.end() || found->second != node) return MStatus::kInvalidParameter;
    dagNodeDeleting(*node);
    std::vector<Connection> gone;
    for (const Connection* c : node->incoming) gone.push_back(*c);
    for (const Connection* c : node->outgoing) gone.push_back(*c);
    for (const Connection& c : gone) disconnect(c.src, c.dst);
    // Scenes are cleared from the back, so look there first.
    nodes.erase(std::find(nodes.rbegin(), nodes.rend(), node).base() - 1);
    state().byName.erase(node->name);
    releaseName(node->name);
    node->destroyObject();
    return MStatus::kSuccess;
}

std::shared_ptr<Node> findNode(const std::string& name) {
    auto it = state().byName.find(name);
    return it == state().byName.end() ? nullptr : it->second;
}

const std::vector<std::shared_ptr<Node>>& sceneNodes() {
    return state().nodes;
}

MStatus renameNode(const std::shared_ptr<Node>& node, const std::string& name) {
    if (!node || !node->alive || name.empty()) return MStatus::kInvalidParameter;
    if (name == node->name) return MStatus::kSuccess;
    auto it = state().byName.find(node->name);
    if (it == state().byName.end() || it->second != node) return MStatus::kInvalidParameter;
    std::string old = node->name;
    node->name = uniqueName(name);
    state().byName.erase(old);
    state().byName[node->name] = node;
    releaseName(old);
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
    if (s == d && samePath(src.hostPath(), dst.hostPath())) return MStatus::kInvalidParameter;
    if (!connectionProblem(src, dst).empty()) return MStatus::kInvalidParameter;
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
    state().connectionAt[c] = std::prev(state().connections.end());
    s->outgoing.push_back(c);
    d->incoming.push_back(c);
    changed(dst);
    return MStatus::kSuccess;
}

MStatus disconnect(const MPlug& src, const MPlug& dst) {
    const Connection* found = incomingConnection(dst);
    if (!found || found->src.hostNode() != src.hostNode() || !samePath(found->src.hostPath(), src.hostPath()))
        return MStatus::kInvalidParameter;
    Connection* c = const_cast<Connection*>(found);
    auto& out = c->src.hostNode()->outgoing;
    out.erase(std::remove(out.begin(), out.end(), c), out.end());
    auto& in = c->dst.hostNode()->incoming;
    in.erase(std::remove(in.begin(), in.end(), c), in.end());
    MPlug target = c->dst;
    auto at = state().connectionAt.find(c);
    state().connections.erase(at->second);
    state().connectionAt.erase(at);
    changed(target);
    return MStatus::kSuccess;
}

std::vector<MPlug> cycleThrough(const MPlug& src, const MPlug& dst) {
    // Breadth first from dst along connections and, inside a node, from an input to what it affects;
    // each plug remembers where it was reached from, so the cycle can be read back.
    std::vector<std::pair<MPlug, size_t>> reached{{dst, 0}};
    std::unordered_set<PlugId, PlugIdHash> seen{idOf(dst)};
    std::vector<const Attribute*> family;
    auto visit = [&](const MPlug& next, size_t from) {
        if (seen.insert(idOf(next)).second) reached.push_back({next, from});
    };
    for (size_t i = 0; i < reached.size(); ++i) {
        MPlug p = reached[i].first;
        Node* n = nodeOf(p);
        if (n == nodeOf(src) && related(p.hostPath(), src.hostPath())) {
            std::vector<MPlug> cycle{src};
            for (size_t k = i;; k = reached[k].second) {
                cycle.insert(cycle.begin() + 1, reached[k].first);
                if (k == 0) break;
            }
            return cycle;
        }
        for (Connection* c : n->outgoing)
            if (related(p.hostPath(), c->src.hostPath())) visit(c->dst, i);
        family.clear();
        collectFamily(p.hostPath().back().attr, family);
        for (const Attribute* a : family)
            if (const auto* targets = n->affected(a))
                for (const Attribute* t : *targets) visit(plugOf(std::static_pointer_cast<Node>(n->shared_from_this()), t->top()), i);
    }
    return {};
}

// ---- Evaluation ------------------------------------------------------------------------------------
//
// A pull first walks upstream with an explicit stack and evaluates what the plug reads in dependency
// order, so graphs of any depth evaluate without deep recursion. A plug met again while it is being
// evaluated closes a cycle: that read keeps the value the plug has, and evaluation goes on.

namespace {

// Copies a connection's value into its destination, the source evaluated first.
void pullConnection(const Connection& c) {
    MPlug src = c.src;
    MPlug dst = c.dst;
    pull(src);
    Node* s = nodeOf(src);
    Node* d = nodeOf(dst);
    if (!s || !d) return;
    // Each node keeps its own values, so making the destination moves the source only on the same node
    // (they may share an array there): then the source is found again once both exist.
    ValueRef from = resolve(*s, src.hostPath(), true);
    ValueRef to = resolve(*d, dst.hostPath(), true);
    if (s == d) from = resolve(*s, src.hostPath(), false);
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

bool needsCompute(Node& node, const MPlug& plug) {
    const Attribute* attr = plug.hostPath().back().attr;
    if (!node.isComputed(attr)) return false;
    if (attr->array && plug.hostPath().back().index < 0) return false;
    // An element that the request itself brings into being has never been computed, even when its
    // array was marked clean as a whole.
    bool created = resolve(node, plug.hostPath(), false).value == nullptr;
    return created || !isClean(plug);
}

// Whether a change of the connection's destination affects the top-level attribute.
bool affectsTop(Node& node, const Connection& c, const Attribute* top) {
    std::vector<const Attribute*> family;
    collectFamily(c.dst.hostPath().back().attr, family);
    for (const Attribute* a : family)
        if (const auto* targets = node.affected(a))
            for (const Attribute* t : *targets)
                if (t->top() == top) return true;
    return false;
}

// What a pull of the plug reads: the sources of the connections into it (or above or below it) and, when
// its node must compute it, the sources of the connections into the inputs that affect it.
void sourcesOf(const MPlug& plug, std::vector<MPlug>& out) {
    Node& node = *nodeOf(plug);
    bool computes = node.alive && needsCompute(node, plug);
    const Attribute* top = plug.hostPath().front().attr;
    for (Connection* c : node.incoming)
        if (related(c->dst.hostPath(), plug.hostPath()) || (computes && affectsTop(node, *c, top)))
            out.push_back(c->src);
}

// Evaluates one plug whose sources are current.
MStatus evaluateOne(const MPlug& plug) {
    Node* node = nodeOf(plug);
    pullRelated(*node, plug.hostPath());
    if (!needsCompute(*node, plug)) return MStatus::kSuccess;
    resolve(*node, plug.hostPath(), true);
    return runCompute(*node, plug);
}

}  // namespace

void pullInputs(Node& node, const Attribute* top) {
    pullRelated(node, {PlugStep{top, -1}});
}

MStatus pull(const MPlug& plug) {
    Node* node = nodeOf(plug);
    if (!node || plug.hostPath().empty()) return MStatus::kInvalidParameter;
    SceneState& s = state();
    PlugId id = idOf(plug);
    if (s.active.count(id)) return MStatus::kSuccess;
    auto done = s.settled.find(id);
    if (done != s.settled.end()) return done->second;

    struct Frame {
        MPlug plug;
        PlugId id;
        bool expanded;
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{plug, std::move(id), false});
    std::vector<MPlug> sources;
    MStatus result;
    ++s.evalDepth;
    while (!stack.empty()) {
        if (!stack.back().expanded) {
            Frame& top = stack.back();
            if (s.active.count(top.id) || s.settled.count(top.id)) {
                stack.pop_back();
                continue;
            }
            s.active.insert(top.id);
            top.expanded = true;
            sources.clear();
            sourcesOf(top.plug, sources);
            for (MPlug& source : sources) {
                PlugId sourceId = idOf(source);
                if (!s.active.count(sourceId) && !s.settled.count(sourceId))
                    stack.push_back(Frame{std::move(source), std::move(sourceId), false});
            }
            continue;
        }
        Frame done = std::move(stack.back());
        stack.pop_back();
        MStatus status = evaluateOne(done.plug);
        s.active.erase(done.id);
        if (stack.empty()) result = status;
        s.settled[std::move(done.id)] = status;
    }
    if (--s.evalDepth == 0) s.settled.clear();
    return result;
}

void changed(const MPlug& plug) {
    Node* node = nodeOf(plug);
    if (!node || plug.hostPath().empty()) return;
    SceneState& s = state();
    s.settled.clear();
    std::set<std::pair<const Node*, const Attribute*>> dirtied;
    std::unordered_set<PlugId, PlugIdHash> seen;
    std::vector<MPlug> work{plug};
    std::vector<const Attribute*> family;
    while (!work.empty()) {
        MPlug p = std::move(work.back());
        work.pop_back();
        Node* n = nodeOf(p);
        if (!n || p.hostPath().empty() || !seen.insert(idOf(p)).second) continue;
        family.clear();
        collectFamily(p.hostPath().back().attr, family);
        for (const Attribute* a : family)
            if (const auto* targets = n->affected(a))
                for (const Attribute* t : *targets) dirtyTop(*n, t->top(), dirtied, work);
        addTargets(*n, p.hostPath(), work);
        dagPlugChanged(*n, p.hostPath().back().attr);
    }
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
