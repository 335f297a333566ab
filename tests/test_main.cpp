// Runs every suite inside a QApplication on the offscreen platform, with user-facing services that
// never block.
#include <stdlib.h>

#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>

#include "test_ui.h"

int main(int argc, char** argv) {
    // What a test leaves in the temporary, runtime or home folder stays in the build tree.
    std::filesystem::create_directories(QUORVANE_TEST_ROOT);
    std::filesystem::permissions(QUORVANE_TEST_ROOT, std::filesystem::perms::owner_all);
    for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR", "HOME"}) {
        ::setenv(name, QUORVANE_TEST_ROOT, 1);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fw::SetUI(std::make_unique<RecordingUI>());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
