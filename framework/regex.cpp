#define PCRE2_CODE_UNIT_WIDTH 8
#include "framework/regex.h"

#include <pcre2.h>

#include <utility>

#include "framework/text.h"

namespace fw {

namespace {

// Hostile input (a page from the network) must end in "no match" within milliseconds: the match
// limit caps backtracking steps, the depth and heap limits the interpreter's backtracking memory,
// the JIT stack the compiled matcher's.
constexpr uint32_t kMatchLimit = 1'000'000;
constexpr uint32_t kDepthLimit = 100'000;
constexpr uint32_t kHeapLimitKiB = 32 * 1024;
constexpr size_t kJitStackStart = 32 * 1024;
constexpr size_t kJitStackMax = 8 * 1024 * 1024;

struct CodeFree {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct MatchContextFree {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct JitStackFree {
    void operator()(pcre2_jit_stack* stack) const { pcre2_jit_stack_free(stack); }
};
using Code = std::unique_ptr<pcre2_code, CodeFree>;

// One JIT stack per OS thread, on the heap, so that a match inside a fiber with a small machine
// stack is safe. A match never runs inside another, so sharing it is too.
pcre2_jit_stack* JitStack() {
    thread_local const std::unique_ptr<pcre2_jit_stack, JitStackFree> stack(
        pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));
    return stack.get();
}

// A compiled pattern. UTF mode makes "." and classes take whole characters of a valid target;
// a target that is not valid UTF-8 is searched byte by byte by a second compilation instead.
class Pattern {
  public:
    explicit Pattern(std::string text) : text_(std::move(text)) {
        utf_ = Compile(PCRE2_UTF);
        if (utf_) {
            data_.reset(pcre2_match_data_create_from_pattern(utf_.get(), nullptr));
        }
    }

    const std::string& Text() const { return text_; }
    bool Valid() const { return utf_ && data_; }

    // Searches at or after `start`: the number of sub-expressions set (Offsets() and Groups()
    // describe them), or 0 when there is no match, a limit stopped the search, or the start lies
    // beyond the target.
    int Match(const std::string& target, bool utf, size_t start, uint32_t options,
              pcre2_match_context* context);
    const PCRE2_SIZE* Offsets() const { return pcre2_get_ovector_pointer(data_.get()); }
    uint32_t Groups() const { return groups_; }

  private:
    Code Compile(uint32_t options) const {
        int error = 0;
        PCRE2_SIZE offset = 0;
        Code code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(text_.data()), text_.size(), options,
                                &error, &offset, nullptr));
        if (code) {
            pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE);  // the interpreter stays as fallback
        }
        return code;
    }

    pcre2_code* CodeFor(bool utf) {
        if (utf) {
            return utf_.get();
        }
        if (!bytes_) {
            bytes_ = Compile(0);
        }
        return bytes_.get();
    }

    std::string text_;
    Code utf_;
    Code bytes_;  // made on the first invalid target
    std::unique_ptr<pcre2_match_data, MatchDataFree> data_;
    uint32_t groups_ = 0;  // capture groups of the code that matched last
};

int Pattern::Match(const std::string& target, bool utf, size_t start, uint32_t options,
                   pcre2_match_context* context) {
    pcre2_code* code = CodeFor(utf);
    if (!code || start > target.size()) {
        return 0;
    }
    // The target was checked once; a start inside a character is moved to the next one, as the
    // unchecked matcher requires.
    if (utf) {
        while (start < target.size() &&
               (static_cast<unsigned char>(target[start]) & 0xC0) == 0x80) {
            ++start;
        }
        options |= PCRE2_NO_UTF_CHECK;
    }
    const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(target.data()), target.size(),
                               start, options, data_.get(), context);
    if (rc <= 0) {
        return 0;
    }
    groups_ = 0;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &groups_);
    return rc;
}

}  // namespace

std::string RegExMatch::SubExpressionString(int index) const {
    if (index < 0 || index >= SubExpressionCount()) {
        return "";
    }
    return texts_[index];
}

long RegExMatch::SubExpressionStartB(int index) const {
    if (index < 0 || index >= SubExpressionCount()) {
        return -1;
    }
    return starts_[index];
}

