// Reading online replies on the main loop. Budgets: a real-sized reply (a base-form reply, a portal
// page or a lexical-database page of about 50 KB) under 1 ms; the SOAP reply decoding linear in
// the size, a 1 MB reply with 50,000 references under 50 ms. The largest reply the HTTP client
// accepts (4 MiB) shows the longest the event loop can stall on one reply.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_ui.h"
#include "online_replies.h"
#include "search/PMC.h"
#include "sources/UL_Baseform.h"
#include "sources/UL_HTTPSocket.h"
#include "sources/UL_WWWSocket.h"
#include "sources/WordNetSocket.h"

namespace {

constexpr size_t kLargest = 4 << 20;

// Markup of the kind that surrounds the entries on a real page.
std::string Filler(size_t bytes) {
    std::string filler;
    while (filler.size() < bytes) {
        filler +=
            "<TR><TD class=\"nav\"><A href=\"/cgi-portal/de/wort_www?site=1\">Startseite</A>"
            "</TD><TD>&nbsp;</TD></TR>\n";
    }
    return filler;
}

std::string BaseformReply() {
    return online::SoapRows({"Haus", "S", "hausen", "V", "Hau", "S", "Hause", "S"}) + Filler(1000);
}

std::string PortalEntry(int i) {
    std::string entry = "<P><B>Wort: </B> Haus" + std::to_string(i) +
                        "<table><TR><TD>Wortart: Substantiv</TD></TR><TR><TD><UL><LI>Grundform: "
                        "<A href=\"x\">Haus</A><LI>ist ein <A href=\"y\">Geb&auml;ude</A>"
                        "<LI>-lich-Form von: <A href=\"z\">h&auml;uslich</A></UL><B>Sachgebiet: "
                        "</B><A>Architektur</A>, <A>Bauwesen</A><TR><TD><B>>Synonyme:<UL>";
    for (const char* synonym : {"Bau", "Geb&auml;ude", "Heim", "Wohnung", "Bude", "Familie"}) {
        entry += "<LI><A href=\"w\">" + std::string(synonym) + "</A>";
    }
    return entry + "</UL></table><P>\n";
}

std::string PortalPage(size_t bytes) {
    std::string page = Filler(8000);
    for (int i = 0; page.size() < bytes; ++i) {
        page += PortalEntry(i % 4) + Filler(3000);
    }
    return page;
}

std::string WordNetPage(size_t bytes) {
    std::string page = Filler(4000) + "<h3>Noun</h3><ul>\n";
    for (int i = 0; page.size() < bytes; ++i) {
        page +=
            "<li><a href=\"webwn?o2=&s=dog\">S:</a> (n) <a href=\"webwn?s=dog\">dog</a>, "
            "<a href=\"webwn?s=domestic%20dog\">domestic dog</a>, <a>Canis familiaris</a> (a "
            "member of the genus Canis (probably descended from the common wolf) sense " +
            std::to_string(i) + ") <i>\"the dog barked all night\"</i></li>\n";
    }
    return page + "</ul>";
}

// `bytes` of text holding one reference every `bytes / references` bytes.
std::string References(size_t bytes, size_t references) {
    const std::string piece = "H&#xE4;user ";
    std::string text;
    text.reserve(bytes);
    const size_t stride = bytes / references;
    while (text.size() + stride <= bytes) {
        text += piece + std::string(stride - piece.size(), 'x');
    }
    return text;
}

template <class Read>
void ReadEach(benchmark::State& state, const std::string& content, Read read) {
    InstallSilentUI();
    for (auto _ : state) {
        PMC::InitializeGlobals();
        read(content);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * content.size()));
    state.counters["kb"] = static_cast<double>(content.size()) / 1024.0;
    PMC::InitializeGlobals();
}

void BM_BaseformReply(benchmark::State& state, size_t bytes) {
    std::string reply = BaseformReply();
    while (reply.size() < bytes) {
        reply += online::SoapRows({"Haus" + std::to_string(reply.size()), "S"});
    }
    ReadEach(state, reply, [](const std::string& c) { UL_Baseform::ReadPairs(c); });
}
BENCHMARK_CAPTURE(BM_BaseformReply, real, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BaseformReply, largest, kLargest)->Unit(benchmark::kMillisecond);

void BM_PortalPage(benchmark::State& state, size_t bytes) {
    ReadEach(state, PortalPage(bytes),
             [](const std::string& c) { UL_WWWSocket::ReadPage(c, "Haus"); });
}
BENCHMARK_CAPTURE(BM_PortalPage, 50kb, 50 << 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PortalPage, largest, kLargest)->Unit(benchmark::kMillisecond);

void BM_WordNetPage(benchmark::State& state, size_t bytes) {
    ReadEach(state, WordNetPage(bytes), [](const std::string& c) { WordNetSocket::ReadPage(c); });
}
BENCHMARK_CAPTURE(BM_WordNetPage, 50kb, 50 << 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WordNetPage, largest, kLargest)->Unit(benchmark::kMillisecond);

void BM_ConvertResponseToUTF8(benchmark::State& state) {
    const auto megabytes = static_cast<size_t>(state.range(0));
    const std::string text = References(megabytes << 20, megabytes * 50000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(UL_HTTPSocket::ConvertResponseToUTF8(text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ConvertResponseToUTF8)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
