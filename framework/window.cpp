// A top-level QWidget owned by the window object. A drawer is a separate frameless tool window
// that an event filter on its parent keeps below the parent's lower edge; it is shown without
// activation, so the parent's field keeps the keyboard, and what is typed while the drawer has
// the keyboard goes to that field all the same. A document window lays its menu bar out above a
// content widget that holds the controls.
#include "framework/window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <map>
#include <vector>

#include "framework/appobject.h"
#include "framework/menuview.h"
#include "framework/nativedestroy.h"
#include "framework/text.h"

namespace fw {

namespace {

Qt::WindowFlags FlagsFor(Window::Frame frame) {
    switch (frame) {
        case Window::Frame::Drawer:
            return Qt::Tool | Qt::FramelessWindowHint;
        case Window::Frame::Document:
            return Qt::Window;
        case Window::Frame::Dialog:
            return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint;
        case Window::Frame::Plain:
            break;
    }
    return Qt::Window | Qt::FramelessWindowHint;
}

// The window list, front first.
std::vector<Window*>& Stack() {
    static std::vector<Window*> windows;
    return windows;
}

void Remove(Window* window) {
    std::vector<Window*>& stack = Stack();
    stack.erase(std::remove(stack.begin(), stack.end(), window), stack.end());
}

void MoveToFront(Window* window) {
    std::vector<Window*>& stack = Stack();
    const auto at = std::find(stack.begin(), stack.end(), window);
    if (at != stack.end()) {
        std::rotate(stack.begin(), at, at + 1);
    }
}

// Calls `react` with every event of the watched widget that it names.
class Watcher : public QObject {
  public:
    Watcher(std::vector<QEvent::Type> types, std::function<void(QEvent::Type)> react)
        : types_(std::move(types)), react_(std::move(react)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (std::find(types_.begin(), types_.end(), event->type()) != types_.end()) {
            react_(event->type());
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::vector<QEvent::Type> types_;
    std::function<void(QEvent::Type)> react_;
};

// A key that types into a field: a printable character (Shift allowed), Backspace or Delete.
bool IsTypingKey(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    if (key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete) {
        return true;
    }
    const QString text = key.text();
    return !text.isEmpty() && text.at(0).isPrint();
}

// A drawer shares its parent's keyboard, as on the Mac: typing keys pressed while a control of
// the drawer has the focus go to the control of the parent that had it last, exactly as if
// typed there, and the parent takes the keyboard back. Other keys (arrows, copy) stay.
class DrawerKeyForwarder : public QObject {
  public:
    DrawerKeyForwarder(QWidget* drawer, QWidget* parent) : drawer_(drawer), parent_(parent) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !drawer_ || !parent_ || !watched->isWidgetType() ||
            static_cast<QWidget*>(watched)->window() != drawer_ ||
            !IsTypingKey(*static_cast<QKeyEvent*>(event))) {
            return QObject::eventFilter(watched, event);
        }
        QWidget* const target = parent_->focusWidget();
        if (target == nullptr) {
            return QObject::eventFilter(watched, event);
        }
        parent_->activateWindow();
        target->setFocus(Qt::OtherFocusReason);
        QCoreApplication::sendEvent(target, event);
        return true;
    }

  private:
    QPointer<QWidget> drawer_;
    QPointer<QWidget> parent_;
};

// The user's and the window manager's closes of the widget. A dialog closes on Escape too, as the
// platform's dialogs do. `close` handles the request; true keeps the widget open.
class CloseRequests : public QObject {
  public:
    CloseRequests(bool escapeCloses, std::function<bool()> close)
        : escapeCloses_(escapeCloses), close_(std::move(close)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            if (close_()) {
                event->ignore();
                return true;
            }
        } else if (escapeCloses_ && event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
                   static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
            static_cast<QWidget*>(watched)->close();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    const bool escapeCloses_;
    std::function<bool()> close_;
};

void ReportHeightChange(const std::function<void(int)>& resized, int before, int after) {
    if (after != before && resized) {
        resized(after - before);
    }
}

// "[*]" is Qt's place for the modified mark; a title's own "[*]" is written twice.
QString TitleWithMark(const std::string& title) {
    return QString::fromStdString(ReplaceAllB(title, "[*]", "[*][*]")) + QStringLiteral("[*]");
}

}  // namespace

struct Window::Impl {
    Impl(Window& owner, Frame kind, int width, int height)
        : frame(kind), widget(std::make_unique<QWidget>(nullptr, FlagsFor(kind))) {
        widget->setAttribute(Qt::WA_ShowWithoutActivating, kind == Frame::Drawer);
        content = widget.get();
        if (kind == Frame::Document) {
            auto* const layout = new QVBoxLayout(widget.get());
            layout->setContentsMargins(0, 0, 0, 0);
            layout->setSpacing(0);
            content = new QWidget(widget.get());
            layout->addWidget(content);
            content->resize(width, height);
        } else {
            widget->setFixedWidth(width);
            ApplyLimits(height, height);
        }
        widget->resize(width, height);
        watcher = std::make_unique<Watcher>(std::vector<QEvent::Type>{QEvent::WindowActivate},
                                            [&owner](QEvent::Type) { MoveToFront(&owner); });
        widget->installEventFilter(watcher.get());
        closeRequests = std::make_unique<CloseRequests>(
            kind == Frame::Dialog, [this, &owner] { return CloseFromOutside(owner); });
        widget->installEventFilter(closeRequests.get());
        // A window that another program destroyed is gone as if the window manager closed it.
        nativeDestroy = std::make_unique<detail::NativeDestroyWatch>(
            *widget, [this, &owner] { CloseFromOutside(owner); });
        sizeWatcher = std::make_unique<Watcher>(std::vector<QEvent::Type>{QEvent::Resize},
                                                [&owner](QEvent::Type) {
                                                    if (owner.SizeChanged) {
                                                        owner.SizeChanged();
                                                    }
                                                });
        content->installEventFilter(sizeWatcher.get());
    }

