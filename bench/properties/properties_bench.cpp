// Property calculation after a flash of a 10-component natural gas (N2, CO2, methane to
// n-hexane, n-octane, n-decane) with the Peng-Robinson equation at 40 F and 800 psia, where
// it splits into vapour and liquid.

#include "engine/flash/flash_driver.h"
#include "engine/flash/flash_state.h"
#include "engine/precision.h"
#include "engine/properties/departures.h"
#include "engine/properties/mixture_properties.h"
#include "tests/engine/properties/component_rows.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace quorvane;

struct NaturalGas {
    FlashCase flash;
    std::vector<std::vector<double>> rows;
    std::vector<std::string> names;

    NaturalGas() {
        const std::vector<const test_rows::ComponentRow*> components{
            &test_rows::kNitrogen, &test_rows::kCarbonDioxide, &test_rows::kMethane,
            &test_rows::kEthane,   &test_rows::kPropane,       &test_rows::kNButane,
            &test_rows::kNPentane, &test_rows::kNHexane,       &test_rows::kNOctane,
            &test_rows::kNDecane};
        flash.n = static_cast<std::int16_t>(components.size());
        flash.z = {0.02F, 0.03F, 0.70F, 0.09F, 0.06F, 0.04F, 0.02F, 0.02F, 0.01F, 0.01F};
        for (const auto* c : components) {
            rows.push_back(c->cells);
            names.push_back(c->name);
            flash.tcF.push_back(ToSingle(c->cells[3]));
            flash.pcPsia.push_back(ToSingle(c->cells[4]));
            flash.vc.push_back(ToSingle(c->cells[5]));
            flash.zc.push_back(ToSingle(c->cells[6]));
            flash.w.push_back(ToSingle(c->cells[17]));
            VapourPressureSet vp;
            for (std::size_t k = 0; k < 5; ++k) {
                vp.c[k] = ToSingle(c->cells[19 + k]);
            }
            vp.code = static_cast<std::int16_t>(c->cells[26]);
            flash.vapourPressure.push_back(vp);
        }
        flash.kij = ZeroKijTable(flash.n);
        flash.eosIndex = 3;
        flash.eosText = "PR";
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
