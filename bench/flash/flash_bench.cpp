// Timings of the flash routines on a binary (methane/n-butane), the ten-component natural gas
// (N2, CO2, methane to n-decane, PR, 40 °F, 800 psia) and a 25-component mixture. The state
// and the result arrays are reused, as a caller running many flashes would.

#include "engine/eos/fugacity.h"
#include "engine/eos/phase_fugacity.h"
#include "engine/flash/isothermal_flash.h"
#include "engine/flash/saturation.h"
#include "tests/engine/flash/component_table.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

// The replacement operator new below allocates with malloc and its operator delete frees with
// free; the compiler cannot see that they pair up.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Heap allocations are counted so that each benchmark can show how many a run makes once its
// state and result arrays exist (the iteration loops allocate nothing).
namespace {
std::atomic<long> g_allocations{0};
} // namespace

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace quorvane {
namespace {

// Allocations per run while the benchmark loop ran.
struct AllocationCount {
    long start = g_allocations.load();
    double PerRun(const benchmark::State& st) const {
        return static_cast<double>(g_allocations.load() - start) /
               static_cast<double>(st.iterations());
    }
};

enum class Mix { Binary, NaturalGas, TwentyFive };

FlashCase CaseOf(Mix mix) {
    switch (mix) {
    case Mix::Binary:
        return testdata::MethaneButane(0.5F);
    case Mix::NaturalGas:
        return testdata::NaturalGas();
    case Mix::TwentyFive:
        return testdata::TwentyFive();
    }
    return {};
}

// State variables of each mixture: (T °F, P psia) of the TP flash, T of the bubble pressure,
// P of the dew temperature.
struct Conditions {
    float tpT, tpP, bubbleT, dewP;
};

Conditions ConditionsOf(Mix mix) {
    switch (mix) {
    case Mix::Binary:
        return {100.0F, 1000.0F, 100.0F, 110.0F};
    case Mix::NaturalGas:
        return {40.0F, 800.0F, 40.0F, 100.0F};
    case Mix::TwentyFive:
        return {100.0F, 1000.0F, 100.0F, 100.0F};
    }
    return {};
}

// The result of the last run, shown beside the timing.
void ReportOutcome(benchmark::State& st, const FlashResults& out, const char* what, double value,
                   const AllocationCount& allocations) {
    char label[128];
    std::snprintf(label, sizeof label, "%s=%.6g passes=%d %s allocations/run=%.3g", what, value,
                  out.iterations, out.converged ? "converged" : "NOT CONVERGED",
                  allocations.PerRun(st));
    st.SetLabel(label);
}

template <Mix M>
void TpFlash(benchmark::State& st) {
    const FlashCase c = CaseOf(M);
    const Conditions k = ConditionsOf(M);
    const FlashMixture mixture = MixtureOf(c);
    FlashState state;
    FlashResults out;
    IsothermalFlash(mixture, c.z, k.tpT, k.tpP, out, state); // sizes the result arrays
    const AllocationCount allocations;
    for (auto _ : st) {
        IsothermalFlash(mixture, c.z, k.tpT, k.tpP, out, state);
        benchmark::ClobberMemory();
    }
    ReportOutcome(st, out, "V", out.vapourFraction, allocations);
}

template <Mix M>
void BubbleP(benchmark::State& st) {
    const FlashCase c = CaseOf(M);
    const Conditions k = ConditionsOf(M);
    const FlashMixture mixture = MixtureOf(c);
    FlashState state;
    FlashResults out;
    BubblePressure(mixture, c.z, k.bubbleT, out, state);
    const AllocationCount allocations;
    for (auto _ : st) {
        BubblePressure(mixture, c.z, k.bubbleT, out, state);
        benchmark::ClobberMemory();
    }
    ReportOutcome(st, out, "P", out.pressPsia, allocations);
}

template <Mix M>
void DewT(benchmark::State& st) {
    const FlashCase c = CaseOf(M);
    const Conditions k = ConditionsOf(M);
    const FlashMixture mixture = MixtureOf(c);
    FlashState state;
    FlashResults out;
    DewTemperature(mixture, c.z, k.dewP, out, state);
    const AllocationCount allocations;
    for (auto _ : st) {
        DewTemperature(mixture, c.z, k.dewP, out, state);
        benchmark::ClobberMemory();
    }
    ReportOutcome(st, out, "T", out.tempF, allocations);
}

// One phase of the natural gas: all coefficients from one evaluation against one
// FugacityCoefficient call per component.
void PhaseOneEvaluation(benchmark::State& st) {
    const FlashCase c = testdata::NaturalGas();
    PhaseFugacity eos;
    eos.Bind(EosChoiceFromText("PR"), c.tcF, c.pcPsia, c.w, c.kij.View());
    CubicState cubic;
    std::vector<double> phi(c.z.size());
    for (auto _ : st) {
        benchmark::DoNotOptimize(eos.Evaluate(Phase::Vapour, 40.0F, 800.0F, c.z, phi, cubic));
    }
}

void PhasePerComponent(benchmark::State& st) {
    const FlashCase c = testdata::NaturalGas();
    CubicState cubic;
    for (auto _ : st) {
        for (int i = 0; i < c.n; ++i) {
            float z = 0.0F;
            benchmark::DoNotOptimize(
                FugacityCoefficient(EosEquation::PR, Phase::Vapour, 40.0F, 800.0F, c.tcF, c.pcPsia,
                                    c.w, c.z, i, EosVariant::Original, c.kij.View(), z, cubic));
        }
    }
}

BENCHMARK(TpFlash<Mix::Binary>)->Name("TP/binary")->Unit(benchmark::kMicrosecond);
BENCHMARK(TpFlash<Mix::NaturalGas>)->Name("TP/natural_gas")->Unit(benchmark::kMicrosecond);
BENCHMARK(TpFlash<Mix::TwentyFive>)->Name("TP/25_components")->Unit(benchmark::kMicrosecond);
BENCHMARK(BubbleP<Mix::Binary>)->Name("BUBP/binary")->Unit(benchmark::kMicrosecond);
BENCHMARK(BubbleP<Mix::NaturalGas>)->Name("BUBP/natural_gas")->Unit(benchmark::kMicrosecond);
BENCHMARK(BubbleP<Mix::TwentyFive>)->Name("BUBP/25_components")->Unit(benchmark::kMicrosecond);
BENCHMARK(DewT<Mix::Binary>)->Name("DEWT/binary")->Unit(benchmark::kMicrosecond);
BENCHMARK(DewT<Mix::NaturalGas>)->Name("DEWT/natural_gas")->Unit(benchmark::kMicrosecond);
BENCHMARK(DewT<Mix::TwentyFive>)->Name("DEWT/25_components")->Unit(benchmark::kMicrosecond);
BENCHMARK(PhaseOneEvaluation)->Name("phase_fugacity/one_evaluation")->Unit(benchmark::kMicrosecond);
BENCHMARK(PhasePerComponent)->Name("phase_fugacity/per_component")->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quorvane
