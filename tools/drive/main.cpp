// quorvane-drive [--lang DE|EN] [--stats] [--services HOST:PORT] [--menu ITEM] [--] WORD...
// Starts Quorvane offscreen with the build's word files, a fresh preferences folder and the
// built-in English texts, searches each word as a user would type it, and prints one line of JSON
// per word once nothing runs any more, the online lookups included; a message box prints
// {"msgbox": text} and is dismissed. --services points every online host (word service, portal
// page, lexical database) at one address; without it they stay on the configured hosts. With
// --menu, each search is followed by a context click on the search field: its menu's items are
// printed with their enabled state and ITEM (its text, ignoring case) is chosen, as one more line
// {"menu": [[text, enabled], ...], "url": URL or null, "clipboard": text}; no browser opens.
// "--" ends the options, so that a word may begin with "--". Exit code 0 when every word was
// searched.
#include <unistd.h>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <ctime>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "framework/events.h"
#include "framework/folderitem.h"
#include "framework/localization.h"
#include "framework/quitsignals.h"
#include "framework/ui.h"
#include "framework/variant.h"
#include "search/App.h"
#include "search/PMC.h"
#include "sources/ServiceHosts.h"
#include "tools/drive/PrintingUI.h"
#include "tools/drive/SearchDriver.h"
#include "windows/SearchWin.h"
#include "worddata/PREFS.h"

namespace {

struct Options {
    std::string language = "DE";
    bool stats = false;
    std::optional<std::string> menuItem;
    std::string services;  // HOST:PORT of every online host; "" leaves them as configured
    std::vector<std::string> words;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (optionsEnded) {
            options.words.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--lang" && i + 1 < argc) {
            options.language = argv[++i];
        } else if (argument == "--stats") {
            options.stats = true;
        } else if (argument == "--menu" && i + 1 < argc) {
            options.menuItem = argv[++i];
        } else if (argument == "--services" && i + 1 < argc) {
            options.services = argv[++i];
        } else if (argument.rfind("--", 0) == 0) {
            return false;
        } else {
            options.words.push_back(argument);
        }
    }
    return options.language == "DE" || options.language == "EN";
}

// The preference file in the fresh folder, holding the dictionary language only. A preference
// file beside the application takes its place in the program and is left as it is.
void StoreLanguage(const std::string& language) {
    if (fw::GetFolderItem(PREFS::gAppName + ".pref").Exists()) {
        return;
    }
    PREFS::Initialize();
    PREFS::Store("DicLanguage", fw::Variant(language));
    PREFS::gPrefsDB.reset();
}

// Milliseconds since the process was started by the kernel (clock ticks of /proc/self/stat).
double MsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The fields after the command's closing parenthesis; the start time is field 22 of the line.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double startMs = std::stod(field) * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6 - startMs;
}

// A value of /proc/self/status in megabytes ("VmRSS", "VmHWM").
double StatusMegabytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::stod(line.substr(key.size() + 1)) / 1024.0;
        }
    }
    return 0;
}

// The start-up runs inside the event loop; the words wait for the search window to show. A fatal
// report during the start-up ends the run instead.
bool WaitForStartUp(int timeoutMs) {
    for (int waited = 0; waited < timeoutMs && !SearchWin::Get().Visible() && !App::IsQuitting();
         waited += 5) {
        fw::DoEvents(5);
    }
    return SearchWin::Get().Visible() && SearchDriver::WaitUntilSettled(timeoutMs);
}

// Opens the search field's context menu, chooses the item and prints what the user would see.
void DriveMenu(PrintingUI& ui, const std::string& item) {
    ui.menuChoice = item;
    ui.shownMenu.clear();
    ui.urls.clear();
    SearchDriver::ContextClickField();
    std::string line = "{\"menu\": [";
    for (size_t i = 0; i < ui.shownMenu.size(); ++i) {
        line += (i > 0 ? ", [" : "[") + SearchDriver::JsonString(ui.shownMenu[i].first) +
                (ui.shownMenu[i].second ? ", true]" : ", false]");
    }
    line += "], \"url\": ";
    line += ui.urls.empty() ? std::string("null") : SearchDriver::JsonString(ui.urls.back());
    line += ", \"clipboard\": " + SearchDriver::JsonString(fw::ClipboardText()) + "}";
    std::cout << line << std::endl;
}

// Once a fatal report has ended the run (its box is printed), nothing more is searched and the
// driver exits as the program does, with the quit's code.
int DriveWords(const Options& options, PrintingUI& ui) {
    const bool started = WaitForStartUp(10000);
    if (App::IsQuitting()) {
        return 0;
    }
    if (!started) {
        std::cerr << "quorvane-drive: the program did not start" << std::endl;
        return 1;
    }
    if (options.stats) {
        std::cout << "{\"startup_ms\": " << MsSinceProcessStart() << "}" << std::endl;
    }
    SearchDriver driver;
    for (const std::string& word : options.words) {
        const auto result = driver.Search(word);
        if (App::IsQuitting()) {
            return 0;
        }
        if (!result) {
            std::cerr << "quorvane-drive: the search for \"" << word << "\" did not settle"
                      << std::endl;
            return 1;
        }
        std::cout << SearchDriver::ToJson(*result, options.stats) << std::endl;
        if (options.menuItem) {
            DriveMenu(ui, *options.menuItem);
        }
    }
    if (options.stats) {
        std::cout << "{\"rss_mb\": " << StatusMegabytes("VmRSS")
                  << ", \"peak_rss_mb\": " << StatusMegabytes("VmHWM") << "}" << std::endl;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::cerr << "usage: quorvane-drive [--lang DE|EN] [--stats] [--services HOST:PORT] "
                     "[--menu ITEM] [--] WORD..."
                  << std::endl;
        return 2;
    }
    // Ended by the system (a test's time limit), it still removes its preferences folder.
    fw::QuitOnSignals quitOnSignals;
    QTemporaryDir preferences;
    if (!preferences.isValid()) {
        std::cerr << "quorvane-drive: no temporary folder" << std::endl;
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", preferences.path().toUtf8());
    QApplication application(argc, argv);
    quitOnSignals.Listen();
    auto printing = std::make_unique<PrintingUI>(fw::SetUI(nullptr));
    PrintingUI& ui = *printing;
    fw::SetUI(std::move(printing));
    fw::SetLocalizationLanguage("en");
    StoreLanguage(options.language);
    if (!options.services.empty()) {
        ServiceHosts::PointAllAt(options.services);
    }

    PMC::InitializeGlobals();
    App app;
    SearchWin::Get();
    int status = 1;
    QTimer::singleShot(0, [&options, &status, &ui] {
        status = DriveWords(options, ui);
        fw::Quit(status);
    });
    const int exitCode = app.Run();
    return status != 0 ? status : exitCode;
}
