#include "framework/menu.h"

#include <utility>

#include "framework/text.h"

namespace fw {

MenuItem::MenuItem(std::string text, Kind kind) : Text(std::move(text)), kind_(kind) {}

MenuItem::~MenuItem() = default;

MenuItem& MenuItem::Append(std::unique_ptr<MenuItem> item) {
    children_.push_back(std::move(item));
    return *children_.back();
}

int MenuItem::Count() const {
    return static_cast<int>(children_.size());
}

MenuItem& MenuItem::Item(int index) const {
    return *children_.at(static_cast<size_t>(index));
}

MenuItem* MenuItem::Child(const std::string& name) const {
    for (const std::unique_ptr<MenuItem>& child : children_) {
        if (child->Name == name) {
            return child.get();
        }
    }
    return nullptr;
}

std::vector<std::pair<std::string, bool>> ItemStates(const MenuItem& menu) {
    std::vector<std::pair<std::string, bool>> states;
    for (int i = 0; i < menu.Count(); ++i) {
        states.emplace_back(menu.Item(i).Text, menu.Item(i).Enabled);
    }
    return states;
}

const MenuItem* EnabledItemWithText(const MenuItem& menu, const std::string& text) {
    for (int i = 0; i < menu.Count(); ++i) {
        const MenuItem& item = menu.Item(i);
        if (item.Enabled && EqualsIgnoreCase(item.Text, text)) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace fw
