// Test fixtures of the word data: a throw-away application layout (bin/ and Resources/ in a
// temporary folder, pointed at through fw::SetExecutableFile), small word databases and word-group
// files written into it, environment overrides, and a reset of the word store's module state.
// Main thread only; each fixture undoes its files and settings when it goes.
#pragma once

#include <QTemporaryDir>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_ui.h"

namespace dictest {

// <root>/bin/quorvane and <root>/Resources; the executable file points into it meanwhile.
class AppLayout {
  public:
    AppLayout();
    ~AppLayout();

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path BesideApp(const std::string& name) const { return root_ / "bin" / name; }
    std::filesystem::path InResources(const std::string& name) const {
        return root_ / "Resources" / name;
    }

  private:
    QTemporaryDir dir_;
    std::filesystem::path root_;
};

struct WordRow {
    int64_t id;
    std::string word;
    int64_t soundex;
};

// A word database with the table `words` (wID, wWord, wSoundex) holding `rows` in this order.
void WriteWordDatabase(const std::filesystem::path& file, const std::vector<WordRow>& rows);
void WriteFile(const std::filesystem::path& file, const std::string& bytes);

// Big-endian bytes of a word-group file, field by field.
class GroupFileBytes {
  public:
    GroupFileBytes& Int16(int16_t value) { return Append(static_cast<uint64_t>(value), 2); }
    GroupFileBytes& Int32(int32_t value) { return Append(static_cast<uint64_t>(value), 4); }
    GroupFileBytes& Int64(int64_t value) { return Append(static_cast<uint64_t>(value), 8); }
    // A group record: key, member count, members.
    GroupFileBytes& Group(int32_t key, const std::vector<int32_t>& members);
    // A word record: group count, group keys.
    GroupFileBytes& Word(const std::vector<int32_t>& groupKeys);
    const std::string& Bytes() const { return bytes_; }

  private:
    GroupFileBytes& Append(uint64_t value, int width);
    std::string bytes_;
};

// Sets an environment variable for its lifetime and restores the earlier state afterwards.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
    std::optional<std::string> previous_;
};

// Releases whatever the word store holds and empties its module state, as at program start.
void ResetWordStore();

// A test in a temporary application layout, with recorded dialogs and the word store reset before
// and after.
class AppTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetWordStore(); }
    void TearDown() override { ResetWordStore(); }

    // The fatal reports so far, without the error title that PMDebug puts in front.
    std::vector<std::string> Reports() const;
    void ForgetReports() const;

    AppLayout layout_;
    ScopedRecordingUI ui_;
};

}  // namespace dictest
