#include "graph/Node.h"

#include <maya/MPxNode.h>

#include <utility>

namespace host {

Node::Node(std::shared_ptr<NodeType> nodeType, std::string nodeName) : type(std::move(nodeType)), name(std::move(nodeName)) {}

Node::~Node() {
    destroyObject();
}

MFn::Type Node::apiType() const {
    return type->apiType;
}

bool Node::hasFn(MFn::Type fn) const {
    return fn == MFn::kDependencyNode || fn == MFn::kBase || fn == MFn::kNamedObject || fn == type->apiType;
}

Attribute* Node::findAttribute(const std::string& attributeName) const {
    if (attributeName.empty()) return nullptr;
    if (Attribute* a = type->find(attributeName)) return a;
    auto it = dynamicByName.find(attributeName);
    return it == dynamicByName.end() ? nullptr : it->second;
}

bool Node::hasAttribute(const Attribute* attribute) const {
    if (!attribute) return false;
    if (type->has(attribute)) return true;
    auto it = dynamicByName.find(attribute->longName);
    return it != dynamicByName.end() && it->second == attribute;
}

const std::vector<const Attribute*>* Node::affected(const Attribute* attribute) const {
    auto it = type->affects.find(attribute);
    return it == type->affects.end() ? nullptr : &it->second;
}

bool Node::isComputed(const Attribute* attribute) const {
    for (const Attribute* a = attribute; a; a = a->parent)
        if (type->computed.count(a)) return true;
    return false;
}

Value& Node::topValue(const Attribute* top) {
    auto it = values.find(top);
    if (it == values.end()) it = values.emplace(top, defaultValue(*top, false)).first;
    return it->second;
}

void Node::destroyObject() {
    delete px;
    px = nullptr;
    alive = false;
}

ValueRef resolve(Node& node, const std::vector<PlugStep>& path, bool create) {
    ValueRef ref;
    if (path.empty()) return ref;
    Value* v = &node.topValue(path[0].attr);
    int component = -1;
    // Until create is known, parts are read through const access, which makes no value's storage.
    for (size_t i = 0; i < path.size(); ++i) {
        const Attribute* attr = path[i].attr;
        if (i > 0) {
            const Attribute* parent = path[i - 1].attr;
            int idx = parent->childIndex(attr);
            if (idx < 0) return ValueRef();
            if (parent->isNumericCompound()) {
                component = idx;
                continue;
            }
            if (static_cast<size_t>(idx) >= std::as_const(*v).children().size()) {
                if (!create) return ValueRef();
                while (v->children().size() <= static_cast<size_t>(idx))
                    v->children().push_back(defaultValue(*parent->children[v->children().size()], false));
            }
            v = &v->children()[static_cast<size_t>(idx)];
        }
        if (path[i].index >= 0) {
            if (!attr->array) return ValueRef();
            auto key = static_cast<unsigned>(path[i].index);
            if (!create && !v->elementsIfAny()) return ValueRef();
            ElementList& elements = v->elements();
            auto it = create ? elements.findOrAdd(key, [attr] { return defaultValue(*attr, true); }).first
                             : elements.find(key);
            if (it == elements.end()) return ValueRef();
            v = &it->second;
        } else if (attr->array && i + 1 < path.size()) {
            return ValueRef();
        }
    }
    ref.value = v;
    ref.attr = path.back().attr;
    ref.component = component;
    return ref;
}

std::string plugKey(const std::vector<PlugStep>& path) {
    std::string key;
    for (size_t i = 0; i < path.size(); ++i) {
        if (i) key += '.';
        key += path[i].attr->longName;
        if (path[i].index >= 0) {
            key += '[';
            key += std::to_string(path[i].index);
            key += ']';
        }
    }
    return key;
}

}  // namespace host
