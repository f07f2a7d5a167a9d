#include "app/flash_runner.h"

#include "common/precision.h"
#include "engine/flash/flash_driver.h"
#include "engine/properties/mixture_properties.h"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

constexpr int kVapourPressureCode = ordinal::kVaporPressureSet + 7;

VapourPressureSet VapourPressureOf(const ComponentRecord& record) {
    VapourPressureSet set;
    for (int i = 0; i < 5; ++i) {
        const double value = record.Number(ordinal::kVaporPressureSet + i).value_or(0.0);
        set.c[static_cast<std::size_t>(i)] = std::isfinite(value) ? ToSingle(value) : 0.0F;
    }
    const double code = record.Number(kVapourPressureCode).value_or(0.0);
    set.code = static_cast<std::int16_t>(std::isfinite(code) ? std::lround(code) : 0);
    return set;
}

template <typename Span>
std::vector<float> Copy(Span values) {
    return std::vector<float>(values.begin(), values.end());
}

// The property driver over the flash just completed. A failure there leaves the flash results
// standing; the user is told which part is missing.
void CalculateProperties(MainState& state, FlashRunOutcome& outcome) {
    std::vector<std::vector<double>> rows;
    std::vector<std::string> names;
    for (const ComponentRecord& record : state.mixture.Records()) {
        rows.push_back(NumericCells(record));
        names.emplace_back(record.Name());
    }
    try {
        CalculateMixtureProperties(state.flashCase, rows, names, state.properties);
    } catch (const std::exception& error) {
        outcome.message = QStringLiteral("The flash completed, but the stream properties could "
                                         "not all be calculated: ") +
                          QString::fromUtf8(error.what());
    }
}

} // namespace

void LoadFlashCase(MainState& state) {
    LoadFlashCase(state.mixture, state.flashCase);
}

void LoadFlashCase(const MixtureComponents& mixture, FlashCase& flash) {
    const int n = mixture.Count();
    flash.n = static_cast<std::int16_t>(n);
    flash.z = Copy(mixture.FeedMoleFractions());
    flash.tcF = Copy(mixture.CriticalTemperaturesF());
    flash.pcPsia = Copy(mixture.CriticalPressuresPsia());
    flash.w = Copy(mixture.AcentricFactors());
    flash.vc = Copy(mixture.CriticalVolumes());
    flash.zc = Copy(mixture.CriticalZ());
    flash.vapourPressure.clear();
    for (const ComponentRecord& record : mixture.Records()) {
        flash.vapourPressure.push_back(VapourPressureOf(record));
    }
    flash.kij.Reset(n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            flash.kij(i, j) = mixture.Kij(i, j);
        }
    }
}

FlashRunOutcome RunMixtureFlash(MainState& state) {
    FlashRunOutcome outcome;
    if (state.mixture.Empty() || !state.recalc) {
        return outcome;
    }
    FlashCase& flash = state.flashCase;
    if (flash.eosIndex < 0 || flash.eosIndex >= static_cast<int>(kEosListTexts.size())) {
        outcome.message = QStringLiteral("Choose an equation of state on the Settings tab to run "
                                         "the flash.");
        return outcome;
    }
    LoadFlashCase(state);
    outcome.ran = true;
    flash.failure.clear();
    if (!RunFlash(flash, *state.flashState)) {
        // The driver words its failures for the user ("The flash calculation failed: ...").
        outcome.message = flash.failure.empty() ? QStringLiteral("The flash calculation failed.")
                                                : QString::fromStdString(flash.failure);
        return outcome;
    }
    // The mixture keeps the last flash's phase compositions and K-values.
    auto copyBack = [](const std::vector<float>& from, std::span<float> to) {
        std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
    };
    copyBack(flash.x, state.mixture.LiquidMoleFractions());
    copyBack(flash.y, state.mixture.VaporMoleFractions());
    copyBack(flash.k, state.mixture.KValues());
    outcome.completed = true;
    state.haveResults = true;
    CalculateProperties(state, outcome);
    if (!outcome.message.isEmpty()) {
        return outcome;
    }
    if (!flash.converged) {
        outcome.message =
            QStringLiteral("The flash did not fully converge") +
            (flash.warning.empty() ? QStringLiteral(".")
                                   : QStringLiteral(": ") + QString::fromStdString(flash.warning));
    } else if (!flash.warning.empty()) {
        // A converged result's note: a second saturation point, a second liquid phase.
        outcome.message = QString::fromStdString(flash.warning);
    }
    return outcome;
}

} // namespace quorvane
