// Top-level windows offscreen: the drawer's place below its parent, the canvas pictures, and a
// window or message box destroyed by another program. The drawer's focus and height limits are
// proven with the result window's sizing and word picking.
#include <sys/stat.h>
#include <xcb/xcb.h>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "fiber_helpers.h"
#include "framework/controls.h"
#include "framework/picture.h"
#include "framework/ui.h"
#include "framework/window.h"
#include "scoped_environment.h"

namespace {

using Frame = fw::Window::Frame;

TEST(WindowTest, DrawerOpensCentredBelowItsParentAndStaysThere) {
    fw::Window parent(Frame::Plain, 300, 46);
    parent.SetLeft(722);
    parent.SetTop(24);
    parent.Show();
    fw::Window drawer(Frame::Drawer, 270, 100);
    drawer.ShowWithin(parent, 1);
    EXPECT_EQ(drawer.Left(), 737);
    EXPECT_EQ(drawer.Top(), 70);

    parent.SetLeft(500);
    parent.SetTop(100);
    ASSERT_TRUE(PumpUntil([&] { return drawer.Top() == 146; }));
    EXPECT_EQ(drawer.Left(), 515);

    // A reparenting window manager can leave the native window's record of its place stale.
    drawer.SetHeightLimits(100, 500);
    drawer.Widget()->windowHandle()->setPosition(0, 0);
    drawer.SetHeight(120);
    EXPECT_EQ(drawer.Widget()->windowHandle()->geometry(), QRect(515, 146, 270, 120));
}

// Pictures lie in the resource folder beside the executable's folder: a missing one is nothing
// (so is a FIFO in its place) and leaves the canvas empty; a transparent one does not draw its
// white.
TEST(WindowTest, CanvasDrawsPicturesOfTheResourceFolder) {
    const ScopedAppLayout layout;
    EXPECT_EQ(fw::Picture::Load("Strip"), nullptr);
    ASSERT_EQ(::mkfifo(layout.InResources("Fifo.png").c_str(), 0600), 0);
    EXPECT_EQ(fw::Picture::Load("Fifo"), nullptr) << "a FIFO is not read: it would block";
    QImage drawn(300, 16, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    drawn.setPixel(0, 0, qRgb(0, 0, 128));
    ASSERT_TRUE(drawn.save(QString::fromStdString(layout.InResources("Strip.png").string())));

    const std::shared_ptr<fw::Picture> picture = fw::Picture::Load("Strip");
    ASSERT_NE(picture, nullptr);
    fw::Window window(Frame::Plain, 300, 46);
    fw::Canvas canvas(window, 0, 1, 300, 16);
    const auto* label = static_cast<const QLabel*>(canvas.Widget());
    canvas.SetBackdrop(picture);
    EXPECT_EQ(label->pixmap().size(), QSize(300, 16));
    picture->SetTransparent(1);
    const QImage shown = picture->Pixmap().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0).alpha(), 255);
    EXPECT_EQ(shown.pixelColor(5, 5).alpha(), 0);
    canvas.SetBackdrop(nullptr);
    EXPECT_TRUE(label->pixmap().isNull());
    EXPECT_EQ(canvas.Widget()->focusPolicy(), Qt::NoFocus);
}

// What the X connection hands Qt's native event filters when the window `id` is destroyed.
bool DeliverDestroyNotify(WId id, uint8_t responseType = XCB_DESTROY_NOTIFY,
                          const QByteArray& eventType = "xcb_generic_event_t") {
    xcb_destroy_notify_event_t event{};
    event.response_type = responseType;
    event.event = static_cast<xcb_window_t>(id);
    event.window = static_cast<xcb_window_t>(id);
    qintptr result = 0;
    return QAbstractEventDispatcher::instance()->filterNativeEvent(eventType, &event, &result);
}

// A window that another program destroyed is closed as by the window manager (the strip quits
// there, the result window hides); it is hidden and its next Show makes it anew. Events that only
// look alike change nothing.
TEST(WindowTest, WindowDestroyedByAnotherProgramIsClosedAsByTheWindowManager) {
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep);
        fw::Window window(Frame::Plain, 300, 46);
        int asked = 0;
        int closed = 0;
        if (keep) {
            window.CancelClose = [&asked] { return ++asked > 0; };
        }
        window.Closed = [&closed] { ++closed; };
        window.Show();
        const WId id = window.Widget()->winId();
        ASSERT_NE(id, 0u);
        EXPECT_FALSE(DeliverDestroyNotify(id + 1));
        EXPECT_FALSE(DeliverDestroyNotify(id, XCB_DESTROY_NOTIFY | 0x80)) << "sent by a client";
        EXPECT_FALSE(DeliverDestroyNotify(id, XCB_UNMAP_NOTIFY));
        EXPECT_FALSE(DeliverDestroyNotify(id, XCB_DESTROY_NOTIFY, "windows_generic_MSG"));
        fw::DoEvents(20);
        EXPECT_TRUE(window.Visible());
        EXPECT_EQ(asked + closed, 0);

        EXPECT_FALSE(DeliverDestroyNotify(id)) << "Qt sees the event as well";
        ASSERT_TRUE(PumpUntil([&] { return !window.Visible(); }));
        EXPECT_EQ(asked, keep ? 1 : 0);
        EXPECT_EQ(closed, keep ? 0 : 1);
        EXPECT_EQ(window.IsClosed(), !keep);
        EXPECT_EQ(fw::WindowCount(), keep ? 1 : 0);
        EXPECT_FALSE(DeliverDestroyNotify(id));
        fw::DoEvents(20);
        EXPECT_EQ(asked + closed, 1) << "once per destroy";

        window.Show();
        EXPECT_TRUE(window.Visible());
        EXPECT_NE(window.Widget()->winId(), id);
    }
}

// Another program destroying the message box dismisses it: an unseen modal box would hold the
// program for good.
TEST(WindowTest, MessageBoxDestroyedByAnotherProgramIsDismissed) {
    std::unique_ptr<fw::UIServices> recording = fw::SetUI(nullptr);
    bool destroyed = false;
    bool leftOpen = false;
    QElapsedTimer since;
    since.start();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* const box = QApplication::activeModalWidget();
        if (box != nullptr && !destroyed) {
            destroyed = true;
            DeliverDestroyNotify(box->winId());
        } else if (box != nullptr && since.elapsed() > 2000) {
            leftOpen = true;
            box->close();
        }
    });
    watch.start(10);
    fw::MsgBox("Destroyed");
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(leftOpen);
    fw::SetUI(std::move(recording));
}

}  // namespace
