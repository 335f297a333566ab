// quorvane-pictures RESOURCES ICONS
// Draws Quorvane's pictures: the six edition pictures into RESOURCES (each as <name>.png and, at
// twice the size, <name>@2x.png), and the desktop icons of the three editions into
// ICONS/hicolor/<size>x<size>/apps/. Exit code 0 when every file was written.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <iostream>

#include "tools/pictures/Artwork.h"

namespace {

struct Named {
    const char* name;
    Edition edition;
};

bool Save(const QImage& image, const QString& path) {
    if (!QDir().mkpath(QFileInfo(path).path()) || !image.save(path, "PNG")) {
        std::cerr << "quorvane-pictures: can't write " << path.toStdString() << std::endl;
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: quorvane-pictures RESOURCES ICONS" << std::endl;
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QDir resources(QString::fromLocal8Bit(argv[1]));
    const QDir icons(QString::fromLocal8Bit(argv[2]));
    bool written = true;
    const Named iconNames[] = {{"QVIconML128w", Edition::None},
                               {"QVIconDE128w", Edition::Deutsch},
                               {"QVIconEN128w", Edition::English}};
    const Named stripNames[] = {{"WinTitle", Edition::None},
                                {"WinTitleDE", Edition::Deutsch},
                                {"WinTitleEN", Edition::English}};
    for (const double scale : {1.0, 2.0}) {
        const QString suffix = scale > 1.0 ? QStringLiteral("@2x.png") : QStringLiteral(".png");
        for (const Named& icon : iconNames) {
            written &= Save(DrawIcon(icon.edition, scale, true),
                            resources.filePath(QString::fromLatin1(icon.name) + suffix));
        }
        for (const Named& strip : stripNames) {
            written &= Save(DrawTitleStrip(strip.edition, scale),
                            resources.filePath(QString::fromLatin1(strip.name) + suffix));
        }
    }
    const Named desktopNames[] = {{"quorvane", Edition::None},
                                  {"quorvane-deutsch", Edition::Deutsch},
                                  {"quorvane-english", Edition::English}};
    for (const int size : {48, 64, 128, 256}) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps/").arg(size);
        for (const Named& icon : desktopNames) {
            written &= Save(DrawIcon(icon.edition, size / 128.0, false),
                            icons.filePath(folder + QString::fromLatin1(icon.name) + ".png"));
        }
    }
    return written ? 0 : 1;
}
