// The common base of the German word-service clients. Main event loop only.
#pragma once

#include <string>

class UL_HTTPSocket {
  public:
    // The first character's letter case toggled by its code: below 91 up by 32, 91 to 122 down by
    // 32 (every character in those ranges, not only letters), the six umlauts swapped with their
    // other case; any other character, and the rest of the text, stay as they are. Touches no
    // state of the object.
    static std::string ChangeCase(const std::string& s);
};
