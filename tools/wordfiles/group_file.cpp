#include "tools/wordfiles/group_file.h"

#include <fstream>
#include <stdexcept>

#include "tools/wordfiles/replacing_file.h"

namespace wordfiles {
namespace {

template <typename Int>
void AppendBigEndian(std::string& out, Int value) {
    using Unsigned = std::make_unsigned_t<Int>;
    const auto bits = static_cast<Unsigned>(value);
    for (int shift = 8 * static_cast<int>(sizeof(Int)) - 8; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((bits >> shift) & 0xFF));
    }
}

int16_t Count16(size_t count) {
    if (count > static_cast<size_t>(INT16_MAX)) {
        throw std::length_error("a count does not fit the 16-bit field of the word-group file");
    }
    return static_cast<int16_t>(count);
}

void AppendList(std::string& out, const std::vector<int32_t>& values) {
    AppendBigEndian(out, Count16(values.size()));
    for (const int32_t value : values) {
        AppendBigEndian(out, value);
    }
}

}  // namespace

std::string EncodeGroupFile(const WordFileContent& content) {
    std::string out;
    AppendBigEndian(out, static_cast<int32_t>(content.groups.size()));
    for (size_t key = 0; key < content.groups.size(); ++key) {
        AppendBigEndian(out, static_cast<int32_t>(key));
        AppendList(out, content.groups[key]);
    }
    AppendBigEndian(out, int64_t{0});
    AppendBigEndian(out, static_cast<int32_t>(content.wordGroups.size()));
    for (const std::vector<int32_t>& keys : content.wordGroups) {
        AppendList(out, keys);
    }
    return out;
}

void WriteGroupFile(const std::filesystem::path& target, const WordFileContent& content) {
    const std::string bytes = EncodeGroupFile(content);
    ReplacingFile file(target);
    {
        std::ofstream out(file.TempPath(), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            throw std::runtime_error("can't write " + file.TempPath().string());
        }
    }
    file.Commit();
}

}  // namespace wordfiles
