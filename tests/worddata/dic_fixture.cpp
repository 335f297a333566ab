#include "dic_fixture.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "framework/folderitem.h"
#include "search/App.h"
#include "sqlite_probe.h"
#include "worddata/DIC.h"

namespace dictest {

namespace fs = std::filesystem;

AppLayout::AppLayout() : root_(dir_.path().toStdString()) {
    fs::create_directories(root_ / "bin");
    fs::create_directories(root_ / "Resources");
    WriteFile(root_ / "bin" / "quorvane", "");
    fw::SetExecutableFile((root_ / "bin" / "quorvane").string());
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
        previousConfig_ = old;
    }
    ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
}

AppLayout::~AppLayout() {
    fw::SetExecutableFile("");
    if (previousConfig_) {
        ::setenv("XDG_CONFIG_HOME", previousConfig_->c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

void WriteWordDatabase(const fs::path& file, const std::vector<WordRow>& rows) {
    std::string sql = "CREATE TABLE words (wID INTEGER, wWord TEXT, wSoundex INTEGER);";
    for (const WordRow& row : rows) {
        std::string literal;
        for (const char c : row.word) {
            literal += c == '\'' ? std::string("''") : std::string(1, c);
        }
        sql += "INSERT INTO words VALUES (" + std::to_string(row.id) + ", '" + literal + "', " +
               std::to_string(row.soundex) + ");";
    }
    sqlite_probe::Execute(file, sql);
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
