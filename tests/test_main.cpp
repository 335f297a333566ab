// Runs every suite inside a QApplication on the offscreen platform, with user-facing services that
// never block.
#include <QApplication>

#include <gtest/gtest.h>

#include "test_ui.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fw::SetUI(std::make_unique<RecordingUI>());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
