#include "platform/objecttable.h"

#include <algorithm>
#include <limits>

namespace platform {

int32_t ObjectTable::Add(Payload payload) {
    if (lastHandle_ == std::numeric_limits<int32_t>::max()) {
        return 0;
    }
    ++lastHandle_;
    objects_.emplace(lastHandle_, Entry{std::move(payload)});
    return lastHandle_;
}

int32_t ObjectTable::AddPermanent(Payload payload) {
    const int32_t ref = Add(std::move(payload));
    if (ref != 0) {
        objects_.at(ref).permanent = true;
    }
    return ref;
}

ObjectTable::Entry* ObjectTable::Lookup(int32_t ref) {
    if (ref == 0) {
        return nullptr;
    }
    const auto found = objects_.find(ref);
    return found == objects_.end() ? nullptr : &found->second;
}

ObjectTable::Entry* ObjectTable::LookupCounted(int32_t ref) {
    Entry* const entry = Lookup(ref);
    if (entry == nullptr && ref != 0) {
        ++staleCount_;
    }
    return entry;
}

int32_t ObjectTable::Retain(int32_t ref) {
    Entry* const entry = LookupCounted(ref);
    if (entry == nullptr) {
        return 0;
    }
    if (!entry->permanent && entry->retainCount < std::numeric_limits<int32_t>::max()) {
        ++entry->retainCount;
    }
    return ref;
}

void ObjectTable::Release(int32_t ref) {
    Entry* const entry = LookupCounted(ref);
    if (entry == nullptr || entry->permanent) {
        return;
    }
    if (--entry->retainCount == 0) {
        Free(ref);
    }
}

int32_t ObjectTable::RetainCount(int32_t ref) {
    const Entry* const entry = LookupCounted(ref);
    if (entry == nullptr) {
        return 0;
    }
    return entry->permanent ? std::numeric_limits<int32_t>::max() : entry->retainCount;
}

void ObjectTable::Free(int32_t ref) {
    const auto found = objects_.find(ref);
    Payload payload = std::move(found->second.payload);
    objects_.erase(found);
    if (const ArrayObject* const array = std::get_if<ArrayObject>(&payload)) {
        for (const int32_t element : array->elements) {
            Release(element);
        }
    } else if (std::holds_alternative<PoolObject>(payload)) {
        DrainPoolsFrom(ref);
    }
}

void ObjectTable::PushPool(int32_t pool) {
    const bool pushed = std::any_of(pools_.begin(), pools_.end(),
                                    [pool](const PoolFrame& frame) { return frame.pool == pool; });
    if (!pushed) {
        pools_.push_back({pool, {}});
    }
}

void ObjectTable::Autorelease(int32_t ref) {
    if (pools_.empty() || !IsAlive(ref)) {
        return;
    }
    pools_.back().autoreleased.push_back(ref);
}

void ObjectTable::DrainPoolsFrom(int32_t pool) {
    const bool open = std::any_of(pools_.begin(), pools_.end(),
                                  [pool](const PoolFrame& frame) { return frame.pool == pool; });
    while (open && !pools_.empty()) {
        PoolFrame frame = std::move(pools_.back());
        pools_.pop_back();
        // An object autoreleased while draining goes to the next pool out.
        for (const int32_t ref : frame.autoreleased) {
            Release(ref);
        }
        if (frame.pool == pool) {
            return;
        }
        if (IsAlive(frame.pool)) {
            objects_.erase(frame.pool);
        }
    }
}

}  // namespace platform
