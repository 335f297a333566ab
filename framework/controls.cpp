// The busy wheel turns on a QTimer that runs only while the wheel is on screen; the canvas is a
// QLabel that ignores the keyboard.
#include "framework/controls.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <utility>

#include "framework/picture.h"
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

// Each control deletes its widget: deleting a child first detaches it from its window, and a
// window that died first has deleted it already (the guard is then null).
template <class W>
struct OwnedWidget {
    QPointer<W> widget;
    ~OwnedWidget() { delete widget.data(); }
};

template <class W, class... Args>
W* MakeChild(Window& window, int left, int top, int width, int height, Args&&... args) {
    auto* const widget = new W(std::forward<Args>(args)..., window.ContentWidget());
    widget->setGeometry(left, top, width, height);
    return widget;
}

// A label that reports left-button presses when a handler is set.
class CanvasLabel : public QLabel {
  public:
    explicit CanvasLabel(QWidget* parent) : QLabel(parent) {}
    std::function<void(int, int)>* pressed = nullptr;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (pressed == nullptr || !*pressed || event->button() != Qt::LeftButton) {
            QLabel::mousePressEvent(event);
            return;
        }
        const QPoint at = event->position().toPoint();
        (*pressed)(at.x(), at.y());
    }
};

}  // namespace

struct ProgressWheel::Impl : OwnedWidget<QWidget> {};

ProgressWheel::ProgressWheel(Window& window, int left, int top, int width, int height)
    : impl_(std::make_unique<Impl>()) {
    impl_->widget = MakeChild<Wheel>(window, left, top, width, height);
    impl_->widget->hide();
}

ProgressWheel::~ProgressWheel() = default;

bool ProgressWheel::Visible() const {
    return !impl_->widget->isHidden();
}

void ProgressWheel::SetVisible(bool visible) {
    impl_->widget->setVisible(visible);
}

struct Canvas::Impl : OwnedWidget<CanvasLabel> {
    std::shared_ptr<Picture> backdrop;
};

Canvas::Canvas(Window& window, int left, int top, int width, int height)
    : impl_(std::make_unique<Impl>()) {
    CanvasLabel* const label = MakeChild<CanvasLabel>(window, left, top, width, height);
    impl_->widget = label;
    label->pressed = &MouseDown;
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    label->setAutoFillBackground(true);
    label->show();
}

Canvas::~Canvas() = default;

void Canvas::SetBackdrop(std::shared_ptr<Picture> picture) {
    impl_->backdrop = std::move(picture);
    if (!impl_->backdrop) {
        impl_->widget->clear();
        return;
    }
    impl_->widget->setPixmap(impl_->backdrop->Pixmap());
}

const std::shared_ptr<Picture>& Canvas::Backdrop() const {
    return impl_->backdrop;
}

QWidget* Canvas::Widget() const {
    return impl_->widget;
}

struct ScrollBar::Impl : OwnedWidget<QScrollBar> {};

ScrollBar::ScrollBar(Window& window, int left, int top, int width, int height)
    : impl_(std::make_unique<Impl>()) {
    QScrollBar* const bar = MakeChild<QScrollBar>(window, left, top, width, height, Qt::Vertical);
    impl_->widget = bar;
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setTracking(true);
    QObject::connect(bar, &QScrollBar::valueChanged, bar, [this] {
        if (ValueChanged) {
            ValueChanged();
        }
    });
    bar->show();
}

ScrollBar::~ScrollBar() = default;

int ScrollBar::Minimum() const {
    return impl_->widget->minimum();
}
void ScrollBar::SetMinimum(int minimum) {
    impl_->widget->setMinimum(minimum);
}
int ScrollBar::Maximum() const {
    return impl_->widget->maximum();
}
void ScrollBar::SetMaximum(int maximum) {
    impl_->widget->setMaximum(maximum);
}
int ScrollBar::Value() const {
    return impl_->widget->value();
}
void ScrollBar::SetValue(int value) {
    impl_->widget->setValue(value);
}
int ScrollBar::LineStep() const {
    return impl_->widget->singleStep();
}
void ScrollBar::SetLineStep(int step) {
    impl_->widget->setSingleStep(step);
}
int ScrollBar::PageStep() const {
    return impl_->widget->pageStep();
}
void ScrollBar::SetPageStep(int step) {
    impl_->widget->setPageStep(step);
}

void ScrollBar::SetGeometry(int left, int top, int width, int height) {
    impl_->widget->setGeometry(left, top, width, height);
}

QWidget* ScrollBar::Widget() const {
    return impl_->widget;
}

struct StaticText::Impl : OwnedWidget<QLabel> {};

StaticText::StaticText(Window& window, int left, int top, int width, int height, bool multiline,
                       Alignment alignment, int textSize)
    : impl_(std::make_unique<Impl>()) {
    QLabel* const label = MakeChild<QLabel>(window, left, top, width, height);
    impl_->widget = label;
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(multiline);
    label->setAlignment((alignment == Alignment::Center ? Qt::AlignHCenter : Qt::AlignLeft) |
                        Qt::AlignTop);
    QFont font = label->font();
    font.setPixelSize(std::max(textSize, 1));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->show();
}

StaticText::~StaticText() = default;

std::string StaticText::Text() const {
    return impl_->widget->text().toStdString();
}

void StaticText::SetText(const std::string& text) {
    impl_->widget->setText(QString::fromStdString(text));
}

QWidget* StaticText::Widget() const {
    return impl_->widget;
}

struct Separator::Impl : OwnedWidget<QFrame> {};

Separator::Separator(Window& window, int left, int top, int width, int height)
    : impl_(std::make_unique<Impl>()) {
    QFrame* const line = MakeChild<QFrame>(window, left, top, width, height);
    impl_->widget = line;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->show();
}

Separator::~Separator() = default;

}  // namespace fw
