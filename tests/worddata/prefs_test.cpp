// The preference store on real SQLite files, checked with SQLite itself.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dic_fixture.h"
#include "framework/application.h"
#include "framework/folderlock.h"
#include "framework/temporaryfile.h"
#include "sqlite_probe.h"
#include "worddata/PREFS.h"

namespace {

namespace fs = std::filesystem;
using sqlite_probe::Row;
using sqlite_probe::Rows;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kCreateTable =
    "CREATE TABLE preferences(pName varchar primary key, pType Integer, pValue varchar);"
    "CREATE INDEX fastpref ON preferences (pName);";

class PrefsTest : public dictest::AppTest {
  protected:
    void TearDown() override {
        dictest::AppTest::TearDown();
        PREFS::gPrefsDB.reset();
        fw::SetLongVersion("");
    }

    // A preference file beside the application, as an earlier run or a hand would have left it.
    void StartWithFileBesideApplication(const std::string& statements) {
        PREFS::gPrefsDB.reset();
        fs::remove(besideApp_);
        sqlite_probe::Execute(besideApp_, statements);
        ForgetReports();
        PREFS::Initialize();
        ASSERT_THAT(ui_->messages, IsEmpty());
    }

    // Starts at the same moment, as forked processes let go together: `start` runs in each and may
    // call the meeting it is given to wait until every start has got that far; `meanwhile` runs
    // here as they go. The exit codes: 0 when the start ended running, with no fatal report.
    std::vector<int> StartTogether(
        int count, const std::function<void(std::function<void()>)>& start,
        const std::function<void()>& meanwhile = [] {}) {
        PREFS::gPrefsDB.reset();
        int gate[2];
        int arrived[2];
        int proceed[2];
        EXPECT_EQ(::pipe(gate) | ::pipe(arrived) | ::pipe(proceed), 0);
        std::vector<pid_t> starts;
        char byte = 0;
        for (int i = 0; i < count; ++i) {
            starts.push_back(::fork());
            if (starts.back() == 0) {
                for (const int end : {gate[1], arrived[0], proceed[1]}) {
                    ::close(end);
                }
                (void)!::read(gate[0], &byte, 1);
                start([&] { (void)!(::write(arrived[1], "x", 1) + ::read(proceed[0], &byte, 1)); });
                ::_exit(PREFS::gPrefsDB->IsConnected() && ui_->quitCodes.empty() ? 0 : 1);
            }
        }
        for (const int end : {gate[0], arrived[1], proceed[0], gate[1]}) {
            ::close(end);
        }
        meanwhile();
        for (int met = 0; met < count && ::read(arrived[0], &byte, 1) == 1; ++met) {
        }
        ::close(arrived[0]);
        ::close(proceed[1]);
        std::vector<int> codes;
        for (const pid_t pid : starts) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            codes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        }
        return codes;
    }

