#include "framework/menuview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>

#include "framework/localization.h"
#include "framework/menu.h"
#include "framework/text.h"
#include "framework/ui.h"
#include "framework/window.h"

namespace fw::detail {

namespace {

// The Mac's command-key shortcuts as the platform's standard keys, so that Linux users get theirs
// (Shift+Del for cut among them).
struct StandardShortcut {
    const char* mac;
    QKeySequence::StandardKey key;
};
constexpr StandardShortcut kStandardShortcuts[] = {
    {"Cmd+X", QKeySequence::Cut},   {"Cmd+C", QKeySequence::Copy},
    {"Cmd+V", QKeySequence::Paste}, {"Cmd+A", QKeySequence::SelectAll},
    {"Cmd+W", QKeySequence::Close},
};

QList<QKeySequence> ShortcutsFor(const std::string& shortcut) {
    for (const StandardShortcut& standard : kStandardShortcuts) {
        if (EqualsIgnoreCase(shortcut, standard.mac)) {
            return QKeySequence::keyBindings(standard.key);
        }
    }
    const std::string keys = ReplaceAll(shortcut, "Cmd+", "Ctrl+");
    return {QKeySequence::fromString(QString::fromStdString(keys), QKeySequence::PortableText)};
}

QString Shown(const std::string& text) {
    return QString::fromStdString(text).replace(u'&', QStringLiteral("&&"));
}

// --- The standard editing commands on a QLineEdit or a QTextEdit.

bool CanRunOnLine(const std::string& name, const QLineEdit& line) {
    const bool selected = line.hasSelectedText();
    if (name == "EditCut" || name == "EditClear") {
        return selected && !line.isReadOnly();
    }
    if (name == "EditCopy") {
        return selected;
    }
    if (name == "EditPaste") {
        return !line.isReadOnly() && !QGuiApplication::clipboard()->text().isEmpty();
    }
    return !line.text().isEmpty();  // EditSelectAll
}

bool CanRunOnText(const std::string& name, const QTextEdit& text) {
    const bool selected = text.textCursor().hasSelection();
    if (name == "EditCut" || name == "EditClear") {
        return selected && !text.isReadOnly();
    }
    if (name == "EditCopy") {
        return selected;
    }
    if (name == "EditPaste") {
        return !text.isReadOnly() && text.canPaste();
    }
    return !text.document()->isEmpty();  // EditSelectAll
}

void RunOnLine(const std::string& name, QLineEdit& line) {
    if (name == "EditCut") {
        line.cut();
    } else if (name == "EditCopy") {
        line.copy();
    } else if (name == "EditPaste") {
        line.paste();
    } else if (name == "EditClear") {
        line.del();
    } else {
        line.selectAll();
    }
}

void RunOnText(const std::string& name, QTextEdit& text) {
    if (name == "EditCut") {
        text.cut();
    } else if (name == "EditCopy") {
        text.copy();
    } else if (name == "EditPaste") {
        text.paste();
    } else if (name == "EditClear") {
        text.textCursor().removeSelectedText();
    } else {
        text.selectAll();
    }
}

}  // namespace

std::vector<std::pair<QAction*, const MenuItem*>> AddContextMenuItems(QMenu& target,
                                                                      const MenuItem& menu) {
    std::vector<std::pair<QAction*, const MenuItem*>> made;
    for (int i = 0; i < menu.Count(); ++i) {
        const MenuItem& item = menu.Item(i);
        QAction* const action =
            item.IsSeparator() ? target.addSeparator() : target.addAction(Shown(item.Text));
        action->setEnabled(item.Enabled && !item.IsSeparator());
        made.emplace_back(action, &item);
    }
    return made;
}

bool IsEditCommand(const std::string& name) {
    return name == "EditCut" || name == "EditCopy" || name == "EditPaste" || name == "EditClear" ||
           name == "EditSelectAll";
}

bool CanRunEditCommand(const std::string& name, QWidget* focus) {
    if (!IsEditCommand(name)) {
        return false;
    }
    if (const auto* line = qobject_cast<const QLineEdit*>(focus)) {
        return CanRunOnLine(name, *line);
    }
    if (const auto* text = qobject_cast<const QTextEdit*>(focus)) {
        return CanRunOnText(name, *text);
    }
    return false;
}

void RunEditCommand(const std::string& name, QWidget* focus) {
    if (!CanRunEditCommand(name, focus)) {
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        RunOnLine(name, *line);
    } else if (auto* text = qobject_cast<QTextEdit*>(focus)) {
        RunOnText(name, *text);
    }
}

MenuBarView::MenuBarView(Window& window, const MenuBar& bar, QMenuBar* drawn)
    : window_(window), topLevel_(window.Widget()) {
    RememberFocus(topLevel_->focusWidget());
    QObject::connect(qApp, &QApplication::focusChanged, this,
                     [this](QWidget* /*old*/, QWidget* now) { RememberFocus(now); });
    std::vector<QMenu*> menus;
    std::vector<QAction*> applicationItems;
    for (int i = 0; i < bar.Count(); ++i) {
        const MenuItem& menu = bar.Item(i);
        QMenu* const shown = MakeMenu(QString::fromStdString(menu.Text));
        for (int j = 0; j < menu.Count(); ++j) {
            const MenuItem& item = menu.Item(j);
            QAction* const action = MakeAction(item);
            if (item.GetKind() == MenuItem::Kind::ApplicationMenu) {
                applicationItems.push_back(action);
            } else {
                shown->addAction(action);
            }
        }
        menus.push_back(shown);
    }
    QAction* const quit = MakeQuitAction();
    if (drawn != nullptr) {
        if (!menus.empty()) {
            menus.front()->addSeparator();
            menus.front()->addAction(quit);
        }
        for (QMenu* const menu : menus) {
            drawn->addMenu(menu);
        }
        if (!applicationItems.empty()) {
            QMenu* const help = MakeMenu(
                QString::fromStdString(System::_GetLocalizedString("Framework.Help", "&Help")));
            help->addActions(QList<QAction*>(applicationItems.begin(), applicationItems.end()));
            drawn->addMenu(help);
        }
        return;
    }
    popup_ = MakeMenu(QString());
    for (QMenu* const menu : menus) {
        popup_->addMenu(menu);
    }
    popup_->addSeparator();
    popup_->addActions(QList<QAction*>(applicationItems.begin(), applicationItems.end()));
    popup_->addSeparator();
    popup_->addAction(quit);
}

MenuBarView::~MenuBarView() = default;

void MenuBarView::PopUp(QPoint global) {
    if (popup_ != nullptr) {
        popup_->exec(global);
    }
}

QMenu* MenuBarView::MakeMenu(const QString& title) {
    auto* const menu = new QMenu(title, topLevel_);
    // Collapsed, so that the application menu's closing separator shows only between items.
    menu->setSeparatorsCollapsible(true);
    QObject::connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateEnabled(*menu); });
    QObject::connect(menu, &QMenu::aboutToHide, this, [this, menu] { EnableAll(*menu); });
    return menu;
}

