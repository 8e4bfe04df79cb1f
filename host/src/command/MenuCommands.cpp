#include "command/Builtins.h"
#include "command/CommandResultAccess.h"
#include "command/QueryArgs.h"
#include "ui/MenuModel.h"

#include <maya/MCommandResult.h>
#include <maya/MStringArray.h>

// The menu commands in Maya's manner, over the host's menu model:
//   menu [-label l] [-tearOff b] [name]                 makes a menu (the current one from then on)
//   menu -exists name | -q (-label|-itemArray|-numberOfItems) name | -e (-label l | -deleteAllItems) name
//   menuItem [-label l] [-command c] [-annotation a] [-divider b] [-parent menu] [name]
//   menuItem -exists name | -q (-label|-command|-annotation|-divider) name | -e -label l name ...
//   deleteUI [-menu | -menuItem] name...
//   setParent -menu menu
// Each command that makes something returns its name. In query mode a flag takes no value.

namespace host {

namespace {

bool isQuery(const Args& args) {
    for (const Arg& arg : args)
        if (isFlag(arg) && (arg.text == "-q" || arg.text == "-query"))
            return true;
    return false;
}

MStatus oneName(const char* command, const QueryArgs& parsed, bool required, std::string& name) {
    if (parsed.positional.size() > 1)
        return commandError(command, "Give one name (unexpected " + quoted(parsed.positional[1].text) + ").");
    if (parsed.positional.empty()) {
        if (required)
            return commandError(command, "No menu or item named. Give its name last.");
        return MStatus::kSuccess;
    }
    name = parsed.positional[0].text;
    return MStatus::kSuccess;
}

// Parses a menu command's flags (valued ones take their value except in query mode) and its one name,
// which -exists, -q and -e require.
MStatus parseMenuCommand(const char* command, const Args& args, std::vector<QueryFlag> flags,
                         const std::vector<QueryFlag>& switches, QueryArgs& parsed, std::string& name) {
    if (isQuery(args))
        for (QueryFlag& flag : flags)
            flag.kind = QueryFlag::Switch;
    flags.push_back({"query", "q", QueryFlag::Switch});
    flags.push_back({"edit", "e", QueryFlag::Switch});
    flags.push_back({"exists", "ex", QueryFlag::Switch});
    flags.insert(flags.end(), switches.begin(), switches.end());
    MStatus status = parseQueryArgs(command, args, flags, parsed);
    if (!status)
        return status;
    return oneName(command, parsed, parsed.has("exists") || parsed.has("query") || parsed.has("edit"), name);
}

// The one query or edit flag given besides -q/-e.
std::string operationFlag(const QueryArgs& parsed) {
    for (const auto& [flag, value] : parsed.given)
        if (flag != "query" && flag != "edit")
            return flag;
    return std::string();
}

MStatus notFound(const char* command, const std::string& name) {
    return commandError(command, "Object " + quoted(name) + " not found.");
}

MStatus tooMany(const char* command) {
    return commandError(command, "The menus already hold " + std::to_string(kMaxMenuEntries) +
                                     " menus and items; delete some first.");
}

MStatus createMenu(const QueryArgs& parsed, const std::string& wanted, MCommandResult& result) {
    const char* const command = "menu";
    if (!wanted.empty() && isMenuNameTaken(wanted))
        return commandError(command, "Object's name " + quoted(wanted) + " is not unique.");
    if (menuEntryCount() >= kMaxMenuEntries)
        return tooMany(command);
    Menu menu;
    menu.name = wanted.empty() ? freeMenuName("menu") : wanted;
    menu.label = parsed.value("label", menu.name);
    addMenu(menu);
    CommandResultAccess::setString(result, MString(menu.name));
    return MStatus::kSuccess;
}

MStatus createMenuItem(const QueryArgs& parsed, const std::string& wanted, MCommandResult& result) {
    const char* const command = "menuItem";
    const std::string parentName = parsed.value("parent", currentMenu());
    Menu* parent = findMenu(parentName);
    if (!parent)
        return parentName.empty() ? commandError(command, "No menu to put the item in: give -parent <menu>.")
                                  : commandError(command, "No menu named " + quoted(parentName) + ".");
    if (!wanted.empty() && isMenuNameTaken(wanted))
        return commandError(command, "Object's name " + quoted(wanted) + " is not unique.");
    if (menuEntryCount() >= kMaxMenuEntries)
        return tooMany(command);
    MenuItem item;
    item.name = wanted.empty() ? freeMenuName("menuItem") : wanted;
    item.label = parsed.value("label", item.name);
    item.command = parsed.value("command");
    item.annotation = parsed.value("annotation");
    item.divider = parsed.on("divider");
    addMenuItem(*parent, item);
    CommandResultAccess::setString(result, MString(item.name));
    return MStatus::kSuccess;
}

}  // namespace

MStatus menuCommand(const Args& args, MCommandResult& result) {
    const char* const command = "menu";
    QueryArgs parsed;
    std::string name;
    const MStatus status = parseMenuCommand(command, args,
                                            {{"label", "l", QueryFlag::Text},
                                             {"parent", "p", QueryFlag::Text},
                                             {"tearOff", "to", QueryFlag::OptionalBool}},
                                            {{"itemArray", "ia", QueryFlag::Switch},
                                             {"numberOfItems", "ni", QueryFlag::Switch},
                                             {"deleteAllItems", "dai", QueryFlag::Switch}},
                                            parsed, name);
    if (!status)
        return status;
    if (parsed.has("exists")) {
        CommandResultAccess::setInt(result, findMenu(name) ? 1 : 0);
        return MStatus::kSuccess;
    }
    if (!parsed.has("query") && !parsed.has("edit"))
        return createMenu(parsed, name, result);
    Menu* menu = findMenu(name);
    if (!menu)
        return notFound(command, name);
    const std::string operation = operationFlag(parsed);
    if (parsed.has("query")) {
        if (operation == "label") {
            CommandResultAccess::setString(result, MString(menu->label));
        } else if (operation == "itemArray") {
            MStringArray names;
            for (const MenuItem& item : menu->items)
                names.append(MString(item.name));
            CommandResultAccess::setStringArray(result, names);
        } else if (operation == "numberOfItems") {
            CommandResultAccess::setInt(result, static_cast<int>(menu->items.size()));
        } else {
            return commandError(command, "Query one of -label, -itemArray and -numberOfItems.");
        }
        return MStatus::kSuccess;
    }
    if (parsed.has("label"))
        menu->label = parsed.value("label");
    if (parsed.has("deleteAllItems"))
        clearMenuItems(*menu);
    return MStatus::kSuccess;
}

MStatus menuItemCommand(const Args& args, MCommandResult& result) {
    const char* const command = "menuItem";
    QueryArgs parsed;
    std::string name;
    const MStatus status = parseMenuCommand(command, args,
                                            {{"label", "l", QueryFlag::Text},
                                             {"command", "c", QueryFlag::Text},
                                             {"annotation", "ann", QueryFlag::Text},
                                             {"parent", "p", QueryFlag::Text},
                                             {"divider", "d", QueryFlag::OptionalBool}},
                                            {}, parsed, name);
    if (!status)
        return status;
    if (parsed.has("exists")) {
        CommandResultAccess::setInt(result, findMenuItem(name) ? 1 : 0);
        return MStatus::kSuccess;
    }
    if (!parsed.has("query") && !parsed.has("edit"))
        return createMenuItem(parsed, name, result);
    MenuItem* item = findMenuItem(name);
    if (!item)
        return notFound(command, name);
    if (parsed.has("query")) {
        const std::string operation = operationFlag(parsed);
        if (operation == "label")
            CommandResultAccess::setString(result, MString(item->label));
        else if (operation == "command")
            CommandResultAccess::setString(result, MString(item->command));
        else if (operation == "annotation")
            CommandResultAccess::setString(result, MString(item->annotation));
        else if (operation == "divider")
            CommandResultAccess::setInt(result, item->divider ? 1 : 0);
        else
            return commandError(command, "Query one of -label, -command, -annotation and -divider.");
        return MStatus::kSuccess;
    }
    if (parsed.has("parent"))
        return commandError(command, "An item cannot move to another menu; delete it and make it there.");
    if (parsed.has("label"))
        item->label = parsed.value("label");
    if (parsed.has("command"))
        item->command = parsed.value("command");
    if (parsed.has("annotation"))
        item->annotation = parsed.value("annotation");
    if (parsed.has("divider"))
        item->divider = parsed.on("divider");
    return MStatus::kSuccess;
}

// deleteUI [-menu | -menuItem] name...: every name must exist (as that kind, when one is given) before
// anything is deleted.
MStatus deleteUICommand(const Args& args, MCommandResult&) {
    const char* const command = "deleteUI";
    QueryArgs parsed;
    MStatus status = parseQueryArgs(command, args,
                                    {{"menu", "m", QueryFlag::Switch}, {"menuItem", "mi", QueryFlag::Switch}}, parsed);
    if (!status)
        return status;
    if (parsed.positional.empty())
        return commandError(command, "Nothing to delete. Usage: deleteUI [-menu | -menuItem] <name>...");
    const bool menusOnly = parsed.has("menu") && !parsed.has("menuItem");
    const bool itemsOnly = parsed.has("menuItem") && !parsed.has("menu");
    for (const Arg& arg : parsed.positional) {
        const bool isMenu = !itemsOnly && findMenu(arg.text);
        const bool isItem = !menusOnly && findMenuItem(arg.text);
        if (!isMenu && !isItem)
            return notFound(command, arg.text);
    }
    for (const Arg& arg : parsed.positional) {
        if (itemsOnly || !deleteMenu(arg.text))
            deleteMenuItem(arg.text);
    }
    return MStatus::kSuccess;
}

// setParent -menu <menu>: the menu that menuItem puts items into when given no -parent.
MStatus setParentCommand(const Args& args, MCommandResult& result) {
    const char* const command = "setParent";
    QueryArgs parsed;
    MStatus status = parseQueryArgs(command, args, {{"menu", "m", QueryFlag::Switch}}, parsed);
    if (!status)
        return status;
    if (!parsed.has("menu") || parsed.positional.size() != 1)
        return commandError(command, "Only menus can be chosen here. Usage: setParent -menu <menu>");
    const std::string name = parsed.positional[0].text;
    if (!findMenu(name))
        return notFound(command, name);
    currentMenu() = name;
    CommandResultAccess::setString(result, MString(name));
    return MStatus::kSuccess;
}

}  // namespace host
