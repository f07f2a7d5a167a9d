// Cost of the two calls the water and steam calculator makes most: enthalpy from (T, p)
// and temperature from (p, h), one state in each region (and the two wet kinds for T(p, h)).

#include "calvix/calvix.h"

#include <benchmark/benchmark.h>

namespace {

void NHtp(benchmark::State& state, double tK, double pMPa) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(STM_nHtp(tK, pMPa));
    }
}

void NTph(benchmark::State& state, double pMPa, double h) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(STM_nTph(pMPa, h));
    }
}

} // namespace

BENCHMARK_CAPTURE(NHtp, region1, 300.0, 3.0);
BENCHMARK_CAPTURE(NHtp, region2, 700.0, 10.0);
BENCHMARK_CAPTURE(NHtp, region3_supercritical, 650.0, 30.0);
BENCHMARK_CAPTURE(NHtp, region3_below_Tc, 640.0, 19.5);
BENCHMARK_CAPTURE(NHtp, region5, 1500.0, 8.0);

BENCHMARK_CAPTURE(NTph, region1, 3.0, 500.0);
BENCHMARK_CAPTURE(NTph, region2, 5.0, 3500.0);
BENCHMARK_CAPTURE(NTph, region3_code30, 25.0, 2000.0);
BENCHMARK_CAPTURE(NTph, region3_code31, 20.0, 1700.0);
BENCHMARK_CAPTURE(NTph, region5, 8.0, 5000.0);
BENCHMARK_CAPTURE(NTph, wet_code12, 1.0, 2000.0);
BENCHMARK_CAPTURE(NTph, wet_code33, 20.0, 2000.0);
