#include "fuzz/fuzz_support.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "framework/folderitem.h"
#include "framework/localization.h"
#include "framework/ui.h"

namespace fuzz {
namespace {

namespace fs = std::filesystem;

class SilentUI : public fw::UIServices {
  public:
    void MsgBox(const std::string&) override {}
    void Quit(int) override {}
    void Beep() override {}
    std::string ClipboardText() override { return ""; }
    void SetClipboardText(const std::string&) override {}
    bool AsyncShiftKey() override { return false; }
    int ScreenAvailableHeight() override { return 746; }
    Area ScreenBounds() override { return {0, 0, 1024, 768}; }
    bool ShowURL(const std::string&) override { return true; }
    void SetMouseCursor(Cursor) override {}
    const fw::MenuItem* PopUpContextualMenu(const fw::MenuItem&, int, int) override {
        return nullptr;
    }
};

// The application layout the inputs are written into, removed as the process ends.
class Layout {
  public:
    Layout() {
        std::string pattern = (fs::temp_directory_path() / "quorvane-fuzz-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        fs::create_directories(path_ / "bin");
        fs::create_directories(path_ / "Resources");
        std::ofstream(path_ / "bin" / "quorvane");
    }
    ~Layout() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

const fs::path& Root() {
    static const Layout layout;
    return layout.Path();
}

std::string Write(const fs::path& file, const uint8_t* data, size_t size) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm", ".broken"}) {
        fs::remove(file.string() + suffix);
    }
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file.string();
}

}  // namespace

void Prepare() {
    static const bool prepared = [] {
        fw::SetUI(std::make_unique<SilentUI>());
        fw::SetExecutableFile((Root() / "bin" / "quorvane").string());
        // A broken preference file is replaced by a fresh one in the preferences folder.
        ::setenv("XDG_CONFIG_HOME", (Root() / "config").c_str(), 1);
        fw::SetLocalizationLanguage("en");
        return true;
    }();
    (void)prepared;
}

std::string WriteResource(const std::string& name, const uint8_t* data, size_t size) {
    return Write(Root() / "Resources" / name, data, size);
}

std::string WriteBesideApplication(const std::string& name, const uint8_t* data, size_t size) {
    return Write(Root() / "bin" / name, data, size);
}

}  // namespace fuzz
