#include "graph/NodeType.h"

#include <algorithm>
#include <functional>

namespace host {

namespace {

void collect(const Attribute& attribute, std::vector<const Attribute*>& out) {
    out.push_back(&attribute);
    for (const auto& child : attribute.children) collect(*child, out);
}

}  // namespace

std::vector<std::string> namesOf(const Attribute& attribute) {
    std::vector<const Attribute*> all;
    collect(attribute, all);
    std::vector<std::string> names;
    for (const Attribute* a : all) {
        names.push_back(a->longName);
        if (!a->shortName.empty() && a->shortName != a->longName) names.push_back(a->shortName);
    }
    return names;
}

MStatus NodeType::addAttribute(const std::shared_ptr<Attribute>& attribute) {
    if (!attribute || attribute->longName.empty()) return MStatus::kInvalidParameter;
    std::vector<const Attribute*> all;
    collect(*attribute, all);
    for (const Attribute* a : all) {
        for (const std::string* n : {&a->longName, &a->shortName}) {
            if (n->empty()) continue;
            auto it = byName.find(*n);
            if (it != byName.end() && it->second != a) return MStatus::kInvalidParameter;
        }
    }
    if (std::find(attributes.begin(), attributes.end(), attribute) != attributes.end()) return MStatus::kInvalidParameter;
    attributes.push_back(attribute);
    for (const Attribute* a : all) {
        auto* mutableA = const_cast<Attribute*>(a);
        mutableA->added = true;
        byName[a->longName] = mutableA;
        if (!a->shortName.empty()) byName[a->shortName] = mutableA;
    }
    return MStatus::kSuccess;
}

MStatus NodeType::addAffects(const Attribute* whenChanges, const Attribute* isAffected) {
    if (!has(whenChanges) || !has(isAffected)) return MStatus::kInvalidParameter;
    auto& list = affects[whenChanges];
    if (std::find(list.begin(), list.end(), isAffected) == list.end()) list.push_back(isAffected);
    computed.insert(isAffected);
    return MStatus::kSuccess;
}

bool NodeType::has(const Attribute* attribute) const {
    if (!attribute) return false;
    auto it = byName.find(attribute->longName);
    return it != byName.end() && it->second == attribute;
}

Attribute* NodeType::find(const std::string& attributeName) const {
    auto it = byName.find(attributeName);
    return it == byName.end() ? nullptr : it->second;
}

void NodeType::settleHierarchy() {
    attributes.erase(std::remove_if(attributes.begin(), attributes.end(),
                                    [](const std::shared_ptr<Attribute>& a) { return a->parent != nullptr; }),
                     attributes.end());
    byName.clear();
    for (const auto& top : attributes) {
        std::vector<const Attribute*> all;
        collect(*top, all);
        for (const Attribute* a : all) {
            byName[a->longName] = const_cast<Attribute*>(a);
            if (!a->shortName.empty()) byName[a->shortName] = const_cast<Attribute*>(a);
        }
    }
}

}  // namespace host
