// Timings of the flash driver as users run it (the routine of the flash type, then the
// confirmation of its point or the search for one, then the final gate) and of the phase
// envelope by continuation with its critical point.

#include "engine/envelope/mixture_envelope.h"
#include "engine/flash/flash_driver.h"
#include "tests/engine/flash/saturation_cases.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace quorvane {
namespace {

void Driver(benchmark::State& st, FlashCase c, FlashType type, float tempF, float pressPsia) {
    FlashState state;
    c.flashType = type;
    bool converged = false;
    float computed = 0.0F;
    for (auto _ : st) {
        c.tempF = tempF;
        c.pressPsia = pressPsia;
        RunFlash(c, state);
        converged = c.converged;
        computed = type == FlashType::BUBP || type == FlashType::DEWP ? c.pressPsia : c.tempF;
        benchmark::ClobberMemory();
    }
    char label[128];
    std::snprintf(label, sizeof label, "%s=%.6g V=%.6g residual=%.2g %s",
                  type == FlashType::BUBP || type == FlashType::DEWP ? "P" : "T", computed,
                  c.vapourFraction, c.residual, converged ? "converged" : "NOT CONVERGED");
    st.SetLabel(label);
}

// The hydrocarbon dew point of the example gas at 800 psia: the routine ends on the trivial
// solution, and the point is solved at 800 psia and shown to be the only one there.
void DewTemperatureExampleGas(benchmark::State& st) {
    Driver(st, testdata::ExampleGas(), FlashType::DEWT, 0.0F, 800.0F);
}

// Ordinary bubble pressures, confirmed as they are.
void BubblePressureBinary(benchmark::State& st) {
    Driver(st, testdata::MethaneButane(0.5F), FlashType::BUBP, 100.0F, 0.0F);
}

void BubblePressureNaturalGas(benchmark::State& st) {
    Driver(st, testdata::NaturalGas(), FlashType::BUBP, -100.0F, 0.0F);
}

void TpNaturalGas(benchmark::State& st) {
    Driver(st, testdata::NaturalGas(), FlashType::TP, 40.0F, 800.0F);
}

void EnvelopeExampleGas(benchmark::State& st, std::vector<double> qualities) {
    const FlashCase c = testdata::ExampleGas();
    const envelope::EnvelopeMixture mixture{c.Eos(), c.tcF, c.pcPsia, c.w, c.kij.View()};
    envelope::EnvelopeOptions options;
    options.qualities = std::move(qualities);
    envelope::PhaseEnvelope env;
    for (auto _ : st) {
        env = envelope::TracePhaseEnvelope(mixture, c.z, options);
        benchmark::DoNotOptimize(env);
    }
    char label[160];
    std::snprintf(label, sizeof label, "points=%zu critical=(%.2f F, %.1f psia)",
                  env.dew.size() + env.bubble.size(), env.critical.tempF, env.critical.pressPsia);
    st.SetLabel(label);
}

BENCHMARK(DewTemperatureExampleGas)
    ->Name("driver/DEWT/example_gas_800psia")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BubblePressureBinary)->Name("driver/BUBP/binary_100F")->Unit(benchmark::kMicrosecond);
BENCHMARK(BubblePressureNaturalGas)
    ->Name("driver/BUBP/natural_gas_-100F")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(TpNaturalGas)->Name("driver/TP/natural_gas")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EnvelopeExampleGas, plain, std::vector<double>{})
    ->Name("envelope/example_gas")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EnvelopeExampleGas, quality_lines, std::vector<double>{0.25, 0.5, 0.75})
    ->Name("envelope/example_gas_with_quality_lines")
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quorvane
