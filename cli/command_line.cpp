#include "cli/command_line.h"

#include "cli/batch_runner.h"
#include "cli/database_catalog.h"
#include "cli/envelope_service.h"
#include "cli/flash_service.h"
#include "data/component_database.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <optional>
#include <system_error>

namespace quorvane {

namespace {

struct Arguments {
    std::string command;
    std::optional<std::string> file;
    std::optional<std::filesystem::path> database;
    int threads = 1;
    bool compact = false;
    bool help = false;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int ParseThreads(const std::string& text) {
    int threads = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), threads);
    if (status != std::errc() || end != text.data() + text.size() || threads < 1 || threads > 256) {
        throw UsageError("--threads needs a whole number from 1 to 256, not \"" + text + "\"");
    }
    return threads;
}

Arguments ParseArguments(const std::vector<std::string>& args) {
    Arguments parsed;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        auto value = [&](const char* option) -> const std::string& {
            if (k + 1 >= args.size()) {
                throw UsageError(std::string(option) + " needs a value");
            }
            return args[++k];
        };
        if (arg == "--help" || arg == "-h" || arg == "help") {
            parsed.help = true;
        } else if (arg == "--threads") {
            parsed.threads = ParseThreads(value("--threads"));
        } else if (arg.rfind("--threads=", 0) == 0) {
            parsed.threads = ParseThreads(arg.substr(10));
        } else if (arg == "--db") {
            parsed.database = value("--db");
        } else if (arg.rfind("--db=", 0) == 0) {
            parsed.database = arg.substr(5);
        } else if (arg == "--compact") {
            parsed.compact = true;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            throw UsageError("unknown option \"" + arg + "\"");
        } else if (parsed.command.empty()) {
            parsed.command = arg;
        } else if (!parsed.file && (parsed.command == "flash" || parsed.command == "critical" ||
                                    parsed.command == "envelope")) {
            parsed.file = arg;
        } else {
            throw UsageError("unexpected argument \"" + arg + "\"");
        }
    }
    return parsed;
}

// Runs the requests of the command's input (a file, or standard input) through handler.
int RunRequests(const Arguments& arguments, std::istream& in, std::ostream& out, std::ostream& err,
                const RequestHandler& handler) {
    std::ifstream file;
    std::istream* input = &in;
    if (arguments.file && *arguments.file != "-") {
        // A folder opens like a file but reads as nothing.
        std::error_code ignored;
        if (!std::filesystem::is_directory(*arguments.file, ignored)) {
            file.open(*arguments.file, std::ios::binary);
        }
        if (!file.is_open()) {
            err << "quorvane-cli: cannot read the request file \"" << *arguments.file
                << "\"; give a readable file, or - for standard input\n";
            return kExitUsage;
        }
        input = &file;
    }
    BatchOptions options;
    options.threads = arguments.threads;
    options.singleIndent = arguments.compact ? -1 : 2;
    const BatchSummary summary = RunBatch(*input, out, handler, options);
    return summary.failed == 0 ? kExitOk : kExitRequestFailed;
}

int RunFlashCommand(const Arguments& arguments, std::istream& in, std::ostream& out,
                    std::ostream& err, const DatabaseCatalog& catalog) {
    const FlashService service(&catalog);
    return RunRequests(
        arguments, in, out, err,
        [&service](std::string_view text, std::string& answer) { service.Answer(text, answer); });
}

int RunEnvelopeCommand(const Arguments& arguments, std::istream& in, std::ostream& out,
                       std::ostream& err, const DatabaseCatalog& catalog) {
    const EnvelopeService service(&catalog, arguments.command == "critical"
                                                ? EnvelopeCommand::Critical
                                                : EnvelopeCommand::Envelope);
    return RunRequests(
        arguments, in, out, err,
        [&service](std::string_view text, std::string& answer) { answer = service.Answer(text); });
}

int RunComponentsCommand(std::ostream& out, std::ostream& err, const DatabaseCatalog& catalog) {
    std::vector<std::string> names;
    try {
        names = catalog.Names();
    } catch (const std::exception& error) {
        err << "quorvane-cli: " << error.what() << '\n';
        return kExitUsage;
    }
    for (const std::string& name : names) {
        out << name << '\n';
    }
    out.flush();
    return kExitOk;
}

} // namespace

