#pragma once

// The per-component constants of the property driver, worked out once per component set: the
// coefficient sets with their checks made and their reference-temperature terms taken, the
// constants of the generalized estimates, the pair terms of the mixing rules, and the
// temperature-free parts of every equation of state's parameters. A batch of requests for one
// mixture prepares them once and runs the driver at every state from them; each value the
// driver then forms is the one it would form from the raw component rows.

#include "engine/eos/component_constants.h"
#include "engine/flash/flash_case.h"
#include "engine/properties/coefficient_set.h"
#include "engine/properties/pure_correlations.h"
#include "engine/properties/transport.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace quorvane {

// The coefficient sets the driver reads, in the order of their base ordinals.
enum class SetKind : int {
    VapourPressure,
    LiquidDensity,
    LiquidViscosity,
    VapourViscosity,
    HeatOfVaporization,
    LiquidHeatCapacity,
    SurfaceTension,
    LiquidConductivity,
    VapourConductivity,
};
inline constexpr std::size_t kSetKindCount = 9;

struct PropertyComponent {
    std::string name;
    float molWeight = 0.0F; // ordinal 2
    float boilingF = 0.0F;  // ordinal 7
    // The reference enthalpy and entropy per mole (ordinals 12 and 14 times the molecular
    // weight); not finite when the row lacks them.
    double referenceEnthalpy = 0.0;
    double referenceEntropy = 0.0;
    IdealGasSet idealGas; // ordinal 75
    std::array<PreparedSet, kSetKindCount> sets;
    YoonThodosConstants yoonThodos{};
    double yoonThodosReducing = 0.0;
    double letsouStielReducing = 0.0;
    float vetereHeatOfVaporization = 0.0F; // at the normal boiling point
    SatoRiedelConstants satoRiedel{};
    double brockBirdScale = 0.0;

    [[nodiscard]] const PreparedSet& Set(SetKind kind) const {
        return sets[static_cast<std::size_t>(kind)];
    }
};

class PropertyComponents {
public:
    PropertyComponents() = default;
    // From the case's component data (its first n entries) and each component's database row
    // (indexed by ordinal, NaN for an empty cell) and name, in mixture order. Throws
    // MixtureSizeError when the arrays are shorter than the case's component count.
    PropertyComponents(const FlashCase& flashCase, const std::vector<std::vector<double>>& rows,
                       std::span<const std::string> names);

    [[nodiscard]] std::size_t Size() const { return m_components.size(); }
    [[nodiscard]] const PropertyComponent& operator[](std::size_t i) const {
        return m_components[i];
    }
    // Whether these constants were prepared from the component data the case now holds.
    [[nodiscard]] bool Matches(const FlashCase& flashCase) const;

    // Parallel arrays of 32-bit values, n long.
    [[nodiscard]] std::span<const float> MolWeights() const { return m_molWeight; }
    [[nodiscard]] std::span<const float> BoilingPoints() const { return m_boilingF; }
    [[nodiscard]] std::span<const float> RackettZ() const { return m_rackettZ; }

    [[nodiscard]] RackettPairs Rackett() const { return {m_rackettOneMinusK, m_rackettSqrtTc}; }
    [[nodiscard]] WilkePairs Wilke() const { return {m_wilkeRoot, m_wilkeScale}; }
    // sqrt(Pc_i·Pc_j) of every ordered pair, n x n.
    [[nodiscard]] std::span<const double> SqrtPcPairs() const { return m_sqrtPcPairs; }
    // The equation of state of list index 0..4, component by component.
    [[nodiscard]] std::span<const EosComponentConstants> Eos(int eosIndex) const {
        return m_eos.at(static_cast<std::size_t>(eosIndex));
    }
    // EstimateKij's table of the components.
    [[nodiscard]] const KijTable& EstimatedKij() const { return m_estimatedKij; }

private:
    std::vector<PropertyComponent> m_components;
    std::vector<float> m_tcF, m_pcPsia, m_w, m_vc, m_zc;
    std::vector<float> m_molWeight, m_boilingF, m_rackettZ;
    std::vector<double> m_rackettOneMinusK, m_rackettSqrtTc;
    std::vector<double> m_wilkeRoot, m_wilkeScale;
    std::vector<double> m_sqrtPcPairs;
    std::array<std::vector<EosComponentConstants>, kEosListTexts.size()> m_eos;
    KijTable m_estimatedKij;
};

} // namespace quorvane
