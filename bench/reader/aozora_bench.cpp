// The notation of Aozora Bunko texts and finding a passage, without the
// window: interpreting and cutting a generated 1.35 MB and 20 MB text, and
// a find over 660,000 display lines that holds nothing (the whole scan)
// and one that finds its passage across a cut near the end.
#include <benchmark/benchmark.h>

#include "bench/reader/aozora_text.h"
#include "bench/reader/big_book_tools.h"
#include "reader/rules/aozora_notation.h"
#include "reader/rules/text_search.h"

namespace {

void interpretAndCut(benchmark::State& state) {
    const QString text = aozorabench::generatedText(state.range(0) * 1000);
    qsizetype lines = 0;
    for (auto _ : state) {
        const velreader::AozoraText interpreted = velreader::interpretAozora(text, velreader::RubyStyle::Parentheses);
        lines = velreader::aozoraDisplayLines(interpreted, 30).size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["display_lines"] = double(lines);
    state.counters["MB"] = double(text.size() * 2) / 1e6;
}
BENCHMARK(interpretAndCut)->Arg(1350)->Arg(20000)->Unit(benchmark::kMillisecond);

void findOver660000Lines(benchmark::State& state) {
    QStringList lines = bigbooks::proseLines(660000);
    // A passage cut between two lines near the end.
    lines[659990] += QStringLiteral("羊飼");
    lines[659991].prepend(QStringLiteral("いの歌"));
    const QString needle = state.range(0) ? QStringLiteral("羊飼いの歌") : QStringLiteral("山羊の角笛");
    for (auto _ : state) {
        const velreader::FoundPassage found = velreader::findPassage(lines, lines.size(), needle, 0, true);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(findOver660000Lines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
