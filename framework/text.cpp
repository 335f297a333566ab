#include "framework/text.h"

#include <QChar>
#include <QCollator>
#include <QLocale>
#include <QString>

#include <locale.h>
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numeric>

namespace fw {
namespace {

// An invalid byte b decodes to kInvalidBase + b: a lone surrogate, which valid UTF-8 never yields,
// so invalid bytes only ever equal themselves and fall after every Latin letter when ordering.
constexpr char32_t kInvalidBase = 0xDC00;
constexpr char32_t kReplacementCharacter = 0xFFFD;

struct Decoded {
    char32_t codePoint;
    uint32_t length;
};

constexpr bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Anything else is one
// invalid byte, so decoding always moves forward and never reads past the end.
Decoded DecodeAt(std::string_view s, size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        return {b0, 1};
    }
    const Decoded invalid{kInvalidBase + b0, 1};
    // The allowed range of the second byte is what rules out the overlong and surrogate forms.
    uint32_t length = 2;
    char32_t codePoint = b0 & 0x1F;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b0 < 0xC2 || b0 > 0xF4) {
        return invalid;
    }
    if (b0 >= 0xF0) {
        length = 4;
        codePoint = b0 & 0x07;
        low = b0 == 0xF0 ? 0x90 : 0x80;
        high = b0 == 0xF4 ? 0x8F : 0xBF;
    } else if (b0 >= 0xE0) {
        length = 3;
        codePoint = b0 & 0x0F;
        low = b0 == 0xE0 ? 0xA0 : 0x80;
        high = b0 == 0xED ? 0x9F : 0xBF;
    }
    if (s.size() - i < length) {
        return invalid;
    }
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    if (b1 < low || b1 > high) {
        return invalid;
    }
    codePoint = (codePoint << 6) | (b1 & 0x3F);
    for (uint32_t k = 2; k < length; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (!IsContinuation(b)) {
            return invalid;
        }
        codePoint = (codePoint << 6) | (b & 0x3F);
    }
    return {codePoint, length};
}

constexpr bool IsInvalidMarker(char32_t c) {
    return c >= kInvalidBase && c <= kInvalidBase + 0xFF;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr std::array<unsigned char, 256> MakeAsciiTable(bool upper) {
    std::array<unsigned char, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        table[i] = static_cast<unsigned char>(i);
        if (!upper && i >= 'A' && i <= 'Z') {
            table[i] = static_cast<unsigned char>(i + 32);
        }
        if (upper && i >= 'a' && i <= 'z') {
            table[i] = static_cast<unsigned char>(i - 32);
        }
    }
    return table;
}
constexpr auto kAsciiLower = MakeAsciiTable(false);
constexpr auto kAsciiUpper = MakeAsciiTable(true);

bool IsAscii(std::string_view s) {
    const char* p = s.data();
    size_t n = s.size();
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL) {
            return false;
        }
    }
    for (; n > 0; ++p, --n) {
        if (static_cast<unsigned char>(*p) >= 0x80) {
            return false;
        }
    }
    return true;
}

// Qt's folding of the Latin letters, looked up once: umlauts sit in the hot loops too.
constexpr char32_t kFoldCacheSize = 0x250;
const std::array<char32_t, kFoldCacheSize> kFoldCache = [] {
    std::array<char32_t, kFoldCacheSize> cache{};
    for (char32_t c = 0; c < kFoldCacheSize; ++c) {
        cache[c] = QChar::toCaseFolded(c);
    }
    return cache;
}();

char32_t FoldCodePoint(char32_t c) {
    if (c < kFoldCacheSize) {
        return kFoldCache[c];
    }
    return IsInvalidMarker(c) ? c : QChar::toCaseFolded(c);
}

// Reads the character at byte i, moves i past it and returns it case-folded (or as it is).
template <bool kFold>
inline char32_t NextChar(std::string_view s, size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return kFold ? kAsciiLower[b] : b;
    }
    const Decoded d = DecodeAt(s, i);
    i += d.length;
    return kFold ? FoldCodePoint(d.codePoint) : d.codePoint;
}

