// The framework's string rules. Text is UTF-8; positions are 1-based and count code points.
// Comparisons, searches and replacements ignore letter case (Unicode simple case folding, so
// "ä" equals "Ä") unless the function name ends in B (binary). Every function has an ASCII fast
// path: they sit in the hottest loops of the search passes. Invalid UTF-8 never crashes: each
// invalid byte counts as one character, equals only itself and is kept as it is.
// Pure functions without shared state: any fiber or thread may call them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

int64_t Len(std::string_view s);
// Arguments outside the text clamp: a start below 1 counts as 1, a start past the end or a
// count of 0 or less gives "", a length or count past the end stops at the end.
std::string Mid(std::string_view s, int64_t start);                  // from start to the end
std::string Mid(std::string_view s, int64_t start, int64_t length);  // length < 0: to the end
std::string Left(std::string_view s, int64_t count);
std::string Right(std::string_view s, int64_t count);

// Position of the first occurrence at or after `start` (below 1 counts as 1), or 0. An empty
// `find` gives `start`; a start past Len(s) + 1 gives 0. Matches begin and end on characters.
int64_t InStr(std::string_view s, std::string_view find);
int64_t InStr(int64_t start, std::string_view s, std::string_view find);
int64_t InStrB(int64_t start, std::string_view s, std::string_view find);  // positions as InStr

// Matches run left to right without overlapping and the replacement is never searched again,
// so a replacement containing the pattern is safe. An empty pattern leaves the text as it is.
std::string Replace(std::string_view s, std::string_view find, std::string_view with);  // first
std::string ReplaceAll(std::string_view s, std::string_view find, std::string_view with);
std::string ReplaceAllB(std::string_view s, std::string_view find, std::string_view with);

std::string Trim(std::string_view s);  // blanks, tabs and line ends at both ends
// Character by character, so the character count never changes: "ß" stays "ß".
std::string Uppercase(std::string_view s);
std::string Lowercase(std::string_view s);
// Every character case-folded as the comparisons ignoring case fold it; invalid bytes stay. Two
// texts are equal ignoring case exactly when their foldings are equal byte for byte.
std::string FoldCase(std::string_view s);

// The leading number of the text (optional blanks and sign, digits, fraction with ".",
// exponent), whatever the C locale says; "" and text without a leading number give 0, and a
// number beyond the range of double gives an infinity or 0.
double Val(std::string_view s);
std::string Str(int64_t value);
std::string Str(double value);  // shortest text that reads back as the same number: "350", "0.1"

// Ordering ignoring case: the texts are case-folded character by character and compared by
// code point, a prefix before its extensions; the result is -1, 0 or 1. So a character sorts
// between "A" and "Z" exactly when it folds to a-z (besides A-Z that is only the Kelvin sign
// and the long s): digits, "-", "'", "[", "_" and "`" fold below "a"; "{", "é", "ä" and "ß"
// above "z"; an invalid byte after every character below U+DC00.
int CompareIgnoreCase(std::string_view a, std::string_view b);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// mode 0 binary (byte order, which is code-point order), any other mode ignoring case;
// result -1, 0 or 1.
int StrComp(std::string_view a, std::string_view b, int mode);

// A key for hash sets of texts compared ignoring case: two texts are EqualsIgnoreCase exactly
// when their keys are equal (the case-folded characters, invalid bytes kept apart).
std::string CaseKey(std::string_view s);

// Index (0-based) of the first entry equal ignoring case, or -1.
int64_t IndexOf(const std::vector<std::string>& list, std::string_view value);
// Stable sort as a German or English reader expects (German collation, which orders English
// words alike): case-insensitive, umlauts beside their base letters ("Apfel", "äpfel", "baer",
// "Bär"); entries that compare equal keep their order.
void SortList(std::vector<std::string>& list);

// Strict UTF-8 (RFC 3629, as PCRE2 checks it): no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence.
bool IsValidUtf8(std::string_view s);

std::string Chr(uint32_t codePoint);  // a surrogate or a value above U+10FFFF gives U+FFFD
std::string EndOfLine();              // the platform line end, "\n"

}  // namespace fw
