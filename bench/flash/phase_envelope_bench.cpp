// The phase envelope of the natural gas of the example case (examples/natural_gas_tp.json: N2,
// CO2, methane to n-decane, PR), of a second ten-component gas and of methane/n-butane 50/50,
// traced from scratch each run with the state reused: by the tracer alone, and as the plot
// window draws it (every point confirmed, the critical point, cricondenbar and cricondentherm
// by continuation, the curves carried on to the critical point; with and without the quality
// lines). Nine repetitions; read the median.

#include "engine/flash/verified_envelope.h"
#include "tests/engine/flash/saturation_cases.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace quorvane {
namespace {

enum class Kind { Traced, Verified, VerifiedWithLines };

void Envelope(benchmark::State& st, const FlashCase& flashCase, const std::vector<float>& mw,
              Kind kind) {
    FlashState state;
    PhaseEnvelope envelope;
    for (auto _ : st) {
        envelope = kind == Kind::Traced ? TraceCaseEnvelope(flashCase, mw, state)
                                        : TraceVerifiedEnvelope(flashCase, mw, state, {},
                                                                kind == Kind::VerifiedWithLines);
        benchmark::DoNotOptimize(envelope.bubble.data());
    }
    char label[128];
    std::snprintf(label, sizeof label, "bubble=%zu dew=%zu re-solved=%d left out=%d added=%d",
                  envelope.bubble.size(), envelope.dew.size(), envelope.resolved,
                  envelope.dropped + envelope.failed, envelope.added);
    st.SetLabel(label);
}

const std::vector<float>& GasMasses() {
    static const std::vector<float> mw = testdata::MolarMasses(testdata::kNaturalGasNames);
    return mw;
}

const std::vector<float>& BinaryMasses() {
    static const std::vector<float> mw = testdata::MolarMasses({"METHANE", "n-BUTANE"});
    return mw;
}

void ExampleGas(benchmark::State& st, Kind kind) {
    Envelope(st, testdata::ExampleGas(), GasMasses(), kind);
}

void SecondGas(benchmark::State& st, Kind kind) {
    Envelope(st, testdata::NaturalGas(), GasMasses(), kind);
}

void Binary(benchmark::State& st, Kind kind) {
    Envelope(st, testdata::MethaneButane(0.5F), BinaryMasses(), kind);
}

#define QUORVANE_ENVELOPE_BENCH(function, kind, name)                                              \
    BENCHMARK_CAPTURE(function, kind, Kind::kind)                                                  \
        ->Name(name)                                                                               \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Repetitions(9)                                                                           \
        ->ReportAggregatesOnly(true)

QUORVANE_ENVELOPE_BENCH(ExampleGas, Traced, "envelope/example_gas");
QUORVANE_ENVELOPE_BENCH(ExampleGas, Verified, "envelope/example_gas_verified");
QUORVANE_ENVELOPE_BENCH(ExampleGas, VerifiedWithLines, "envelope/example_gas_verified_lines");
QUORVANE_ENVELOPE_BENCH(SecondGas, Traced, "envelope/natural_gas");
QUORVANE_ENVELOPE_BENCH(SecondGas, Verified, "envelope/natural_gas_verified");
QUORVANE_ENVELOPE_BENCH(Binary, Traced, "envelope/binary");
QUORVANE_ENVELOPE_BENCH(Binary, Verified, "envelope/binary_verified");

} // namespace
} // namespace quorvane
