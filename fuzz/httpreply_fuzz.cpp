// The HTTP client's reply reader on arbitrary bytes, as they may arrive: the outcome does not
// depend on how the bytes were split between arrivals, a complete body never exceeds the cap or the
// length the server announced, and the cost is linear in the bytes.
#include <charconv>
#include <string>
#include <string_view>

#include "framework/http.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/reader_checks.h"

namespace {

using Reader = fw::HTTPReplyReader;

// The reply fed in pieces of `piece` bytes (0: at once), then the server's close.
Reader Read(std::string_view bytes, size_t piece) {
    Reader reader;
    if (piece == 0) {
        reader.Feed(bytes);
    }
    for (size_t at = 0; piece > 0 && at < bytes.size(); at += piece) {
        reader.Feed(bytes.substr(at, piece));
    }
    reader.Finish();
    return reader;
}

void RequireSameOutcome(const Reader& a, const Reader& b) {
    fuzz::Require(a.GetState() == b.GetState(), "the same state however the bytes arrive");
    if (a.GetState() == Reader::State::Complete) {
        fuzz::Require(
            a.Status() == b.Status() && a.Headers() == b.Headers() && a.Content() == b.Content(),
            "the same reply however the bytes arrive");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Reader whole = Read(bytes, 0);
    RequireSameOutcome(whole, Read(bytes, 1));
    RequireSameOutcome(whole, Read(bytes, 2 + size % 11));
    if (whole.GetState() == Reader::State::Complete) {
        fuzz::Require(whole.Status() >= 100 && whole.Status() <= 999, "a three-digit status");
        fuzz::Require(whole.Content().size() <= Reader::kMaxReplyBytes, "the body within the cap");
        const std::string length = fw::HeaderValue(whole.Headers(), "Content-Length").value_or("");
        size_t announced = 0;
        const auto [end, error] =
            std::from_chars(length.data(), length.data() + length.size(), announced);
        fuzz::Require(length.empty() || error != std::errc() ||
                          end != length.data() + length.size() ||
                          announced == whole.Content().size(),
                      "the body as long as announced");
    } else {
        fuzz::Require(whole.Content().empty(), "no body from a failed reply");
    }
    fuzz::RequireLinearTime(bytes, [](const std::string& reply) { Read(reply, 7); });
    return 0;
}
