// The objects of the stand-in runtime behind 32-bit references: classes, the shared spell
// checker, autorelease pools, strings and arrays. References are handles into this table, never
// pointers, and a handle is never given out twice, so a stale reference is recognised instead of
// reaching another object. Counted objects go when their retain count reaches 0; classes and the
// spell checker are permanent. Main OS thread only.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

namespace platform {

struct ClassObject {
    std::string name;
};
struct SpellCheckerObject {};
struct PoolObject {};
struct StringObject {
    QString text;
};
// Holds one retain on each element.
struct ArrayObject {
    std::vector<int32_t> elements;
};
using Payload =
    std::variant<ClassObject, SpellCheckerObject, PoolObject, StringObject, ArrayObject>;

class ObjectTable {
  public:
    // A new counted object with retain count 1; 0 once the handles are used up.
    int32_t Add(Payload payload);
    // A new object that retain and release never free.
    int32_t AddPermanent(Payload payload);

    // The payload of a live object of type T; nullptr for 0, a stale reference or another type.
    template <typename T>
    T* Find(int32_t ref) {
        Entry* const entry = Lookup(ref);
        return entry == nullptr ? nullptr : std::get_if<T>(&entry->payload);
    }
    bool IsAlive(int32_t ref) const { return ref != 0 && objects_.contains(ref); }

    // The reference, or 0 for a stale one.
    int32_t Retain(int32_t ref);
    void Release(int32_t ref);
    // The retain count; 0 for a stale reference, INT32_MAX for a permanent object.
    int32_t RetainCount(int32_t ref);

    // Makes the pool the innermost one (once).
    void PushPool(int32_t pool);
    // Hands the caller's retain to the innermost pool, which releases it when it goes. Without a
    // pool nobody ever releases the object: it leaks, as it would in Cocoa.
    void Autorelease(int32_t ref);

    int64_t LiveCount() const { return static_cast<int64_t>(objects_.size()); }
    // How often Retain, Release or RetainCount met a stale reference (an over-release, or a use
    // after the last release).
    int64_t StaleCount() const { return staleCount_; }

  private:
    struct Entry {
        Payload payload;
        int32_t retainCount = 1;
        bool permanent = false;
    };
    struct PoolFrame {
        int32_t pool;
        std::vector<int32_t> autoreleased;
    };

    Entry* Lookup(int32_t ref);
    Entry* LookupCounted(int32_t ref);  // counts a stale reference
    void Free(int32_t ref);
    // A pool that goes drains itself and every pool opened after it, innermost first.
    void DrainPoolsFrom(int32_t pool);

    std::unordered_map<int32_t, Entry> objects_;
    std::vector<PoolFrame> pools_;  // innermost last
    int32_t lastHandle_ = 0;
    int64_t staleCount_ = 0;
};

}  // namespace platform
