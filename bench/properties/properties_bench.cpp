// Property calculation after a flash of a 10-component natural gas (N2, CO2, methane to
// n-hexane, n-octane, n-decane) with the Peng-Robinson equation at 40 F and 800 psia, where
// it splits into vapour and liquid.

#include "engine/flash/flash_driver.h"
#include "engine/flash/flash_state.h"
#include "engine/properties/departures.h"
#include "engine/properties/mixture_properties.h"
#include "tests/engine/properties/mixture_case.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace quorvane;

// The gas flashed at 40 F and 800 psia with the Peng-Robinson equation.
struct NaturalGas : test_rows::MixtureCase {
    NaturalGas()
        : MixtureCase({&test_rows::kNitrogen, &test_rows::kCarbonDioxide, &test_rows::kMethane,
                       &test_rows::kEthane, &test_rows::kPropane, &test_rows::kNButane,
                       &test_rows::kNPentane, &test_rows::kNHexane, &test_rows::kNOctane,
                       &test_rows::kNDecane},
                      {0.02F, 0.03F, 0.70F, 0.09F, 0.06F, 0.04F, 0.02F, 0.02F, 0.01F, 0.01F}, 3) {
        flash.flashType = FlashType::TP;
        flash.tempF = 40.0F;
        flash.pressPsia = 800.0F;
        FlashState state;
        if (!RunFlash(flash, state)) {
            std::abort();
        }
    }
};

void BM_NaturalGasProperties(benchmark::State& state) {
    NaturalGas gas;
    PropertyResults results;
    for (auto _ : state) {
        CalculateMixtureProperties(gas.flash, gas.rows, gas.names, results);
        benchmark::DoNotOptimize(results);
    }
}
BENCHMARK(BM_NaturalGasProperties);

// The equation-of-state part alone: departures and derived properties of the vapour.
void BM_NaturalGasVapourDepartures(benchmark::State& state) {
    NaturalGas gas;
    PhaseCondition phase;
    phase.equation = EosEquation::PR;
    phase.tempF = gas.flash.tempF;
    phase.pressPsia = gas.flash.pressPsia;
    phase.x = gas.flash.y;
    phase.z = gas.flash.vapourZ;
    phase.tcF = gas.flash.tcF;
    phase.pcPsia = gas.flash.pcPsia;
    phase.w = gas.flash.w;
    phase.kij = gas.flash.kij.View();
    for (auto _ : state) {
        benchmark::DoNotOptimize(EnthalpyDeparture(phase));
        benchmark::DoNotOptimize(EntropyDeparture(phase));
        benchmark::DoNotOptimize(DerivedProperties(phase, 10.0, 20.0));
    }
}
BENCHMARK(BM_NaturalGasVapourDepartures);

} // namespace
