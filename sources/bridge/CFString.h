// A Core Foundation string that the object owns: made from UTF-8 text, or retained from an
// existing reference, and released when the object goes. Main event loop only.
#pragma once

#include <cstdint>
#include <string>

#include "sources/bridge/CFPropertyList.h"
#include "sources/bridge/CFType.h"

class CFString : public CFType, public CFPropertyList {
  public:
    // Retains a string the caller does not give away.
    using CFType::CFType;
    // A new string from the UTF-8 text up to its first NUL byte; raises CFTypeRefException when
    // Core Foundation makes none (invalid UTF-8). An empty text makes an empty string.
    explicit CFString(const std::string& s);

    explicit operator int32_t() const override;
    // The text as UTF-8; "" when it cannot be read.
    explicit operator std::string() const;
};
