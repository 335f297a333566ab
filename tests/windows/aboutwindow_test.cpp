// The about box and the edition pictures offscreen: the icon per edition, the centring on the
// main screen, and a picture file that appears after a failed read.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

#include "framework/application.h"
#include "framework/events.h"
#include "framework/folderitem.h"
#include "test_ui.h"
#include "window_events.h"
#include "windows/AboutWindow.h"
#include "windows/EditionPictures.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"

namespace {

class AboutWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { savedLanguage_ = DIC::gSelectedLanguage; }
    void TearDown() override {
        CloseAbout();
        DIC::gSelectedLanguage = savedLanguage_;
        fw::SetLongVersion("");
    }
    static void CloseAbout() {
        AboutWindow::Get().Close();
        fw::DoEvents(0);
    }

    ScopedRecordingUI ui;

  private:
    std::string savedLanguage_;
};

TEST_F(AboutWindowTest, ShowsTheEditionsIconCentredOnTheMainScreenAndEscapeClosesIt) {
    const std::pair<const char*, PicturePtr (*)()> editions[] = {
        {"", &QVIconML128w}, {"DE", &QVIconDE128w}, {"EN", &QVIconEN128w}};
    fw::SetLongVersion("Quorvane 1.0 (test build)");
    for (const auto& [language, icon] : editions) {
        SCOPED_TRACE(language);
        DIC::gSelectedLanguage = language;
        AboutWindow& about = AboutWindow::Get();
        ASSERT_NE(icon(), nullptr) << "the build draws every icon";
        EXPECT_EQ(about.IconCanvas.Backdrop(), icon());
        EXPECT_EQ(about.VersionInfo.Text(), "Quorvane 1.0 (test build)");
        EXPECT_EQ(about.Left(), 312) << "(1024 - 400) / 2";
        EXPECT_EQ(about.Top(), (768 - about.Height()) / 2);
        CloseAbout();
    }
    // Showing a minimised box brings it back; Escape closes it.
    AboutWindow& about = AboutWindow::Get();
    about.Widget()->showMinimized();
    AboutWindow::Get().Show();
    EXPECT_FALSE(about.Widget()->isMinimized());
    SendKey(about.Widget(), Qt::Key_Escape, QString());
    EXPECT_TRUE(about.IsClosed());
}

TEST_F(AboutWindowTest, MissingPictureLeavesTheCanvasEmptyUntilItsFileExists) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("Resources"));
    const std::string built = fw::ResourcesFolder().Child("WinTitleEN.png").NativePath();
    fw::SetExecutableFile(root.filePath("bin/quorvane").toStdString());
    gWinTitleEN.reset();
    DIC::gSelectedLanguage = "EN";
    SearchWin& strip = SearchWin::Get();
    strip.Open();
    EXPECT_EQ(strip.WinTitleFake.Backdrop(), nullptr);
    EXPECT_TRUE(static_cast<QLabel*>(strip.WinTitleFake.Widget())->pixmap().isNull());

    ASSERT_TRUE(
        QFile::copy(QString::fromStdString(built), root.filePath("Resources/WinTitleEN.png")));
    strip.Open();
    ASSERT_NE(strip.WinTitleFake.Backdrop(), nullptr);
    QFile::remove(root.filePath("Resources/WinTitleEN.png"));
    EXPECT_EQ(WinTitleEN(), strip.WinTitleFake.Backdrop()) << "read once, kept for the run";
    fw::SetExecutableFile("");
}

}  // namespace
