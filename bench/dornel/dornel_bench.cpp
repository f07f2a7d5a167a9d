// Speed of Dornel's single-phase enthalpy (STM_nEtp) and temperature from pressure and entropy
// (STM_nTsp), at states in each subregion, in the default units (°C, Pa, J/kg, J/(kg K)).

#include "dornel/dornel.h"

#include <benchmark/benchmark.h>

namespace {

struct State {
    double tC, pPa;
};

// Liquid (subregion 1), vapour (2), near-critical (3) and hot liquid (4).
constexpr State kStates[] = {{26.85, 3e6}, {226.85, 1e6}, {376.85, 25e6}, {351.85, 30e6}};

void BM_nEtp(benchmark::State& state) {
    const State s = kStates[state.range(0)];
    for (auto _ : state) {
        benchmark::DoNotOptimize(STM_nEtp(s.tC, s.pPa));
    }
}
BENCHMARK(BM_nEtp)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->ArgName("subregion_index");

// Temperature from (p, s) on the liquid (subregion 1) and vapour (subregion 2) branches.
void BM_nTsp(benchmark::State& state) {
    const State s = kStates[state.range(0)];
    const double entropy = STM_nStp(s.tC, s.pPa);
    for (auto _ : state) {
        benchmark::DoNotOptimize(STM_nTsp(s.pPa, entropy));
    }
}
BENCHMARK(BM_nTsp)->Arg(0)->Arg(1)->ArgName("subregion_index");

} // namespace
