#include "dic_fixture.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>

#include "framework/database.h"
#include "framework/folderitem.h"
#include "search/App.h"
#include "worddata/DIC.h"

namespace dictest {

namespace fs = std::filesystem;

AppLayout::AppLayout() {
    std::string pattern = (fs::temp_directory_path() / "quorvane-dic-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("can't make a temporary folder");
    }
    root_ = pattern;
    fs::create_directories(root_ / "bin");
    fs::create_directories(root_ / "Resources");
    WriteFile(root_ / "bin" / "quorvane", "");
    fw::SetExecutableFile((root_ / "bin" / "quorvane").string());
}

AppLayout::~AppLayout() {
    fw::SetExecutableFile("");
    std::error_code error;
    fs::remove_all(root_, error);
}

void WriteWordDatabase(const fs::path& file, const std::vector<WordRow>& rows) {
    fw::Database db;
    db.DatabaseFile = file.string();
    if (!db.CreateDatabaseFile()) {
        throw std::runtime_error("can't create " + file.string() + ": " + db.ErrorMessage());
    }
    db.SQLExecute("CREATE TABLE words (wID INTEGER, wWord TEXT, wSoundex INTEGER)");
    for (const WordRow& row : rows) {
        fw::DatabaseRecord record;
        record.IntegerColumn("wID", row.id);
        record.Column("wWord", row.word);
        record.IntegerColumn("wSoundex", row.soundex);
        db.InsertRecord("words", record);
    }
    db.Commit();
    if (db.Error()) {
        throw std::runtime_error("can't fill " + file.string() + ": " + db.ErrorMessage());
    }
}

void WriteFile(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("can't write " + file.string());
    }
}

GroupFileBytes& GroupFileBytes::Append(uint64_t value, int width) {
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
        bytes_ += static_cast<char>((value >> shift) & 0xFF);
    }
    return *this;
}

GroupFileBytes& GroupFileBytes::Int16(int16_t value) {
    return Append(static_cast<uint16_t>(value), 2);
}

GroupFileBytes& GroupFileBytes::Int32(int32_t value) {
    return Append(static_cast<uint32_t>(value), 4);
}

GroupFileBytes& GroupFileBytes::Int64(int64_t value) {
    return Append(static_cast<uint64_t>(value), 8);
}

GroupFileBytes& GroupFileBytes::Group(int32_t key, const std::vector<int32_t>& members) {
    Int32(key).Int16(static_cast<int16_t>(members.size()));
    for (const int32_t member : members) {
        Int32(member);
    }
    return *this;
}

GroupFileBytes& GroupFileBytes::Word(const std::vector<int32_t>& groupKeys) {
    Int16(static_cast<int16_t>(groupKeys.size()));
    for (const int32_t key : groupKeys) {
        Int32(key);
    }
    return *this;
}

std::vector<std::string> Reports(const RecordingUI& ui) {
    std::vector<std::string> reports;
    for (const std::string& message : ui.messages) {
        const size_t body = message.find("\n\n");
        reports.push_back(body == std::string::npos ? message : message.substr(body + 2));
    }
    return reports;
}

void ResetWordStore() {
    App::gDBLoaded = true;
    DIC::Terminate();
    App::gDBLoaded = false;
    DIC::gHitID.clear();
    DIC::gHitWord.clear();
    DIC::gSelectedLanguage.clear();
    DIC::gDE = false;
    DIC::gEN = false;
}

}  // namespace dictest
