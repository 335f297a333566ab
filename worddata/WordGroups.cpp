#include "worddata/WordGroups.h"

#include <limits>
#include <stdexcept>

namespace DIC {
namespace {

// Offsets are 32-bit to keep the tables small; a file that would overflow them is corrupt anyway.
uint32_t CheckedOffset(size_t size) {
    if (size > std::numeric_limits<uint32_t>::max()) {
        throw std::length_error("word-group table too large");
    }
    return static_cast<uint32_t>(size);
}

}  // namespace

void GroupDict::CommitGroup(int32_t key) {
    const uint32_t end = CheckedOffset(members_.size());
    ranges_[key] = Range{pending_, end - pending_};
    pending_ = end;
}

void GroupDict::Reserve(size_t groups, size_t members) {
    ranges_.reserve(groups);
    members_.reserve(members);
}

bool GroupDict::HasKey(int32_t key) const {
    return ranges_.contains(key);
}

std::span<const int32_t> GroupDict::Members(int32_t key) const {
    const auto found = ranges_.find(key);
    if (found == ranges_.end()) {
        return {};
    }
    return std::span<const int32_t>(members_).subspan(found->second.offset, found->second.count);
}

void WordGroupsList::CommitEntry() {
    offsets_.push_back(CheckedOffset(keys_.size()));
}

void WordGroupsList::Reserve(size_t entries, size_t keys) {
    offsets_.reserve(offsets_.size() + entries);
    keys_.reserve(keys_.size() + keys);
}

void WordGroupsList::Clear() {
    keys_ = {};
    offsets_ = {0};
}

std::span<const int32_t> WordGroupsList::GroupKeys(int64_t wordID) const {
    if (wordID < 0 || wordID >= static_cast<int64_t>(Count())) {
        return {};
    }
    const auto index = static_cast<size_t>(wordID);
    return std::span<const int32_t>(keys_).subspan(offsets_[index],
                                                   offsets_[index + 1] - offsets_[index]);
}

}  // namespace DIC
