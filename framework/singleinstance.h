// One running instance per key, as opening an application that already runs brings that one to the
// front instead of starting a second copy. The first start of a key holds it; a later start hands
// over to the holder (asks it to activate) and should then end. The key is held by an advisory
// lock on a file in the user's runtime folder ($XDG_RUNTIME_DIR, else a private folder of the
// user's in the temporary folder), which the system releases however the holder ends, so no stale
// file can keep a start from running; a holder that ends normally removes its files. Any path
// length of the folder works. Without a private folder anywhere every start runs on its own and
// says so on the standard error. Main OS thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace fw {

class SingleInstance {
  public:
    // Takes the key (a file name: letters, digits, "-", "_", ".") or finds it held and hands
    // over. Needs no QApplication, so a start that hands over ends before it opens the display.
    explicit SingleInstance(const std::string& key);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another process holds the key and took the hand-over: this start should end.
    bool HandedOver() const { return handedOver_; }
    // Serves the later starts: `activate` runs on the event loop for each hand-over. Needs the
    // QApplication; does nothing when this start does not hold the key.
    void Serve(std::function<void()> activate);

  private:
    bool HandOver() const;

    int folderFd_ = -1;
    int lockFd_ = -1;
    int listenFd_ = -1;  // until Serve adopts it
    std::string lockPath_;
    std::string socketPath_;
    bool handedOver_ = false;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace fw
