#include "tools/pictures/Artwork.h"

#include <QFont>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

constexpr int kIconSize = 128;
constexpr int kStripWidth = 300;
constexpr int kStripHeight = 16;

// The program draws an icon's pure white transparent: every light colour here stays below it.
const QColor kPaper(250, 250, 247);
const QColor kPaperShade(226, 229, 236);

struct Palette {
    QColor top;
    QColor bottom;
    const char* badge;  // nullptr: no badge
    QColor badgeFill;
};

Palette PaletteOf(Edition edition) {
    switch (edition) {
        case Edition::Deutsch:
            return {QColor(63, 118, 196), QColor(30, 66, 130), "DE", QColor(200, 44, 40)};
        case Edition::English:
            return {QColor(63, 118, 196), QColor(30, 66, 130), "EN", QColor(22, 138, 110)};
        case Edition::None:
            break;
    }
    return {QColor(63, 118, 196), QColor(30, 66, 130), nullptr, QColor()};
}

QFont BoldFont(double pixelSize) {
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(
            QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QStringLiteral("Sans Serif") : families.front();
    }();
    QFont font(family);
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QImage Canvas(int width, int height, double scale, QColor background) {
    QImage image(static_cast<int>(width * scale), static_cast<int>(height * scale),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    return image;
}

// An open book seen from above, pages fanning out from the spine at x = 64.
void DrawBook(QPainter& painter) {
    for (const int side : {-1, 1}) {
        QPainterPath page;
        page.moveTo(64, 44);
        page.cubicTo(64 + side * 14, 36, 64 + side * 32, 36, 64 + side * 42, 40);
        page.lineTo(64 + side * 42, 92);
        page.cubicTo(64 + side * 32, 88, 64 + side * 14, 88, 64, 96);
        page.closeSubpath();
        QLinearGradient shade(64, 0, 64 + side * 42, 0);
        shade.setColorAt(0, kPaperShade);
        shade.setColorAt(0.25, kPaper);
        shade.setColorAt(1, kPaper);
        painter.setPen(Qt::NoPen);
        painter.setBrush(shade);
        painter.drawPath(page);
        // Lines of text.
        painter.setPen(QPen(QColor(150, 163, 190), 2.2, Qt::SolidLine, Qt::RoundCap));
        for (int line = 0; line < 5; ++line) {
            const double y = 50 + line * 8;
            painter.drawLine(QPointF(64 + side * 9, y + 1), QPointF(64 + side * 35, y - 1));
        }
    }
}

// A magnifying glass over the right page: the lens ring and its handle.
void DrawLens(QPainter& painter) {
    const QPointF centre(76, 62);
    const double radius = 19;
    painter.setPen(QPen(QColor(36, 44, 60), 9, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(13, 13), centre + QPointF(31, 31));
    QRadialGradient glass(centre - QPointF(6, 6), radius * 1.4);
    glass.setColorAt(0, QColor(255, 246, 214, 150));
    glass.setColorAt(1, QColor(255, 214, 120, 90));
    painter.setBrush(glass);
    painter.setPen(QPen(QColor(245, 176, 44), 6));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(252, 236, 200, 200), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(centre.x() - 12, centre.y() - 12, 24, 24), 100 * 16, 70 * 16);
}

void DrawBadge(QPainter& painter, const Palette& palette) {
    const QPointF centre(27, 101);
    painter.setPen(QPen(kPaper, 4));
    painter.setBrush(palette.badgeFill);
    painter.drawEllipse(centre, 21, 21);
    painter.setFont(BoldFont(17));
    painter.setPen(kPaper);
    painter.drawText(QRectF(centre.x() - 21, centre.y() - 21, 42, 42), Qt::AlignCenter,
                     QString::fromLatin1(palette.badge));
}

// A small lens mark for the title strip, 12 pixels high.
void DrawMark(QPainter& painter, QPointF at, QColor colour) {
    painter.setPen(QPen(colour, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at + QPointF(5, 5), 3.6, 3.6);
    painter.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(at + QPointF(7.8, 7.8), at + QPointF(10.5, 10.5));
}

}  // namespace

QImage DrawIcon(Edition edition, double scale, bool whiteBackground) {
    QImage image =
        Canvas(kIconSize, kIconSize, scale, whiteBackground ? Qt::white : Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    const Palette palette = PaletteOf(edition);
    // The tile with a soft shadow below it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawRoundedRect(QRectF(10, 12, 108, 110), 24, 24);
    QLinearGradient tile(0, 8, 0, 120);
    tile.setColorAt(0, palette.top);
    tile.setColorAt(1, palette.bottom);
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(8, 8, 112, 110), 24, 24);
    DrawBook(painter);
    DrawLens(painter);
    if (palette.badge != nullptr) {
        DrawBadge(painter, palette);
    }
    return image;
}

QImage DrawTitleStrip(Edition edition, double scale) {
    QImage image = Canvas(kStripWidth, kStripHeight, scale, Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    const Palette palette = PaletteOf(edition);
    QLinearGradient bar(0, 0, 0, kStripHeight);
    bar.setColorAt(0, QColor(246, 247, 250));
    bar.setColorAt(1, QColor(218, 222, 230));
    painter.fillRect(QRectF(0, 0, kStripWidth, kStripHeight), bar);
    painter.fillRect(QRectF(0, kStripHeight - 1, kStripWidth, 1), QColor(178, 184, 196));
    DrawMark(painter, QPointF(5, 2), palette.bottom);
    painter.setFont(BoldFont(11));
    painter.setPen(QColor(40, 46, 58));
    painter.drawText(QRectF(0, 0, kStripWidth, kStripHeight - 1), Qt::AlignCenter,
                     QStringLiteral("Quorvane"));
    if (palette.badge != nullptr) {
        const QRectF pill(252, 2.5, 24, 10);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette.badgeFill);
        painter.drawRoundedRect(pill, 5, 5);
        painter.setFont(BoldFont(8));
        painter.setPen(kPaper);
        painter.drawText(pill, Qt::AlignCenter, QString::fromLatin1(palette.badge));
    }
    // The strip's menu opens from here: a small downward chevron at the right end.
    painter.setPen(QPen(QColor(70, 78, 94), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({QPointF(284, 6), QPointF(288, 10), QPointF(292, 6)}));
    return image;
}
