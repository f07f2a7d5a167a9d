// Throughput of the command-line front end on a batch of 10 000 TP flashes of the natural gas
// of examples/natural_gas_tp.json (PR), JSON Lines in and out: request parsing, the flash, the
// property calculation, the response writing and the ordered multi-threaded batch runner, as
// `quorvane-cli flash --threads N` runs them (without the process start and the terminal).
// The cases: the gas by name with every property, the same with "properties": false (the
// flash alone), and the gas with its flash data given explicitly (about 2 kB a line).

#include "cli/batch_runner.h"
#include "cli/database_catalog.h"
#include "cli/flash_service.h"
#include "data/component_database.h"
#include "engine/flash/flash_driver.h"
#include "engine/properties/mixture_properties.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>

namespace quorvane {
namespace {

constexpr int kBatchSize = 10000;

// Discards what is written (the answers are not the measured work's end product).
class NullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

std::string Example() {
    std::ifstream file(QUORVANE_SOURCE_DIR "/examples/natural_gas_tp.json");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// How the components of the requests are given.
enum class Components {
    FlashFields = 0, // explicit data, only what the flash needs (MW, Tc, Pc, Vc, Zc, w, vp)
    ByName = 1,      // {"name": ...}, from the component database
    FullData = 2,    // explicit data with every coefficient set, as in the example file
};

// One-line requests: the example case at temperatures from 0 to 80 F and pressures from 400
// to 1200 psia, so that every line is a flash of its own (two-phase and single-phase).
std::string Batch(Components form, int count = kBatchSize, bool properties = true) {
    nlohmann::json request = nlohmann::json::parse(Example());
    if (!properties) {
        request["properties"] = false;
    }
    for (nlohmann::json& component : request["components"]) {
        if (form == Components::ByName) {
            component = nlohmann::json{{"name", component["name"]}};
        } else if (form == Components::FlashFields) {
            nlohmann::json vp = component["vp"];
            vp.erase("Tmin_K");
            vp.erase("Tmax_K");
            component =
                nlohmann::json{{"name", component["name"]},   {"MW", component["MW"]},
                               {"Tc_F", component["Tc_F"]},   {"Pc_psia", component["Pc_psia"]},
                               {"Vc", component["Vc"]},       {"Zc", component["Zc"]},
                               {"omega", component["omega"]}, {"vp", vp}};
        }
    }
    std::string batch;
    for (int k = 0; k < count; ++k) {
        request["T_F"] = 0.0 + 80.0 * (k % 101) / 100.0;
        request["P_psia"] = 400.0 + 800.0 * (k % 97) / 96.0;
        batch += request.dump();
        batch += '\n';
    }
    return batch;
}

void RunCliBatch(benchmark::State& state, Components form, bool properties = true) {
    const std::string batch = Batch(form, kBatchSize, properties);
    if (batch.size() < kBatchSize) {
        state.SkipWithError("examples/natural_gas_tp.json not found");
        return;
    }
    // The database beside the benchmark, in the program folder.
    const DatabaseCatalog catalog(
        ComponentDatabasePath(std::filesystem::canonical("/proc/self/exe").parent_path()));
    const FlashService service(&catalog);
    const RequestHandler handler = [&service](std::string_view text, std::string& answer) {
        service.Answer(text, answer);
    };
    BatchOptions options;
    options.threads = static_cast<int>(state.range(0));
    NullBuffer sink;
    std::ostream out(&sink);
    for (auto _ : state) {
        std::istringstream in(batch);
        const BatchSummary summary = RunBatch(in, out, handler, options);
        if (summary.failed != 0) {
            state.SkipWithError("a request of the batch failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kBatchSize);
    state.counters["flashes_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kBatchSize, benchmark::Counter::kIsRate);
}

void BM_CliBatchExplicitComponents(benchmark::State& state) {
    RunCliBatch(state, Components::FlashFields);
}
void BM_CliBatchDatabaseComponents(benchmark::State& state) {
    RunCliBatch(state, Components::ByName);
}
void BM_CliBatchDatabaseComponentsFlashOnly(benchmark::State& state) {
    RunCliBatch(state, Components::ByName, false);
}
void BM_CliBatchFullDataComponents(benchmark::State& state) {
    RunCliBatch(state, Components::FullData);
}

BENCHMARK(BM_CliBatchExplicitComponents)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_CliBatchDatabaseComponents)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_CliBatchDatabaseComponentsFlashOnly)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_CliBatchFullDataComponents)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

} // namespace
} // namespace quorvane

namespace quorvane {
namespace {

// The stages of one request, to see where a batch spends its time.
const DatabaseCatalog& BenchCatalog() {
    static const DatabaseCatalog catalog(
        ComponentDatabasePath(std::filesystem::canonical("/proc/self/exe").parent_path()));
    return catalog;
}

std::string OneLine(Components form) {
    const std::string line = Batch(form, 1);
    return line.substr(0, line.find('\n'));
}

void BM_StageParseText(benchmark::State& state) {
    const std::string line = OneLine(static_cast<Components>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(nlohmann::json::parse(line, nullptr, true, true));
    }
}
BENCHMARK(BM_StageParseText)->Arg(0)->Arg(1)->Arg(2);

void BM_StageValidate(benchmark::State& state) {
    const nlohmann::json request =
        nlohmann::json::parse(OneLine(static_cast<Components>(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseFlashRequest(request, &BenchCatalog()));
    }
}
BENCHMARK(BM_StageValidate)->Arg(0)->Arg(1)->Arg(2);

void BM_StageWholeRequest(benchmark::State& state) {
    const std::string line = OneLine(static_cast<Components>(state.range(0)));
    const FlashService service(&BenchCatalog());
    for (auto _ : state) {
        benchmark::DoNotOptimize(service.Answer(std::string_view(line)));
    }
}
BENCHMARK(BM_StageWholeRequest)->Arg(0)->Arg(1)->Arg(2);

void BM_StageFlash(benchmark::State& state) {
    const FlashCase prepared = BuildFlashCase(
        ParseFlashRequest(nlohmann::json::parse(OneLine(Components::ByName)), &BenchCatalog()));
    FlashState flashState;
    for (auto _ : state) {
        FlashCase flashCase = prepared;
        benchmark::DoNotOptimize(RunFlash(flashCase, flashState));
    }
}
BENCHMARK(BM_StageFlash);

void BM_StageProperties(benchmark::State& state) {
    FlashRequest request =
        ParseFlashRequest(nlohmann::json::parse(OneLine(Components::ByName)), &BenchCatalog());
    FlashCase flashCase = BuildFlashCase(request);
    FlashState flashState;
    RunFlash(flashCase, flashState);
    std::vector<std::vector<double>> rows;
    std::vector<std::string> names;
    for (const ComponentRow& row : request.components) {
        rows.push_back(row.cells);
        names.push_back(row.name);
    }
    for (auto _ : state) {
        PropertyResults results;
        CalculateMixtureProperties(flashCase, rows, names, results);
        benchmark::DoNotOptimize(results);
    }
}
BENCHMARK(BM_StageProperties);

void BM_StageResponse(benchmark::State& state) {
    FlashRequest request =
        ParseFlashRequest(nlohmann::json::parse(OneLine(Components::ByName)), &BenchCatalog());
    FlashCase flashCase = BuildFlashCase(request);
    FlashState flashState;
    RunFlash(flashCase, flashState);
    std::vector<std::vector<double>> rows;
    std::vector<std::string> names;
    for (const ComponentRow& row : request.components) {
        rows.push_back(row.cells);
        names.push_back(row.name);
    }
    PropertyResults results;
    CalculateMixtureProperties(flashCase, rows, names, results);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FlashResponse(flashCase, &results));
    }
}
BENCHMARK(BM_StageResponse);

} // namespace
} // namespace quorvane
