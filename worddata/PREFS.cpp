#include "worddata/PREFS.h"

#include <sqlite3.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "framework/application.h"
#include "framework/folderitem.h"
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

// What a start killed while it made the file left (its temporary file, often with a journal) is
// removed once this old; a younger one may be another start's file in the making.
constexpr auto kLeftoverAge = std::chrono::minutes(1);

// While the file is being made, a failure is kept rather than shown: only a write needs the file,
// the editions that fix their language never write, and the first write shows it.
bool gCreating = false;
std::string gKeptReport;

// Every failure ends the run. The database is closed at once, so nothing more is written and the
// calls that follow during the start-up stay silent rather than add a box each.
void Report(const std::string& message) {
    if (!gCreating) {
        PMDebug::Error(message);
    } else if (gKeptReport.empty()) {
        gKeptReport = message;
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

fw::FolderItem ChosenFile() {
    const std::string fileName = gAppName + ".pref";
    const fw::FolderItem file = fw::GetFolderItem(fileName);
    return file.Exists() ? file : fw::PreferencesFolder().Child(fileName);
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

// The file's new name, "" when every name is taken or the rename failed.
std::string SetAside(const fw::FolderItem& file) {
    for (int number = 0; number < kSetAsideNames; ++number) {
        const std::string aside =
            file.NativePath() + ".broken" + (number == 0 ? "" : "." + std::to_string(number));
        // Never over an earlier one, even when another start sets a file aside at this moment.
        const int error = fw::RenameNoReplace(file.NativePath(), aside);
        if (error != EEXIST) {
            return error == 0 ? aside : "";
        }
    }
    return "";
}

// True when done with the file: opened, or its failure reported. False when it was broken and has
// been set aside (its new name added to `setAside`), so that a fresh file takes its place.
bool OpenExisting(const fw::FolderItem& file, std::vector<std::string>& setAside) {
    const Opening opening = Open(file);
    if (opening == Opening::Usable) {
        return true;
    }
    const std::string reason = gPrefsDB->ErrorMessage();
    gPrefsDB->Close();
    const std::string aside = opening == Opening::Broken ? SetAside(file) : "";
    if (aside.empty()) {
        const std::string where = opening == Opening::Broken ? ": " + file.NativePath() : "";
        Report("DB connection error! (" + reason + where + ")");
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
    // Another start (an edition, another display) may have made the file meanwhile: that one is
    // whole too, and it stays.
    if (!temporary.MoveTo(target) && !temporary.TargetExisted()) {
        Report(CantCreate(target, temporary.ErrorMessage()));
        return;
    }
    if (!gPrefsDB->Connect()) {
        Report(WithDatabaseMessage("DB connection error!"));
    }
}

}  // namespace

void Initialize() {
    gKeptReport.clear();
    gPrefsDB = std::make_unique<fw::Database>();
    fw::TemporaryFile::RemoveLeftovers(
        fw::PreferencesFolder().Child(gAppName + ".pref").NativePath(), kLeftoverAge);
    // Twice at most: a broken file beside the application is set aside, and the one in the
    // preferences folder may be broken too.
    std::vector<std::string> setAside;
    fw::FolderItem file = ChosenFile();
    for (int tries = 0; tries < 2 && file.Exists(); ++tries, file = ChosenFile()) {
        if (OpenExisting(file, setAside)) {
            TellSetAside(setAside);
            return;
        }
    }
    gPrefsDB->DatabaseFile = file.NativePath();
    CreatePrefFile();
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