    const fs::path besideApp_ = layout_.BesideApp("Quorvane.pref");
    const fs::path inPrefsFolder_ = layout_.Root() / "config" / "Quorvane.pref";
};

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The first start creates the file in the preferences folder with its schema and stamps; later
// starts read it back and write no stamps. (The other tests use a file beside the application.)
TEST_F(PrefsTest, FileIsCreatedOnceWithItsStampsAndReadBack) {
    fw::SetLongVersion("Quorvane 2.5 Deutsch");
    fs::create_directories(inPrefsFolder_.parent_path());
    // What a killed first start left is cleared at every start once old; a young one may be in
    // the making.
    const std::vector<fs::path> kOld = {inPrefsFolder_.string() + ".new-abcdef",
                                        inPrefsFolder_.string() + ".new-abcdef-journal"};
    const auto leaveOld = [&kOld] {
        for (const fs::path& old : kOld) {
            std::ofstream{old};
            fs::last_write_time(old, fs::file_time_type::clock::now() - std::chrono::minutes(2));
        }
    };
    leaveOld();
    std::ofstream(inPrefsFolder_.string() + ".new-young1");
    const int watch = ::inotify_init1(IN_NONBLOCK);
    ::inotify_add_watch(watch, inPrefsFolder_.parent_path().c_str(), IN_CREATE | IN_MOVED_TO);
    PREFS::Initialize();
    // An interruption must leave no file or a whole one: the file appears by a rename only.
    alignas(inotify_event) char events[4096];
    const ssize_t length = ::read(watch, events, sizeof events);
    ::close(watch);
    for (ssize_t at = 0; at < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(events + at);
        EXPECT_TRUE(event->name != std::string("Quorvane.pref") || event->mask & IN_MOVED_TO);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(inPrefsFolder_.parent_path()), {}), 2);
    EXPECT_THAT(Rows(inPrefsFolder_, "SELECT sql FROM sqlite_master"),
                ::testing::IsSupersetOf({Row{"CREATE TABLE preferences(pName varchar primary key, "
                                             "pType Integer, pValue varchar)"},
                                         Row{"CREATE INDEX fastpref ON preferences (pName)"}}));
    EXPECT_TRUE(PREFS::Retrieve("flag").IsNil());
    PREFS::Store("flag", fw::Variant(true));
    PREFS::Store("flag", fw::Variant("yesterday"));
    PREFS::gPrefsDB.reset();
    fw::SetLongVersion("second run");
    leaveOld();
    PREFS::Initialize();
    EXPECT_FALSE(fs::exists(kOld[0]) || fs::exists(kOld[1]));

    EXPECT_EQ(PREFS::Retrieve("flag").StringValue(), "yesterday");
    const auto kDateTime = ::testing::MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:]{8}");
    EXPECT_THAT(Rows(inPrefsFolder_, "SELECT rowid, * FROM preferences"),
                ElementsAre(ElementsAre("1", "DB_Creation_Date", "7", kDateTime),
                            Row{"2", "DB_Creation_AppVersion", "8", "Quorvane 2.5 Deutsch"},
                            Row{"3", "DB_Creation_AppBuild", "7", fw::BuildDate()},
                            Row{"4", "flag", "8", "yesterday"}));

    EXPECT_THAT(ui_->messages, IsEmpty());
}

TEST_F(PrefsTest, StoredRowsReadBackByTheirTypeCode) {
    struct StoredRow {
        int code;
        std::string text;
        int type;            // of the value read back
        std::string value;   // its text
        std::string report;  // the fatal report, if any
    };
    const std::string kCant = "Can't retrieve preferences value. ";
    const std::vector<StoredRow> rows = {
        {0, "ignored", fw::Variant::TypeNil, "", ""},
        {2, "12abc", fw::Variant::TypeDouble, "12", ""},
        {7, "2024-06-11 10:00:00", fw::Variant::TypeDate, "2024-06-11 10:00:00", ""},
        {11, "TRUE", fw::Variant::TypeBoolean, "True", ""},
        {11, "yes", fw::Variant::TypeBoolean, "False", ""},
        {9, "x", fw::Variant::TypeNil, "", kCant + "Type object isn't supported."},
        {16, "&h00FF00", fw::Variant::TypeNil, "", kCant + "Type color isn't supported."},
        {4, "1.5", fw::Variant::TypeNil, "", kCant + "Unsupported and unknown type."}};
    std::string inserts;
    for (size_t i = 0; i < rows.size(); ++i) {
        inserts += "INSERT INTO preferences VALUES ('row" + std::to_string(i) + "', " +
                   std::to_string(rows[i].code) + ", '" + rows[i].text + "');";
    }
    StartWithFileBesideApplication(kCreateTable + inserts);

    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(std::to_string(rows[i].code) + ": " + rows[i].text);
        ForgetReports();
        PREFS::Initialize();
        const fw::Variant value = PREFS::Retrieve("row" + std::to_string(i));
        EXPECT_EQ(value.VarType(), rows[i].type);
        EXPECT_EQ(value.StringValue(), rows[i].value);
        EXPECT_EQ(Reports(), rows[i].report.empty() ? std::vector<std::string>{}
                                                    : std::vector<std::string>{rows[i].report});
    }
}

