// Redisplay cost: a full results panel is about a hundred conversions and formatted values.

#include "units/fractions.h"
#include "units/number_format.h"
#include "units/unit_catalogue.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

void BM_FormatNumber(benchmark::State& state) {
    double value = -1234.5678;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quorvane::FormatNumber(value, "#0.###0"));
        value += 0.37;
    }
}
BENCHMARK(BM_FormatNumber);

void BM_FormatGeneral(benchmark::State& state) {
    float value = 1.2345e-3f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quorvane::FormatGeneral(value));
        value *= 1.01f;
        if (value > 1e9f) {
            value = 1.2345e-3f;
        }
    }
}
BENCHMARK(BM_FormatGeneral);

void BM_EnthalpyToDisplay(benchmark::State& state) {
    double value = -4567.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quorvane::EnthalpyToDisplay(value, 5, 18.01528));
        value += 1.0;
    }
}
BENCHMARK(BM_EnthalpyToDisplay);

void BM_MoleToMassFractions25(benchmark::State& state) {
    const std::vector<float> x(25, 0.04f);
    std::vector<float> mw(25);
    for (int i = 0; i < 25; ++i) {
        mw[static_cast<std::size_t>(i)] = 16.0f + 4.0f * static_cast<float>(i);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(quorvane::MoleToMassFractions(x, mw));
    }
}
BENCHMARK(BM_MoleToMassFractions25);

} // namespace
