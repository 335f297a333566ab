// The busy wheel turns on a QTimer that runs only while the wheel is on screen; the canvas is a
// QLabel that ignores the mouse and the keyboard.
#include "framework/controls.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "framework/folderitem.h"
#include "framework/window.h"

namespace fw {

namespace {

constexpr int kWheelStepMs = 80;
constexpr int kWheelStepDegrees = 30;

class Wheel : public QWidget {
  public:
    explicit Wheel(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
        timer_->setInterval(kWheelStepMs);
        QObject::connect(timer_, &QTimer::timeout, this, [this] {
            angle_ = (angle_ + kWheelStepDegrees) % 360;
            update();
        });
    }

  protected:
    void showEvent(QShowEvent* /*event*/) override { timer_->start(); }
    void hideEvent(QHideEvent* /*event*/) override { timer_->stop(); }

    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const int pen = std::max(2, width() / 8);
        painter.setPen(
            QPen(palette().color(QPalette::WindowText), pen, Qt::SolidLine, Qt::RoundCap));
        const QRectF bounds = QRectF(rect()).adjusted(pen, pen, -pen, -pen);
        // Qt counts angles in sixteenths of a degree, counter-clockwise: turn clockwise.
        painter.drawArc(bounds, -angle_ * 16, 270 * 16);
    }

  private:
    QTimer* const timer_;  // owned by the widget
    int angle_ = 0;
};

}  // namespace

// Each control deletes its widget: deleting a child first detaches it from its window, and a
// window that died first has deleted it already (the guard is then null).
struct ProgressWheel::Impl {
    QPointer<QWidget> widget;
    ~Impl() { delete widget.data(); }
};

ProgressWheel::ProgressWheel(Window& window, int left, int top, int width, int height)
    : impl_(std::make_unique<Impl>()) {
    impl_->widget = new Wheel(window.Widget());
    impl_->widget->setGeometry(left, top, width, height);
    impl_->widget->hide();
}

ProgressWheel::~ProgressWheel() = default;

bool ProgressWheel::Visible() const {
    return !impl_->widget->isHidden();
}

void ProgressWheel::SetVisible(bool visible) {
    impl_->widget->setVisible(visible);
}

struct Canvas::Impl {
    QPointer<QLabel> label;
    std::string backdrop;
    ~Impl() { delete label.data(); }
};

Canvas::Canvas(Window& window, int left, int top, int width, int height)
    : impl_(std::make_unique<Impl>()) {
    QLabel* const label = new QLabel(window.Widget());
    impl_->label = label;
    label->setGeometry(left, top, width, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAutoFillBackground(true);
    label->show();
}

Canvas::~Canvas() = default;

void Canvas::SetBackdrop(const std::string& name) {
    impl_->backdrop = name;
    const FolderItem file = ResourcesFolder().Child(name + ".png");
    QPixmap picture;
    // Only a regular file: opening a FIFO in its place would block the window's opening.
    if (!file.IsRegularFile() || !picture.load(QString::fromStdString(file.NativePath()))) {
        impl_->label->clear();
        return;
    }
    impl_->label->setPixmap(picture);
}

const std::string& Canvas::Backdrop() const {
    return impl_->backdrop;
}

QWidget* Canvas::Widget() const {
    return impl_->label;
}

}  // namespace fw