struct RegEx::Impl {
    std::unique_ptr<Pattern> pattern;
    std::unique_ptr<pcre2_match_context, MatchContextFree> context;

    // The last target, and where Search() goes on in it.
    std::string target;
    bool targetIsUtf8 = true;
    bool canContinue = false;
    size_t nextStart = 0;
    bool lastWasEmpty = false;

    Impl() : context(pcre2_match_context_create(nullptr)) {
        pcre2_set_match_limit(context.get(), kMatchLimit);
        pcre2_set_depth_limit(context.get(), kDepthLimit);
        pcre2_set_heap_limit(context.get(), kHeapLimitKiB);
        pcre2_jit_stack_assign(context.get(), nullptr, JitStack());
    }

    // The compiled form of `text`, or null when it does not compile.
    Pattern* Compile(const std::string& text) {
        if (!pattern || pattern->Text() != text) {
            pattern = std::make_unique<Pattern>(text);
            canContinue = false;
        }
        return pattern->Valid() ? pattern.get() : nullptr;
    }

    void SetTarget(const std::string& newTarget) {
        canContinue = false;
        if (newTarget != target) {
            target = newTarget;
            targetIsUtf8 = IsValidUtf8(target);
        }
    }

    // The match at or after `start`, with the end of the whole match.
    std::optional<std::pair<RegExMatch, size_t>> Match(const std::string& subject, bool utf,
                                                       size_t start, uint32_t options) {
        const int set = pattern->Match(subject, utf, start, options, context.get());
        if (set <= 0) {
            return std::nullopt;
        }
        const PCRE2_SIZE* ovector = pattern->Offsets();
        RegExMatch match;
        // The readers take a match per word of a page: one allocation per list, not one per
        // growth step.
        match.texts_.reserve(pattern->Groups() + 1);
        match.starts_.reserve(pattern->Groups() + 1);
        for (uint32_t i = 0; i <= pattern->Groups(); ++i) {
            const PCRE2_SIZE from = ovector[2 * i];
            const PCRE2_SIZE to = ovector[2 * i + 1];
            const bool isSet = i < static_cast<uint32_t>(set) && from != PCRE2_UNSET && from <= to;
            match.texts_.push_back(isSet ? subject.substr(from, to - from) : "");
            match.starts_.push_back(isSet ? static_cast<long>(from) : -1);
        }
        return std::make_pair(std::move(match), static_cast<size_t>(ovector[1]));
    }

    std::optional<RegExMatch> SearchFrom(size_t start, uint32_t options) {
        auto found = Match(target, targetIsUtf8, start, options);
        canContinue = found.has_value();
        if (!found) {
            return std::nullopt;
        }
        nextStart = found->second;
        lastWasEmpty = found->first.SubExpressionString(0).empty();
        return std::move(found->first);
    }

    std::optional<RegExMatch> Continue() {
        if (!canContinue) {
            return std::nullopt;
        }
        // After an empty match the next one must not be the same empty match again.
        return SearchFrom(nextStart, lastWasEmpty ? PCRE2_NOTEMPTY_ATSTART : 0);
    }
};

RegEx::RegEx() : impl_(std::make_unique<Impl>()) {}
RegEx::~RegEx() = default;

std::optional<RegExMatch> RegEx::Search(const std::string& target, long startByte) {
    impl_->SetTarget(target);
    if (startByte < 0 || !impl_->Compile(SearchPattern)) {
        return std::nullopt;
    }
    return impl_->SearchFrom(static_cast<size_t>(startByte), 0);
}

std::optional<RegExMatch> RegEx::Search(const std::string& target) {
    if (impl_->Compile(SearchPattern) && impl_->canContinue && impl_->target == target) {
        return impl_->Continue();
    }
    return Search(target, 0);
}

std::optional<RegExMatch> RegEx::Search() {
    if (!impl_->Compile(SearchPattern)) {
        return std::nullopt;
    }
    return impl_->Continue();
}

std::optional<RegExMatch> RegEx::SearchFrom(long startByte) {
    if (startByte < 0 || !impl_->Compile(SearchPattern)) {
        return std::nullopt;
    }
    return impl_->SearchFrom(static_cast<size_t>(startByte), 0);
}

}  // namespace fw
