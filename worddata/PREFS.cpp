#include "worddata/PREFS.h"

#include "framework/application.h"
#include "framework/folderitem.h"
#include "framework/text.h"
#include "worddata/PMDebug.h"

namespace PREFS {

namespace {

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
            PMDebug::Error("Can't retrieve preferences value. Type object isn't supported.");
            return {};
        case fw::Variant::TypeBoolean:
            return fw::Variant(fw::StrComp(text, "true", 1) == 0);
        case fw::Variant::TypeColor:
            PMDebug::Error("Can't retrieve preferences value. Type color isn't supported.");
            return {};
        default:
            PMDebug::Error("Can't retrieve preferences value. Unsupported and unknown type.");
            return {};
    }
}

// Inserts the row and commits in either case; each failure is reported under `what` ("Can't
// store preferences value."). False when the commit failed.
bool InsertAndCommit(const std::string& what, const std::string& name, const std::string& text,
                     int typeCode) {
    InsertRow(name, text, typeCode);
    if (gPrefsDB->Error()) {
        PMDebug::Error(WithDatabaseMessage(what + " DB can't create the entry!"));
    }
    gPrefsDB->Commit();
    if (gPrefsDB->Error()) {
        PMDebug::Error(WithDatabaseMessage(what + " Error after commit!"));
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
        PMDebug::Error(WithDatabaseMessage("Can't store preferences value. Error during update."));
    }
}

// False after an open that failed: that failure has been reported and the run is ending, so the
// calls that follow during the start-up stay silent rather than add a box per call.
bool Opened() {
    return gPrefsDB && gPrefsDB->IsConnected();
}

}  // namespace

void Initialize() {
    const std::string fileName = gAppName + ".pref";
    fw::FolderItem file = fw::GetFolderItem(fileName);
    if (!file.Exists()) {
        file = fw::PreferencesFolder().Child(fileName);
    }
    gPrefsDB = std::make_unique<fw::Database>();
    gPrefsDB->DatabaseFile = file.NativePath();
    if (!file.Exists()) {
        CreatePrefFile();
        return;
    }
    // Only a real preferences table: a view in its place could freeze the start-up for ever.
    if (!gPrefsDB->Connect() || !gPrefsDB->HasTable("preferences", {"pName", "pType", "pValue"})) {
        PMDebug::Error(WithDatabaseMessage("DB connection error!"));
        gPrefsDB->Close();
    }
}

void CreatePrefFile() {
    const std::string creationDate = fw::NowSQLDateTime();
    if (!gPrefsDB->CreateDatabaseFile()) {
        PMDebug::Error("Can't create the database file!");
        return;
    }
    if (!gPrefsDB->Connect()) {
        PMDebug::Error(WithDatabaseMessage("Can't connect to the new database!"));
        return;
    }
    gPrefsDB->SQLExecute(
        "CREATE TABLE preferences(pName varchar primary key, pType Integer, pValue varchar)");
    if (gPrefsDB->Error()) {
        PMDebug::Error(WithDatabaseMessage("Can't create the preferences table!"));
        return;
    }
    gPrefsDB->SQLExecute("CREATE INDEX fastpref ON preferences (pName)");
    if (gPrefsDB->Error()) {
        PMDebug::Error(WithDatabaseMessage("Can't create the preferences index"));
        return;
    }
    if (!InsertAndCommit("Can't write first pref value.", "DB_Creation_Date", creationDate,
                         fw::Variant::TypeDate)) {
        return;
    }
    Store("DB_Creation_AppVersion", fw::Variant(fw::LongVersion()));
    Store("DB_Creation_AppBuild", fw::Variant(fw::Date{fw::BuildDate()}));
}

fw::Variant Retrieve(const std::string& name) {
    if (!Opened()) {
        return {};
    }
    const std::unique_ptr<fw::RecordSet> rows = gPrefsDB->SQLSelect(SelectByName(name));
    if (!rows || gPrefsDB->Error()) {
        PMDebug::Error(WithDatabaseMessage("Can't retrieve preferences value."));
        return {};
    }
    if (rows->EndOfFile()) {
        return {};
    }
    if (rows->RecordCount() > 1) {
        PMDebug::Error("Can't retrieve preferences value. The name isn't unique.");
        return {};
    }
    return FromStoredText(rows->Field("pType").IntegerValue(), rows->Field("pValue").StringValue());
}

void Store(const std::string& name, const fw::Variant& value) {
    if (!Opened()) {
        return;
    }
    const int typeCode = value.VarType();
    const std::string text = value.StringValue();
    const std::unique_ptr<fw::RecordSet> rows = gPrefsDB->SQLSelect(SelectByName(name));
    if (!rows || gPrefsDB->Error()) {
        PMDebug::Error(WithDatabaseMessage("Can't store preferences value."));
        return;
    }
    if (rows->EndOfFile()) {
        InsertAndCommit("Can't store preferences value.", name, text, typeCode);
        return;
    }
    if (rows->RecordCount() > 1) {
        PMDebug::Error("Can't store preferences value. The name isn't unique.");
        return;
    }
    UpdateExisting(*rows, text, typeCode);
}

}  // namespace PREFS
