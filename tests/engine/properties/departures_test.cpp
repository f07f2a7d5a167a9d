#include "common/precision.h"
#include "engine/eos/cubic_roots.h"
#include "engine/eos/eos_parameters.h"
#include "engine/properties/departures.h"
#include "tests/engine/properties/component_rows.h"

#include <cmath>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace quorvane {
namespace {

constexpr double kRe = 1.987216;
constexpr double kR = 10.731641;

// A mixture with its critical data as 32-bit values, taken from database rows (ordinals 3,
// 4 and 17), and a symmetric interaction table.
struct TestMixture {
    std::vector<float> tcF, pcPsia, w, x, kij;
    int n = 0;

    TestMixture(std::initializer_list<const test_rows::ComponentRow*> rows,
                std::initializer_list<float> fractions) {
        for (const auto* row : rows) {
            tcF.push_back(ToSingle(row->cells[3]));
            pcPsia.push_back(ToSingle(row->cells[4]));
            w.push_back(ToSingle(row->cells[17]));
        }
        x.assign(fractions);
        n = static_cast<int>(x.size());
        kij.assign(static_cast<std::size_t>(n * n), 0.0F);
    }
    void SetKij(int i, int j, float k) {
        kij[static_cast<std::size_t>(i * n + j)] = k;
        kij[static_cast<std::size_t>(j * n + i)] = k;
    }
    KijView Kij() const { return KijView{kij.data(), n}; }
};

struct Eos {
    EosEquation equation;
    EosVariant variant;
    std::string name;
};

// Test names and messages show the equation by its list name.
void PrintTo(const Eos& eos, std::ostream* out) {
    *out << eos.name;
}

// Temperatures whose Rankine value is exactly representable in 32 bits, so that nearby
// temperatures for numerical derivatives differ by exactly the step.
float FahrenheitOfRankine(double tR) {
    return ToSingle(tR - 459.67);
}

double RootZ(const TestMixture& m, const Eos& eos, float tempF, float pressPsia, bool vapour) {
    CubicState state;
    const RootPair roots = CompressibilityRoots(eos.equation, tempF, pressPsia, m.tcF, m.pcPsia,
                                                m.w, m.x, eos.variant, m.Kij(), state);
    if (vapour || roots.liquid == kNoLiquidRoot) {
        return roots.vapour;
    }
    return roots.liquid;
}

PhaseCondition Condition(const TestMixture& m, const Eos& eos, float tempF, float pressPsia,
                         double z) {
    PhaseCondition phase;
    phase.equation = eos.equation;
    phase.variant = eos.variant;
    phase.tempF = tempF;
    phase.pressPsia = pressPsia;
    phase.x = m.x;
    phase.z = z;
    phase.tcF = m.tcF;
    phase.pcPsia = m.pcPsia;
    phase.w = m.w;
    phase.kij = m.Kij();
    return phase;
}

// Central differences with steps 0.5 and 0.25 R combined to fourth order (the steps keep the
// Rankine temperatures exact in 32 bits).
template <typename Difference>
double Richardson(Difference&& difference) {
    return (4.0 * difference(0.25) - difference(0.5)) / 3.0;
}

// Residual Gibbs energy over T at (T, P) on the chosen root.
double ResidualGOverT(const TestMixture& m, const Eos& eos, double tR, float p, bool vapour) {
    const float tempF = FahrenheitOfRankine(tR);
    const PhaseCondition phase = Condition(m, eos, tempF, p, RootZ(m, eos, tempF, p, vapour));
    return EnthalpyDeparture(phase) / tR - EntropyDeparture(phase);
}

class DepartureTest : public ::testing::TestWithParam<Eos> {
protected:
    // Methane, propane and n-hexane with an interaction parameter on the methane pairs.
    TestMixture Mixture() const {
        TestMixture m({&test_rows::kMethane, &test_rows::kPropane, &test_rows::kNHexane},
                      {0.5F, 0.3F, 0.2F});
        m.SetKij(0, 1, 0.01F);
        m.SetKij(0, 2, 0.02F);
        return m;
    }
};

// -T^2 d(G_res/T)/dT = H_res on both roots: the entropy and enthalpy departures belong to
// one residual Gibbs energy.
TEST_P(DepartureTest, EnthalpyIsTheTemperatureDerivativeOfResidualGibbsEnergy) {
    const TestMixture m = Mixture();
    const Eos eos = GetParam();
    for (const bool vapour : {true, false}) {
        const double tR = 560.0;
        const float p = vapour ? 300.0F : 1500.0F;
        auto difference = [&](double h) {
            return (ResidualGOverT(m, eos, tR + h, p, vapour) -
                    ResidualGOverT(m, eos, tR - h, p, vapour)) /
                   (2.0 * h);
        };
        const double slope = Richardson(difference);
        const float tempF = FahrenheitOfRankine(tR);
        const PhaseCondition phase = Condition(m, eos, tempF, p, RootZ(m, eos, tempF, p, vapour));
        const double dH = EnthalpyDeparture(phase);
        EXPECT_NEAR(-tR * tR * slope, dH, 1e-7 * std::abs(dH) + 1e-5)
            << eos.name << (vapour ? " vapour" : " liquid");
    }
}

// Dilute gas: departures vanish, Cp -> Cp(ideal), Cv -> Cp(ideal) - R, the speed of sound
// is that of the ideal gas, and the Joule-Thomson coefficient tends to its zero-pressure
// value (T dB2/dT - B2)/Cp with the second virial coefficient B2 = b - a(T)/(R T).
TEST_P(DepartureTest, DiluteGasLimits) {
    const TestMixture m = Mixture();
    const Eos eos = GetParam();
    const float tempF = 200.0F;
    const float p = 0.001F;
    const double tR = RankineOf(tempF);
    const double z = RootZ(m, eos, tempF, p, true);
    const PhaseCondition phase = Condition(m, eos, tempF, p, z);
    EXPECT_NEAR(z, 1.0, 1e-5);
    EXPECT_NEAR(EnthalpyDeparture(phase), 0.0, 1e-5 * kRe * tR);
    EXPECT_NEAR(EntropyDeparture(phase), 0.0, 1e-5 * kRe);

    const double cp0 = 15.0;
    const double molWeight = 36.0;
    const DerivedPropertyValues d = DerivedProperties(phase, cp0, molWeight);
    ASSERT_EQ(d.written, 5);
    EXPECT_NEAR(d.cp, cp0, 1e-5 * cp0);
    EXPECT_NEAR(d.cv, cp0 - kRe, 1e-5 * cp0);
    const double gamma = cp0 / (cp0 - kRe);
    EXPECT_NEAR(d.cpCv, gamma, 1e-5 * gamma);
    const double idealSound = std::sqrt(gamma * kR * tR / molWeight * 144.0 * 32.174);
    EXPECT_NEAR(d.soundSpeed, idealSound, 1e-5 * idealSound);

    // a(T) of the mixture and its slope by differences (RK: the constant over sqrt(T)).
    std::vector<float> tcR;
    for (float tc : m.tcF) {
        tcR.push_back(RankineOf(tc));
    }
    auto attraction = [&](double t) {
        if (eos.equation == EosEquation::RK) {
            return MixtureAParameter(eos.equation, tcR, m.pcPsia, m.x) / std::sqrt(t);
        }
        return MixtureAParameter(eos.equation, tcR, m.pcPsia, m.w, m.x, ToSingle(t), eos.variant,
                                 m.Kij());
    };
    const double h = 0.25;
    const double a = attraction(tR);
    const double slope = (attraction(tR + h) - attraction(tR - h)) / (2.0 * h);
    const double b = MixtureBParameter(eos.equation, tcR, m.pcPsia, m.x);
    const double limit = ((2.0 * a - tR * slope) / (kR * tR) - b) / (cp0 * kR / kRe);
    EXPECT_NEAR(d.jouleThomson, limit, 1e-4 * std::abs(limit)) << eos.name;
    EXPECT_GT(d.jouleThomson, 0.0F); // a gas cools on expansion at 200 F
}

// A liquid root: the Joule-Thomson coefficient is negative and sound travels far faster.
TEST_P(DepartureTest, LiquidRootHasNegativeJouleThomsonAndFastSound) {
    const TestMixture m = Mixture();
    const Eos eos = GetParam();
    const DerivedPropertyValues liquid = DerivedProperties(
        Condition(m, eos, 0.0F, 1500.0F, RootZ(m, eos, 0.0F, 1500.0F, false)), 25.0, 40.0);
    const DerivedPropertyValues gas = DerivedProperties(
        Condition(m, eos, 0.0F, 15.0F, RootZ(m, eos, 0.0F, 15.0F, true)), 15.0, 40.0);
    ASSERT_EQ(liquid.written, 5);
    ASSERT_EQ(gas.written, 5);
    EXPECT_LT(liquid.jouleThomson, 0.0F);
    EXPECT_GT(liquid.soundSpeed, 2.0F * gas.soundSpeed);
}

INSTANTIATE_TEST_SUITE_P(Equations, DepartureTest,
                         ::testing::Values(Eos{EosEquation::RK, EosVariant::Original, "RK"},
                                           Eos{EosEquation::SRK, EosVariant::Original, "SRK"},
                                           Eos{EosEquation::SRK, EosVariant::V78, "SRK78"},
                                           Eos{EosEquation::PR, EosVariant::Original, "PR"},
                                           Eos{EosEquation::PR, EosVariant::V78, "PR78"}),
                         [](const auto& param) { return param.param.name; });

// For RK a pure component has T da/dT = -a(T)/2, so its departures are the SRK forms with
// D/a = 1/2.
TEST(RedlichKwongTest, DeparturesAreTheSoaveFormsWithHalfTheSlope) {
    const TestMixture m({&test_rows::kPropane}, {1.0F});
    const Eos rk{EosEquation::RK, EosVariant::Original, "RK"};
    for (const auto& [tempF, p, vapour] :
         {std::tuple{100.0F, 100.0F, true}, std::tuple{40.0F, 1000.0F, false}}) {
        const double z = RootZ(m, rk, tempF, p, vapour);
        const PhaseCondition phase = Condition(m, rk, tempF, p, z);
        const float tR = RankineOf(tempF);
        const float tcR = RankineOf(m.tcF[0]);
        const double a = ComponentAParameter(EosEquation::RK, tcR, m.pcPsia[0], tR, m.w[0],
                                             EosVariant::Original);
        const double bigA = ReducedA(EosEquation::RK, a, p, tR);
        const double bigB = ReducedB(ComponentBParameter(EosEquation::RK, tcR, m.pcPsia[0]), p, tR);
        const double h = CubicEnthalpyDeparture(EosEquation::SRK, tR, z, bigA, bigB, 0.5);
        const double s = CubicEntropyDeparture(EosEquation::SRK, z, bigA, bigB, 0.5);
        EXPECT_NEAR(EnthalpyDeparture(phase), h, 1e-9 * std::abs(h));
        EXPECT_NEAR(EntropyDeparture(phase), s, 1e-9 * std::abs(s));
    }
}

TEST(DepartureFailureTest, RootBelowCoVolumeGivesNoFiniteValue) {
    const TestMixture m({&test_rows::kPropane}, {1.0F});
    const Eos pr{EosEquation::PR, EosVariant::Original, "PR"};
    const PhaseCondition phase = Condition(m, pr, 100.0F, 1000.0F, 1e-6);
    EXPECT_FALSE(std::isfinite(EntropyDeparture(phase)));
    const PhaseCondition empty = Condition(TestMixture({}, {}), pr, 100.0F, 100.0F, 0.9);
    EXPECT_FALSE(std::isfinite(EnthalpyDeparture(empty)));
    EXPECT_EQ(DerivedProperties(empty, 10.0, 20.0).written, 0);
}

} // namespace
} // namespace quorvane
