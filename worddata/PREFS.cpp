#include "worddata/PREFS.h"

#include <sqlite3.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "framework/application.h"
#include "framework/folderitem.h"
#include "framework/folderlock.h"
#include "framework/temporaryfile.h"
#include "framework/text.h"
#include "framework/ui.h"
#include "worddata/LocalizedConstant.h"
#include "worddata/PMDebug.h"

namespace PREFS {

namespace {

constinit LocalizedConstant gSetAsideNotice(
    "PREFS.cSetAsideNotice",
    "Quorvane could not read its preference file. The file has been kept under the name below, "
    "and a new preference file has been made.");

// Names a broken file may be kept under: .broken, then .broken.1 and on. One set aside earlier is
// never overwritten, so a user who wants the old settings back still finds them.
constexpr int kSetAsideNames = 100;

// Starts at the same moment (the editions, other displays) open, set aside and make the file one
// after the other. A holder needs a few file operations; one that hangs is waited for this long.
constexpr auto kLockPatience = std::chrono::seconds(5);

// What a start killed while it made the file left (its temporary file, often with a journal) is
// removed once this old; a younger one may be another start's file in the making.
constexpr auto kLeftoverAge = std::chrono::minutes(1);

// While the file is being made, a failure is kept rather than shown: only a write needs the file,
// the editions that fix their language never write, and the first write shows it.
bool gCreating = false;
std::string gKeptReport;
// While the start holds the folder's lock, a failure is held back until the lock is given back:
// its box waits for the user, and the other starts must not wait for the box.
bool gLocked = false;
std::string gLockedReport;

// Every failure ends the run. The database is closed at once, so nothing more is written and the
// calls that follow during the start-up stay silent rather than add a box each.
void Report(const std::string& message) {
    std::string& held = gCreating ? gKeptReport : gLockedReport;
    if (!gCreating && !gLocked) {
        PMDebug::Error(message);
    } else if (held.empty()) {
        held = message;
    }
    gPrefsDB->Close();
}

// The name stands between double quotes in the statement. A double quote inside it is doubled,
// so a name can never end the quoted text early and run as SQL; every name without one gives the
// statement unchanged.
std::string SelectByName(const std::string& name) {
    return "SELECT * FROM preferences WHERE pName = \"" + fw::ReplaceAllB(name, "\"", "\"\"") +
           "\"";
}

std::string WithDatabaseMessage(const std::string& message) {
    return message + " (" + gPrefsDB->ErrorMessage() + ")";
}

std::string CantCreate(const std::string& file, const std::string& reason) {
    return "Can't create the database file! (" + fw::FolderItem(file).Parent().NativePath() + ": " +
           reason + ")";
}

void InsertRow(const std::string& name, const std::string& text, int typeCode) {
    fw::DatabaseRecord record;
    record.Column("pName", name);
    record.Column("pValue", text);
    record.IntegerColumn("pType", typeCode);
    gPrefsDB->InsertRecord("preferences", record);
}

fw::Variant FromStoredText(int64_t typeCode, const std::string& text) {
    switch (typeCode) {
        case fw::Variant::TypeNil:
            return {};
        case fw::Variant::TypeInteger:
        case fw::Variant::TypeLong:
        case fw::Variant::TypeDouble:
            return fw::Variant(fw::Val(text));
        case fw::Variant::TypeDate:
            return fw::Variant(fw::Date{text});
        case fw::Variant::TypeString:
            return fw::Variant(text);
        case fw::Variant::TypeObject:
            Report("Can't retrieve preferences value. Type object isn't supported.");
            return {};
        case fw::Variant::TypeBoolean:
            return fw::Variant(fw::StrComp(text, "true", 1) == 0);
        case fw::Variant::TypeColor:
            Report("Can't retrieve preferences value. Type color isn't supported.");
            return {};
        default:
            Report("Can't retrieve preferences value. Unsupported and unknown type.");
            return {};
    }
}

// Inserts the row and commits; each failure is reported under `what` ("Can't store preferences
// value."). False after a failure.
bool InsertAndCommit(const std::string& what, const std::string& name, const std::string& text,
                     int typeCode) {
    InsertRow(name, text, typeCode);
    if (gPrefsDB->Error()) {
        Report(WithDatabaseMessage(what + " DB can't create the entry!"));
        return false;
    }
    gPrefsDB->Commit();
    if (gPrefsDB->Error()) {
        Report(WithDatabaseMessage(what + " Error after commit!"));
        return false;
    }
    return true;
}

// A failed update is reported before the commit: a commit that succeeds clears the error state,
// and the lost write would otherwise pass unnoticed.
void UpdateExisting(fw::RecordSet& row, const std::string& text, int typeCode) {
    row.Edit();
    row.SetField("pValue", text);
    row.SetField("pType", fw::Str(static_cast<int64_t>(typeCode)));
    row.Update();
    if (!gPrefsDB->Error()) {
        gPrefsDB->Commit();
    }
    if (gPrefsDB->Error()) {
        Report(WithDatabaseMessage("Can't store preferences value. Error during update."));
    }
}

// False once a failure has been reported (or kept): the run is ending.
bool Opened() {
    return gPrefsDB && gPrefsDB->IsConnected();
}

std::string FileName() {
    return gAppName + ".pref";
}

fw::FolderItem ChosenFile(const fw::FolderItem& preferencesFolder) {
    const fw::FolderItem file = fw::GetFolderItem(FileName());
    return file.Exists() ? file : preferencesFolder.Child(FileName());
}

enum class Opening { Usable, Broken, Failed };

// A file that is no database, a damaged one, or one without the real preferences table (an empty
// file, a first start cut short) is broken. Any other failure, a lock held too long or a read
// error, is no fault of the file's.
Opening Open(const fw::FolderItem& file) {
    gPrefsDB->DatabaseFile = file.NativePath();
    const auto judged = [](int code) {
        return code == SQLITE_NOTADB || code == SQLITE_CORRUPT ? Opening::Broken : Opening::Failed;
    };
    if (!gPrefsDB->Connect()) {
        return judged(gPrefsDB->ErrorCode());
    }
    // Only a real table: a view in its place could freeze the start-up for ever.
    if (!gPrefsDB->HasTable("preferences", {"pName", "pType", "pValue"})) {
        return gPrefsDB->ErrorCode() == SQLITE_SCHEMA ? Opening::Broken
                                                      : judged(gPrefsDB->ErrorCode());
    }
    // A cut-short file may show its table and lack the pages behind it.
    const std::unique_ptr<fw::RecordSet> check = gPrefsDB->SQLSelect("PRAGMA quick_check");
    if (!check) {
        return judged(gPrefsDB->ErrorCode());
    }
    const bool whole = check->IdxField(1).StringValue() == "ok" && check->RecordCount() == 1;
    return whole ? Opening::Usable : Opening::Broken;
}

// Moves the file to its first free set-aside name: 0 with that name in `aside`, or the errno value
// of the failure (EEXIST when every name is taken, ENOENT when the file is gone).
int SetAside(const fw::FolderItem& file, std::string& aside) {
    int error = EEXIST;
    for (int number = 0; number < kSetAsideNames && error == EEXIST; ++number) {
        aside = file.NativePath() + ".broken" + (number == 0 ? "" : "." + std::to_string(number));
        // Never over an earlier one, even when another start sets a file aside at this moment.
        error = fw::RenameNoReplace(file.NativePath(), aside);
    }
    return error;
}

// True when done with the file: opened, or its failure reported. False when the file is no longer
// there: it was broken and has been set aside (its new name added to `setAside`), or something
// else moved it meanwhile (a start with another preferences folder, a hand), so that whatever
// lies there now is looked at afresh.
bool OpenExisting(const fw::FolderItem& file, std::vector<std::string>& setAside) {
    const Opening opening = Open(file);
    if (opening == Opening::Usable) {
        return true;
    }
    const std::string reason = gPrefsDB->ErrorMessage();
    gPrefsDB->Close();
    if (opening == Opening::Failed) {
        if (!file.Exists()) {
            return false;
        }
        Report("DB connection error! (" + reason + ")");
        return true;
    }
    std::string aside;
    const int error = SetAside(file, aside);
    if (error == ENOENT) {
        return false;
    }
    if (error != 0) {
        Report("DB connection error! (" + reason + ": " + file.NativePath() + ")");
        return true;
    }
    setAside.push_back(aside);
    return false;
}

// Told once, when a file serves again; a fresh file that could not be made is told of at once,
// since the user has just lost the file in its place.
void TellSetAside(const std::vector<std::string>& setAside) {
    if (setAside.empty()) {
        return;
    }
    if (!Opened()) {
        if (!gKeptReport.empty()) {
            PMDebug::Error(std::exchange(gKeptReport, ""));
        }
        return;
    }
    std::string names;
    for (const std::string& aside : setAside) {
        names += fw::EndOfLine() + aside;
    }
    fw::MsgBox(gSetAsideNotice() + fw::EndOfLine() + names);
}

void MakePrefFile() {
    const std::string creationDate = fw::NowSQLDateTime();
    const std::string target = gPrefsDB->DatabaseFile;
    fw::TemporaryFile temporary(target);
    if (temporary.Path().empty()) {
        Report(CantCreate(target, temporary.ErrorMessage()));
        return;
    }
    gPrefsDB->DatabaseFile = temporary.Path();
    if (!gPrefsDB->CreateDatabaseFile()) {
        Report(CantCreate(target, gPrefsDB->ErrorMessage()));
        return;
    }
    if (!gPrefsDB->Connect()) {
        Report(WithDatabaseMessage("Can't connect to the new database!"));
        return;
    }
    gPrefsDB->SQLExecute(
        "CREATE TABLE preferences(pName varchar primary key, pType Integer, pValue varchar)");
    if (gPrefsDB->Error()) {
        Report(WithDatabaseMessage("Can't create the preferences table!"));
        return;
    }
    gPrefsDB->SQLExecute("CREATE INDEX fastpref ON preferences (pName)");
    if (gPrefsDB->Error()) {
        Report(WithDatabaseMessage("Can't create the preferences index"));
        return;
    }
    if (!InsertAndCommit("Can't write first pref value.", "DB_Creation_Date", creationDate,
                         fw::Variant::TypeDate)) {
        return;
    }
    Store("DB_Creation_AppVersion", fw::Variant(fw::LongVersion()));
    Store("DB_Creation_AppBuild", fw::Variant(fw::Date{fw::BuildDate()}));
    if (!Opened()) {
        return;
    }
    gPrefsDB->Close();
    gPrefsDB->DatabaseFile = target;
    // Another start (an edition, another display) may have made the file meanwhile, when it could
    // not wait for the lock: that one is whole too, and it stays.
    if (!temporary.MoveTo(target) && !temporary.TargetExisted()) {
        Report(CantCreate(target, temporary.ErrorMessage()));
        return;
    }
    if (!gPrefsDB->Connect()) {
        Report(WithDatabaseMessage("DB connection error!"));
    }
}

void OpenOrMake(const fw::FolderItem& preferencesFolder, std::vector<std::string>& setAside) {
    // A broken file beside the application is set aside, and the one in the preferences folder
    // may be broken too; each may also have been moved away by someone else meanwhile.
    constexpr int kTries = 4;
    fw::FolderItem file = ChosenFile(preferencesFolder);
    for (int tries = 0; tries < kTries && file.Exists();
         ++tries, file = ChosenFile(preferencesFolder)) {
        if (OpenExisting(file, setAside)) {
            return;
        }
    }
    gPrefsDB->DatabaseFile = file.NativePath();
    CreatePrefFile();
}

}  // namespace

void Initialize() {
    gKeptReport.clear();
    gPrefsDB = std::make_unique<fw::Database>();
    const fw::FolderItem folder = fw::PreferencesFolder();
    fw::TemporaryFile::RemoveLeftovers(folder.Child(FileName()).NativePath(), kLeftoverAge);
    std::vector<std::string> setAside;
    {
        // Held while the file is judged, set aside and made, so that a start never judges a file
        // that another start is moving away or never moves another's fresh file aside; given
        // back before any box, which waits for the user.
        const fw::FolderLock lock(folder.NativePath(), kLockPatience);
        gLocked = true;
        OpenOrMake(folder, setAside);
        gLocked = false;
    }
    if (!gLockedReport.empty()) {
        PMDebug::Error(std::exchange(gLockedReport, ""));
    }
    TellSetAside(setAside);
}

void CreatePrefFile() {
    gCreating = true;
    MakePrefFile();
    gCreating = false;
}

fw::Variant Retrieve(const std::string& name) {
    if (!Opened()) {
        return {};
    }
    const std::unique_ptr<fw::RecordSet> rows = gPrefsDB->SQLSelect(SelectByName(name));
    if (!rows || gPrefsDB->Error()) {
        Report(WithDatabaseMessage("Can't retrieve preferences value."));
        return {};
    }
    if (rows->EndOfFile()) {
        return {};
    }
    if (rows->RecordCount() > 1) {
        Report("Can't retrieve preferences value. The name isn't unique.");
        return {};
    }
    return FromStoredText(rows->Field("pType").IntegerValue(), rows->Field("pValue").StringValue());
}

void Store(const std::string& name, const fw::Variant& value) {
    if (!Opened()) {
        // A file that could not be made is told of now, when a value would be lost (and not by
        // the stamps written while it is made).
        if (!gCreating && !gKeptReport.empty()) {
            PMDebug::Error(std::exchange(gKeptReport, ""));
        }
        return;
    }
    const int typeCode = value.VarType();
    const std::string text = value.StringValue();
    // Another start may store the same name at this moment. The write transaction begins before
    // the row is looked for, so no other start writes between the look and the insert or update;
    // a start that finds the file busy waits for the other's commit.
    gPrefsDB->SQLExecute("BEGIN IMMEDIATE");
    if (gPrefsDB->Error()) {
        Report(WithDatabaseMessage("Can't store preferences value."));
        return;
    }
    const std::unique_ptr<fw::RecordSet> rows = gPrefsDB->SQLSelect(SelectByName(name));
    if (!rows || gPrefsDB->Error()) {
        Report(WithDatabaseMessage("Can't store preferences value."));
        return;
    }
    if (rows->EndOfFile()) {
        InsertAndCommit("Can't store preferences value.", name, text, typeCode);
        return;
    }
    if (rows->RecordCount() > 1) {
        Report("Can't store preferences value. The name isn't unique.");
        return;
    }
    UpdateExisting(*rows, text, typeCode);
}

}  // namespace PREFS