inline size_t CharLength(std::string_view s, size_t i) {
    return static_cast<unsigned char>(s[i]) < 0x80 ? 1 : DecodeAt(s, i).length;
}

// Byte offset after skipping up to n characters from byte i (stops at the end).
size_t SkipChars(std::string_view s, size_t i, int64_t n) {
    for (; n > 0 && i < s.size(); --n) {
        i += CharLength(s, i);
    }
    return i;
}

// A pattern's characters, folded or not; inline storage covers the short patterns of the hot
// loops without touching the heap.
template <bool kFold>
class Pattern {
  public:
    explicit Pattern(std::string_view find) {
        if (find.size() > inline_.size()) {
            heap_ = std::make_unique<char32_t[]>(find.size());
            data_ = heap_.get();
        }
        for (size_t i = 0; i < find.size();) {
            data_[size_++] = NextChar<kFold>(find, i);
        }
    }
    Pattern(const Pattern&) = delete;
    Pattern& operator=(const Pattern&) = delete;

    size_t size() const { return size_; }
    char32_t operator[](size_t i) const { return data_[i]; }

  private:
    std::array<char32_t, 32> inline_;  // only the first size_ entries are written
    std::unique_ptr<char32_t[]> heap_;
    char32_t* data_ = inline_.data();
    size_t size_ = 0;
};

struct Match {
    bool found = false;
    size_t begin = 0;      // byte offset of the match
    size_t end = 0;        // byte offset after it
    int64_t position = 0;  // 1-based character position of the match
};

template <bool kFold>
inline unsigned char AsciiKey(char c) {
    const auto b = static_cast<unsigned char>(c);
    return kFold ? kAsciiLower[b] : b;
}

// Character by character, so a match always starts and ends on character boundaries.
template <bool kFold>
Match FindChars(std::string_view s, const Pattern<kFold>& pattern, size_t from,
                int64_t fromPosition) {
    const size_t n = pattern.size();
    int64_t position = fromPosition;
    for (size_t i = from; i < s.size(); ++position) {
        size_t next = i;
        if (NextChar<kFold>(s, next) == pattern[0]) {
            size_t k = next;
            size_t m = 1;
            while (m < n && k < s.size() && NextChar<kFold>(s, k) == pattern[m]) {
                ++m;
            }
            if (m == n) {
                return {true, i, k, position};
            }
        }
        i = next;
    }
    return {};
}

// Finds `find` (not empty) at or after byte `from`, a character boundary that is character
// `fromPosition`. An ASCII pattern is matched byte by byte while the text stays ASCII, where
// bytes are characters; from the first other byte on (it might fold to an ASCII letter, like
// the Kelvin sign) the search goes on character by character. A match needs at least as many
// bytes as the pattern has characters, which bounds both scans.
template <bool kFold>
Match Find(std::string_view s, std::string_view find, size_t from, int64_t fromPosition) {
    if (!IsAscii(find)) {
        const Pattern<kFold> pattern(find);
        return FindChars<kFold>(s, pattern, from, fromPosition);
    }
    const size_t n = find.size();
    const unsigned char first = AsciiKey<kFold>(find[0]);
    size_t i = from;
    for (; i + n <= s.size(); ++i) {
        if (static_cast<unsigned char>(s[i]) >= 0x80) {
            break;
        }
        if (AsciiKey<kFold>(s[i]) != first) {
            continue;
        }
        size_t m = 1;
        while (m < n && static_cast<unsigned char>(s[i + m]) < 0x80 &&
               AsciiKey<kFold>(s[i + m]) == AsciiKey<kFold>(find[m])) {
            ++m;
        }
        if (m == n) {
            return {true, i, i + n, fromPosition + static_cast<int64_t>(i - from)};
        }
        if (static_cast<unsigned char>(s[i + m]) >= 0x80) {
            break;
        }
    }
    if (i + n > s.size()) {
        return {};
    }
    const Pattern<kFold> pattern(find);
    return FindChars<kFold>(s, pattern, i, fromPosition + static_cast<int64_t>(i - from));
}

