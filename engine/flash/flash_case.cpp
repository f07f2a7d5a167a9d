#include "engine/flash/flash_case.h"

#include "common/precision.h"
#include "engine/eos/phase_fugacity.h"
#include "engine/flash/flash_results.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace quorvane {

namespace {

struct FlashTypeText {
    std::string_view code;
    std::string_view listText;
};

constexpr std::array<FlashTypeText, kFlashTypeCount> kFlashTypes = {{
    {"TP", "Temperature-Pressure Flash"},
    {"BUBP", "Bubble Point Pressure (Set T)"},
    {"BUBT", "Bubble Point Temperature (Set P)"},
    {"DEWP", "Dew Point Pressure (Set T)"},
    {"DEWT", "Dew Point Temperature (Set P)"},
    {"TV", ""},
    {"PV", ""},
}};

} // namespace

std::string_view FlashTypeCode(FlashType type) {
    return kFlashTypes[static_cast<std::size_t>(type)].code;
}

std::string_view FlashTypeListText(FlashType type) {
    return kFlashTypes[static_cast<std::size_t>(type)].listText;
}

std::optional<FlashType> FlashTypeFromCode(std::string_view code) {
    for (int i = 0; i < kFlashTypeCount; ++i) {
        if (kFlashTypes[static_cast<std::size_t>(i)].code == code) {
            return static_cast<FlashType>(i);
        }
    }
    return std::nullopt;
}

std::optional<FlashType> FlashTypeFromIndex(int index) {
    if (index < 0 || index >= kFlashTypeCount) {
        return std::nullopt;
    }
    return static_cast<FlashType>(index);
}

KijTable EstimateKij(std::span<const float> tcF, std::span<const float> zc) {
    const int n = static_cast<int>(tcF.size());
    KijTable table(n);
    if (n <= 1) {
        return table;
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const double tci = static_cast<double>(tcF[i]) + 459.67;
            const double tcj = static_cast<double>(tcF[j]) + 459.67;
            const float exponent = ToSingle((static_cast<double>(zc[i]) + zc[j]) / 2.0);
            const double base = 2.0 * std::sqrt(tci * tcj) / (tci + tcj);
            table(i, j) = ToSingle(1.0 - std::pow(base, static_cast<double>(exponent)));
        }
    }
    return table;
}

std::string MixtureDataProblem(const FlashCase& c) {
    if (c.n <= 0) {
        return "No components have been selected.";
    }
    if (c.eosIndex < 0 || c.eosIndex > 4) {
        return "No equation of state is selected.";
    }
    const auto n = static_cast<std::size_t>(c.n);
    if (c.n > kMaxComponents) {
        return "The mixture has more than 25 components.";
    }
    if (c.z.size() < n || c.tcF.size() < n || c.pcPsia.size() < n || c.w.size() < n ||
        c.vc.size() < n || c.zc.size() < n || c.vapourPressure.size() < n) {
        return "The component data do not cover every component of the mixture.";
    }
    if (c.kij.Columns() < c.n) {
        return "The interaction-parameter table is smaller than the mixture.";
    }
    double zSum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!(std::isfinite(c.z[i]) && c.z[i] >= 0.0F)) {
            return "There is an error in the stream compositions.";
        }
        zSum += c.z[i];
        if (!(std::isfinite(c.tcF[i]) && c.tcF[i] > -459.67F && std::isfinite(c.pcPsia[i]) &&
              c.pcPsia[i] > 0.0F && std::isfinite(c.w[i]))) {
            return "The critical data of a component are missing or out of range.";
        }
    }
    if (!(zSum > 0.0)) {
        return "There is an error in the stream compositions.";
    }
    return {};
}

KijTable ZeroKijTable(int componentCount) {
    return KijTable(componentCount);
}

FlashMixture MixtureOf(const FlashCase& flashCase) {
    const std::size_t n = flashCase.n < 0 ? 0 : static_cast<std::size_t>(flashCase.n);
    auto first = [n](const auto& v) { return std::span(v.data(), std::min(n, v.size())); };
    FlashMixture m;
    m.tcF = first(flashCase.tcF);
    m.pcPsia = first(flashCase.pcPsia);
    m.w = first(flashCase.w);
    m.vc = first(flashCase.vc);
    m.zc = first(flashCase.zc);
    m.vapourPressure = first(flashCase.vapourPressure);
    m.kij = flashCase.kij.View();
    m.eosText = flashCase.EosText();
    return m;
}

KijTable RunKijTable(const FlashCase& flashCase) {
    if (!flashCase.estimateKij) {
        return flashCase.kij;
    }
    const std::size_t n = flashCase.n < 0 ? 0 : static_cast<std::size_t>(flashCase.n);
    return EstimateKij(std::span(flashCase.tcF).first(std::min(n, flashCase.tcF.size())),
                       std::span(flashCase.zc).first(std::min(n, flashCase.zc.size())));
}

void FlashResults::Prepare(int n) {
    const auto size = static_cast<std::size_t>(n);
    x.assign(size, 0.0F);
    y.assign(size, 0.0F);
    k.assign(size, 0.0F);
    iterations = 0;
    converged = true;
    continued = false;
    otherPoint = OtherPoint{};
    residual = 0.0;
    warning.clear();
}

void FlashResults::Reset() {
    // A new object, with the arrays' and the warning's storage moved over.
    FlashResults fresh;
    fresh.x.swap(x);
    fresh.y.swap(y);
    fresh.k.swap(k);
    fresh.warning.swap(warning);
    fresh.x.clear();
    fresh.y.clear();
    fresh.k.clear();
    fresh.warning.clear();
    *this = std::move(fresh);
}

} // namespace quorvane
