#include "framework/encoding.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <array>

namespace fw {
namespace {

constexpr char16_t kUndefined = 0xFFFD;

// The code page's 0x80-0x9F row; the rest of the upper half equals Latin-1.
constexpr std::array<char16_t, 32> kHighRow = {
    0x20AC,     kUndefined, 0x201A, 0x0192, 0x201E, 0x2026,     0x2020, 0x2021,
    0x02C6,     0x2030,     0x0160, 0x2039, 0x0152, kUndefined, 0x017D, kUndefined,
    kUndefined, 0x2018,     0x2019, 0x201C, 0x201D, 0x2022,     0x2013, 0x2014,
    0x02DC,     0x2122,     0x0161, 0x203A, 0x0153, kUndefined, 0x017E, 0x0178};

char16_t ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighRow[byte - 0x80];
    }
    return byte;
}

// The code page byte of a character, or '?' when the code page lacks it.
char FromUnicode(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (size_t i = 0; i < kHighRow.size(); ++i) {
        if (kHighRow[i] == c && c != kUndefined) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

constexpr bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '~';
}

}  // namespace

std::string ConvertToWindows1252(std::string_view utf8) {
    // Qt turns every invalid UTF-8 sequence into U+FFFD, which the code page lacks: "?".
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    std::string out;
    out.reserve(utf8.size());
    for (const char32_t c : text.toUcs4()) {
        out += FromUnicode(c);
    }
    return out;
}

std::string ConvertFromWindows1252(std::string_view bytes) {
    // The UTF-8 of every upper-half byte, made once; ASCII is copied as it is.
    static const std::array<std::string, 128> kUpperHalf = [] {
        std::array<std::string, 128> utf8;
        for (size_t i = 0; i < utf8.size(); ++i) {
            utf8[i] = QString(QChar(ToUnicode(static_cast<unsigned char>(0x80 + i)))).toStdString();
        }
        return utf8;
    }();
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    size_t copied = 0;  // the bytes are copied up to here
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x80) {
            text.append(bytes.substr(copied, i - copied)).append(kUpperHalf[c - 0x80]);
            copied = i + 1;
        }
    }
    text.append(bytes.substr(copied));
    return text;
}

std::string EncodeURLComponent(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (IsUnreserved(c)) {
            out += byte;
            continue;
        }
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 0x0F];
    }
    return out;
}

std::string DecodeURLComponent(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t copied = 0;  // the text is copied up to here
    for (size_t i = text.find('%'); i != std::string_view::npos; i = text.find('%', i + 1)) {
        if (i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
            HexDigitValue(text[i + 2]) >= 0) {
            out.append(text.substr(copied, i - copied));
            out += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            copied = i + 3;
            i += 2;
        }
    }
    out.append(text.substr(copied));
    return out;
}

std::string ReplaceInvalidUTF8(std::string_view text) {
    const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (bytes.isValidUtf8()) {
        return std::string(text);
    }
    return QString::fromUtf8(bytes).toStdString();
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace fw
