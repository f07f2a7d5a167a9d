#pragma once

#include "engine/eos/eos_choice.h"
#include "engine/eos/eos_parameters.h"
#include "engine/eos/k_estimates.h"
#include "engine/flash/flash_results.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The flash case: the state of one vapour-liquid equilibrium calculation (mixture, feed, the
// specified state variables, flash type, equation of state with its interaction parameters)
// and the results of the last run.

namespace quorvane {

enum class FlashType : int { TP = 0, BUBP = 1, BUBT = 2, DEWP = 3, DEWT = 4, TV = 5, PV = 6 };

inline constexpr int kFlashTypeCount = 7;
// Entries 0..4 are offered by the flash-type list; "TV" and "PV" have no list text.
inline constexpr int kFlashListCount = 5;

std::string_view FlashTypeCode(FlashType type);     // "TP", "BUBP", ...
std::string_view FlashTypeListText(FlashType type); // "Temperature-Pressure Flash", ... or ""
std::optional<FlashType> FlashTypeFromCode(std::string_view code);
std::optional<FlashType> FlashTypeFromIndex(int index);

// Interaction parameters of the mixture: 25 rows by n columns of 32-bit values, kij(i, j) for
// i, j < n; only the n × n corner is used.
class KijTable {
public:
    static constexpr int kRows = 25;

    KijTable() : KijTable(1) {}
    explicit KijTable(int columns) { Reset(columns); }

    // Re-creates the table with the given column count, filled with zeros.
    void Reset(int columns) {
        m_columns = columns < 1 ? 1 : columns;
        m_values.assign(static_cast<std::size_t>(kRows) * m_columns, 0.0F);
    }
    int Columns() const { return m_columns; }
    float& operator()(int i, int j) {
        return m_values[static_cast<std::size_t>(i) * m_columns + j];
    }
    float operator()(int i, int j) const {
        return m_values[static_cast<std::size_t>(i) * m_columns + j];
    }
    KijView View() const { return KijView{m_values.data(), m_columns}; }

private:
    int m_columns = 1;
    std::vector<float> m_values;
};

// kij = 1 − (2·sqrt(Tc_i·Tc_j)/(Tc_i + Tc_j))^((Zc_i + Zc_j)/2), Tc in °R, for every ordered
// pair; the exponent is formed in 32 bits and kij stored in 32 bits. One component (or none)
// gives the zero table.
KijTable EstimateKij(std::span<const float> tcF, std::span<const float> zc);

// The zero table: 25 rows, one column per component (at least one).
KijTable ZeroKijTable(int componentCount);

struct FlashCase {
    // Mixture and feed (arrays indexed 0..n-1 in mixture order).
    std::int16_t n = 0;
    std::vector<float> z;
    std::vector<float> tcF, pcPsia, w, vc, zc;
    std::vector<VapourPressureSet> vapourPressure; // C1..C5 and the equation code
    KijTable kij;
    bool estimateKij = false; // the caller applies EstimateKij / ZeroKijTable when it changes

    // Equation of state: its index in the equation-of-state list, 0 "RK", 1 "SRK",
    // 2 "SRK-78 (API)", 3 "PR", 4 "PR-78" (-1: none chosen). The one field both the flash and
    // the property driver read; the list text and the equation with its variant follow from it.
    int eosIndex = -1;
    [[nodiscard]] std::string_view EosText() const { return EosListText(eosIndex); }
    [[nodiscard]] EosChoice Eos() const { return EosChoiceFromIndex(eosIndex); }

    FlashType flashType = FlashType::TP;

    // State variables: inputs for the given types, results for the others.
    float tempF = 0.0F;
    float pressPsia = 0.0F;
    double vapourFraction = 0.0; // input for "TV" and "PV", result otherwise

    // Results of the last run.
    std::vector<float> x, y, k;
    float liquidZ = 0.0F;
    float vapourZ = 0.0F;
    std::int16_t iterations = 0;

    // Outcome of the last run. A completed run that did not reach equilibrium (a pass limit,
    // a stalled iteration, an incipient phase equal to the feed, no such saturation point)
    // has converged == false, its residual and the reason in warning. A converged run may
    // carry a warning too (a second saturation point, a second liquid phase). A failed run
    // (arithmetic failure) stores no results and says why in failure.
    bool converged = false;
    double residual = 0.0;
    std::string warning;
    std::string failure;
    // The other saturation point at the given temperature or pressure, when there are two.
    OtherPoint otherPoint;
};

// Why the case's mixture cannot be calculated, in words for the user (no components, no
// equation of state, more than 25 components, arrays shorter than n, a bad feed, missing
// critical data); empty when it can.
std::string MixtureDataProblem(const FlashCase& c);

// The interaction parameters a run of the case uses: EstimateKij's table of its first n
// components when estimateKij is set, otherwise a copy of the case's own table. The flash and
// the property driver both take it.
KijTable RunKijTable(const FlashCase& flashCase);

} // namespace quorvane