QAction* MenuBarView::MakeAction(const MenuItem& item) {
    // A separator's text would show as a section title.
    auto* const action =
        new QAction(item.IsSeparator() ? QString() : QString::fromStdString(item.Text), topLevel_);
    action->setSeparator(item.IsSeparator());
    if (!item.KeyboardShortcut.empty()) {
        action->setShortcuts(ShortcutsFor(item.KeyboardShortcut));
        action->setShortcutContext(Qt::WindowShortcut);
        // Shortcuts of the window's widget work whether or not the bar is drawn.
        topLevel_->addAction(action);
    }
    action->setEnabled(item.Enabled || item.AutoEnable);
    QObject::connect(action, &QAction::triggered, this, [this, &item] { Run(item); });
    actions_.emplace_back(action, &item);
    return action;
}

QAction* MenuBarView::MakeQuitAction() {
    auto* const quit = new QAction(
        QString::fromStdString(System::_GetLocalizedString("Framework.Quit", "&Quit")), topLevel_);
    // Ctrl+Q itself: not every platform theme binds the standard Quit key.
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcutContext(Qt::WindowShortcut);
    topLevel_->addAction(quit);
    QObject::connect(quit, &QAction::triggered, this, [] { Quit(0); });
    return quit;
}

void MenuBarView::UpdateEnabled(QMenu& menu) {
    for (const auto& [action, item] : actions_) {
        if (menu.actions().contains(action) && item->AutoEnable && !item->IsSeparator()) {
            action->setEnabled(Available(*item));
        }
    }
}

void MenuBarView::EnableAll(QMenu& menu) {
    for (const auto& [action, item] : actions_) {
        if (menu.actions().contains(action)) {
            action->setEnabled(item->Enabled || item->AutoEnable);
        }
    }
}

bool MenuBarView::Available(const MenuItem& item) const {
    if (IsEditCommand(item.Name)) {
        return CanRunEditCommand(item.Name, EditTarget());
    }
    return window_.HasMenuHandler(item.Name);
}

void MenuBarView::Run(const MenuItem& item) {
    if (IsEditCommand(item.Name)) {
        RunEditCommand(item.Name, EditTarget());
        return;
    }
    window_.RunMenuHandler(item.Name);
}

void MenuBarView::RememberFocus(QWidget* focus) {
    if (focus != nullptr && focus->window() == topLevel_ && !qobject_cast<QMenuBar*>(focus)) {
        lastFocus_ = focus;
    }
}

QWidget* MenuBarView::EditTarget() const {
    QWidget* const focus = topLevel_->focusWidget();
    if (!qobject_cast<QMenuBar*>(focus)) {
        return focus;
    }
    // Still the window's: a control moved to another window is no longer what the user left.
    return lastFocus_ && lastFocus_->window() == topLevel_ ? lastFocus_.data() : nullptr;
}

}  // namespace fw::detail
