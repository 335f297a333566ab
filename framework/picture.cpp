#include "framework/picture.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPixmap>

#include "framework/folderitem.h"

namespace fw {

namespace {

// Only a regular file: opening a FIFO in its place would block the window's opening.
bool Read(QPixmap& picture, const FolderItem& file) {
    return file.IsRegularFile() && picture.load(QString::fromStdString(file.NativePath()));
}

}  // namespace

std::shared_ptr<Picture> Picture::Load(const std::string& name) {
    const FolderItem folder = ResourcesFolder();
    const bool wantDense = qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1.0;
    QPixmap read;
    if (wantDense && Read(read, folder.Child(name + "@2x.png"))) {
        read.setDevicePixelRatio(2.0);
    } else if (!Read(read, folder.Child(name + ".png"))) {
        return nullptr;
    }
    return std::shared_ptr<Picture>(new Picture(read));
}

Picture::Picture(const QPixmap& read)
    : read_(std::make_unique<QPixmap>(read)), drawn_(std::make_unique<QPixmap>(read)) {}

Picture::~Picture() = default;

int Picture::Width() const {
    return static_cast<int>(read_->deviceIndependentSize().width());
}

int Picture::Height() const {
    return static_cast<int>(read_->deviceIndependentSize().height());
}

void Picture::SetTransparent(int transparent) {
    transparent_ = transparent;
    *drawn_ = *read_;
    if (transparent_ == 1) {
        drawn_->setMask(read_->createMaskFromColor(Qt::white));
    }
}

const QPixmap& Picture::Pixmap() const {
    return *drawn_;
}

}  // namespace fw
