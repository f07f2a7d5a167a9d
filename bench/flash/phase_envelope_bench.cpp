// The phase envelope of the ten-component natural gas (N2, CO2, methane to n-decane, PR) and of
// methane/n-butane 50/50, traced from scratch each run with the state reused. Nine repetitions;
// read the median.

#include "engine/flash/phase_envelope.h"
#include "tests/engine/flash/component_table.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace quorvane {
namespace {

void Envelope(benchmark::State& st, const FlashCase& flashCase, const std::vector<float>& mw) {
    FlashState state;
    PhaseEnvelope envelope;
    for (auto _ : st) {
        envelope = TraceCaseEnvelope(flashCase, mw, state);
        benchmark::DoNotOptimize(envelope.bubble.data());
    }
    char label[96];
    std::snprintf(label, sizeof label, "bubble=%zu dew=%zu left out=%d failed=%d",
                  envelope.bubble.size(), envelope.dew.size(), envelope.dropped, envelope.failed);
    st.SetLabel(label);
}

void NaturalGas(benchmark::State& st) {
    Envelope(st, testdata::NaturalGas(), testdata::MolarMasses(testdata::kNaturalGasNames));
}

void Binary(benchmark::State& st) {
    Envelope(st, testdata::MethaneButane(0.5F), testdata::MolarMasses({"METHANE", "n-BUTANE"}));
}

BENCHMARK(NaturalGas)
    ->Name("envelope/natural_gas")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(Binary)
    ->Name("envelope/binary")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace quorvane
