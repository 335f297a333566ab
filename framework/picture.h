// Pictures of the application's resource folder: PNG files, with a second file drawn at twice
// the size ("<name>@2x.png") for high-density screens. Main OS thread only, after the
// QApplication exists.
#pragma once

#include <memory>
#include <string>

class QPixmap;

namespace fw {

class Picture {
  public:
    // Reads ResourcesFolder()/<name>.png, or <name>@2x.png where the screens draw at more than
    // one device pixel per pixel and that file exists. nullptr when it can't be read.
    static std::shared_ptr<Picture> Load(const std::string& name);

    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // In pixels of the screen, whichever file was read.
    int Width() const;
    int Height() const;
    // 1: the picture's white pixels are not drawn, so the window shows through them; 0: opaque.
    int Transparent() const { return transparent_; }
    void SetTransparent(int transparent);

    // The picture as drawn, transparency applied.
    const QPixmap& Pixmap() const;

  private:
    explicit Picture(const QPixmap& read);

    std::unique_ptr<QPixmap> read_;
    std::unique_ptr<QPixmap> drawn_;
    int transparent_ = 0;
};

}  // namespace fw
