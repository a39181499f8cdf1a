#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "SyntheticPage.h"
#include "parser/CGP.h"
#include "serpdouble/SearxngAnswer.h"
#include "source/SearxngReader.h"

namespace {

std::string RealPage() {
    std::ifstream in(KES_PARSER_FIXTURE, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ParseRepeatedly(benchmark::State& state, const std::string& page, int expectedLinks) {
    const fetchcore::CGP parser;
    if (parser.ParsePage(page)->Children().Count() != expectedLinks) {
        state.SkipWithError("the page does not give the expected links");
        return;
    }
    for (auto _ : state) {
        auto record = parser.ParsePage(page);
        benchmark::DoNotOptimize(record);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.counters["pages"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["page_bytes"] = static_cast<double>(page.size());
}

void BM_ParseRealPage(benchmark::State& state) {
    ParseRepeatedly(state, RealPage(), 4);
}

void BM_ParseSynthetic100(benchmark::State& state) {
    ParseRepeatedly(state, SyntheticResultsPage(100), 100);
}

void BM_ParseSynthetic20(benchmark::State& state) {
    ParseRepeatedly(state, SyntheticResultsPage(20), 20);
}

// The SearXNG reader on an answer of 20 results, shaped as an instance sends them.
void BM_ReadSearxng20(benchmark::State& state) {
    serpdouble::SearxngAnswer answer{"red kites", {}, 1, {{"google", "CAPTCHA"}}};
    for (int i = 1; i <= 20; ++i) {
        answer.urls.push_back("https://www.example" + std::to_string(i) +
                              ".org/birds/red-kites/article-" + std::to_string(i) + ".html");
    }
    const std::string text = serpdouble::RenderSearxngAnswer(answer);
    if (fetchcore::ReadSearxngPage(text).links.size() != 20) {
        state.SkipWithError("the answer does not give the expected links");
        return;
    }
    for (auto _ : state) {
        auto page = fetchcore::ReadSearxngPage(text);
        benchmark::DoNotOptimize(page);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["pages"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["page_bytes"] = static_cast<double>(text.size());
}

BENCHMARK(BM_ParseRealPage);
BENCHMARK(BM_ParseSynthetic20);
BENCHMARK(BM_ParseSynthetic100);
BENCHMARK(BM_ReadSearxng20);

}  // namespace

BENCHMARK_MAIN();
