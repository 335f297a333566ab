// The hooks are one mixin over QLineEdit and QTextEdit. A key passes the handler before Qt's own
// handling, which would otherwise take Tab for a focus change.
#include "framework/editfield_widgets.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QRegion>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextEdit>
#include <QWheelEvent>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "framework/editfield.h"
#include "framework/menu.h"
#include "framework/ui.h"

namespace fw {

namespace {

bool gContextualClick = false;

// --- Keys.

// Keys without text get the character codes that the program's key handlers test.
struct KeyCode {
    int key;
    char code;
};
constexpr KeyCode kControlKeys[] = {
    {Qt::Key_Home, 1},    {Qt::Key_End, 4},     {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9}, {Qt::Key_PageUp, 11}, {Qt::Key_PageDown, 12}, {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},  {Qt::Key_Escape, 27}, {Qt::Key_Left, 28},     {Qt::Key_Right, 29},
    {Qt::Key_Up, 30},     {Qt::Key_Down, 31},   {Qt::Key_Delete, 127},
};

std::optional<char> ControlKeyCode(int key) {
    for (const KeyCode& entry : kControlKeys) {
        if (entry.key == key) {
            return entry.code;
        }
    }
    return std::nullopt;
}

// Keys that type nothing by themselves: modifiers, locks, and the dead keys that an input
// method composes into a character (which then arrives as an input-method commit).
constexpr int kSilentKeys[] = {
    Qt::Key_Shift,    Qt::Key_Control, Qt::Key_Meta,        Qt::Key_Alt,     Qt::Key_AltGr,
    Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock,  Qt::Key_Super_L, Qt::Key_Super_R,
    Qt::Key_Hyper_L,  Qt::Key_Hyper_R, Qt::Key_Mode_switch, Qt::Key_unknown,
};

bool IsSilentKey(int key) {
    for (const int silent : kSilentKeys) {
        if (silent == key) {
            return true;
        }
    }
    return key >= Qt::Key_Dead_Grave && key <= Qt::Key_Dead_Longsolidusoverlay;
}

// The code of a key that has neither text nor a code of its own (function keys).
constexpr char kFunctionKeyCode = 16;

// --- The widgets.

class ContextualScope {
  public:
    explicit ContextualScope(bool contextual)
        : saved_(std::exchange(gContextualClick, contextual)) {}
    ~ContextualScope() { gContextualClick = saved_; }
    ContextualScope(const ContextualScope&) = delete;
    ContextualScope& operator=(const ContextualScope&) = delete;

  private:
    const bool saved_;
};

// The program's hooks on a Qt text widget: typed keys and input-method commits pass KeyDown,
// presses and double-click presses go to MouseDown, and the context menu is the program's.
template <class Base>
class Hooked : public Base {
  public:
    Hooked(EditField& owner, QWidget* parent) : Base(parent), owner_(owner) {}

  protected:
    EditField& owner_;

    bool event(QEvent* event) override {
        // Before Qt's own handling, which would take Tab for a focus change.
        if (event->type() == QEvent::KeyPress && FilterKey(static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        return Base::event(event);
    }

    void inputMethodEvent(QInputMethodEvent* event) override {
        const QString commit = event->commitString();
        if (!owner_.KeyDown || commit.isEmpty()) {
            Base::inputMethodEvent(event);
            return;
        }
        const QString kept = Filtered(commit);
        if (kept == commit) {
            Base::inputMethodEvent(event);
            return;
        }
        QInputMethodEvent filtered(event->preeditString(), event->attributes());
        filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
        Base::inputMethodEvent(&filtered);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (!Press(event)) {
            Base::mousePressEvent(event);
        }
    }
    // Qt sends the second press of a double-click as this event.
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (!Press(event)) {
            Base::mouseDoubleClickEvent(event);
        }
    }
    // A handled press owns the drag that follows it: no selection, no caret move.
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!swallowing_) {
            Base::mouseMoveEvent(event);
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!std::exchange(swallowing_, false)) {
            Base::mouseReleaseEvent(event);
        }
    }
    // Qt's own menu never shows; the field's handlers build and answer the program's.
    void contextMenuEvent(QContextMenuEvent* event) override {
        event->accept();
        OpenContextMenu(event->pos(), event->globalPos());
    }

