#include "platform/corefoundation.h"

#include <QStringDecoder>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "platform/runtime.h"

using platform::Runtime;

namespace {

// Type numbers of this runtime.
enum TypeNumber : int32_t {
    kClassType = 1,
    kSpellCheckerType,
    kPoolType,
    kStringType,
    kArrayType,
};

platform::ObjectTable* Objects() {
    Runtime* const runtime = Runtime::Get();
    return runtime == nullptr ? nullptr : &runtime->Objects();
}

template <typename T>
T* FindObject(int32_t ref) {
    platform::ObjectTable* const objects = Objects();
    return objects == nullptr ? nullptr : objects->Find<T>(ref);
}

int32_t NewString(const QString& text) {
    platform::ObjectTable* const objects = Objects();
    return objects == nullptr ? 0 : objects->Add(platform::StringObject{text});
}

const char* TypeName(int32_t typeID) {
    switch (typeID) {
        case kClassType:
            return "Class";
        case kSpellCheckerType:
            return "NSSpellChecker";
        case kPoolType:
            return "NSAutoreleasePool";
        case kStringType:
            return "CFString";
        case kArrayType:
            return "CFArray";
        default:
            return nullptr;
    }
}

std::optional<QString> Describe(int32_t ref) {
    if (const auto* string = FindObject<platform::StringObject>(ref)) {
        return string->text;
    }
    if (const auto* array = FindObject<platform::ArrayObject>(ref)) {
        QStringList elements;
        for (const int32_t element : array->elements) {
            elements.push_back(Describe(element).value_or(QString()));
        }
        return "(" + elements.join(", ") + ")";
    }
    if (const auto* someClass = FindObject<platform::ClassObject>(ref)) {
        return QString::fromStdString(someClass->name);
    }
    const char* const name = TypeName(CFGetTypeID(ref));
    return name == nullptr ? std::nullopt : std::optional<QString>(QString("<%1>").arg(name));
}

}  // namespace

namespace platform {

int64_t LiveObjectCount() {
    ObjectTable* const objects = Objects();
    return objects == nullptr ? 0 : objects->LiveCount();
}

int64_t StaleReferenceCount() {
    ObjectTable* const objects = Objects();
    return objects == nullptr ? 0 : objects->StaleCount();
}

}  // namespace platform

int32_t CFStringCreateWithCString(int32_t allocator, const char* cString, uint32_t encoding) {
    if (allocator != 0 || cString == nullptr || encoding != platform::kEncodingUTF8) {
        return 0;
    }
    const QByteArrayView bytes(cString, static_cast<qsizetype>(std::strlen(cString)));
    if (!bytes.isValidUtf8()) {
        return 0;
    }
    // QString::fromUtf8 drops a leading byte-order mark; the string must hold every character.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return NewString(decoder.decode(bytes));
}

int32_t CFStringGetLength(int32_t string) {
    const auto* const object = FindObject<platform::StringObject>(string);
    return object == nullptr ? 0 : static_cast<int32_t>(object->text.size());
}

int32_t CFStringGetMaximumSizeForEncoding(int32_t length, uint32_t encoding) {
    // A UTF-16 code unit takes at most three bytes in UTF-8 (a pair of them four).
    constexpr int32_t kBytesPerUnit = 3;
    if (encoding != platform::kEncodingUTF8 || length < 0 ||
        length > std::numeric_limits<int32_t>::max() / kBytesPerUnit) {
        return -1;
    }
    return length * kBytesPerUnit;
}

bool CFStringGetCString(int32_t string, char* buffer, int32_t bufferSize, uint32_t encoding) {
    const auto* const object = FindObject<platform::StringObject>(string);
    if (object == nullptr || buffer == nullptr || encoding != platform::kEncodingUTF8) {
        return false;
    }
    const QByteArray bytes = object->text.toUtf8();
    if (bufferSize < 1 || bytes.size() > bufferSize - 1) {
        return false;
    }
    std::memcpy(buffer, bytes.constData(), static_cast<size_t>(bytes.size()));
    buffer[bytes.size()] = '\0';
    return true;
}

int32_t CFRetain(int32_t ref) {
    platform::ObjectTable* const objects = Objects();
    return objects == nullptr ? 0 : objects->Retain(ref);
}

void CFRelease(int32_t ref) {
    if (platform::ObjectTable* const objects = Objects()) {
        objects->Release(ref);
    }
}

int32_t CFArrayGetCount(int32_t array) {
    const auto* const object = FindObject<platform::ArrayObject>(array);
    return object == nullptr ? 0 : static_cast<int32_t>(object->elements.size());
}

int32_t CFArrayGetValueAtIndex(int32_t array, int32_t index) {
    const auto* const object = FindObject<platform::ArrayObject>(array);
    if (object == nullptr || index < 0 || static_cast<size_t>(index) >= object->elements.size()) {
        return 0;
    }
    return object->elements[static_cast<size_t>(index)];
}

bool CFEqual(int32_t first, int32_t second) {
    if (first != 0 && first == second) {
        return Objects() != nullptr && Objects()->IsAlive(first);
    }
    const auto* const firstString = FindObject<platform::StringObject>(first);
    const auto* const secondString = FindObject<platform::StringObject>(second);
    if (firstString != nullptr && secondString != nullptr) {
        return firstString->text == secondString->text;
    }
    const auto* const firstArray = FindObject<platform::ArrayObject>(first);
    const auto* const secondArray = FindObject<platform::ArrayObject>(second);
    if (firstArray == nullptr || secondArray == nullptr ||
        firstArray->elements.size() != secondArray->elements.size()) {
        return false;
    }
    for (size_t i = 0; i < firstArray->elements.size(); ++i) {
        if (!CFEqual(firstArray->elements[i], secondArray->elements[i])) {
            return false;
        }
    }
    return true;
}

int32_t CFGetTypeID(int32_t ref) {
    if (FindObject<platform::StringObject>(ref) != nullptr) {
        return kStringType;
    }
    if (FindObject<platform::ArrayObject>(ref) != nullptr) {
        return kArrayType;
    }
    if (FindObject<platform::PoolObject>(ref) != nullptr) {
        return kPoolType;
    }
    if (FindObject<platform::SpellCheckerObject>(ref) != nullptr) {
        return kSpellCheckerType;
    }
    return FindObject<platform::ClassObject>(ref) != nullptr ? kClassType : 0;
}

int32_t CFCopyDescription(int32_t ref) {
    const std::optional<QString> description = Describe(ref);
    return description ? NewString(*description) : 0;
}

int32_t CFCopyTypeIDDescription(int32_t typeID) {
    const char* const name = TypeName(typeID);
    return name == nullptr ? 0 : NewString(QString::fromLatin1(name));
}

int32_t CFGetRetainCount(int32_t ref) {
    platform::ObjectTable* const objects = Objects();
    return objects == nullptr ? 0 : objects->RetainCount(ref);
}

int32_t CFHash(int32_t ref) {
    if (const auto* string = FindObject<platform::StringObject>(ref)) {
        return static_cast<int32_t>(qHash(string->text));
    }
    if (const auto* array = FindObject<platform::ArrayObject>(ref)) {
        return static_cast<int32_t>(array->elements.size());
    }
    return ref;
}

void CFShow(int32_t ref) {
    const std::optional<QString> description = Describe(ref);
    std::fprintf(stderr, "%s\n", description ? qPrintable(*description) : "(null)");
}
