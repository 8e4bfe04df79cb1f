#include "ui/MenuModel.h"

#include <host/Host.h>

#include <algorithm>
#include <unordered_map>

namespace host {

namespace {

struct Model {
    std::vector<Menu> menus;
    // Every name in use: a menu's own name maps to itself, an item's to the name of its menu.
    std::unordered_map<std::string, std::string> owners;
    // The next number to try for a made-up name, per base.
    std::unordered_map<std::string, unsigned> nextNumber;
    std::string current;
};

Model& model() {
    static Model m;
    return m;
}

std::vector<MenuItem>::iterator itemIn(Menu& menu, const std::string& name) {
    return std::find_if(menu.items.begin(), menu.items.end(), [&](const MenuItem& item) { return item.name == name; });
}

}  // namespace

const std::vector<Menu>& menus() { return model().menus; }

std::string& currentMenu() { return model().current; }

size_t menuEntryCount() { return model().owners.size(); }

Menu* findMenu(const std::string& name) {
    auto owner = model().owners.find(name);
    if (owner == model().owners.end() || owner->second != name)
        return nullptr;
    for (Menu& menu : model().menus)
        if (menu.name == name)
            return &menu;
    return nullptr;
}

MenuItem* findMenuItem(const std::string& name, Menu** owner) {
    auto entry = model().owners.find(name);
    if (entry == model().owners.end() || entry->second == name)
        return nullptr;
    Menu* menu = findMenu(entry->second);
    if (!menu)
        return nullptr;
    auto item = itemIn(*menu, name);
    if (item == menu->items.end())
        return nullptr;
    if (owner)
        *owner = menu;
    return &*item;
}

bool isMenuNameTaken(const std::string& name) { return model().owners.count(name) != 0; }

std::string freeMenuName(const std::string& base) {
    unsigned& n = model().nextNumber[base];
    for (;;) {
        std::string name = base + std::to_string(++n);
        if (!isMenuNameTaken(name))
            return name;
    }
}

void addMenu(const Menu& menu) {
    model().menus.push_back(menu);
    model().owners[menu.name] = menu.name;
    for (const MenuItem& item : menu.items)
        model().owners[item.name] = menu.name;
    model().current = menu.name;
}

void addMenuItem(Menu& menu, const MenuItem& item) {
    menu.items.push_back(item);
    model().owners[item.name] = menu.name;
}

bool deleteMenu(const std::string& name) {
    std::vector<Menu>& all = model().menus;
    auto it = std::find_if(all.begin(), all.end(), [&](const Menu& menu) { return menu.name == name; });
    if (it == all.end())
        return false;
    for (const MenuItem& item : it->items)
        model().owners.erase(item.name);
    model().owners.erase(name);
    all.erase(it);
    if (model().current == name)
        model().current = all.empty() ? std::string() : all.back().name;
    return true;
}

bool deleteMenuItem(const std::string& name) {
    Menu* owner = nullptr;
    if (!findMenuItem(name, &owner))
        return false;
    owner->items.erase(itemIn(*owner, name));
    model().owners.erase(name);
    return true;
}

void clearMenuItems(Menu& menu) {
    for (const MenuItem& item : menu.items)
        model().owners.erase(item.name);
    menu.items.clear();
}

void clearMenus() {
    model() = Model();
}

std::vector<std::string> menuItemLabels(const std::string& menuName) {
    std::vector<std::string> labels;
    if (const Menu* menu = findMenu(menuName))
        for (const MenuItem& item : menu->items)
            labels.push_back(item.label);
    return labels;
}

}  // namespace host
