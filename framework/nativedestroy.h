// Another X client may destroy a window of ours (XDestroyWindow, as `xdotool windowclose` does).
// Qt takes no notice: the widget stays "shown" on a window that is gone. This watch hears of it
// from the DestroyNotify event that the X server sends on the connection, drops Qt's record of the
// dead native window (the next show makes a new one) and tells its owner. Internal to the
// framework; main OS thread only, made after the QApplication. It never fires on another window
// system, nor for a destroy that Qt asked for itself (its record is gone by then).
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace fw::detail {

class NativeDestroyWatch : public QObject, public QAbstractNativeEventFilter {
  public:
    // Watches the top-level `widget`, which may die first. `destroyed` runs from the event loop,
    // after the widget has been hidden and has lost its native window.
    NativeDestroyWatch(QWidget& widget, std::function<void()> destroyed);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    void Forget();

    QPointer<QWidget> widget_;
    std::function<void()> destroyed_;
};

}  // namespace fw::detail
