// A batch of one mixture allocates nothing per request once its first requests have sized the
// storage: the line read, the request's fields, the flash, the properties and the answer all
// reuse what the previous request left. Counted by replacing the global operator new in this
// test program. (A request whose answer carries notes on values that could not be computed
// allocates the texts of its notes; the states here give every value.)

#include "cli/batch_runner.h"
#include "cli/database_catalog.h"
#include "cli/flash_service.h"
#include "data/component_database.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <new>
#include <nlohmann/json.hpp>
#include <sstream>
#include <streambuf>
#include <string>

namespace {
std::atomic<long> g_allocations{0};
} // namespace

// The replacements below pair malloc with free; the compiler, seeing new inlined into code that
// frees through these, takes them for a mismatched pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace quorvane {
namespace {

// Discards what is written.
class NullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// The natural gas of the example at two-phase states from 0 to 60 F and 1000 to 1200 psia,
// where every value is computed: by name, or with its flash data given.
std::string Batch(int count, bool byName, bool properties) {
    std::ifstream file(QUORVANE_SOURCE_DIR "/examples/natural_gas_tp.json");
    nlohmann::json request = nlohmann::json::parse(file);
    for (nlohmann::json& component : request["components"]) {
        if (byName) {
            component = nlohmann::json{{"name", component["name"]}};
        }
    }
    if (!properties) {
        request["properties"] = false;
    }
    std::string batch;
    for (int k = 0; k < count; ++k) {
        request["T_F"] = 60.0 * (k % 41) / 40.0;
        request["P_psia"] = 1000.0 + 200.0 * (k % 37) / 36.0;
        batch += request.dump();
        batch += '\n';
    }
    return batch;
}

struct Counted {
    long allocations = 0;
    std::size_t failed = 0;
};

// Allocations made between the start of request `from` and that of request `to`.
Counted AllocationsOf(const std::string& batch, int threads, int from, int to) {
    const DatabaseCatalog catalog(
        ComponentDatabasePath(std::filesystem::canonical("/proc/self/exe").parent_path()));
    const FlashService service(&catalog);
    std::atomic<int> calls{0};
    std::atomic<long> atFrom{0};
    std::atomic<long> atTo{0};
    const RequestHandler handler = [&](std::string_view text, std::string& answer) {
        const int call = ++calls;
        if (call == from) {
            atFrom = g_allocations.load();
        } else if (call == to) {
            atTo = g_allocations.load();
        }
        service.Answer(text, answer);
    };
    std::istringstream in(batch);
    NullBuffer sink;
    std::ostream out(&sink);
    BatchOptions options;
    options.threads = threads;
    const BatchSummary summary = RunBatch(in, out, handler, options);
    return {atTo.load() - atFrom.load(), summary.failed};
}

TEST(BatchAllocations, NoneOncePerRequestStorageIsSized) {
    // More requests before counting than the two-thread window has slots.
    constexpr int kWarm = 1500;
    constexpr int kCounted = 2000;
    for (const bool byName : {true, false}) {
        for (const bool properties : {true, false}) {
            const std::string batch = Batch(kWarm + kCounted + 10, byName, properties);
            for (const int threads : {1, 2}) {
                const Counted counted = AllocationsOf(batch, threads, kWarm, kWarm + kCounted);
                EXPECT_EQ(counted.failed, 0U);
                EXPECT_EQ(counted.allocations, 0) << "by name " << byName << ", properties "
                                                  << properties << ", threads " << threads;
            }
        }
    }
}

} // namespace
} // namespace quorvane
