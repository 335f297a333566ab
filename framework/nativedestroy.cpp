#include "framework/nativedestroy.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

namespace fw::detail {

NativeDestroyWatch::NativeDestroyWatch(QWidget& widget, std::function<void()> destroyed)
    : widget_(&widget), destroyed_(std::move(destroyed)) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool NativeDestroyWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                           qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t" || !widget_) {
        return false;
    }
    const auto* const event = static_cast<const xcb_generic_event_t*>(message);
    // The top bit marks an event that a client sent (SendEvent): that destroyed nothing.
    if (event->response_type != XCB_DESTROY_NOTIFY) {
        return false;
    }
    const auto* const destroy = static_cast<const xcb_destroy_notify_event_t*>(message);
    const WId window = destroy->window;
    if (window == 0 || window != widget_->internalWinId()) {
        return false;
    }
    // Qt handles the event after this filter and may be in the middle of its own work on the
    // window: the owner hears of it once control is back in the event loop.
    QMetaObject::invokeMethod(
        this,
        [this, window] {
            if (widget_ && widget_->internalWinId() == window) {
                Forget();
            }
        },
        Qt::QueuedConnection);
    return false;
}

void NativeDestroyWatch::Forget() {
    // Destroying the platform window clears the widget's id (the X request for the dead window
    // only earns an error reply), but leaves the widget believing it is shown, so that a later
    // show would do nothing: it is hidden as well.
    widget_->windowHandle()->destroy();
    widget_->hide();
    destroyed_();
}

}  // namespace fw::detail
