#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "SyntheticPage.h"
#include "parser/CGP.h"

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

BENCHMARK(BM_ParseRealPage);
BENCHMARK(BM_ParseSynthetic100);

}  // namespace

BENCHMARK_MAIN();
