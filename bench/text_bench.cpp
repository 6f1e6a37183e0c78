// Cutting a large series page: TextBetweenAll and FindText must stay linear in the page size.
// Run: build/bin/bench_text  (prints the time per page size and the fitted complexity)

#include <benchmark/benchmark.h>

#include <string>

#include "text/extract.h"
#include "text/text.h"

namespace {

constexpr int kLinksPerUnit = 100'000;  // one unit is a ~10 MB page with 100,000 episode links

// A page of `units` x 100,000 episode links of ~100 bytes each, GBK titles included.
std::string MakePage(int units) {
  std::string page = "<html><head><title>\xD6\xD0\xCE\xC4</title></head><body><div class=\"list\">";
  for (int i = 0; i < units * kLinksPerUnit; ++i) {
    page += "<li><a href=\"/play_" + std::to_string(400000000 + i) +
            ".shtml\" class=\"episode-link\" target=\"_blank\" title=\"\xB5\xDA" + std::to_string(i) + "\xBD\xB2\">x</a></li>\n";
  }
  return page + "</div><div id=\"end\">end</div></body></html>";
}

const std::string& Page(int units) {
  static const std::string one = MakePage(1);
  static const std::string two = MakePage(2);
  return units == 1 ? one : two;
}

void BM_TextBetweenAll(benchmark::State& state) {
  const std::string& page = Page(static_cast<int>(state.range(0)));
  lecdl::TextList links;
  for (auto _ : state) {
    lecdl::TextBetweenAll(page, "href=\"/play_", ".shtml\"", links);
    benchmark::DoNotOptimize(links.data());
  }
  if (links.size() != static_cast<size_t>(state.range(0)) * kLinksPerUnit) state.SkipWithError("wrong link count");
  state.SetComplexityN(static_cast<int64_t>(page.size()));
  state.counters["MB"] = static_cast<double>(page.size()) / 1e6;
  state.counters["links"] = static_cast<double>(links.size());
}

void BM_FindText(benchmark::State& state) {
  const std::string& page = Page(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(lecdl::FindText(page, "<div id=\"end\">"));
  state.SetComplexityN(static_cast<int64_t>(page.size()));
  state.counters["MB"] = static_cast<double>(page.size()) / 1e6;
}

void BM_FindTextIgnoringCase(benchmark::State& state) {
  const std::string& page = Page(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(lecdl::FindText(page, "<DIV ID=\"END\">", 1, true));
  state.SetComplexityN(static_cast<int64_t>(page.size()));
  state.counters["MB"] = static_cast<double>(page.size()) / 1e6;
}

}  // namespace

BENCHMARK(BM_TextBetweenAll)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_FindText)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_FindTextIgnoringCase)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

BENCHMARK_MAIN();
