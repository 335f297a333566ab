// The application's own facts: its long version text and build date (build-time constants).
#pragma once

#include <string>

namespace fw {

std::string LongVersion();
// The program entry of an edition names it here, before anything reads the text; tests set their
// own. "" restores the built-in text.
void SetLongVersion(const std::string& text);
// The program's own name, which titles its message boxes and names it to the window system
// instead of the executable's file name.
void SetApplicationName(const std::string& name);
// The build's date and time as SQL date-time text ("YYYY-MM-DD HH:MM:SS").
std::string BuildDate();
// The current local date and time as SQL date-time text.
std::string NowSQLDateTime();

}  // namespace fw