template <bool kFold>
int64_t InStrImpl(int64_t start, std::string_view s, std::string_view find) {
    start = std::max<int64_t>(start, 1);
    const size_t from = SkipChars(s, 0, start - 1);
    if (from == s.size() && start - 1 > Len(s)) {
        return 0;
    }
    if (find.empty()) {
        return start;
    }
    const Match m = Find<kFold>(s, find, from, start);
    return m.found ? m.position : 0;
}

template <bool kFold>
std::string ReplaceImpl(std::string_view s, std::string_view find, std::string_view with,
                        bool all) {
    if (find.empty() || s.empty()) {
        return std::string(s);
    }
    Match m = Find<kFold>(s, find, 0, 1);
    if (!m.found) {
        return std::string(s);
    }
    std::string out;
    out.reserve(s.size() + with.size());
    size_t copied = 0;
    while (m.found) {
        out.append(s.substr(copied, m.begin - copied));
        out.append(with);
        copied = m.end;
        if (!all) {
            break;
        }
        m = Find<kFold>(s, find, copied, 1);
    }
    out.append(s.substr(copied));
    return out;
}

enum class Case { Upper, Lower, Folded };

template <Case kCase>
char32_t ChangeCodePoint(char32_t c) {
    if constexpr (kCase == Case::Upper) {
        return QChar::toUpper(c);
    } else if constexpr (kCase == Case::Lower) {
        return QChar::toLower(c);
    } else {
        return FoldCodePoint(c);
    }
}

template <Case kCase>
std::string ChangeCase(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    const auto& table = kCase == Case::Upper ? kAsciiUpper : kAsciiLower;
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += static_cast<char>(table[b]);
            ++i;
            continue;
        }
        const Decoded d = DecodeAt(s, i);
        if (IsInvalidMarker(d.codePoint)) {
            out += s[i];
        } else {
            AppendUtf8(out, ChangeCodePoint<kCase>(d.codePoint));
        }
        i += d.length;
    }
    return out;
}

constexpr bool IsTrimmed(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsTrimmed(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsTrimmed(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}
constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t SkipDigits(std::string_view s, size_t i) {
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
    }
    return i;
}

// The locale-independent fallback for numbers beyond the range of double: from_chars leaves
// its output untouched there, strtod gives the signed infinity or zero.
double ParseOutOfRange(std::string_view number) {
    struct LocaleDeleter {
        void operator()(locale_t l) const { freelocale(l); }
    };
    static const std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter> cLocale(
        newlocale(LC_ALL_MASK, "C", nullptr));
    const std::string text(number);
    return strtod_l(text.c_str(), nullptr, cLocale.get());
}

}  // namespace

int64_t Len(std::string_view s) {
    if (IsAscii(s)) {
        return static_cast<int64_t>(s.size());
    }
    int64_t count = 0;
    for (size_t i = 0; i < s.size(); ++count) {
        i += CharLength(s, i);
    }
    return count;
}

std::string Mid(std::string_view s, int64_t start) {
    return Mid(s, start, -1);
}

std::string Mid(std::string_view s, int64_t start, int64_t length) {
    if (length == 0) {
        return {};
    }
    const size_t begin = SkipChars(s, 0, std::max<int64_t>(start, 1) - 1);
    if (length < 0) {
        return std::string(s.substr(begin));
    }
    const size_t end = SkipChars(s, begin, length);
    return std::string(s.substr(begin, end - begin));
}

std::string Left(std::string_view s, int64_t count) {
    if (count <= 0) {
        return {};
    }
    return std::string(s.substr(0, SkipChars(s, 0, count)));
}

std::string Right(std::string_view s, int64_t count) {
    if (count <= 0) {
        return {};
    }
    const int64_t length = Len(s);
    if (count >= length) {
        return std::string(s);
    }
    return std::string(s.substr(SkipChars(s, 0, length - count)));
}

int64_t InStr(std::string_view s, std::string_view find) {
    return InStr(1, s, find);
}

int64_t InStr(int64_t start, std::string_view s, std::string_view find) {
    return InStrImpl<true>(start, s, find);
}

int64_t InStrB(int64_t start, std::string_view s, std::string_view find) {
    return InStrImpl<false>(start, s, find);
}

std::string Replace(std::string_view s, std::string_view find, std::string_view with) {
    return ReplaceImpl<true>(s, find, with, false);
}

