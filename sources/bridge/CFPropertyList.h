// A Core Foundation object that can stand in a property list; it converts to its reference.
#pragma once

#include <cstdint>

class CFPropertyList {
  public:
    virtual ~CFPropertyList() = default;

    virtual explicit operator int32_t() const = 0;
};
