// The framework's string rules. Text is UTF-8; positions are 1-based and count code points.
// Comparisons, searches and replacements ignore letter case (Unicode simple case folding, so
// "ä" equals "Ä") unless the function name ends in B (binary). Every function has an ASCII fast
// path: they sit in the hottest loops of the search passes. Invalid UTF-8 never crashes: each
// invalid byte counts as one character and is kept as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

int64_t Len(std::string_view s);
std::string Mid(std::string_view s, int64_t start);                  // from start to the end
std::string Mid(std::string_view s, int64_t start, int64_t length);  // length < 0: to the end
std::string Left(std::string_view s, int64_t count);
std::string Right(std::string_view s, int64_t count);

// Position of the first occurrence at or after `start`, or 0. An empty `find` gives `start`.
int64_t InStr(std::string_view s, std::string_view find);
int64_t InStr(int64_t start, std::string_view s, std::string_view find);
int64_t InStrB(int64_t start, std::string_view s, std::string_view find);

std::string Replace(std::string_view s, std::string_view find, std::string_view with);  // first
std::string ReplaceAll(std::string_view s, std::string_view find, std::string_view with);
std::string ReplaceB(std::string_view s, std::string_view find, std::string_view with);
std::string ReplaceAllB(std::string_view s, std::string_view find, std::string_view with);

std::string Trim(std::string_view s);  // blanks, tabs and line ends at both ends
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
std::string Uppercase(std::string_view s);
std::string Lowercase(std::string_view s);

// The leading number of the text (optional blanks and sign, digits, fraction, exponent);
// "" and text without a leading number give 0.
double Val(std::string_view s);
std::string Str(int64_t value);
std::string Str(double value);  // shortest text that reads back as the same number

// Ordering ignoring case (code-point order of the case-folded texts): < 0, 0 or > 0.
int CompareIgnoreCase(std::string_view a, std::string_view b);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// mode 0 binary, mode 1 ignoring case; result -1, 0 or 1.
int StrComp(std::string_view a, std::string_view b, int mode);

// Index (0-based) of the first entry equal ignoring case, or -1.
int64_t IndexOf(const std::vector<std::string>& list, std::string_view value);
// Stable sort as a German or English reader expects: case-insensitive, umlauts beside their base
// letters; deterministic for equal keys.
void SortList(std::vector<std::string>& list);

std::string Chr(uint32_t codePoint);
std::string EndOfLine();  // the platform line end, "\n"

}  // namespace fw
