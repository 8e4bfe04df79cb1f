#include "ui/MenuModel.h"

#include <host/Host.h>

#include <algorithm>

namespace host {

std::vector<Menu>& menus() {
    static std::vector<Menu> all;
    return all;
}

std::string& currentMenu() {
    static std::string name;
    return name;
}

Menu* findMenu(const std::string& name) {
    for (Menu& menu : menus())
        if (menu.name == name)
            return &menu;
    return nullptr;
}

MenuItem* findMenuItem(const std::string& name, Menu** owner) {
    for (Menu& menu : menus()) {
        for (MenuItem& item : menu.items) {
            if (item.name == name) {
                if (owner)
                    *owner = &menu;
                return &item;
            }
        }
    }
    return nullptr;
}

bool isMenuNameTaken(const std::string& name) { return findMenu(name) || findMenuItem(name); }

std::string freeMenuName(const std::string& base) {
    for (unsigned n = 1;; ++n) {
        std::string name = base + std::to_string(n);
        if (!isMenuNameTaken(name))
            return name;
    }
}

bool deleteMenu(const std::string& name) {
    std::vector<Menu>& all = menus();
    auto it = std::find_if(all.begin(), all.end(), [&](const Menu& menu) { return menu.name == name; });
    if (it == all.end())
        return false;
    all.erase(it);
    if (currentMenu() == name)
        currentMenu() = all.empty() ? std::string() : all.back().name;
    return true;
}

bool deleteMenuItem(const std::string& name) {
    Menu* owner = nullptr;
    if (!findMenuItem(name, &owner))
        return false;
    auto& items = owner->items;
    items.erase(std::find_if(items.begin(), items.end(), [&](const MenuItem& item) { return item.name == name; }));
    return true;
}

void clearMenus() {
    menus().clear();
    currentMenu().clear();
}

std::vector<std::string> menuItemLabels(const std::string& menuName) {
    std::vector<std::string> labels;
    if (const Menu* menu = findMenu(menuName))
        for (const MenuItem& item : menu->items)
            labels.push_back(item.label);
    return labels;
}

}  // namespace host