// Each file opens; the start-up's read of DicLanguage, or its write after a missing value, meets
// what the file lacks or forbids. One box ends the run, and nothing more is written after it.
TEST_F(PrefsTest, FaultyFilesEndTheRunWithOneBoxAndKeepTheirRows) {
    const std::string kTwice =
        "CREATE TABLE preferences(pName varchar, pType Integer, pValue varchar);"
        "INSERT INTO preferences VALUES ('DicLanguage', 8, 'DE'), ('DicLanguage', 8, 'EN');";
    const std::string kEnglish = "INSERT INTO preferences VALUES ('DicLanguage', 8, 'EN');";
    const auto frozen = [](const std::string& operation) {
        return "CREATE TRIGGER frozen BEFORE " + operation +
               " ON preferences BEGIN SELECT RAISE(ABORT, 'frozen'); END;";
    };
    const std::string kRead = "Can't retrieve preferences value. ";
    const std::string kStore = "Can't store preferences value. ";
    struct FaultyFile {
        std::string statements;
        bool read;  // reads DicLanguage first, as the start-up does; then stores "FR"
        std::string report;
        std::string valuesAfter;
    };
    const std::vector<FaultyFile> files = {
        {kCreateTable + frozen("INSERT"), true, kStore + "DB can't create the entry! (frozen)", ""},
        // A commit that succeeds clears the error state; the failed update must still show.
        {kCreateTable + kEnglish + frozen("UPDATE"), false,
         kStore + "Error during update. (frozen)", "EN"},
        // Without the primary key a name can be stored twice; neither row may be trusted.
        {kTwice, true, kRead + "The name isn't unique.", "DE EN"},
        {kTwice, false, kStore + "The name isn't unique.", "DE EN"},
        {kCreateTable + "INSERT INTO preferences VALUES ('DicLanguage', 4, 'DE');", true,
         kRead + "Unsupported and unknown type.", "DE"},
    };
    for (const FaultyFile& file : files) {
        SCOPED_TRACE(file.report);
        StartWithFileBesideApplication(file.statements);
        if (!file.read || PREFS::Retrieve("DicLanguage").IsNil()) {
            PREFS::Store("DicLanguage", fw::Variant("FR"));
        }
        EXPECT_THAT(Reports(), ElementsAre(file.report));
        EXPECT_THAT(ui_->quitCodes, ElementsAre(0));
        EXPECT_THAT(Rows(besideApp_, "SELECT group_concat(pValue, ' ') FROM preferences"),
                    ElementsAre(Row{file.valuesAfter}));
    }
}

// A broken file is kept aside, never over an earlier one, the user is told once, and a fresh file
// takes its place in the preferences folder.
// Two starts (two editions) making the file at once: the later one's file must not replace the
// one the earlier start already uses, and a second set-aside must not land on the first.
TEST_F(PrefsTest, AFileAnotherStartMadeMeanwhileStays) {
    fs::create_directories(inPrefsFolder_.parent_path());
    const std::string target = inPrefsFolder_.string();
    fw::TemporaryFile first(target);
    fw::TemporaryFile second(target);
    std::ofstream(first.Path()) << "first";
    EXPECT_TRUE(first.MoveTo(target));
    EXPECT_FALSE(second.MoveTo(target));
    EXPECT_TRUE(second.TargetExisted());
    EXPECT_EQ(fw::RenameNoReplace(target, target + ".new-abcdef"), 0);
    EXPECT_EQ(fw::RenameNoReplace(second.Path(), target + ".new-abcdef"), EEXIST);
    EXPECT_EQ(Bytes(target + ".new-abcdef"), "first");
}