std::string ReplaceAll(std::string_view s, std::string_view find, std::string_view with) {
    return ReplaceImpl<true>(s, find, with, true);
}

std::string ReplaceAllB(std::string_view s, std::string_view find, std::string_view with) {
    return ReplaceImpl<false>(s, find, with, true);
}

std::string Trim(std::string_view s) {
    return std::string(TrimRight(TrimLeft(s)));
}

std::string Uppercase(std::string_view s) {
    return ChangeCase<Case::Upper>(s);
}

std::string Lowercase(std::string_view s) {
    return ChangeCase<Case::Lower>(s);
}

std::string FoldCase(std::string_view s) {
    return ChangeCase<Case::Folded>(s);
}

double Val(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const size_t begin = i;
    i = SkipDigits(s, i);
    size_t digits = i - begin;
    if (i < s.size() && s[i] == '.') {
        const size_t fraction = i + 1;
        i = SkipDigits(s, fraction);
        digits += i - fraction;
    }
    if (digits == 0) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t e = i + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-')) {
            ++e;
        }
        if (e < s.size() && IsDigit(s[e])) {
            i = SkipDigits(s, e);
        }
    }
    const std::string_view number = s.substr(begin, i - begin);
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = ParseOutOfRange(number);
    }
    return negative ? -value : value;
}

std::string Str(int64_t value) {
    return std::to_string(value);
}

std::string Str(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

int CompareIgnoreCase(std::string_view a, std::string_view b) {
    // Both texts advance in step while they are ASCII, where bytes are characters.
    size_t i = 0;
    const size_t common = std::min(a.size(), b.size());
    for (; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if ((ca | cb) >= 0x80) {
            break;
        }
        if (kAsciiLower[ca] != kAsciiLower[cb]) {
            return kAsciiLower[ca] < kAsciiLower[cb] ? -1 : 1;
        }
    }
    size_t j = i;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = NextChar<true>(a, i);
        const char32_t cb = NextChar<true>(b, j);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return CompareIgnoreCase(a, b) == 0;
}

int StrComp(std::string_view a, std::string_view b, int mode) {
    if (mode != 0) {
        return CompareIgnoreCase(a, b);
    }
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string CaseKey(std::string_view s) {
    std::string key;
    key.reserve(s.size());
    if (IsAscii(s)) {
        for (const char c : s) {
            key += static_cast<char>(kAsciiLower[static_cast<unsigned char>(c)]);
        }
        return key;
    }
    for (size_t i = 0; i < s.size();) {
        AppendUtf8(key, NextChar<true>(s, i));
    }
    return key;
}

int64_t IndexOf(const std::vector<std::string>& list, std::string_view value) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (EqualsIgnoreCase(list[i], value)) {
            return static_cast<int64_t>(i);
        }
    }
    return -1;
}

void SortList(std::vector<std::string>& list) {
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(list.size());
    for (const std::string& entry : list) {
        keys.push_back(collator.sortKey(QString::fromUtf8(entry.data(), qsizetype(entry.size()))));
    }
    std::vector<size_t> order(list.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](size_t x, size_t y) { return keys[x].compare(keys[y]) < 0; });
    std::vector<std::string> sorted;
    sorted.reserve(list.size());
    for (const size_t index : order) {
        sorted.push_back(std::move(list[index]));
    }
    list = std::move(sorted);
}

bool IsValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        // Pages are mostly ASCII: eight bytes at a time while they are.
        uint64_t word = 0;
        if (s.size() - i >= 8 &&
            (std::memcpy(&word, s.data() + i, 8), (word & 0x8080808080808080ULL) == 0)) {
            i += 8;
            continue;
        }
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const Decoded d = DecodeAt(s, i);
        if (IsInvalidMarker(d.codePoint)) {
            return false;
        }
        i += d.length;
    }
    return true;
}

std::string Chr(uint32_t codePoint) {
    const bool valid = codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
    std::string out;
    AppendUtf8(out, valid ? codePoint : kReplacementCharacter);
    return out;
}

std::string EndOfLine() {
    return "\n";
}

}  // namespace fw
