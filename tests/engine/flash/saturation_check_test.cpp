// Saturation points, vapour-fraction states and one-phase results that the driver reports:
// each case where the routines of the flash types alone gave a wrong answer or reported a
// failure as success, and a sweep over mixtures, equations of state and conditions in which
// every answer must be genuine or say why it is not.

#include "common/precision.h"
#include "engine/envelope/tangent_plane.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/fugacity.h"
#include "engine/flash/flash_gate.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/isothermal_phases.h"
#include "tests/engine/flash/flash_checks.h"
#include "tests/engine/flash/saturation_cases.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace quorvane {
namespace {

using testdata::RunCase;

bool Has(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// Whether the feed is stable at T, P: no trial phase from Wilson's K-values or from the given
// composition (a saturation point's incipient phase) shows a negative tangent-plane distance.
bool FeedIsStable(const FlashCase& c, float tempF, float pressPsia,
                  const std::vector<float>& trial) {
    envelope::CubicMixture model;
    model.Bind(c.Eos(), c.tcF, c.pcPsia, c.w, c.kij.View());
    const std::vector<double> z(c.z.begin(), c.z.end());
    envelope::Vec w{};
    for (int i = 0; i < c.n; ++i) {
        w[i] = trial[i];
    }
    const envelope::StabilityVerdict v = envelope::TestFeedStability(
        model, z, RankineOf(tempF), pressPsia, std::span<const envelope::Vec>(&w, 1));
    return v.evaluated && v.stable;
}

double TpVapourFraction(const FlashCase& c, float tempF, float pressPsia) {
    const FlashCase r = RunCase(c, FlashType::TP, tempF, pressPsia);
    return r.converged ? r.vapourFraction : -1.0;
}

// Empty when the run is genuine or flagged; otherwise what is wrong with it.
std::string Unsound(const FlashCase& c, const FlashCase& r) {
    if (!r.failure.empty()) {
        return "failed: " + r.failure;
    }
    if (!r.converged) {
        return r.warning.empty() ? "not converged and no reason given" : "";
    }
    std::ostringstream why;
    if (!(r.residual <= 1e-8)) {
        why << "residual " << r.residual << "; ";
    }
    if (testdata::LargestFugacityMismatch(c, r.x, r.y, r.tempF, r.pressPsia) > 1e-5) {
        why << "fugacities differ at the stored values; ";
    }
    const FlashType t = r.flashType;
    if (t == FlashType::TV || t == FlashType::PV) {
        const double v = TpVapourFraction(c, r.tempF, r.pressPsia);
        if (!(std::fabs(v - r.vapourFraction) <= 1e-3)) {
            why << "TP flash there gives V = " << v << "; ";
        }
        return why.str();
    }
    // A saturation point: the feed's stability changes across it (1e-4 of the free variable to
    // either side), and a TP flash 1e-5 inside the two-phase side gives the vapour fraction of
    // the point.
    const bool givenT = t == FlashType::BUBP || t == FlashType::DEWP;
    const bool bubble = t == FlashType::BUBP || t == FlashType::BUBT;
    const std::vector<float>& incipient = bubble ? r.y : r.x;
    auto moved = [&](double fraction) {
        return ToSingle(givenT ? r.pressPsia * (1.0 + fraction)
                               : (r.tempF + 459.67) * (1.0 + fraction) - 459.67);
    };
    auto stable = [&](float at) {
        return givenT ? FeedIsStable(c, r.tempF, at, incipient)
                      : FeedIsStable(c, at, r.pressPsia, incipient);
    };
    const bool stableUp = stable(moved(1e-4));
    if (stableUp == stable(moved(-1e-4))) {
        why << "stability does not change across it; ";
        return why.str();
    }
    const float inside = moved(stableUp ? -1e-5 : 1e-5);
    const double v =
        givenT ? TpVapourFraction(c, r.tempF, inside) : TpVapourFraction(c, inside, r.pressPsia);
    if (!(std::fabs(v - (bubble ? 0.0 : 1.0)) <= 1e-3)) {
        why << "TP flash just inside gives V = " << v << "; ";
    }
    return why.str();
}

class SaturationCheck : public ::testing::Test {};

// The example gas has its hydrocarbon dew point at 800 and 1200 psia (the routine ends on
// the trivial solution): the upper dew temperature, two-phase just below it.
TEST_F(SaturationCheck, DewTemperatureOfTheExampleGasAt800And1200Psia) {
    const FlashCase gas = testdata::ExampleGas();
    for (const float p : {800.0F, 1200.0F}) {
        const FlashCase r = RunCase(gas, FlashType::DEWT, 0.0F, p);
        ASSERT_TRUE(r.converged) << p << ": " << r.warning;
        EXPECT_EQ(Unsound(gas, r), "") << p;
        EXPECT_GT(r.tempF, 150.0F) << p; // the upper dew temperature, not a cold one
        EXPECT_FALSE(r.otherPoint.present) << p;
    }
}

// Above its critical temperature (−44.9 °F) the gas has no bubble point; the routine's
// answers of 2271.6 and 3250.4 psia had every K within 0.5 % of 1.
TEST_F(SaturationCheck, NoFalseBubblePointAt40And100F) {
    const FlashCase gas = testdata::ExampleGas();
    for (const float t : {40.0F, 100.0F}) {
        const FlashCase r = RunCase(gas, FlashType::BUBP, t, 555.0F);
        EXPECT_FALSE(r.converged) << t;
        EXPECT_TRUE(Has(r.warning, "this mixture's bubble curve ends at its critical point (-44.9 "
                                   "°F, 1377.8 psia); at "))
            << r.warning;
        EXPECT_TRUE(Has(r.warning, " it has dew points at ")) << r.warning;
        EXPECT_EQ(r.pressPsia, 555.0F); // no false number replaces the pressure
    }
    EXPECT_TRUE(
        Has(RunCase(gas, FlashType::BUBP, 40.0F, 555.0F).warning, "No bubble point at 40 °F: "));
}

// The example gas at 800 psia, and an aromatic/paraffin liquid at 90 °F between its dew
// (0.243 psia) and bubble (0.569 psia) pressures under SRK: there a liquid's fugacities carry
// rounding near 1e-9, which the check of each phase's stability must not take for a third phase.
TEST_F(SaturationCheck, StatesOfGivenVapourFractionExist) {
    const FlashCase gas = testdata::ExampleGas();
    const FlashCase r = RunCase(gas, FlashType::PV, 0.0F, 800.0F, 0.97);
    ASSERT_TRUE(r.converged) << r.warning;
    EXPECT_EQ(Unsound(gas, r), "");
    const FlashCase oil = testdata::MakeCase(
        {"n-PROPYLBENZENE", "BENZENE", "TOLUENE", "ETHYLBENZENE", "n-HEPTANE", "p-XYLENE",
         "o-XYLENE", "n-HEXANE"},
        {0.161651F, 0.010427F, 0.189417F, 0.103372F, 0.154839F, 0.2037F, 0.168325F, 0.008269F},
        "SRK");
    float previous = 1.0F;
    for (const double vf : {0.1, 0.4916, 0.9}) {
        const FlashCase split = RunCase(oil, FlashType::TV, 90.07F, 0.0F, vf);
        ASSERT_TRUE(split.converged) << vf << ": " << split.warning;
        EXPECT_EQ(Unsound(oil, split), "") << vf;
        EXPECT_LT(split.pressPsia, previous) << vf;
        EXPECT_GT(split.pressPsia, 0.2429F) << vf;
        previous = split.pressPsia;
    }
}

// 50/50 propane/n-butane at 400 psia and 230 °F lies above its dew point (about 224.8 °F): a
// vapour, with the vapour root's Z.
TEST_F(SaturationCheck, SuperheatedPropaneButaneIsVapour) {
    const FlashCase c = testdata::MakeCase({"PROPANE", "n-BUTANE"}, {0.5F, 0.5F});
    const FlashCase dew = RunCase(c, FlashType::DEWT, 0.0F, 400.0F);
    ASSERT_TRUE(dew.converged) << dew.warning;
    EXPECT_NEAR(dew.tempF, 224.8F, 0.5F);
    const FlashCase r = RunCase(c, FlashType::TP, 230.0F, 400.0F);
    ASSERT_TRUE(r.converged) << r.warning;
    EXPECT_EQ(r.vapourFraction, 1.0);
    EXPECT_GT(r.vapourZ, 0.5F);
    EXPECT_EQ(r.vapourZ, r.liquidZ); // one fluid, every property from its root
}

// Components of zero share get the K of infinite dilution in the phases found, in a split and
// at a saturation point alike.
TEST_F(SaturationCheck, AbsentComponentsTakeTheirKFromThePhases) {
    const FlashCase c = testdata::MakeCase({"HYDROGEN", "METHANE", "n-BUTANE", "n-DECANE"},
                                           {0.0F, 0.5F, 0.5F, 0.0F});
    for (const FlashType type : {FlashType::TP, FlashType::BUBP}) {
        const FlashCase r = RunCase(c, type, 40.0F, 800.0F);
        ASSERT_TRUE(r.converged) << r.warning;
        for (const int i : {0, 3}) {
            const EosChoice eos = c.Eos();
            CubicState cubic;
            float z = 0.0F;
            const double phiL =
                FugacityCoefficient(eos.equation, Phase::Liquid, r.tempF, r.pressPsia, c.tcF,
                                    c.pcPsia, c.w, r.x, i, eos.variant, c.kij.View(), z, cubic);
            const double phiV =
                FugacityCoefficient(eos.equation, Phase::Vapour, r.tempF, r.pressPsia, c.tcF,
                                    c.pcPsia, c.w, r.y, i, eos.variant, c.kij.View(), z, cubic);
            EXPECT_NEAR(r.k[i] / (phiL / phiV), 1.0, 1e-4) << i;
        }
        EXPECT_GT(r.k[0], 1.0F); // hydrogen prefers the vapour
        EXPECT_LT(r.k[3], 0.01F);
    }
}

// n-decane/n-hexadecane at -200 °F and 500 psia: one compressed liquid with the feed's
// composition (the routine answered vf 1 with y = [0, 1]).
TEST_F(SaturationCheck, ColdDecaneHexadecaneIsOneLiquid) {
    const FlashCase c = testdata::MakeCase({"n-DECANE", "n-HEXADECANE"}, {0.5F, 0.5F});
    const FlashCase r = RunCase(c, FlashType::TP, -200.0F, 500.0F);
    ASSERT_TRUE(r.converged) << r.warning;
    EXPECT_EQ(r.vapourFraction, 0.0);
    EXPECT_EQ(r.x, c.z);
    EXPECT_EQ(r.y, c.z);
    EXPECT_GT(r.liquidZ, 0.0F);
}

// Bubble pressures far below the routine's absolute stop test of 0.001 psia: n-decane/
// n-hexadecane at 100 °F (the routine answered 0.0347 psia with Σ K·x = 1.0175), and pure
// water at 0 °F, whose bubble and dew pressures must coincide.
TEST_F(SaturationCheck, BubblePressureBelowTheRoutineStopTest) {
    const FlashCase c = testdata::MakeCase({"n-DECANE", "n-HEXADECANE"}, {0.5F, 0.5F});
    const FlashCase r = RunCase(c, FlashType::BUBP, 100.0F, 1.0F);
    ASSERT_TRUE(r.converged) << r.warning;
    EXPECT_EQ(Unsound(c, r), "");
    double sum = 0.0;
    for (int i = 0; i < c.n; ++i) {
        sum += static_cast<double>(r.k[i]) * r.x[i];
    }
    EXPECT_NEAR(sum, 1.0, 1e-6);
    const FlashCase water = testdata::MakeCase({"WATER"}, {1.0F});
    const FlashCase bubble = RunCase(water, FlashType::BUBP, 0.0F, 1.0F);
    const FlashCase dew = RunCase(water, FlashType::DEWP, 0.0F, 1.0F);
    ASSERT_TRUE(bubble.converged && dew.converged) << bubble.warning << dew.warning;
    EXPECT_NEAR(bubble.pressPsia, dew.pressPsia, 1e-6 * dew.pressPsia);
    EXPECT_GT(bubble.pressPsia, 1e-3F);
}

// Hydrogen/n-decane 1/99 has no bubble point at 14.7 psia (the routine stopped at its floor
// of -459 °F and called it converged).
TEST_F(SaturationCheck, BubbleTemperatureOnTheFloorIsNoAnswer) {
    const FlashCase c = testdata::MakeCase({"HYDROGEN", "n-DECANE"}, {0.01F, 0.99F});
    const FlashCase r = RunCase(c, FlashType::BUBT, 60.0F, 14.7F);
    EXPECT_FALSE(r.converged);
    EXPECT_TRUE(Has(r.warning, "No bubble point at 14.7 psia: this mixture's bubble pressure "
                               "stays above "))
        << r.warning;
    EXPECT_EQ(r.tempF, 60.0F);
}

// At 40 °F the gas has a lower and an upper (retrograde) dew point: the routine's lower one
// stands and the other is named.
TEST_F(SaturationCheck, SecondDewPointIsNamed) {
    const FlashCase gas = testdata::ExampleGas();
    const FlashCase r = RunCase(gas, FlashType::DEWP, 40.0F, 1.0F);
    ASSERT_TRUE(r.converged) << r.warning;
    EXPECT_EQ(Unsound(gas, r), "");
    EXPECT_LT(r.pressPsia, 10.0F);
    ASSERT_TRUE(r.otherPoint.present);
    EXPECT_GT(r.otherPoint.pressPsia, 1500.0F);
    EXPECT_TRUE(Has(r.warning, "This mixture has a second dew point at 40 °F: ")) << r.warning;
}

// Points the search from a low pressure missed: the dew pressure of methane/n-butane 50/50 at
// -100 °F lies at 0.58 psia (PR; the bubble pressure there is 433.6 psia), and under RK its dew
// temperature at 1200 psia at 217.2 °F (the bubble point there at 64.2 °F). Both were refused
// with "none was found on the phase envelope". Under RK at 1000 psia, next to the
// cricondentherm (222.84 °F at 1031.6 psia), the line started at 1000 psia fell on a false
// solution inside the two-phase region (121.9 °F) and the dew point at 222.68 °F was refused
// as a second liquid phase.
TEST_F(SaturationCheck, DewPointsAtLowAndHighPressureAreFound) {
    const FlashCase pr = testdata::MethaneButane(0.5F);
    const FlashCase low = RunCase(pr, FlashType::DEWP, -100.0F, 1.0F);
    ASSERT_TRUE(low.converged) << low.warning;
    EXPECT_EQ(Unsound(pr, low), "");
    EXPECT_NEAR(low.pressPsia, 0.5811F, 1e-3F);
    const FlashCase rk = testdata::MethaneButane(0.5F, "RK");
    struct DewPoint {
        float pressPsia;
        float tempF;
    };
    for (const DewPoint d : {DewPoint{1200.0F, 217.21F}, DewPoint{1000.0F, 222.68F}}) {
        const FlashCase high = RunCase(rk, FlashType::DEWT, 0.0F, d.pressPsia);
        ASSERT_TRUE(high.converged) << d.pressPsia << ": " << high.warning;
        EXPECT_EQ(Unsound(rk, high), "") << d.pressPsia;
        EXPECT_NEAR(high.tempF, d.tempF, 0.01F) << d.pressPsia;
        EXPECT_FALSE(high.otherPoint.present) << d.pressPsia;
    }
}

// Methane/n-decane 99/1 under SRK at 500 psia: its dew curve rises to about 3400 psia and
// comes down again at low temperatures without meeting the bubble curve, so it has a second
// dew point at -152.2 °F below the upper one at 246.1 °F. The bubble equations hold at
// -133.3 °F inside the two-phase region there (the feed splits on both sides), which must not
// pass for the bubble curve's crossing that would make the upper dew point the only one.
TEST_F(SaturationCheck, SecondDewPointBehindAFalseBubblePointIsNamed) {
    const FlashCase c = testdata::MakeCase({"METHANE", "n-DECANE"}, {0.99F, 0.01F}, "SRK");
    const FlashCase r = RunCase(c, FlashType::DEWT, 0.0F, 500.0F);
    ASSERT_TRUE(r.converged) << r.warning;
    EXPECT_EQ(Unsound(c, r), "");
    EXPECT_NEAR(r.tempF, 246.13F, 0.01F);
    ASSERT_TRUE(r.otherPoint.present);
    EXPECT_NEAR(r.otherPoint.tempF, -152.15F, 0.01F);
}

// Water and n-decane (kij 0.5) at 100 °F and 500 psia split into two liquids: said so.
TEST_F(SaturationCheck, SecondLiquidIsSaid) {
    FlashCase c = testdata::MakeCase({"WATER", "n-DECANE"}, {0.5F, 0.5F});
    c.kij(0, 1) = c.kij(1, 0) = 0.5F;
    const FlashCase r = RunCase(c, FlashType::TP, 100.0F, 500.0F);
    EXPECT_EQ(r.warning, detail::kSecondLiquidWarning);
}

// Methane/propane 70/30 under PR has its critical point at 49.9 °F and 1442.2 psia, with the
// cricondenbar on the bubble curve. At 40 °F its bubble point (1440.2 psia) lies where the
// line runs almost flat, on the step of the trace over the critical point; the split just
// below it is a dense vapour and a liquid, not two liquids. Just above the critical
// temperature the upper dew point is found and the bubble point refused for the right reason.
TEST_F(SaturationCheck, NextToTheCriticalPointPointsAreFoundAndNamedRightly) {
    const FlashCase c = testdata::MakeCase({"METHANE", "PROPANE"}, {0.7F, 0.3F});
    const FlashCase bubble = RunCase(c, FlashType::BUBP, 40.0F, 0.0F);
    ASSERT_TRUE(bubble.converged) << bubble.warning;
    EXPECT_EQ(Unsound(c, bubble), "");
    EXPECT_NEAR(bubble.pressPsia, 1440.15F, 0.05F);
    for (const float pressPsia : {1420.0F, 1440.0F}) {
        const FlashCase split = RunCase(c, FlashType::TP, 40.0F, pressPsia);
        ASSERT_TRUE(split.converged) << pressPsia;
        EXPECT_GT(split.vapourFraction, 0.0) << pressPsia;
        EXPECT_EQ(split.warning, "") << pressPsia;
    }
    const FlashCase dew = RunCase(c, FlashType::DEWP, 50.5F, 0.0F);
    ASSERT_TRUE(dew.converged) << dew.warning;
    ASSERT_TRUE(dew.otherPoint.present);
    EXPECT_NEAR(dew.otherPoint.pressPsia, 1441.7F, 0.1F);
    const FlashCase none = RunCase(c, FlashType::BUBP, 50.5F, 0.0F);
    EXPECT_FALSE(none.converged);
    EXPECT_TRUE(Has(none.warning, "bubble curve ends at its critical point (49.9 °F, 1442.2"))
        << none.warning;
}

// The gate takes apart results that claim convergence wrongly.
TEST_F(SaturationCheck, FinalGateRefusesBrokenResults) {
    const FlashCase c = testdata::MethaneButane(0.5F);
    FlashState state;
    const FlashCase good = RunCase(c, FlashType::TP, 40.0F, 1000.0F);
    auto resultsOf = [&](const FlashCase& r) {
        FlashResults out;
        out.Prepare(c.n);
        out.x = r.x;
        out.y = r.y;
        out.k = r.k;
        out.vapourFraction = r.vapourFraction;
        out.tempF = r.tempF;
        out.pressPsia = r.pressPsia;
        out.liquidZ = r.liquidZ;
        out.vapourZ = r.vapourZ;
        return out;
    };
    FlashResults out = resultsOf(good);
    ApplyFinalGate(FlashType::TP, MixtureOf(c), c.z, out, state);
    EXPECT_TRUE(out.converged) << out.warning;

    out = resultsOf(good);
    out.vapourFraction = 1.0; // y = [0.95, 0.05] is not the feed
    ApplyFinalGate(FlashType::TP, MixtureOf(c), c.z, out, state);
    EXPECT_TRUE(Has(out.warning, "mole balance")) << out.warning;

    out = resultsOf(good);
    out.vapourZ = -0.2F;
    ApplyFinalGate(FlashType::TP, MixtureOf(c), c.z, out, state);
    EXPECT_TRUE(Has(out.warning, "compressibility")) << out.warning;

    out = resultsOf(good);
    out.k[0] *= 1.5F;
    ApplyFinalGate(FlashType::TP, MixtureOf(c), c.z, out, state);
    EXPECT_FALSE(out.converged);

    const FlashCase bubble = RunCase(c, FlashType::BUBT, 0.0F, 1000.0F);
    out = resultsOf(bubble);
    out.tempF = -459.0F; // the routine's floor
    ApplyFinalGate(FlashType::BUBT, MixtureOf(c), c.z, out, state);
    EXPECT_TRUE(Has(out.warning, "lowest temperature")) << out.warning;
}

// Every answer of the sweep is genuine (equal fugacities, the feed's stability changing across
// a saturation point, the TP flash agreeing with a vapour fraction) or says why it is not.
class SaturationSweep : public ::testing::TestWithParam<const char*> {};

TEST_P(SaturationSweep, EveryAnswerIsGenuineOrFlagged) {
    const char* eos = GetParam();
    const FlashCase mixtures[] = {testdata::ExampleGas(eos), testdata::MethaneButane(0.5F, eos),
                                  testdata::CarbonDioxideRich(eos)};
    int converged = 0;
    int total = 0;
    auto check = [&](const FlashCase& c, FlashType type, float t, float p, double vf) {
        const FlashCase r = RunCase(c, type, t, p, vf);
        ++total;
        converged += r.converged ? 1 : 0;
        EXPECT_EQ(Unsound(c, r), "")
            << eos << " " << c.n << " components, " << FlashTypeCode(type) << " at " << t << " °F, "
            << p << " psia, vf " << vf << ": " << r.warning;
    };
    for (const FlashCase& c : mixtures) {
        for (const float p : {15.0F, 300.0F, 1000.0F, 2000.0F}) {
            check(c, FlashType::BUBT, 0.0F, p, 0.0);
            check(c, FlashType::DEWT, 0.0F, p, 0.0);
        }
        for (const float t : {-200.0F, -50.0F, 100.0F, 250.0F}) {
            check(c, FlashType::BUBP, t, 100.0F, 0.0);
            check(c, FlashType::DEWP, t, 100.0F, 0.0);
        }
        for (const double vf : {0.05, 0.97}) {
            check(c, FlashType::PV, 0.0F, 500.0F, vf);
            check(c, FlashType::TV, 40.0F, 100.0F, vf);
        }
    }
    // The checks must not turn into refusing everything.
    EXPECT_GE(converged, total / 3) << converged << " of " << total;
}

INSTANTIATE_TEST_SUITE_P(AllEquations, SaturationSweep,
                         ::testing::Values("RK", "SRK", "SRK-78 (API)", "PR", "PR-78"));

} // namespace
} // namespace quorvane