TEST_F(PrefsTest, BrokenFilesAreSetAsideAndAFreshOneServes) {
    PREFS::Initialize();
    PREFS::gPrefsDB.reset();
    const std::string whole = Bytes(inPrefsFolder_);
    struct Broken {
        std::string statements;  // or, when empty, the bytes
        std::string bytes;
        bool besideApp = false;
        bool earlierAside = false;  // Quorvane.pref.broken exists already
    };
    const Broken kFiles[] = {
        {"", std::string(4096, '\xA5'), true},
        {"", ""},
        // Cut short inside its last page: it opens and shows its table.
        {"", whole.substr(0, whole.size() - 1024)},
        {"", "SQLite format 3", false, true},
        {"CREATE TABLE preferences(pName varchar primary key, pValue varchar);", ""},
    };
    for (const Broken& broken : kFiles) {
        SCOPED_TRACE(broken.statements + broken.bytes.substr(0, 20));
        PREFS::gPrefsDB.reset();
        fs::remove_all(inPrefsFolder_.parent_path());
        fs::create_directories(inPrefsFolder_.parent_path());
        const fs::path file = broken.besideApp ? besideApp_ : inPrefsFolder_;
        if (broken.statements.empty()) {
            std::ofstream(file, std::ios::binary) << broken.bytes;
        } else {
            sqlite_probe::Execute(file, broken.statements);
        }
        const std::string before = Bytes(file);
        fs::path aside = file.string() + ".broken";
        if (broken.earlierAside) {
            std::ofstream(aside) << "earlier";
            aside += ".1";
        }
        ForgetReports();
        PREFS::Initialize();

        EXPECT_THAT(ui_->messages, ElementsAre(::testing::EndsWith("\n\n" + aside.string())));
        EXPECT_EQ(Bytes(aside), before);
        if (broken.earlierAside) {
            EXPECT_EQ(Bytes(file.string() + ".broken"), "earlier");
        }
        PREFS::Store("DicLanguage", fw::Variant("DE"));
        EXPECT_EQ(PREFS::Retrieve("DicLanguage").StringValue(), "DE");
        EXPECT_THAT(ui_->messages, ::testing::SizeIs(1));
        fs::remove(aside);
    }
}

// A file that can't be opened is no broken file: it ends the run. A folder where no file can be
// made is told of (named) only when a value must be stored, so a run that never stores goes on.
TEST_F(PrefsTest, UnopenableFileOrUnwritableFolder) {
    ASSERT_EQ(::mkfifo(besideApp_.c_str(), 0600), 0);
    // The box waits for the user: the starts at the same moment must not wait for it.
    bool lockFreeAtBox = false;
    ui_->onMessage = [&lockFreeAtBox] {
        const int folder = ::open(fw::PreferencesFolder().NativePath().c_str(), O_RDONLY);
        lockFreeAtBox = ::flock(folder, LOCK_EX | LOCK_NB) == 0;
        ::close(folder);
    };
    PREFS::Initialize();
    EXPECT_TRUE(lockFreeAtBox);
    ui_->onMessage = nullptr;
    EXPECT_TRUE(PREFS::Retrieve("DicLanguage").IsNil());
    PREFS::Store("DicLanguage", fw::Variant("EN"));
    EXPECT_THAT(Reports(), ElementsAre("DB connection error! (not a regular file)"));

    // A broken file that can't be set aside (every name taken) stays, and the box names it.
    fs::remove(besideApp_);
    std::ofstream(besideApp_) << "no database";
    for (int n = 0; n < 100; ++n) {
        std::ofstream(besideApp_.string() + ".broken" + (n ? "." + std::to_string(n) : ""));
    }
    ForgetReports();
    PREFS::Initialize();
    EXPECT_THAT(
        Reports(),
        ElementsAre("DB connection error! (file is not a database: " + besideApp_.string() + ")"));

    fs::remove(besideApp_);
    ForgetReports();
    const fs::path notAFolder = layout_.Root() / "not-a-folder";
    std::ofstream(notAFolder) << "plain file";
    ::setenv("XDG_CONFIG_HOME", notAFolder.c_str(), 1);
    PREFS::Initialize();
    EXPECT_TRUE(PREFS::Retrieve("DicLanguage").IsNil());
    EXPECT_THAT(ui_->messages, IsEmpty());
    PREFS::Store("DicLanguage", fw::Variant("EN"));
    PREFS::Store("DicLanguage", fw::Variant("EN"));
    EXPECT_THAT(Reports(), ElementsAre("Can't create the database file! (" + notAFolder.string() +
                                       ": Not a directory)"));
    EXPECT_THAT(ui_->quitCodes, ElementsAre(0));
}