    // A close the program did not ask for; true when CancelClose keeps the window.
    bool CloseFromOutside(Window& owner) {
        if (owner.CancelClose && owner.CancelClose()) {
            return true;
        }
        Closing(owner);
        return false;
    }

    void Closing(Window& owner) {
        if (closed) {
            return;
        }
        closed = true;
        Remove(&owner);
        if (owner.Closed) {
            owner.Closed();
        }
    }

    void ApplyLimits(int minimum, int maximum) {
        minimumHeight = std::max(minimum, 0);
        maximumHeight = std::clamp(maximum, minimumHeight, QWIDGETSIZE_MAX);
        widget->setMinimumHeight(minimumHeight);
        widget->setMaximumHeight(maximumHeight);
    }

    // The height the top-level widget needs around a content of `height`.
    int OuterHeight(int height) const { return height + widget->height() - content->height(); }

    // Qt sends the native window's record of its place with every size change, and a reparenting
    // window manager can leave that record stale (the place of the frame it is still building, the
    // screen's corner) while the widget knows the right place: the record is put right first.
    void PlaceBelowParent() {
        if (!parent) {
            return;
        }
        const QRect frame = parent->frameGeometry();
        widget->move(frame.left() + (frame.width() - widget->width()) / 2, frame.bottom() + 1);
        QWindow* const native = widget->windowHandle();
        const QPoint content = widget->geometry().topLeft();
        if (widget->isVisible() && native != nullptr && native->position() != content) {
            native->setPosition(content);
        }
    }

    // Every size change of a drawer also puts it back below its parent.
    void ResizeTo(int outerHeight) {
        PlaceBelowParent();
        widget->resize(widget->width(), outerHeight);
    }

    void AttachTo(QWidget* newParent) {
        if (parent != newParent) {
            parentWatcher = std::make_unique<Watcher>(
                std::vector<QEvent::Type>{QEvent::Move, QEvent::Resize, QEvent::Show},
                [this](QEvent::Type) { PlaceBelowParent(); });
            parent = newParent;
            parent->installEventFilter(parentWatcher.get());
            keys = std::make_unique<DrawerKeyForwarder>(widget.get(), parent);
            QCoreApplication::instance()->installEventFilter(keys.get());
        }
        // Keeps the drawer stacked above its parent; no Qt ownership, so either may die first.
        widget->winId();
        parent->winId();
        widget->windowHandle()->setTransientParent(parent->windowHandle());
    }

