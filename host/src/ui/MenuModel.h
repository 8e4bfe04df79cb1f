#ifndef HOST_MENUMODEL_H
#define HOST_MENUMODEL_H

#include <string>
#include <vector>

// The host's menus: what Maya's main window menus would show, kept as data that the menu commands
// (menu, menuItem, deleteUI, setParent) change and query. Names are unique among all menus and items.

namespace host {

struct MenuItem {
    std::string name;
    std::string label;
    std::string command;
    std::string annotation;
    bool divider = false;
};

struct Menu {
    std::string name;
    std::string label;
    std::vector<MenuItem> items;
};

// Every menu, in the order they were made. Add, delete and clear through the functions below, which
// keep the index of names.
const std::vector<Menu>& menus();
// Menus and items together; the commands refuse to make more than kMaxMenuEntries.
size_t menuEntryCount();
constexpr size_t kMaxMenuEntries = 100000;
Menu* findMenu(const std::string& name);
// The item and the menu it is in; null when there is none.
MenuItem* findMenuItem(const std::string& name, Menu** owner = nullptr);
// Whether a menu or an item has the name.
bool isMenuNameTaken(const std::string& name);
// base + the smallest number >= 1 that makes a free name ("menuItem1", ...).
std::string freeMenuName(const std::string& base);
// Adds a menu (with its items) and makes it the current menu; its names must be free.
void addMenu(const Menu& menu);
// Adds an item at the end of a menu; its name must be free.
void addMenuItem(Menu& menu, const MenuItem& item);
void clearMenuItems(Menu& menu);
bool deleteMenu(const std::string& name);
bool deleteMenuItem(const std::string& name);

// The menu new items go into when none is named: the last menu made, or the one setParent -menu chose.
std::string& currentMenu();

}  // namespace host

#endif