// Starts at the same moment, which all find no language and store it: every start runs, a broken
// file alone is set aside (once), no fresh file is moved aside or replaced, and the name keeps one
// row. A broken file beside the application is shared by starts with their own preferences folders.
TEST_F(PrefsTest, StartsAtOnceAllRunAndKeepEveryFile) {
    enum class At { NoFile, FileWithoutLanguage, BrokenInFolder, BrokenBesideApp };
    const std::string kBroken(4096, '\xA5');
    for (const At at :
         {At::NoFile, At::FileWithoutLanguage, At::BrokenInFolder, At::BrokenBesideApp}) {
        const fs::path file = at == At::BrokenBesideApp ? besideApp_ : inPrefsFolder_;
        for (int round = 0; round < 20; ++round) {
            SCOPED_TRACE("case " + std::to_string(static_cast<int>(at)) + ", round " +
                         std::to_string(round));
            fs::remove_all(layout_.Root() / "config");
            fs::create_directories(inPrefsFolder_.parent_path());
            fs::remove(besideApp_.string() + ".broken");
            if (at == At::FileWithoutLanguage) {
                PREFS::Initialize();
            } else if (at != At::NoFile) {
                std::ofstream(file, std::ios::binary) << kBroken;
            }
            const std::vector<int> codes = StartTogether(3, [&](const auto& meet) {
                if (at == At::BrokenBesideApp) {
                    const fs::path own = layout_.Root() / "config" / std::to_string(::getpid());
                    ::setenv("XDG_CONFIG_HOME", own.c_str(), 1);
                }
                PREFS::Initialize();
                const bool none = PREFS::Retrieve("DicLanguage").IsNil();
                meet();
                PREFS::Store("DicLanguage", fw::Variant(none ? "EN" : "found"));
            });
            EXPECT_THAT(codes, ::testing::Each(0));
            if (at == At::BrokenInFolder || at == At::BrokenBesideApp) {
                EXPECT_EQ(Bytes(file.string() + ".broken"), kBroken);
                EXPECT_FALSE(fs::exists(file.string() + ".broken.1"));
            }
            if (at != At::BrokenBesideApp) {
                EXPECT_THAT(
                    Rows(file, "SELECT pValue FROM preferences WHERE pName = 'DicLanguage'"),
                    ElementsAre(Row{"EN"}));
            }
        }
    }
}

// A start waits while another sets the broken file aside and puts its fresh one in place, then
// uses that one: it neither judges a file that is being moved nor makes a second fresh file.
TEST_F(PrefsTest, AStartWaitsForAnotherReplacingTheBrokenFile) {
    fs::create_directories(inPrefsFolder_.parent_path());
    std::ofstream(inPrefsFolder_) << "no database";
    const fs::path fresh = layout_.Root() / "fresh.pref";
    sqlite_probe::Execute(fresh, kCreateTable + "INSERT INTO preferences VALUES ('x', 8, 'DE');");
    std::optional<fw::FolderLock> other(std::in_place, inPrefsFolder_.parent_path(),
                                        std::chrono::milliseconds(0));
    const std::vector<int> codes = StartTogether(
        1, [](auto) { PREFS::Initialize(); },
        [&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            std::error_code ignored;
            fs::rename(inPrefsFolder_, inPrefsFolder_.string() + ".broken", ignored);
            fs::rename(fresh, inPrefsFolder_, ignored);
            other.reset();
        });
    EXPECT_THAT(codes, ElementsAre(0));
    EXPECT_EQ(Bytes(inPrefsFolder_.string() + ".broken"), "no database");
    EXPECT_THAT(Rows(inPrefsFolder_, "SELECT pValue FROM preferences"), ElementsAre(Row{"DE"}));
}

// Names are pasted between double quotes; a quote inside a name must stay part of the name.
TEST_F(PrefsTest, NameWithDoubleQuotesIsDataNotSql) {
    PREFS::Initialize();
    const std::string sneaky = R"(x" OR "1"="1)";

    EXPECT_TRUE(PREFS::Retrieve(sneaky).IsNil());
    PREFS::Store(sneaky, fw::Variant("kept"));

    EXPECT_EQ(PREFS::Retrieve(sneaky).StringValue(), "kept");
    EXPECT_THAT(Rows(inPrefsFolder_, "SELECT pName FROM preferences WHERE pValue = 'kept'"),
                ElementsAre(Row{sneaky}));
    EXPECT_THAT(ui_->messages, IsEmpty());
}

}  // namespace
