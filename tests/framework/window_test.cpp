// Top-level windows offscreen: the drawer's place below its parent, and the canvas pictures. The
// drawer's focus and height limits are proven with the result window's sizing and word picking.
#include <sys/stat.h>
#include <QImage>
#include <QLabel>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

#include "fiber_helpers.h"
#include "framework/controls.h"
#include "framework/picture.h"
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

}  // namespace
