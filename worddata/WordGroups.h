// The synonym groups of one word-group file in compact form: a group's member word IDs and a
// word's group keys, each in file order. Filled once by DIC::LoadWL, then only read. Main event
// loop and its cooperative threads. Lookups never fail: an unknown key or ID simply has no
// entries. Filling throws std::length_error once the tables outgrow their 32-bit offsets (and
// std::bad_alloc), which the loader reports as a corrupted file.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace DIC {

// Group key -> member word IDs. A key added again replaces the earlier group. The keys come from
// the file, so they live in a sorted array rather than a hash table: no choice of keys can make
// the load slower than a sort.
class GroupDict {
  public:
    // Members collect through AddMember until CommitGroup files them under the group's key;
    // FinishGroups then indexes the keys, and the lookups hold from there on.
    void AddMember(int32_t wordID) { members_.push_back(wordID); }
    void CommitGroup(int32_t key);
    void FinishGroups();
    void Reserve(size_t groups, size_t members);

    bool HasKey(int32_t key) const;
    // The group's word IDs in file order; empty when no group has the key.
    std::span<const int32_t> Members(int32_t key) const;
    size_t Count() const { return ranges_.size(); }

  private:
    struct Range {
        int32_t key = 0;
        uint32_t offset = 0;
        uint32_t count = 0;
    };
    const Range* Find(int32_t key) const;

    std::vector<int32_t> members_;
    std::vector<Range> ranges_;  // sorted by key, one per key, once FinishGroups has run
    // The keys are one unbroken run (as the word-file builder numbers them): found by index.
    bool dense_ = false;
    uint32_t pending_ = 0;  // first member not yet filed under a key
};

// Word ID -> group keys; entry i belongs to word ID i. An entry without keys is nil.
class WordGroupsList {
  public:
    // Keys collect through AddKey until CommitEntry appends them as the next entry; an entry
    // committed without keys is nil.
    void AddKey(int32_t groupKey) { keys_.push_back(groupKey); }
    void CommitEntry();
    void Reserve(size_t entries, size_t keys);
    void Clear();

    size_t Count() const { return offsets_.size() - 1; }
    // True for a record with no group and for an ID outside the records (a word in no group).
    bool IsNil(int64_t wordID) const { return GroupKeys(wordID).empty(); }
    // The word's group keys in file order; empty when nil.
    std::span<const int32_t> GroupKeys(int64_t wordID) const;

  private:
    std::vector<int32_t> keys_;
    std::vector<uint32_t> offsets_{0};  // entry i spans keys_[offsets_[i], offsets_[i + 1])
};

}  // namespace DIC
