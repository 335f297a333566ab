// The system spell checker: tells whether a word the local word list lacks is still spelled
// correctly, and offers spelling guesses. It talks to the checker only through the Cocoa bridge
// (class and selector look-up by name on every call, the runtime's message send, CFString).
// Main event loop only. Initialize must run first. Nothing is caught here: the bridge's
// exceptions reach the caller (a class or selector the runtime does not know, text that is no
// valid UTF-8, a missing structure-returning message send).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace SSC {

// The spell-document tag handed out at start-up; passed with every check, never closed.
inline int32_t gSpellTag = 0;

// The checker object the system shares.
int32_t GetNSSpellChecker();
// A new spell-document tag.
int32_t GetSpellTag();
// Loads Cocoa with its autorelease timer, then takes gSpellTag.
void Initialize();
// True when the checker accepted the language ("de", "en", "en_GB", "Multilingual"); an empty
// language answers False.
bool SetLanguage(const std::string& language);
// True when the text holds no misspelled word in that language (an empty text holds none). An
// empty language answers False; in a language without a dictionary every word is misspelled.
bool CheckString(const std::string& text, const std::string& language);
// The checker's guesses in its current language, in its order; empty when it has none.
std::vector<std::string> GetGuessesForWord(const std::string& word);

// The Linux checker computes guesses for a word on a thread of its own from the moment it is
// asked to prepare them, so that GetGuessesForWord only collects them: these two reach it
// directly, beside the bridge. GuessesPending is true until the prepared guesses are there.
void PrepareGuessesForWord(const std::string& word);
bool GuessesPending(const std::string& word);

}  // namespace SSC
