#include "worddata/WordGroups.h"

#include <algorithm>
#include <iterator>
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
    ranges_.push_back(Range{key, pending_, end - pending_});
    pending_ = end;
}

void GroupDict::FinishGroups() {
    const auto byKey = [](const Range& a, const Range& b) { return a.key < b.key; };
    if (!std::is_sorted(ranges_.begin(), ranges_.end(), byKey)) {
        std::stable_sort(ranges_.begin(), ranges_.end(), byKey);
    }
    // Of the records that share a key the last one in the file counts: the last of each run.
    auto kept = ranges_.begin();
    for (auto range = ranges_.begin(); range != ranges_.end(); ++range) {
        const auto next = std::next(range);
        if (next == ranges_.end() || next->key != range->key) {
            *kept++ = *range;
        }
    }
    ranges_.erase(kept, ranges_.end());
    dense_ =
        !ranges_.empty() && static_cast<int64_t>(ranges_.back().key) - ranges_.front().key + 1 ==
                                static_cast<int64_t>(ranges_.size());
}

const GroupDict::Range* GroupDict::Find(int32_t key) const {
    if (dense_) {
        const int64_t index = static_cast<int64_t>(key) - ranges_.front().key;
        const bool inside = index >= 0 && index < static_cast<int64_t>(ranges_.size());
        return inside ? &ranges_[static_cast<size_t>(index)] : nullptr;
    }
    const auto found =
        std::lower_bound(ranges_.begin(), ranges_.end(), key,
                         [](const Range& range, int32_t k) { return range.key < k; });
    return found != ranges_.end() && found->key == key ? &*found : nullptr;
}

void GroupDict::Reserve(size_t groups, size_t members) {
    ranges_.reserve(groups);
    members_.reserve(members);
}

bool GroupDict::HasKey(int32_t key) const {
    return Find(key) != nullptr;
}

std::span<const int32_t> GroupDict::Members(int32_t key) const {
    const Range* const found = Find(key);
    if (!found) {
        return {};
    }
    return std::span<const int32_t>(members_).subspan(found->offset, found->count);
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