std::string UsageText() {
    return R"USAGE(Usage:
  quorvane-cli flash [FILE] [--threads N] [--db FILE] [--compact]
  quorvane-cli critical [FILE] [--threads N] [--db FILE] [--compact]
  quorvane-cli envelope [FILE] [--threads N] [--db FILE] [--compact]
  quorvane-cli components [--db FILE]
  quorvane-cli --help

flash       Reads flash requests from FILE (or standard input when FILE is absent or "-"):
            one JSON request object, or JSON Lines (one request per line). Writes one JSON
            response per request to standard output, in input order; a pretty-printed
            request gets a pretty-printed answer unless --compact is given.
critical    Reads the same requests as flash (the flash fields are not read) and answers the
            mixture's critical point, cricondenbar and cricondentherm:
            {"critical": {"T_F", "P_psia"}, "cricondenbar": {...}, "cricondentherm": {...}},
            null where there is none, with "message" saying why.
envelope    The same requests; answers the phase envelope traced by continuation:
            {"bubble": [{"T_F", "P_psia"}, ...], "dew": [...], "critical": {...}}, both
            branches from 10 psia up to the critical point.
components  Lists the names the component database offers, one per line.

Options:
  --threads N   run a JSON Lines batch on N threads (answers stay in input order)
  --db FILE     use this component database instead of the program's own components.db
  --compact     answer a single request on one line

Request (internal units: F, psia):
  {"eos": "PR",              "RK", "SRK", "SRK-78 (API)", "PR", "PR-78"
   "flash": "TP",            "TP", "BUBP", "BUBT", "DEWP", "DEWT", "TV", "PV"
   "T_F": 40.0,              given for TP, BUBP, DEWP, TV
   "P_psia": 800.0,          given for TP, BUBT, DEWT, PV
   "vf": 0.5,                molar vapour fraction 0..1, given for TV and PV
   "components": [...],      1 to 25 components (below)
   "z": [...],               feed mole fractions, adding up to 1
   "kij": [[...], ...],      optional n x n interaction parameters (default zeros)
   "estimate_kij": false}    optional: estimate kij from Tc and Zc instead

A component is {"name": "METHANE"} when the database offers that name (every field comes
from its row), with explicit fields overriding the row; a component not in the database
gives at least "MW", "Tc_F", "Pc_psia", "Vc", "Zc", "omega" and "vp". Fields:
  "MW" (lb/lb-mol), "Tc_F", "Pc_psia", "Vc" (ft3/lb-mol), "Zc", "omega",
  "Tb_F", "Tm_F", "Hf" (Btu/lb), "Gf" (Btu/lb), "S0" (Btu/(lb R)), "dipole" (debye),
  coefficient sets {"code": 6, "C": [A, B, C, D, E], "Tmin_K": .., "Tmax_K": ..}:
  "vp" (vapour pressure, Pa; code 1 or 6), "liquid_density", "liquid_viscosity",
  "vapour_viscosity", "heat_of_vaporization", "liquid_cp", "ideal_gas_cp",
  "surface_tension", "liquid_conductivity", "vapour_conductivity",
  "ordinals": {"<ordinal>": number} for any other cell of the component row (2..114).

Response:
  {"flash", "eos", "T_F", "P_psia", "vf", "x", "y", "K", "Z_L", "Z_V", "iterations",
   "converged", "residual", "properties"}, with "warning" after "residual" when there is one
  and "other_point": {"T_F", "P_psia"} when the mixture has a second saturation point at the
  given T or P. The computed T_F or P_psia of a point that was not reached is null, and so is
  K of a one-phase answer. "properties" holds "feed", "vapour" and "liquid", each with
  "MW", "Vc", "Tc_F", "Pc_psia", "Z", "density" (lb-mol/ft3), "Cp" (Btu/(lb-mol R)),
  "H" (Btu/lb-mol), "S" (Btu/(lb-mol R)), "CpCv", "JT" (R/psia), "sound" (ft/s),
  "viscosity" (cP), "conductivity" (Btu/(h ft F)), for the liquid also
  "heat_of_vaporization" (Btu/lb-mol) and "surface_tension" (N/m), and "residual":
  {"H", "S", "Cp"}, the equation-of-state departures of that stream, and "notes". A value
  that does not apply (an absent phase, the feed's transport properties) or that this run
  could not compute (a coefficient set that gives no value, data the components lack) is
  null; "notes" lists why: [{"note": "...", "values": ["vapour.Cp", ...]}]. A fraction
  outside 0..1 or a K-value or Z not above 0 is null as well.
  A request that cannot be run is answered {"error": "<what is wrong and where>"}; one
  request (a line, or the single document) may take at most 1 MiB.

Exit status: 0 when every request ran, 1 when any was answered with an error, 2 for bad
arguments or unreadable input.
)USAGE";
}

int RunCommandLine(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                   std::ostream& err, const std::filesystem::path& programDir) {
    Arguments arguments;
    try {
        arguments = ParseArguments(args);
        if (!arguments.help && arguments.command != "flash" && arguments.command != "components" &&
            arguments.command != "critical" && arguments.command != "envelope") {
            throw UsageError(arguments.command.empty()
                                 ? "no command given"
                                 : "unknown command \"" + arguments.command + "\"");
        }
    } catch (const UsageError& error) {
        err << "quorvane-cli: " << error.what() << "\n\n" << UsageText();
        return kExitUsage;
    }
    if (arguments.help) {
        out << UsageText();
        return kExitOk;
    }

    const DatabaseCatalog catalog(arguments.database ? *arguments.database
                                                     : ComponentDatabasePath(programDir));
    if (arguments.command == "components") {
        return RunComponentsCommand(out, err, catalog);
    }
    if (arguments.command == "critical" || arguments.command == "envelope") {
        return RunEnvelopeCommand(arguments, in, out, err, catalog);
    }
    return RunFlashCommand(arguments, in, out, err, catalog);
}

} // namespace quorvane
