#include "cli/command_line.h"
#include "data/sqlite.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>

namespace quorvane {
namespace {

using nlohmann::json;

const std::string kExample = QUORVANE_SOURCE_DIR "/examples/natural_gas_tp.json";

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// The program in-process; the program folder (the tests' working directory) holds the
// component database.
Outcome RunCli(const std::vector<std::string>& args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome;
    outcome.status = RunCommandLine(args, in, out, err, std::filesystem::current_path());
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

std::vector<json> Lines(const std::string& text) {
    std::vector<json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(json::parse(line));
    }
    return lines;
}

TEST(CommandLine, FlashOfTheExampleFileSucceeds) {
    const Outcome outcome = RunCli({"flash", kExample});
    EXPECT_EQ(outcome.status, kExitOk) << outcome.err;
    const json response = json::parse(outcome.out);
    EXPECT_TRUE(response.at("converged").get<bool>());
    EXPECT_EQ(response.at("x").size(), 10U);
}

TEST(CommandLine, BatchWithABadLineAnswersEveryLineAndFails) {
    std::ifstream file(kExample);
    const std::string request = json::parse(file).dump();
    const Outcome outcome = RunCli({"flash", "--threads", "2"},
                                   request + "\n{\"eos\": \"PR\"}\nnot json\n" + request + "\n");
    EXPECT_EQ(outcome.status, kExitRequestFailed);
    const std::vector<json> lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_TRUE(lines[0].contains("converged"));
    EXPECT_EQ(lines[1].at("error"), "line 2: flash: missing field");
    EXPECT_EQ(lines[2].at("error").get<std::string>().rfind("line 3: malformed JSON", 0), 0U);
    EXPECT_EQ(lines[3], lines[0]);
}

TEST(CommandLine, ComponentsListsTheDatabaseNamesInOrder) {
    const Outcome outcome = RunCli({"components"});
    ASSERT_EQ(outcome.status, kExitOk) << outcome.err;
    std::vector<std::string> names;
    std::istringstream in(outcome.out);
    for (std::string name; std::getline(in, name);) {
        names.push_back(name);
    }
    EXPECT_GT(names.size(), 400U);
    EXPECT_NE(std::find(names.begin(), names.end(), "METHANE"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "n-DECANE"), names.end());
}

TEST(CommandLine, NamedComponentsComeFromTheChosenDatabase) {
    const std::string request =
        R"({"eos": "PR", "flash": "BUBP", "T_F": 40, "components": [{"name": "methane"},)"
        R"( {"name": "n-BUTANE", "omega": 0.2}], "z": [0.5, 0.5]})";
    const Outcome outcome = RunCli({"flash", "--compact"}, request);
    ASSERT_EQ(outcome.status, kExitOk) << outcome.out;
    EXPECT_GT(json::parse(outcome.out).at("P_psia").get<double>(), 500.0);

    std::filesystem::copy_file("components.db", "cli_test_copy.db",
                               std::filesystem::copy_options::overwrite_existing);
    const Outcome copied = RunCli({"flash", "--db", "cli_test_copy.db", "--compact"}, request);
    EXPECT_EQ(copied.out, outcome.out);
    std::filesystem::remove("cli_test_copy.db");

    const Outcome unknown =
        RunCli({"flash"},
               R"({"eos": "PR", "flash": "BUBP", "T_F": 40, "components": [{"name": "METHANE"},)"
               R"( {"name": "KRYPTONITE"}], "z": [0.5, 0.5]})");
    EXPECT_EQ(unknown.status, kExitRequestFailed);
    const std::string error = json::parse(unknown.out).at("error");
    EXPECT_EQ(error.rfind("line 1: components[1]: unknown component \"KRYPTONITE\"", 0), 0U)
        << error;
}

TEST(CommandLine, MissingDatabaseIsNamedAndOnlyMattersForNamedComponents) {
    const Outcome listing = RunCli({"components", "--db", "no-such.db"});
    EXPECT_EQ(listing.status, kExitUsage);
    EXPECT_NE(listing.err.find("no-such.db"), std::string::npos) << listing.err;

    // The example carries its own data: it runs without any database.
    EXPECT_EQ(RunCli({"flash", kExample, "--db", "no-such.db"}).status, kExitOk);

    const Outcome named =
        RunCli({"flash", "--db=no-such.db"}, R"({"eos": "PR", "flash": "BUBP", "T_F": 40,)"
                                             R"( "components": [{"name": "METHANE"}], "z": [1]})");
    EXPECT_EQ(named.status, kExitRequestFailed);
    const std::string error = json::parse(named.out).at("error");
    EXPECT_NE(error.find("no-such.db"), std::string::npos) << error;
}

// A number cell that holds text is reported as text, where it is, with what to do.
TEST(CommandLine, TextInANumberCellOfTheDatabaseIsSaidSo) {
    const std::filesystem::path copy = "cli_test_text_cell.db";
    std::filesystem::copy_file("components.db", copy,
                               std::filesystem::copy_options::overwrite_existing);
    {
        SqliteDatabase db(copy, SqliteDatabase::Mode::CreateReadWrite);
        db.Execute("UPDATE [DataBase] SET [2] = 'hot' WHERE [COMP] = 'METHANE'");
    }
    const Outcome outcome = RunCli(
        {"flash", "--db", copy.string()},
        R"({"eos": "PR", "flash": "BUBP", "T_F": 40, "components": [{"name": "METHANE"}], "z": [1]})");
    std::filesystem::remove(copy);
    EXPECT_EQ(outcome.status, kExitRequestFailed);
    const std::string error = json::parse(outcome.out).at("error");
    EXPECT_EQ(error.rfind("line 1: components[0].Tc_F: the database row holds text (\"hot\")", 0),
              0U)
        << error;
}

TEST(CommandLine, BadArgumentsPrintTheUsage) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"flash", "--threads", "0"},
                                                 {"flash", "--fast"},
                                                 {"melt"},
                                                 {"flash", "a.json", "b.json"}}) {
        const Outcome outcome = RunCli(args);
        EXPECT_EQ(outcome.status, kExitUsage);
        EXPECT_NE(outcome.err.find("Usage:"), std::string::npos);
        EXPECT_TRUE(outcome.out.empty());
    }
    EXPECT_EQ(RunCli({"flash", "no-such-file.json"}).status, kExitUsage);
    // A folder is not a request file either.
    const Outcome folder = RunCli({"flash", "."});
    EXPECT_EQ(folder.status, kExitUsage);
    EXPECT_NE(folder.err.find("cannot read"), std::string::npos) << folder.err;
    const Outcome help = RunCli({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_NE(help.out.find("quorvane-cli flash"), std::string::npos);
}

// The executable itself, as a script would call it.
TEST(CommandLineProgram, ExitStatusTellsWhetherEveryRequestRan) {
    ASSERT_TRUE(std::filesystem::exists("quorvane-cli"));
    const std::string ok = "./quorvane-cli flash --compact " + kExample + " > cli_test_out.json";
    const int okStatus = std::system(ok.c_str());
    ASSERT_TRUE(WIFEXITED(okStatus));
    EXPECT_EQ(WEXITSTATUS(okStatus), kExitOk);
    std::ifstream written("cli_test_out.json");
    EXPECT_TRUE(json::parse(written).at("converged").get<bool>());

    const int badStatus =
        std::system("echo '{\"eos\": \"PR\", \"flash\": \"TP\"}' | ./quorvane-cli flash > "
                    "cli_test_out.json");
    ASSERT_TRUE(WIFEXITED(badStatus));
    EXPECT_EQ(WEXITSTATUS(badStatus), kExitRequestFailed);
    std::filesystem::remove("cli_test_out.json");
}

} // namespace
} // namespace quorvane
