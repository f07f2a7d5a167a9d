#include "cli/batch_runner.h"
#include "cli/request_error.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace quorvane {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

// Answers {"n": k} with {"twice": 2k}; "bad" fails as a request, "crash" with a foreign
// exception; malformed JSON fails the way the flash service does.
void Double(std::string_view text, std::string& answer) {
    json request;
    try {
        request = json::parse(text, nullptr, true, true);
    } catch (const json::parse_error&) {
        throw RequestError("malformed JSON");
    }
    if (request.contains("bad")) {
        throw RequestError("bad: refused");
    }
    if (request.contains("crash")) {
        throw std::logic_error("unexpected");
    }
    answer = ordered_json{{"twice", 2 * request.at("n").get<int>()}}.dump();
}

struct BatchRun {
    std::vector<std::string> lines;
    BatchSummary summary;
};

BatchRun RunText(const std::string& input, int threads = 1) {
    std::istringstream in(input);
    std::ostringstream out;
    BatchOptions options;
    options.threads = threads;
    BatchRun run;
    run.summary = RunBatch(in, out, Double, options);
    std::istringstream written(out.str());
    for (std::string line; std::getline(written, line);) {
        run.lines.push_back(line);
    }
    return run;
}

class BatchRunnerTest : public ::testing::TestWithParam<int> {};

TEST_P(BatchRunnerTest, JsonLinesAreAnsweredInInputOrder) {
    std::string input;
    const int count = 3000;
    for (int k = 0; k < count; ++k) {
        input += "{\"n\": " + std::to_string(k) + "}\n";
    }
    const BatchRun run = RunText(input, GetParam());
    ASSERT_EQ(run.lines.size(), static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        ASSERT_EQ(run.lines[k], "{\"twice\":" + std::to_string(2 * k) + "}");
    }
    EXPECT_EQ(run.summary.requests, static_cast<std::size_t>(count));
    EXPECT_EQ(run.summary.failed, 0U);
}

TEST_P(BatchRunnerTest, BadLinesAreAnsweredWithTheirLineAndTheOthersStillRun) {
    const BatchRun run = RunText("{\"n\": 1}\n"
                                 "\n"
                                 "{\"n\": 2, \"bad\": 1}\n"
                                 "{\"n\": 3\n"
                                 "{\"crash\": 1}\n"
                                 "   \n"
                                 "{\"n\": 4}",
                                 GetParam());
    const std::vector<std::string> expected{
        R"({"twice":2})",
        R"({"error":"line 3: bad: refused"})",
        R"({"error":"line 4: malformed JSON"})",
        R"({"error":"line 5: unexpected"})",
        R"({"twice":8})",
    };
    EXPECT_EQ(run.lines, expected);
    EXPECT_EQ(run.summary.requests, 5U);
    EXPECT_EQ(run.summary.failed, 3U);
}

// Whatever the first line holds, each line is answered on its own: a number beyond the range
// of a double, a line over the size limit (refused unread), a message quoting a huge text.
TEST_P(BatchRunnerTest, NoLineEndsTheBatch) {
    const std::string huge(kMaxRequestBytes + 10, 'x');
    const BatchRun run =
        RunText("{\"n\": 1e400}\n"
                "{\"n\": 1}\n" +
                    huge + "\n{\"n\": 2}\n{\"n\": 3, \"bad\": \"" + huge + "\"}\n{\"n\": 4}",
                GetParam());
    ASSERT_EQ(run.lines.size(), 6U);
    EXPECT_EQ(run.lines[0].rfind(R"({"error":"line 1: )", 0), 0U) << run.lines[0];
    EXPECT_EQ(run.lines[1], R"({"twice":2})");
    EXPECT_EQ(run.lines[2].rfind(R"({"error":"line 3: the request is longer than 1048576)", 0), 0U)
        << run.lines[2].substr(0, 200);
    EXPECT_EQ(run.lines[3], R"({"twice":4})");
    EXPECT_EQ(run.lines[4].rfind(R"({"error":"line 5: the request is longer)", 0), 0U);
    EXPECT_EQ(run.lines[5], R"({"twice":8})");
    for (const std::string& line : run.lines) {
        EXPECT_LT(line.size(), kMaxErrorMessageBytes + 100);
    }
    EXPECT_EQ(run.summary.failed, 3U);
}

INSTANTIATE_TEST_SUITE_P(Threads, BatchRunnerTest, ::testing::Values(1, 2, 5));

// Two threads really run two requests at once: each request waits (up to a bound) for a
// second one to be in flight, until two have been seen together.
TEST(BatchRunner, ThreadsRunRequestsAtTheSameTime) {
    std::atomic<int> inFlight{0};
    std::atomic<int> mostAtOnce{0};
    const RequestHandler handler = [&](std::string_view, std::string& answer) {
        const int now = ++inFlight;
        int seen = mostAtOnce.load();
        while (now > seen && !mostAtOnce.compare_exchange_weak(seen, now)) {
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (mostAtOnce.load() < 2 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        --inFlight;
        answer = "{}";
    };
    std::istringstream in("{}\n{}\n{}\n{}\n");
    std::ostringstream out;
    BatchOptions options;
    options.threads = 2;
    const BatchSummary summary = RunBatch(in, out, handler, options);
    EXPECT_EQ(summary.requests, 4U);
    EXPECT_EQ(mostAtOnce.load(), 2);
}

TEST(BatchRunner, PrettyDocumentGetsOnePrettyAnswer) {
    const BatchRun run = RunText("{\n  \"n\": 21\n}\n");
    EXPECT_EQ(run.lines, (std::vector<std::string>{"{", "  \"twice\": 42", "}"}));
    EXPECT_EQ(run.summary.failed, 0U);
}

TEST(BatchRunner, BrokenDocumentIsOneError) {
    const BatchRun run = RunText("{\n  \"n\": 21,\n  \"m\" 2\n}\n");
    EXPECT_EQ(run.lines, (std::vector<std::string>{"{", R"(  "error": "malformed JSON")", "}"}));
    EXPECT_EQ(run.summary.failed, 1U);
}

TEST(BatchRunner, JsonLinesWithABrokenFirstLineStillRunTheOthers) {
    const BatchRun run = RunText("{\"n\": 1,\n{\"n\": 2}\n", 2);
    const std::vector<std::string> expected{
        R"({"error":"line 1: malformed JSON"})",
        R"({"twice":4})",
    };
    EXPECT_EQ(run.lines, expected);
    EXPECT_EQ(run.summary.failed, 1U);
}

// An error message is cut to an excerpt, however much of the request the handler quotes.
TEST(BatchRunner, ErrorMessagesQuoteAnExcerpt) {
    const std::string message = "unknown component \"" + std::string(100000, 'k') + "\"";
    std::istringstream in("{\"n\": 1}\n");
    std::ostringstream out;
    const RequestHandler quoting = [&](std::string_view, std::string&) {
        throw RequestError(message);
    };
    RunBatch(in, out, quoting, BatchOptions{});
    EXPECT_LT(out.str().size(), kMaxErrorMessageBytes + 100);
    const std::string length = std::to_string(message.size()) + " bytes)";
    EXPECT_NE(out.str().find(length), std::string::npos) << out.str();
}

TEST(BatchRunner, EmptyInputIsAnError) {
    const BatchRun run = RunText(" \n\n");
    ASSERT_EQ(run.lines.size(), 3U);
    EXPECT_EQ(run.lines[1], R"(  "error": "the input holds no request")");
    EXPECT_EQ(run.summary.failed, 1U);
}

} // namespace
} // namespace quorvane
