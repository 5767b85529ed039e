// vantel-bench: a_n, S_n and P_n at n = 65535 for a handful of formulas, computed
// by the engine (prepared), by the text evaluation and by the same arithmetic
// written by hand. After Google Benchmark's own report it prints, from the
// medians of the repetitions, the ratio of the engine to the hand-written code for
// each quantity, and with --ratios one RATIO line per formula:
//   RATIO formula=F groups=0|1 per_term_ns=X vs_text=Y vs_hand=Z
// (per term: S_65535 / 65535; vs_text: how many times faster than the text
// evaluation; vs_hand: time relative to the hand-written code). With --school
// it times instead the whole term request (a_n, S_n and P_n at n = 65535, the
// best of several runs) for a corpus of textbook sequences:
//   SCHOOL formula=F request_ms=X [vs_hand=Z]
// and with --long for the longest and costliest formulas:
//   LONG name=N request_ms=X
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/hand_written.h"
#include "bench/long_formulas.h"
#include "bench/school.h"
#include "engine/dialog_state.h"
#include "engine/prepared.h"
#include "engine/sequence.h"
#include "format/bit_cast.h"
#include "tests/engine/text_quantities.h"

namespace {

constexpr std::uint16_t kN = 65535;

enum Way { kPrepared, kText, kHand };
enum Quantity { kTerm, kSum, kProduct };
const char* const kWayNames[] = {"prepared", "text", "hand"};
const char* const kQuantityNames[] = {"a", "S", "P"};

Result Compute(const BenchFormula& f, Way way, Quantity q) {
  double v = 0;
  switch (way) {
    case kPrepared:
      v = q == kTerm ? TermValue(f.text, kN) : q == kSum ? PartialSum(f.text, kN) : PartialProduct(f.text, kN);
      return {v, ResultCode};
    case kText:
      return q == kTerm  ? TextTermValue(f.text, kN)
             : q == kSum ? TextPartialSum(f.text, kN, kNoError)
                         : TextPartialProduct(f.text, kN, kNoError);
    default:
      return q == kTerm ? f.term(kN) : q == kSum ? f.sum(kN) : f.product(kN);
  }
}

void Run(benchmark::State& state, const BenchFormula* f, Way way, Quantity q) {
  for (auto _ : state) {
    Result r = Compute(*f, way, q);
    benchmark::DoNotOptimize(r);
  }
}

// Preparing a formula, once per request.
void Prepare(benchmark::State& state, const BenchFormula* f) {
  for (auto _ : state) {
    PreparedFormula p = PrepareFormula(f->text);
    benchmark::DoNotOptimize(p);
  }
}

std::string Name(const BenchFormula& f, Way way, Quantity q) {
  return std::string(kQuantityNames[q]) + "/" + kWayNames[way] + "/" + f.text;
}

// Medians of the repetitions, by benchmark name, in nanoseconds.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> medians;

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        medians[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
  }
};

bool Same(Result a, Result b) {
  return a.code == b.code && (a.code != 0 || BitCast<std::uint64_t>(a.value) == BitCast<std::uint64_t>(b.value));
}

// The three ways must agree before their times mean anything.
bool CheckAgreement() {
  bool ok = true;
  for (int i = 0; i < kBenchFormulaCount; ++i) {
    const BenchFormula& f = kBenchFormulas[i];
    for (Quantity q : {kTerm, kSum, kProduct}) {
      Result prepared = Compute(f, kPrepared, q);
      Result hand = Compute(f, kHand, q);
      Result text = Compute(f, kText, q);
      if (!Same(prepared, hand) || !Same(prepared, text)) {
        std::fprintf(stderr, "vantel-bench: %s_%u of %s differs between the ways\n", kQuantityNames[q], kN, f.text);
        ok = false;
      }
    }
  }
  return ok;
}

bool SameQuantities(const Quantities& a, const Quantities& b) {
  return Same(a.term, b.term) && Same(a.sum, b.sum) && Same(a.product, b.product);
}

// The best time of a few runs, in milliseconds: at least three, for at least a
// fifth of a second, at most twenty.
template <typename F>
double BestMs(F f) {
  using Clock = std::chrono::steady_clock;
  double best = 1e300;
  const auto start = Clock::now();
  for (int run = 0; run < 20; ++run) {
    const auto t0 = Clock::now();
    Quantities q = f();
    benchmark::DoNotOptimize(q);
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    if (run >= 2 && Clock::now() - start > std::chrono::milliseconds(200)) break;
  }
  return best;
}

