// Word files written into a throw-away application layout, and a reset of the word store's module
// state. Main thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/scoped_environment.h"
#include "test_ui.h"

namespace dictest {

struct WordRow {
    int64_t id;
    std::string word;
    int64_t soundex;
};

// Table `words` (wID, wWord, wSoundex) holding `rows` in this order.
void WriteWordDatabase(const std::filesystem::path& file, const std::vector<WordRow>& rows);
void WriteFile(const std::filesystem::path& file, const std::string& bytes);

// Big-endian bytes of a word-group file, field by field.
class GroupFileBytes {
  public:
    GroupFileBytes& Int16(int16_t value) { return Append(static_cast<uint64_t>(value), 2); }
    GroupFileBytes& Int32(int32_t value) { return Append(static_cast<uint64_t>(value), 4); }
    GroupFileBytes& Int64(int64_t value) { return Append(static_cast<uint64_t>(value), 8); }
    GroupFileBytes& Group(int32_t key, const std::vector<int32_t>& members) {
        return Int32(key).Int16(static_cast<int16_t>(members.size())).Int32s(members);
    }
    GroupFileBytes& Word(const std::vector<int32_t>& groupKeys) {
        return Int16(static_cast<int16_t>(groupKeys.size())).Int32s(groupKeys);
    }
    const std::string& Bytes() const { return bytes_; }

  private:
    GroupFileBytes& Append(uint64_t value, int width);
    GroupFileBytes& Int32s(const std::vector<int32_t>& values);
    std::string bytes_;
};

void ResetWordStore();

// A temporary application layout with recorded dialogs; the word store is reset around the test.
class AppTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetWordStore(); }
    void TearDown() override { ResetWordStore(); }

    // The fatal reports so far, without the error title in front.
    std::vector<std::string> Reports() const;
    void ForgetReports() const;

    ScopedAppLayout layout_;
    ScopedRecordingUI ui_;
};

}  // namespace dictest
