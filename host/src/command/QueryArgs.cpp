#include "command/QueryArgs.h"

#include "graph/Dag.h"
#include "graph/Scene.h"

namespace host {

std::shared_ptr<Node> lookupNode(const std::string& name) {
    if (name.empty())
        return nullptr;
    if (std::shared_ptr<Node> node = findNode(name))
        return node;
    return name.find('|') != std::string::npos ? findDagNode(name) : nullptr;
}

std::vector<const Attribute*> topAttributes(const Node& node) {
    std::vector<const Attribute*> out;
    for (const std::shared_ptr<Attribute>& attribute : node.type->attributes)
        out.push_back(attribute.get());
    for (const std::shared_ptr<Attribute>& attribute : node.dynamicAttributes)
        if (!attribute->parent)
            out.push_back(attribute.get());
    return out;
}

bool QueryArgs::has(const std::string& longName) const {
    for (const auto& [name, text] : given)
        if (name == longName)
            return true;
    return false;
}

std::string QueryArgs::value(const std::string& longName, const std::string& fallback) const {
    std::string out = fallback;
    for (const auto& [name, text] : given)
        if (name == longName)
            out = text;
    return out;
}

bool QueryArgs::on(const std::string& longName, bool fallback) const {
    if (!has(longName))
        return fallback;
    bool flag = true;
    parseBool(value(longName), flag);
    return flag;
}

std::vector<std::string> QueryArgs::values(const std::string& longName) const {
    std::vector<std::string> out;
    for (const auto& [name, text] : given)
        if (name == longName)
            out.push_back(text);
    return out;
}

MStatus parseQueryArgs(const std::string& command, const Args& args, const std::vector<QueryFlag>& flags,
                       QueryArgs& out) {
    out = QueryArgs();
    for (size_t i = 0; i < args.size(); ++i) {
        const Arg& arg = args[i];
        if (!isFlag(arg)) {
            out.positional.push_back(arg);
            continue;
        }
        const std::string name = arg.text.substr(1);
        const QueryFlag* flag = nullptr;
        for (const QueryFlag& candidate : flags)
            if (name == candidate.longName || name == candidate.shortName)
                flag = &candidate;
        if (!flag)
            return commandError(command, "Invalid flag " + quoted(arg.text) + ".");
        if (!flag->repeatable && out.has(flag->longName))
            return commandError(command, "Flag " + quoted(arg.text) + " is given more than once.");
        std::string value = "1";
        if (flag->kind == QueryFlag::Text) {
            if (i + 1 >= args.size())
                return commandError(command, "Flag " + quoted(arg.text) + " needs a value.");
            value = args[++i].text;
        } else if (flag->kind == QueryFlag::OptionalBool && i + 1 < args.size()) {
            bool ignored = false;
            if (parseBool(args[i + 1].text, ignored))
                value = args[++i].text;
        }
        out.given.emplace_back(flag->longName, value);
    }
    return MStatus::kSuccess;
}

}  // namespace host