    void wheelEvent(QWheelEvent* event) override {
        if (!owner_.MouseWheel) {
            Base::wheelEvent(event);
            return;
        }
        const QPoint turned = (event->angleDelta() + wheelRest_);
        wheelRest_ = QPoint(turned.x() % kWheelNotch, turned.y() % kWheelNotch);
        const int lines = QApplication::wheelScrollLines();
        const QPoint at = event->position().toPoint();
        const bool handled = owner_.MouseWheel(at.x(), at.y(), -turned.x() / kWheelNotch * lines,
                                               -turned.y() / kWheelNotch * lines);
        event->accept();
        if (!handled && OwnScrollBar()) {
            Base::wheelEvent(event);
        }
    }

  private:
    // True when the key was consumed here: dropped by KeyDown, or typed after a partial filter.
    bool FilterKey(QKeyEvent* event) {
        if (!owner_.KeyDown || (event->modifiers() & Qt::ControlModifier) ||
            IsSilentKey(event->key())) {
            return false;
        }
        if (const std::optional<char> code = ControlKeyCode(event->key())) {
            return owner_.KeyDown(std::string(1, *code));
        }
        const QString text = event->text();
        if (text.isEmpty()) {
            return owner_.KeyDown(std::string(1, kFunctionKeyCode));
        }
        const QString kept = Filtered(text);
        if (kept == text) {
            return false;
        }
        Insert(kept);
        return true;
    }

    // The characters of `text` that KeyDown lets through, each offered on its own.
    QString Filtered(const QString& text) {
        QString kept;
        for (qsizetype i = 0; i < text.size();) {
            const QString character = text.mid(i, detail::CharacterUnits(text, i));
            if (!owner_.KeyDown(character.toStdString())) {
                kept += character;
            }
            i += character.size();
        }
        return kept;
    }

    void Insert(const QString& text) {
        if (text.isEmpty()) {
            return;
        }
        if constexpr (std::is_base_of_v<QLineEdit, Base>) {
            this->insert(text);
        } else {
            this->insertPlainText(text);
        }
    }

    // True when the press is handled and Qt must not see it. Qt follows a right-button press
    // with a context-menu event; Ctrl with the left button, the Mac's contextual click, opens the
    // menu here.
    bool Press(QMouseEvent* event) {
        const Qt::MouseButton button = event->button();
        const bool controlClick =
            button == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier);
        const bool contextual = button == Qt::RightButton || controlClick;
        if ((!owner_.MouseDown && !controlClick) || (!contextual && button != Qt::LeftButton)) {
            return false;
        }
        const QPoint at = event->position().toPoint();
        const QPointer<QWidget> alive(this);
        bool handled = false;
        if (owner_.MouseDown) {
            const ContextualScope scope(contextual);
            handled = owner_.MouseDown(at.x(), at.y());
        }
        if (!alive) {
            return true;
        }
        if (controlClick && !handled && owner_.ConstructContextualMenu) {
            OpenContextMenu(at, event->globalPosition().toPoint());
            handled = true;
        }
        if (alive) {  // the menu's handlers may have closed the field's window
            swallowing_ = handled;
        }
        return handled;
    }

    void OpenContextMenu(QPoint at, QPoint global) {
        if (!owner_.ConstructContextualMenu) {
            return;
        }
        const QPointer<QWidget> alive(this);
        MenuItem base;
        if (!owner_.ConstructContextualMenu(base, at.x(), at.y()) || !alive || base.Count() == 0) {
            return;
        }
        const MenuItem* const hit = UI().PopUpContextualMenu(base, global.x(), global.y());
        if (hit != nullptr && alive && owner_.ContextualMenuAction) {
            owner_.ContextualMenuAction(*hit);
        }
    }

    bool OwnScrollBar() const {
        if constexpr (std::is_base_of_v<QTextEdit, Base>) {
            return this->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
        }
        return true;
    }

    static constexpr int kWheelNotch = 120;  // Qt's angle delta of one notch
    bool swallowing_ = false;
    QPoint wheelRest_;  // the part of a turn below one notch, from high-resolution wheels
};

