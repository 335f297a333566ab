#include "dic_fixture.h"

#include <fstream>

#include "framework/text.h"
#include "search/App.h"
#include "sqlite_probe.h"
#include "worddata/DIC.h"

namespace dictest {

namespace fs = std::filesystem;

void WriteWordDatabase(const fs::path& file, const std::vector<WordRow>& rows) {
    std::string sql = "CREATE TABLE words (wID INTEGER, wWord TEXT, wSoundex INTEGER);";
    for (const WordRow& row : rows) {
        sql += "INSERT INTO words VALUES (" + std::to_string(row.id) + ", '" +
               fw::ReplaceAllB(row.word, "'", "''") + "', " + std::to_string(row.soundex) + ");";
    }
    sqlite_probe::Execute(file, sql);
}

void WriteFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

GroupFileBytes& GroupFileBytes::Append(uint64_t value, int width) {
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
        bytes_ += static_cast<char>((value >> shift) & 0xFF);
    }
    return *this;
}

GroupFileBytes& GroupFileBytes::Int32s(const std::vector<int32_t>& values) {
    for (const int32_t value : values) {
        Int32(value);
    }
    return *this;
}

void ResetWordStore() {
    App::gDBLoaded = true;
    DIC::Terminate();
    App::gDBLoaded = false;
    App::gAppIsQuitting = false;
    DIC::gHitID.clear();
    DIC::gHitWord.clear();
    DIC::gSelectedLanguage.clear();
    DIC::gDE = false;
    DIC::gEN = false;
}

std::vector<std::string> AppTest::Reports() const {
    std::vector<std::string> reports;
    for (const std::string& message : ui_->messages) {
        const size_t body = message.find("\n\n");
        reports.push_back(body == std::string::npos ? message : message.substr(body + 2));
    }
    return reports;
}

void AppTest::ForgetReports() const {
    ui_->messages.clear();
    ui_->quitCodes.clear();
}

}  // namespace dictest
