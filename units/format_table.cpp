#include "units/format_table.h"

#include <array>

namespace quorvane {

namespace {

// The default patterns, named by their main use; the "UpTo" patterns show one decimal at least
// and more while significant.
constexpr std::string_view kTemperature = "##,##0.00";
constexpr std::string_view kPressure = "##,##0.000";
constexpr std::string_view kUpToFourDecimals = "#0.###0";
constexpr std::string_view kUpToFiveDecimals = "#0.####0";
constexpr std::string_view kPseudoCritical = "##,##0.#0";
constexpr std::string_view kDensity = "0.###0";
constexpr std::string_view kEnthalpy = "###,##0.0";
constexpr std::string_view kUpToSixDecimals = "#0.#####0";
constexpr std::string_view kSpeedOfSound = "#,###,##0.0";
constexpr std::string_view kSurfaceTension = "##0.#0";
constexpr std::string_view kSteamPressure = "##,##0.##0";
constexpr std::string_view kSteamSonicVelocity = "#,##0.0";

// In the order the slots are read and written.
constexpr std::array<NumberFormatSlot, kNumberFormatSlotCount> kSlots{{
    {"TForm", kTemperature},
    {"PForm", kPressure},
    {"VFForm", kUpToFourDecimals},
    {"PFFForm", kUpToFiveDecimals},
    {"PFVForm", kUpToFiveDecimals},
    {"PFLForm", kUpToFiveDecimals},
    {"MWFForm", kUpToFourDecimals},
    {"MWVForm", kUpToFourDecimals},
    {"MWLForm", kUpToFourDecimals},
    {"VcFForm", kUpToFiveDecimals},
    {"VcVForm", kUpToFiveDecimals},
    {"VcLForm", kUpToFiveDecimals},
    {"TcFForm", kPseudoCritical},
    {"TcVForm", kPseudoCritical},
    {"TcLForm", kPseudoCritical},
    {"PcFForm", kPseudoCritical},
    {"PcVForm", kPseudoCritical},
    {"PcLForm", kPseudoCritical},
    {"DFForm", kDensity},
    {"DVForm", kDensity},
    {"DLForm", kDensity},
    {"HOVForm", kEnthalpy},
    {"CpFForm", kUpToFourDecimals},
    {"CpVForm", kUpToFourDecimals},
    {"CpLForm", kUpToFourDecimals},
    {"HFForm", kEnthalpy},
    {"HVForm", kEnthalpy},
    {"HLForm", kEnthalpy},
    {"SFForm", kUpToFourDecimals},
    {"SVForm", kUpToFourDecimals},
    {"SLForm", kUpToFourDecimals},
    {"VisVForm", kUpToSixDecimals},
    {"VisLForm", kUpToSixDecimals},
    {"ThermCVForm", kUpToSixDecimals},
    {"ThermCLForm", kUpToSixDecimals},
    {"JTVForm", kUpToFourDecimals},
    {"JTLForm", kUpToFourDecimals},
    {"SSVForm", kSpeedOfSound},
    {"SSLForm", kSpeedOfSound},
    {"STLForm", kSurfaceTension},
    {"stmTForm", kPseudoCritical},
    {"stmPForm", kSteamPressure},
    {"stmQForm", kUpToFourDecimals},
    {"stmHForm", kEnthalpy},
    {"stmSForm", kUpToFourDecimals},
    {"stmVolForm", kUpToSixDecimals},
    {"stmDenForm", kUpToSixDecimals},
    {"stmCpForm", kUpToFourDecimals},
    {"stmCvForm", kUpToFourDecimals},
    {"stmVisForm", kUpToSixDecimals},
    {"stmTCForm", kUpToSixDecimals},
    {"stmSTForm", kUpToSixDecimals},
    {"stmCVelForm", kSteamSonicVelocity},
    {"stmPdltForm", kUpToFourDecimals},
    {"stmIEForm", kUpToFourDecimals},
}};

} // namespace

std::span<const NumberFormatSlot> NumberFormatSlots() {
    return kSlots;
}

int NumberFormatSlotIndex(std::string_view key) {
    for (std::size_t i = 0; i < kSlots.size(); ++i) {
        if (kSlots[i].key == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace quorvane
