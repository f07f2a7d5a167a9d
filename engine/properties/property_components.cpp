#include "engine/properties/property_components.h"

#include "common/precision.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/phase_fugacity.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace quorvane {

namespace {

constexpr int kOrdinalMolWeight = 2;
constexpr int kOrdinalBoilingPoint = 7;
constexpr int kOrdinalReferenceEnthalpy = 12;
constexpr int kOrdinalReferenceEntropy = 14;

constexpr std::array<int, kSetKindCount> kSetBases = {
    set_base::kVapourPressure,  set_base::kLiquidDensity,      set_base::kLiquidViscosity,
    set_base::kVapourViscosity, set_base::kHeatOfVaporization, set_base::kLiquidHeatCapacity,
    set_base::kSurfaceTension,  set_base::kLiquidConductivity, set_base::kVapourConductivity,
};

double Cell(const std::vector<double>& row, int ordinal) {
    const auto k = static_cast<std::size_t>(ordinal);
    return k < row.size() ? row[k] : std::numeric_limits<double>::quiet_NaN();
}

std::vector<float> First(const std::vector<float>& values, std::size_t n) {
    return {values.begin(), values.begin() + static_cast<std::ptrdiff_t>(n)};
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b, std::size_t n) {
    return a.size() >= n && b.size() >= n &&
           std::memcmp(a.data(), b.data(), n * sizeof(float)) == 0;
}

} // namespace

PropertyComponents::PropertyComponents(const FlashCase& fc,
                                       const std::vector<std::vector<double>>& rows,
                                       std::span<const std::string> names) {
    const std::size_t n = fc.n < 0 ? 0 : static_cast<std::size_t>(fc.n);
    if (n > static_cast<std::size_t>(kMaxComponents) || rows.size() < n || fc.tcF.size() < n ||
        fc.pcPsia.size() < n || fc.w.size() < n || fc.vc.size() < n || fc.zc.size() < n) {
        throw MixtureSizeError("the mixture's arrays do not match its component count");
    }
    m_tcF = First(fc.tcF, n);
    m_pcPsia = First(fc.pcPsia, n);
    m_w = First(fc.w, n);
    m_vc = First(fc.vc, n);
    m_zc = First(fc.zc, n);
    m_components.resize(n);
    m_molWeight.resize(n);
    m_boilingF.resize(n);
    m_rackettZ.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::vector<double>& row = rows[i];
        PropertyComponent& c = m_components[i];
        c.name = i < names.size() ? names[i] : std::string();
        c.molWeight = ToSingle(Cell(row, kOrdinalMolWeight));
        c.boilingF = ToSingle(Cell(row, kOrdinalBoilingPoint));
        const double m = c.molWeight;
        c.referenceEnthalpy = Cell(row, kOrdinalReferenceEnthalpy) * m;
        c.referenceEntropy = Cell(row, kOrdinalReferenceEntropy) * m;
        c.idealGas =
            PrepareIdealGasSet(CoefficientSet::FromRow(row, set_base::kIdealGasHeatCapacity));
        for (std::size_t k = 0; k < kSetKindCount; ++k) {
            c.sets[k] = PreparedSet(CoefficientSet::FromRow(row, kSetBases[k]));
        }
        const double tc = m_tcF[i];
        const double pc = m_pcPsia[i];
        c.yoonThodos = YoonThodosConstantsFor(c.name);
        c.yoonThodosReducing = YoonThodosReducingGroup(tc, pc, m);
        c.letsouStielReducing = LetsouStielReducingGroup(tc, pc, m);
        c.vetereHeatOfVaporization = VetereHeatOfVaporization(c.boilingF, tc, pc);
        c.satoRiedel = SatoRiedelConstantsOf(tc, c.boilingF, m);
        c.brockBirdScale = BrockBirdScale(c.boilingF, tc, pc);
        m_molWeight[i] = c.molWeight;
        m_boilingF[i] = c.boilingF;
        m_rackettZ[i] = RackettCompressibility(m_w[i]);
    }

    m_rackettOneMinusK.resize(n * n);
    m_rackettSqrtTc.resize(n * n);
    FillRackettPairs(m_tcF, m_vc, m_rackettOneMinusK, m_rackettSqrtTc);
    m_wilkeRoot.resize(n * n);
    m_wilkeScale.resize(n * n);
    FillWilkePairs(m_molWeight, m_wilkeRoot, m_wilkeScale);
    m_sqrtPcPairs.resize(n * n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            m_sqrtPcPairs[i * n + j] = std::sqrt(static_cast<double>(m_pcPsia[i]) * m_pcPsia[j]);
        }
    }
    for (std::size_t k = 0; k < m_eos.size(); ++k) {
        const EosChoice eos = EosChoiceFromIndex(static_cast<int>(k));
        m_eos[k].resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            m_eos[k][i] = PrepareEosComponent(eos, RankineOf(m_tcF[i]), m_pcPsia[i], m_w[i]);
        }
    }
    m_estimatedKij = EstimateKij(m_tcF, m_zc);
}

bool PropertyComponents::Matches(const FlashCase& fc) const {
    const std::size_t n = Size();
    return fc.n >= 0 && static_cast<std::size_t>(fc.n) == n && SameBits(fc.tcF, m_tcF, n) &&
           SameBits(fc.pcPsia, m_pcPsia, n) && SameBits(fc.w, m_w, n) && SameBits(fc.vc, m_vc, n) &&
           SameBits(fc.zc, m_zc, n);
}

} // namespace quorvane