class LineEdit : public Hooked<QLineEdit> {
  public:
    using Hooked::Hooked;

  protected:
    void enterEvent(QEnterEvent* event) override {
        if (owner_.MouseEnter) {
            owner_.MouseEnter();
        }
        Hooked::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override {
        if (owner_.MouseExit) {
            owner_.MouseExit();
        }
        Hooked::leaveEvent(event);
    }
};

// A scroll bar that keeps a picture of itself and paints from it while nothing it shows has
// changed. Qt repaints a top-level window whole whenever its size changes, so the result window's
// animation repaints the bar at every step, and the style's gradients down the whole bar cost more
// than the rest of such a repaint. Parts never drawn are drawn into the picture in bands of rows:
// one drawing costs the style about as much for a band as for the whole bar, and a band of at most
// 64 rows stays below the height from which Qt's raster engine hands fills to its thread pool.
// While the pointer is over the bar or its slider is down, the style draws directly.
class PictureScrollBar : public QScrollBar {
  public:
    using QScrollBar::QScrollBar;

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (underMouse() || isSliderDown()) {
            QScrollBar::paintEvent(event);
            return;
        }
        // The option QScrollBar::paintEvent draws with when nothing is hovered or pressed.
        QStyleOptionSlider option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_All;
        option.activeSubControls = QStyle::SC_None;
        const Look look{option.rect.size(),
                        option.state,
                        option.minimum,
                        option.maximum,
                        option.sliderPosition,
                        option.pageStep,
                        option.palette.cacheKey(),
                        style(),
                        devicePixelRatio()};
        if (!(look == look_)) {
            look_ = look;
            picture_ = QPixmap(look.size * look.ratio);
            picture_.setDevicePixelRatio(look.ratio);
            picture_.fill(Qt::transparent);
            drawn_ = QRegion();
        }
        if (const QRegion missing = event->region() - drawn_; !missing.isEmpty()) {
            const QRect bounds = missing.boundingRect();
            const int top = bounds.top() / kBand * kBand;
            const int bottom = std::min((bounds.bottom() / kBand + 1) * kBand, height());
            const QRegion band = QRegion(0, top, width(), bottom - top) - drawn_;
            QPainter painter(&picture_);
            painter.setClipRegion(band);
            style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
            drawn_ += band;
        }
        QPainter painter(this);
        for (const QRect& part : event->region()) {
            painter.drawPixmap(
                part.topLeft(), picture_,
                QRectF(QPointF(part.topLeft()) * look.ratio, QSizeF(part.size()) * look.ratio));
        }
    }

  private:
    struct Look {
        QSize size;
        QStyle::State state;
        int minimum = 0;
        int maximum = 0;
        int position = 0;
        int pageStep = 0;
        qint64 palette = 0;
        const QStyle* style = nullptr;
        qreal ratio = 1;
        bool operator==(const Look&) const = default;
    };
    static constexpr int kBand = 64;
    QPixmap picture_;
    Look look_;
    QRegion drawn_;  // the parts of the picture drawn for look_
};

class TextEdit : public Hooked<QTextEdit> {
  public:
    TextEdit(EditField& owner, QWidget* parent) : Hooked(owner, parent) {
        setVerticalScrollBar(new PictureScrollBar(Qt::Vertical, this));
    }

  protected:
    // Entering and leaving the text area, not the scroll bar.
    bool viewportEvent(QEvent* event) override {
        if (event->type() == QEvent::Enter && owner_.MouseEnter) {
            owner_.MouseEnter();
        } else if (event->type() == QEvent::Leave && owner_.MouseExit) {
            owner_.MouseExit();
        }
        return Hooked::viewportEvent(event);
    }
};

}  // namespace

namespace detail {

QLineEdit* MakeLineEdit(EditField& owner, QWidget* parent) {
    return new LineEdit(owner, parent);
}

QTextEdit* MakeTextEdit(EditField& owner, QWidget* parent) {
    return new TextEdit(owner, parent);
}

}  // namespace detail

bool IsContextualClick() {
    return gContextualClick;
}

}  // namespace fw
