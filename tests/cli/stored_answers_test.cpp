// The answers of a fixed batch of requests against answers stored from an earlier build: the
// example batches, a few broken requests and two thousand random mixtures of the component
// database, every flash type and equation of state (tests/cli/data/make_requests.py wrote
// them). Work on the speed of the request path must not change what it answers: every value
// agrees within one unit in the last place of its 32-bit rounding, every text, flag and count
// exactly, and the members come in the same order.

#include "cli/command_line.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace quorvane {
namespace {

using nlohmann::ordered_json;

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Position of a float on the number line counted in units in the last place, so that
// neighbouring floats differ by 1 (across zero too).
std::int64_t UlpIndex(float value) {
    const auto bits = static_cast<std::int64_t>(std::bit_cast<std::uint32_t>(value));
    return bits < 0x80000000LL ? bits : 0x80000000LL - bits;
}

// Whether two numbers agree within one unit in the last place of their 32-bit rounding.
bool WithinOneSingleUlp(double a, double b) {
    if (a == b) {
        return true;
    }
    const float fa = static_cast<float>(a);
    const float fb = static_cast<float>(b);
    if (!std::isfinite(fa) || !std::isfinite(fb)) {
        return false;
    }
    const std::int64_t distance = UlpIndex(fa) - UlpIndex(fb);
    return distance >= -1 && distance <= 1;
}

class Comparison {
public:
    void Compare(const ordered_json& expected, const ordered_json& actual,
                 const std::string& path) {
        if (expected.is_number_float() || (expected.is_number() && actual.is_number_float())) {
            if (!actual.is_number() ||
                !WithinOneSingleUlp(expected.get<double>(), actual.get<double>())) {
                Differ(path, expected, actual);
            }
            return;
        }
        if (expected.type() != actual.type()) {
            Differ(path, expected, actual);
            return;
        }
        if (expected.is_object()) {
            auto e = expected.begin();
            auto a = actual.begin();
            for (; e != expected.end() && a != actual.end(); ++e, ++a) {
                if (e.key() != a.key()) {
                    Differ(path + "." + e.key(), expected, actual);
                    return;
                }
                Compare(e.value(), a.value(), path + "." + e.key());
            }
            if (e != expected.end() || a != actual.end()) {
                Differ(path + " (members)", expected, actual);
            }
        } else if (expected.is_array()) {
            if (expected.size() != actual.size()) {
                Differ(path + " (length)", expected, actual);
                return;
            }
            for (std::size_t i = 0; i < expected.size(); ++i) {
                Compare(expected[i], actual[i], path + "[" + std::to_string(i) + "]");
            }
        } else if (expected != actual) {
            Differ(path, expected, actual);
        }
    }

    [[nodiscard]] int Count() const { return m_count; }
    [[nodiscard]] const std::string& Report() const { return m_report; }

private:
    void Differ(const std::string& path, const ordered_json& expected, const ordered_json& actual) {
        constexpr int kReported = 20;
        if (++m_count <= kReported) {
            m_report += path + ": stored " + expected.dump().substr(0, 200) + ", now " +
                        actual.dump().substr(0, 200) + "\n";
        }
    }

    int m_count = 0;
    std::string m_report;
};

TEST(StoredAnswers, EveryRequestIsAnsweredAsBefore) {
    const std::string folder = QUORVANE_STORED_ANSWERS_DIR;
    const std::vector<std::string> stored = ReadLines(folder + "/answers.jsonl");
    ASSERT_GT(stored.size(), 2000U) << "the stored answers were not unpacked into " << folder;

    // The program folder (the tests' working directory) holds the component database.
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    RunCommandLine({"flash", folder + "/requests.jsonl", "--threads", "2"}, in, out, err,
                   std::filesystem::current_path());
    std::istringstream answers(out.str());
    std::vector<std::string> now;
    for (std::string line; std::getline(answers, line);) {
        now.push_back(line);
    }
    ASSERT_EQ(now.size(), stored.size()) << err.str();

    Comparison comparison;
    for (std::size_t k = 0; k < stored.size(); ++k) {
        comparison.Compare(ordered_json::parse(stored[k]), ordered_json::parse(now[k]),
                           "line " + std::to_string(k + 1));
    }
    EXPECT_EQ(comparison.Count(), 0) << comparison.Report();
}

} // namespace
} // namespace quorvane
