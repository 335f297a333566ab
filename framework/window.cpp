// A top-level QWidget owned by the window object. A drawer is a separate frameless tool window
// that an event filter on its parent keeps below the parent's lower edge; it is shown without
// activation, so the parent's field keeps the keyboard, and what is typed while the drawer has
// the keyboard goes to that field all the same.
#include "framework/window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace fw {

namespace {

Qt::WindowFlags FlagsFor(Window::Frame frame) {
    if (frame == Window::Frame::Drawer) {
        return Qt::Tool | Qt::FramelessWindowHint;
    }
    return Qt::Window | Qt::FramelessWindowHint;
}

// Calls `follow` whenever the watched parent window moves, changes its size or is shown.
class ParentWatcher : public QObject {
  public:
    explicit ParentWatcher(std::function<void()> follow) : follow_(std::move(follow)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show) {
            follow_();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> follow_;
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

void ReportHeightChange(const std::function<void(int)>& resized, int before, int after) {
    if (after != before && resized) {
        resized(after - before);
    }
}

}  // namespace

struct Window::Impl {
    Impl(Frame kind, int width, int height)
        : widget(std::make_unique<QWidget>(nullptr, FlagsFor(kind))) {
        widget->setAttribute(Qt::WA_ShowWithoutActivating, kind == Frame::Drawer);
        widget->setFixedWidth(width);
        ApplyLimits(height, height);
        widget->resize(width, height);
    }

    void ApplyLimits(int minimum, int maximum) {
        minimumHeight = std::max(minimum, 0);
        maximumHeight = std::clamp(maximum, minimumHeight, QWIDGETSIZE_MAX);
        widget->setMinimumHeight(minimumHeight);
        widget->setMaximumHeight(maximumHeight);
    }

    void PlaceBelowParent() {
        if (!parent) {
            return;
        }
        const QRect frame = parent->frameGeometry();
        widget->move(frame.left() + (frame.width() - widget->width()) / 2, frame.bottom() + 1);
    }

    void AttachTo(QWidget* newParent) {
        if (parent != newParent) {
            watcher = std::make_unique<ParentWatcher>([this] { PlaceBelowParent(); });
            parent = newParent;
            parent->installEventFilter(watcher.get());
            keys = std::make_unique<DrawerKeyForwarder>(widget.get(), parent);
            QCoreApplication::instance()->installEventFilter(keys.get());
        }
        // Keeps the drawer stacked above its parent; no Qt ownership, so either may die first.
        widget->winId();
        parent->winId();
        widget->windowHandle()->setTransientParent(parent->windowHandle());
    }

    std::unique_ptr<QWidget> widget;
    int minimumHeight = 0;
    int maximumHeight = 0;
    QPointer<QWidget> parent;
    // A deleted filter object drops out of the parent's filters by itself (Qt guards them).
    std::unique_ptr<ParentWatcher> watcher;
    std::unique_ptr<DrawerKeyForwarder> keys;  // on the application: keys go to focus widgets
};

Window::Window(Frame frame, int width, int height)
    : impl_(std::make_unique<Impl>(frame, width, height)) {}

Window::~Window() = default;

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
    return impl_->widget->width();
}

int Window::Height() const {
    return impl_->widget->height();
}

void Window::SetHeight(int height) {
    const int before = Height();
    impl_->widget->resize(Width(), std::clamp(height, impl_->minimumHeight, impl_->maximumHeight));
    ReportHeightChange(Resized, before, Height());
}

void Window::SetHeightLimits(int minimum, int maximum) {
    const int before = Height();
    impl_->ApplyLimits(minimum, maximum);
    impl_->widget->resize(Width(), std::clamp(before, impl_->minimumHeight, impl_->maximumHeight));
    ReportHeightChange(Resized, before, Height());
}

void Window::SetTitle(const std::string& title) {
    impl_->widget->setWindowTitle(QString::fromStdString(title));
}

bool Window::Visible() const {
    return impl_->widget->isVisible();
}

void Window::Show() {
    impl_->widget->show();
}

void Window::Hide() {
    impl_->widget->hide();
}

void Window::ShowWithin(Window& parent, int /*facing*/) {
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
    impl_->widget->raise();
    impl_->widget->activateWindow();
}

QWidget* Window::Widget() const {
    return impl_->widget.get();
}

}  // namespace fw
