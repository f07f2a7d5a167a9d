#include "units/format_table.h"

#include <array>

namespace quorvane {

namespace {

constexpr std::string_view kT = "##,##0.00";
constexpr std::string_view kP = "##,##0.000";
constexpr std::string_view k4 = "#0.###0";
constexpr std::string_view k5 = "#0.####0";
constexpr std::string_view kTc = "##,##0.#0";
constexpr std::string_view kD = "0.###0";
constexpr std::string_view kH = "###,##0.0";
constexpr std::string_view k6 = "#0.#####0";
constexpr std::string_view kSS = "#,###,##0.0";
constexpr std::string_view kST = "##0.#0";
constexpr std::string_view kStmP = "##,##0.##0";
constexpr std::string_view kStmCVel = "#,##0.0";

// In the order the slots are read and written.
constexpr std::array<NumberFormatSlot, kNumberFormatSlotCount> kSlots{{
    {"TForm", kT},
    {"PForm", kP},
    {"VFForm", k4},
    {"PFFForm", k5},
    {"PFVForm", k5},
    {"PFLForm", k5},
    {"MWFForm", k4},
    {"MWVForm", k4},
    {"MWLForm", k4},
    {"VcFForm", k5},
    {"VcVForm", k5},
    {"VcLForm", k5},
    {"TcFForm", kTc},
    {"TcVForm", kTc},
    {"TcLForm", kTc},
    {"PcFForm", kTc},
    {"PcVForm", kTc},
    {"PcLForm", kTc},
    {"DFForm", kD},
    {"DVForm", kD},
    {"DLForm", kD},
    {"HOVForm", kH},
    {"CpFForm", k4},
    {"CpVForm", k4},
    {"CpLForm", k4},
    {"HFForm", kH},
    {"HVForm", kH},
    {"HLForm", kH},
    {"SFForm", k4},
    {"SVForm", k4},
    {"SLForm", k4},
    {"VisVForm", k6},
    {"VisLForm", k6},
    {"ThermCVForm", k6},
    {"ThermCLForm", k6},
    {"JTVForm", k4},
    {"JTLForm", k4},
    {"SSVForm", kSS},
    {"SSLForm", kSS},
    {"STLForm", kST},
    {"stmTForm", kTc},
    {"stmPForm", kStmP},
    {"stmQForm", k4},
    {"stmHForm", kH},
    {"stmSForm", k4},
    {"stmVolForm", k6},
    {"stmDenForm", k6},
    {"stmCpForm", k4},
    {"stmCvForm", k4},
    {"stmVisForm", k6},
    {"stmTCForm", k6},
    {"stmSTForm", k6},
    {"stmCVelForm", kStmCVel},
    {"stmPdltForm", k4},
    {"stmIEForm", k4},
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
