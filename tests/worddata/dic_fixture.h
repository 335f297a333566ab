// Test fixtures of the word store: a throw-away application layout (bin/ and Resources/ in a
// temporary folder, pointed at through fw::SetExecutableFile), small word databases and word-group
// files written into it, and a reset of the word store's module state between tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "test_ui.h"

namespace dictest {

// A temporary application folder: <root>/bin/quorvane and <root>/Resources. The executable file
// points into it for the fixture's lifetime; the folder is removed afterwards.
class AppLayout {
  public:
    AppLayout();
    ~AppLayout();
    AppLayout(const AppLayout&) = delete;
    AppLayout& operator=(const AppLayout&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path BesideApp(const std::string& name) const { return root_ / "bin" / name; }
    std::filesystem::path InResources(const std::string& name) const {
        return root_ / "Resources" / name;
    }

  private:
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
    GroupFileBytes& Int16(int16_t value);
    GroupFileBytes& Int32(int32_t value);
    GroupFileBytes& Int64(int64_t value);
    // A group record: key, member count, members.
    GroupFileBytes& Group(int32_t key, const std::vector<int32_t>& members);
    // A word record: group count, group keys.
    GroupFileBytes& Word(const std::vector<int32_t>& groupKeys);
    const std::string& Bytes() const { return bytes_; }

  private:
    GroupFileBytes& Append(uint64_t value, int width);
    std::string bytes_;
};

// The fatal reports recorded so far, without the error title that PMDebug puts in front.
std::vector<std::string> Reports(const RecordingUI& ui);

// Releases whatever the word store holds and empties its module state, as at program start.
void ResetWordStore();

}  // namespace dictest