constexpr unsigned kAllQuantities = kWantTerm | kWantSum | kWantProduct;

// The request of a school formula against its separate calls and its
// hand-written counterpart, then the times.
int School() {
  int status = 0;
  for (int i = 0; i < kSchoolFormulaCount; ++i) {
    const SchoolFormula& f = kSchoolFormulas[i];
    const Quantities request = ComputeQuantities(f.text, kN, kAllQuantities, kNoError);
    Quantities separate;
    separate.term.value = TermValue(f.text, kN);
    separate.term.code = ResultCode;
    separate.sum.value = PartialSum(f.text, kN);
    separate.sum.code = ResultCode;
    separate.product.value = PartialProduct(f.text, kN);
    separate.product.code = ResultCode;
    if (!SameQuantities(request, separate) || (f.hand && !SameQuantities(request, f.hand(kN)))) {
      std::fprintf(stderr, "vantel-bench: the request for %s differs from its separate or hand-written quantities\n",
                   f.text);
      status = 1;
      continue;
    }
    const double engine = BestMs([&] { return ComputeQuantities(f.text, kN, kAllQuantities, kNoError); });
    std::printf("SCHOOL formula=%s request_ms=%.2f", f.text, engine);
    if (f.hand) std::printf(" vs_hand=%.2f", engine / BestMs([&] { return f.hand(kN); }));
    std::printf("\n");
    std::fflush(stdout);
  }
  return status;
}

// The whole request of each long formula, the best of a few runs.
int Long() {
  for (const LongFormula& f : LongFormulas()) {
    const ShortString text(f.text);
    const double ms = BestMs([&] { return ComputeQuantities(text, kN, kAllQuantities, kNoError); });
    std::printf("LONG name=%s length=%zu request_ms=%.1f\n", f.name.c_str(), f.text.size(), ms);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool ratios = false;
  bool school = false;
  bool long_formulas = false;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--ratios") == 0) {
      ratios = true;
    } else if (std::strcmp(argv[i], "--school") == 0) {
      school = true;
    } else if (std::strcmp(argv[i], "--long") == 0) {
      long_formulas = true;
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());

  EngineStartup();
  if (school) return School();
  if (long_formulas) return Long();
  if (!CheckAgreement()) return 1;

  for (int i = 0; i < kBenchFormulaCount; ++i) {
    const BenchFormula* f = &kBenchFormulas[i];
    benchmark::RegisterBenchmark((std::string("prepare/") + f->text).c_str(), Prepare, f)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true)
        ->MinTime(0.05);
    for (Quantity q : {kTerm, kSum, kProduct}) {
      for (Way way : {kPrepared, kText, kHand}) {
        if (way == kText && q == kProduct) continue;  // per term the same work as S_n
        benchmark::RegisterBenchmark(Name(*f, way, q).c_str(), Run, f, way, q)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true)
            ->MinTime(way == kText ? 0.3 : 0.1);
      }
    }
  }
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  auto median = [&](const BenchFormula& f, Way way, Quantity q) {
    auto it = reporter.medians.find(Name(f, way, q));
    return it == reporter.medians.end() ? 0.0 : it->second * 1000;  // microseconds to nanoseconds
  };
  std::printf("\nThe engine against the same arithmetic written by hand (medians, n = %u):\n", kN);
  for (int i = 0; i < kBenchFormulaCount; ++i) {
    const BenchFormula& f = kBenchFormulas[i];
    for (Quantity q : {kTerm, kSum, kProduct}) {
      double engine = median(f, kPrepared, q);
      double hand = median(f, kHand, q);
      if (engine == 0 || hand == 0) continue;
      std::printf("HAND quantity=%s formula=%s engine_ns=%.0f hand_ns=%.0f ratio=%.2f\n", kQuantityNames[q], f.text,
                  engine, hand, engine / hand);
    }
  }
  if (ratios) {
    for (int i = 0; i < kBenchFormulaCount; ++i) {
      const BenchFormula& f = kBenchFormulas[i];
      double prepared = median(f, kPrepared, kSum);
      double text = median(f, kText, kSum);
      double hand = median(f, kHand, kSum);
      if (prepared == 0 || text == 0 || hand == 0) continue;
      std::printf("RATIO formula=%s groups=%d per_term_ns=%.2f vs_text=%.1f vs_hand=%.2f\n", f.text, f.groups ? 1 : 0,
                  prepared / kN, text / prepared, prepared / hand);
    }
  }
  return 0;
}
