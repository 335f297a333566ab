#include "platform/objc.h"

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime.h"

using platform::MessageArguments;
using platform::Runtime;

namespace {

// Selector references are the position in this list plus 1.
enum class Sel : int32_t {
    None = 0,
    Alloc,
    Init,
    Release,
    SharedSpellChecker,
    UniqueSpellDocumentTag,
    SetLanguage,
    CheckSpelling,
    GuessesForWord,
};

constexpr std::array<std::string_view, 8> kSelectorNames = {
    "alloc",
    "init",
    "release",
    "sharedSpellChecker",
    "uniqueSpellDocumentTag",
    "setLanguage:",
    "checkSpellingOfString:startingAt:language:wrap:inSpellDocumentWithTag:wordCount:",
    "guessesForWord:",
};

Sel ToSel(int32_t selector) {
    const bool known = selector >= 1 && selector <= static_cast<int32_t>(kSelectorNames.size());
    return known ? static_cast<Sel>(selector) : Sel::None;
}

std::optional<int32_t> ValueAt(const MessageArguments& arguments, size_t index) {
    if (index >= arguments.size() || !std::holds_alternative<int32_t>(arguments[index])) {
        return std::nullopt;
    }
    return std::get<int32_t>(arguments[index]);
}

// The text of a string argument; nothing when the argument is no live string.
std::optional<QString> TextAt(Runtime& runtime, const MessageArguments& arguments, size_t index) {
    const std::optional<int32_t> ref = ValueAt(arguments, index);
    const platform::StringObject* const string =
        ref ? runtime.Objects().Find<platform::StringObject>(*ref) : nullptr;
    if (string == nullptr) {
        return std::nullopt;
    }
    return string->text;
}

int32_t SetLanguage(Runtime& runtime, const MessageArguments& arguments) {
    const std::optional<QString> language = TextAt(runtime, arguments, 0);
    if (arguments.size() != 1 || !language) {
        return platform::NO;
    }
    return runtime.Checker().SetLanguage(language->toStdString()) ? platform::YES : platform::NO;
}

// A new array of new strings, autoreleased.
int32_t GuessesForWord(Runtime& runtime, const MessageArguments& arguments) {
    const std::optional<QString> word = TextAt(runtime, arguments, 0);
    if (arguments.size() != 1 || !word) {
        return 0;
    }
    platform::ObjectTable& objects = runtime.Objects();
    platform::ArrayObject array;
    for (const std::string& guess : runtime.Checker().Guesses(word->toStdString())) {
        if (const int32_t string =
                objects.Add(platform::StringObject{QString::fromStdString(guess)})) {
            array.elements.push_back(string);
        }
    }
    const int32_t ref = objects.Add(std::move(array));
    objects.Autorelease(ref);
    return ref;
}

// (text, start, language or nil, wrap, tag, word count address or nullptr)
std::optional<platform::NSRange> CheckSpelling(Runtime& runtime,
                                               const MessageArguments& arguments) {
    const std::optional<QString> text = TextAt(runtime, arguments, 0);
    const std::optional<int32_t> start = ValueAt(arguments, 1);
    const std::optional<int32_t> languageRef = ValueAt(arguments, 2);
    const std::optional<int32_t> wrap = ValueAt(arguments, 3);
    const std::optional<int32_t> tag = ValueAt(arguments, 4);
    const bool countSlot = arguments.size() == 6 && std::holds_alternative<int32_t*>(arguments[5]);
    if (!text || !start || !languageRef || !wrap || !tag || !countSlot) {
        return std::nullopt;
    }
    std::string language = runtime.Checker().Language();
    if (*languageRef != 0) {
        const std::optional<QString> named = TextAt(runtime, arguments, 2);
        if (!named) {
            return std::nullopt;
        }
        language = named->toStdString();
    }
    const platform::SpellingRange range = runtime.Checker().Check(
        *text, *start, language, *wrap != platform::NO, std::get<int32_t*>(arguments[5]));
    return platform::NSRange{range.location, range.length};
}

int32_t ClassMessage(Runtime& runtime, int32_t receiver, Sel selector) {
    if (runtime.IsClass(receiver, "NSSpellChecker")) {
        switch (selector) {
            case Sel::SharedSpellChecker:
                return runtime.SharedSpellChecker();
            case Sel::UniqueSpellDocumentTag:
                return runtime.NextSpellDocumentTag();
            default:
                return 0;
        }
    }
    if (runtime.IsClass(receiver, "NSAutoreleasePool") && selector == Sel::Alloc) {
        return runtime.Objects().Add(platform::PoolObject{});
    }
    return 0;
}

int32_t InstanceMessage(Runtime& runtime, int32_t receiver, Sel selector,
                        const MessageArguments& arguments) {
    platform::ObjectTable& objects = runtime.Objects();
    if (selector == Sel::Release) {
        objects.Release(receiver);
        return 0;
    }
    if (objects.Find<platform::PoolObject>(receiver) != nullptr && selector == Sel::Init) {
        objects.PushPool(receiver);
        return receiver;
    }
    if (objects.Find<platform::SpellCheckerObject>(receiver) == nullptr) {
        return 0;
    }
    switch (selector) {
        case Sel::SetLanguage:
            return SetLanguage(runtime, arguments);
        case Sel::GuessesForWord:
            return GuessesForWord(runtime, arguments);
        default:
            return 0;
    }
}

}  // namespace

int32_t objc_getClass(const char* name) {
    Runtime* const runtime = Runtime::Get();
    return runtime != nullptr && name != nullptr ? runtime->ClassNamed(name) : 0;
}

int32_t sel_registerName(const char* name) {
    if (name == nullptr) {
        return 0;
    }
    for (size_t i = 0; i < kSelectorNames.size(); ++i) {
        if (kSelectorNames[i] == name) {
            return static_cast<int32_t>(i + 1);
        }
    }
    return 0;
}

int32_t objc_msgSend(int32_t receiver, int32_t selector, const MessageArguments& arguments) {
    Runtime* const runtime = Runtime::Get();
    const Sel sel = ToSel(selector);
    if (runtime == nullptr || receiver == 0 || sel == Sel::None) {
        return 0;
    }
    if (runtime->Objects().Find<platform::ClassObject>(receiver) != nullptr) {
        return ClassMessage(*runtime, receiver, sel);
    }
    return InstanceMessage(*runtime, receiver, sel, arguments);
}

void objc_msgSend_stret(void* structure, int32_t receiver, int32_t selector,
                        const MessageArguments& arguments) {
    if (structure == nullptr) {
        return;
    }
    Runtime* const runtime = Runtime::Get();
    platform::NSRange range;
    const bool checker = runtime != nullptr &&
                         runtime->Objects().Find<platform::SpellCheckerObject>(receiver) != nullptr;
    if (checker && ToSel(selector) == Sel::CheckSpelling) {
        range = CheckSpelling(*runtime, arguments).value_or(platform::NSRange{});
    }
    std::memcpy(structure, &range, sizeof range);
}

int32_t NSApplicationLoad() {
    return platform::YES;
}
