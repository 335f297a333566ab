#include "sources/SSC.h"

#include "framework/exceptions.h"
#include "framework/threads.h"
#include "platform/cocoalibrary.h"
#include "platform/corefoundation.h"
#include "platform/objc.h"
#include "platform/runtime.h"
#include "sources/bridge/CFString.h"
#include "sources/bridge/Cocoa.h"

namespace SSC {

namespace {

constexpr const char* kCheckerClass = "NSSpellChecker";
constexpr const char* kStructSendName = "objc_msgSend_stret";

using StructSend = void(void*, int32_t, int32_t, const platform::MessageArguments&);

// Found by name on every call, as the library is; a library without it raises.
StructSend* StructReturningSend() {
    StructSend* const send = platform::FindCocoaFunction<StructSend>(kStructSendName);
    if (send == nullptr) {
        throw fw::FunctionNotFoundException(kStructSendName);
    }
    return send;
}

// The receiver is looked up before the selector (function arguments have no order of their
// own), so an unknown class is reported before an unknown selector.
int32_t SendMessage(int32_t receiver, const char* selectorName,
                    const platform::MessageArguments& arguments = {}) {
    const int32_t selector = Cocoa::Selector(selectorName);
    return objc_msgSend(receiver, selector, arguments);
}

}  // namespace

int32_t GetNSSpellChecker() {
    return SendMessage(Cocoa::ClassRef(kCheckerClass), "sharedSpellChecker");
}

int32_t GetSpellTag() {
    return SendMessage(Cocoa::ClassRef(kCheckerClass), "uniqueSpellDocumentTag");
}

void Initialize() {
    Cocoa::Initialize();
    gSpellTag = GetSpellTag();
}

bool SetLanguage(const std::string& language) {
    // No checker has an empty language; asking would only risk failing where False is the answer.
    if (language.empty()) {
        return false;
    }
    const CFString cfLanguage(language);
    return SendMessage(GetNSSpellChecker(), "setLanguage:", {static_cast<int32_t>(cfLanguage)}) !=
           platform::NO;
}

bool CheckString(const std::string& text, const std::string& language) {
    // Without a language the text cannot be judged, and an unjudged word must not count as known.
    if (language.empty()) {
        return false;
    }
    const int32_t selector = Cocoa::Selector(
        "checkSpellingOfString:startingAt:language:wrap:inSpellDocumentWithTag:wordCount:");
    const CFString cfText(text);
    const CFString cfLanguage(language);
    platform::NSRange misspelled;
    StructReturningSend()(&misspelled, GetNSSpellChecker(), selector,
                          {static_cast<int32_t>(cfText), 0, static_cast<int32_t>(cfLanguage),
                           platform::NO, gSpellTag, nullptr});
    return misspelled.length == 0;
}

std::vector<std::string> GetGuessesForWord(const std::string& word) {
    std::vector<std::string> guesses;
    const CFString cfWord(word);
    const int32_t array =
        SendMessage(GetNSSpellChecker(), "guessesForWord:", {static_cast<int32_t>(cfWord)});
    if (array == 0) {
        return guesses;
    }
    // The array is the pool's. Holding it here keeps it valid when a yield on a cooperative
    // thread lets the autorelease timer recycle the pool before the loop ends.
    const CFType heldArray(array);
    const int32_t count = CFArrayGetCount(array);
    for (int32_t index = 0; index < count; ++index) {
        const int32_t element = CFArrayGetValueAtIndex(array, index);
        if (element != 0) {
            guesses.push_back(static_cast<std::string>(CFString(element)));
        }
        fw::Yield();
    }
    return guesses;
}

void PrepareGuessesForWord(const std::string& word) {
    if (platform::Runtime* const runtime = platform::Runtime::Get()) {
        runtime->Checker().PrepareGuesses(word);
    }
}

bool GuessesPending(const std::string& word) {
    platform::Runtime* const runtime = platform::Runtime::Get();
    return runtime != nullptr && runtime->Checker().GuessesPending(word);
}

}  // namespace SSC
