// Start-up and mixture-building cost: opening the database reads every offered row once.

#include "data/component_database.h"
#include "data/mixture_components.h"

#include <benchmark/benchmark.h>

namespace {

void BM_OpenComponentDatabase(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(quorvane::OpenComponentDatabase(QUORVANE_COMPONENTS_DB));
    }
}
BENCHMARK(BM_OpenComponentDatabase)->Unit(benchmark::kMillisecond);

void BM_AddAndRemove25(benchmark::State& state) {
    const quorvane::ComponentDatabase db = quorvane::OpenComponentDatabase(QUORVANE_COMPONENTS_DB);
    for (auto _ : state) {
        quorvane::MixtureComponents mixture;
        for (int i = 0; i < 25; ++i) {
            mixture.AddDatabaseComponent(db.Offered()[static_cast<std::size_t>(i)]);
        }
        while (!mixture.Empty()) {
            mixture.RemoveComponent(0);
        }
        benchmark::DoNotOptimize(mixture.Count());
    }
}
BENCHMARK(BM_AddAndRemove25)->Unit(benchmark::kMicrosecond);

} // namespace