    const Frame frame;
    std::unique_ptr<QWidget> widget;
    QWidget* content = nullptr;  // the widget itself, or its child below the menu bar
    int minimumHeight = 0;
    int maximumHeight = 0;
    std::string title;
    bool closed = false;
    QPointer<QWidget> parent;
    std::map<std::string, std::function<bool()>> menuHandlers;
    // Deleted filter objects drop out of their widgets' filters by themselves (Qt guards them);
    // the menu view goes before the widget that owns its menus.
    std::unique_ptr<Watcher> watcher;
    std::unique_ptr<CloseRequests> closeRequests;
    std::unique_ptr<detail::NativeDestroyWatch> nativeDestroy;
    std::unique_ptr<Watcher> sizeWatcher;
    std::unique_ptr<Watcher> parentWatcher;
    std::unique_ptr<detail::MenuBarView> menuView;
    std::unique_ptr<DrawerKeyForwarder> keys;  // on the application: keys go to focus widgets
};

Window::Window(Frame frame, int width, int height)
    : impl_(std::make_unique<Impl>(*this, frame, width, height)) {
    Stack().push_back(this);
}

Window::~Window() {
    Remove(this);
    impl_->menuView.reset();
}

int Window::Left() const {
    return impl_->widget->x();
}

void Window::SetLeft(int left) {
    impl_->widget->move(left, impl_->widget->y());
}

int Window::Top() const {
    return impl_->widget->y();
}

void Window::SetTop(int top) {
    impl_->widget->move(impl_->widget->x(), top);
}

int Window::Width() const {
    return impl_->content->width();
}

int Window::Height() const {
    return impl_->content->height();
}

void Window::SetHeight(int height) {
    const int before = Height();
    const int clamped = std::clamp(height, impl_->minimumHeight, impl_->maximumHeight);
    impl_->ResizeTo(impl_->OuterHeight(clamped));
    impl_->content->resize(impl_->content->width(), clamped);
    ReportHeightChange(Resized, before, Height());
}

void Window::SetHeightLimits(int minimum, int maximum) {
    const int before = Height();
    impl_->ApplyLimits(minimum, maximum);
    impl_->ResizeTo(std::clamp(before, impl_->minimumHeight, impl_->maximumHeight));
    ReportHeightChange(Resized, before, Height());
}

void Window::SetSizeLimits(int minimumWidth, int minimumHeight, int maximumWidth,
                           int maximumHeight) {
    impl_->content->setMinimumSize(minimumWidth, minimumHeight);
    impl_->content->setMaximumSize(std::min(maximumWidth, QWIDGETSIZE_MAX),
                                   std::min(maximumHeight, QWIDGETSIZE_MAX));
}

const std::string& Window::Title() const {
    return impl_->title;
}

void Window::SetTitle(const std::string& title) {
    impl_->title = title;
    impl_->widget->setWindowTitle(TitleWithMark(title));
}

bool Window::Modified() const {
    return impl_->widget->isWindowModified();
}

void Window::SetModified(bool modified) {
    impl_->widget->setWindowModified(modified);
}

bool Window::Visible() const {
    return impl_->widget->isVisible();
}

void Window::UseApplicationMenuBar() {
    const Application* const application = Application::Current();
    if (!impl_->menuView && application != nullptr && application->GetMenuBar() != nullptr) {
        SetMenuBar(*application->GetMenuBar());
    }
}

void Window::Show() {
    UseApplicationMenuBar();
    if (impl_->widget->isVisible()) {
        BringToFront();
        return;
    }
    impl_->widget->show();
    MoveToFront(this);
}

void Window::Hide() {
    impl_->widget->hide();
}

void Window::Close() {
    impl_->widget->hide();
    impl_->Closing(*this);
}

bool Window::IsClosed() const {
    return impl_->closed;
}

void Window::ShowWithin(Window& parent, int /*facing*/) {
    UseApplicationMenuBar();
    QWidget* const parentWidget = parent.Widget();
    impl_->AttachTo(parentWidget);
    impl_->PlaceBelowParent();
    const bool parentActive = parentWidget->isActiveWindow();
    impl_->widget->show();
    // Window systems that ignore "show without activating" get the activation handed back.
    if (parentActive) {
        parentWidget->activateWindow();
    }
}

void Window::BringToFront() {
    QWidget& widget = *impl_->widget;
    widget.setWindowState(widget.windowState() & ~Qt::WindowMinimized);
    widget.raise();
    widget.activateWindow();
    MoveToFront(this);
}

void Window::SetMenuBar(MenuBar& bar) {
    if (impl_->frame != Frame::Document) {
        impl_->menuView = std::make_unique<detail::MenuBarView>(*this, bar, nullptr);
        return;
    }
    const int height = Height();
    auto* const drawn = new QMenuBar(impl_->widget.get());
    impl_->widget->layout()->setMenuBar(drawn);
    impl_->menuView = std::make_unique<detail::MenuBarView>(*this, bar, drawn);
    // Measured with its menus in it: an empty bar is lower, and once the window is shown the
    // content would lose the difference.
    impl_->widget->resize(impl_->widget->width(), height + drawn->sizeHint().height());
    impl_->widget->layout()->activate();
}

void Window::PopUpMenuBar(int x, int y) {
    if (impl_->menuView) {
        impl_->menuView->PopUp(impl_->content->mapToGlobal(QPoint(x, y)));
    }
}

void Window::AddMenuHandler(const std::string& name, std::function<bool()> handler) {
    impl_->menuHandlers[name] = std::move(handler);
}

bool Window::RunMenuHandler(const std::string& name) {
    if (const auto own = impl_->menuHandlers.find(name); own != impl_->menuHandlers.end()) {
        own->second();
        return true;
    }
    Application* const application = Application::Current();
    return application != nullptr && application->RunMenuHandler(name);
}

bool Window::HasMenuHandler(const std::string& name) const {
    const Application* const application = Application::Current();
    return impl_->menuHandlers.count(name) > 0 ||
           (application != nullptr && application->HasMenuHandler(name));
}

QWidget* Window::Widget() const {
    return impl_->widget.get();
}

QWidget* Window::ContentWidget() const {
    return impl_->content;
}

int WindowCount() {
    return static_cast<int>(Stack().size());
}

Window* WindowAt(int index) {
    if (index < 0 || index >= WindowCount()) {
        return nullptr;
    }
    return Stack()[static_cast<size_t>(index)];
}

}  // namespace fw
