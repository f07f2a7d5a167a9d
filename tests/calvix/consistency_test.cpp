// Thermodynamic identities that every region must satisfy whatever its coefficients, and
// the agreement of neighbouring equations on their common boundaries. A slip in a
// coefficient or a derivative cannot hide from these.

#include "calvix/region3_density.h"
#include "calvix/regions.h"
#include "calvix/saturation.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace calvix {
namespace {

using GibbsRegion = Properties (*)(double, double);

struct GibbsPoint {
    GibbsRegion region;
    double t;
    double p;
};

// Points inside regions 1, 2 and 5, away from their boundaries.
const GibbsPoint kGibbsPoints[] = {
    {Region1, 300, 3},  {Region1, 450, 50},  {Region1, 600, 90},   {Region2, 400, 0.1},
    {Region2, 700, 30}, {Region2, 1000, 60}, {Region5, 1500, 0.5}, {Region5, 2000, 8},
};

double Gibbs(const Properties& st, double t) {
    return st.h - t * st.s;
}

class GibbsIdentities : public testing::TestWithParam<GibbsPoint> {};

TEST_P(GibbsIdentities, DerivativesAgreeWithTheProperties) {
    const GibbsPoint pt = GetParam();
    const Properties st = pt.region(pt.t, pt.p);
    const double dt = 1e-5 * pt.t;
    const double dp = 1e-5 * pt.p;
    const Properties tUp = pt.region(pt.t + dt, pt.p);
    const Properties tDown = pt.region(pt.t - dt, pt.p);
    const Properties pUp = pt.region(pt.t, pt.p + dp);
    const Properties pDown = pt.region(pt.t, pt.p - dp);

    // cp = (∂h/∂T)p; T = (∂h/∂s)p; v = (∂g/∂p)T (kJ/kg per MPa = 1000 m³/kg).
    EXPECT_NEAR((tUp.h - tDown.h) / (2 * dt), st.cp, 1e-5 * st.cp);
    EXPECT_NEAR((tUp.h - tDown.h) / (tUp.s - tDown.s), pt.t, 1e-6 * pt.t);
    EXPECT_NEAR((Gibbs(pUp, pt.t) - Gibbs(pDown, pt.t)) / (2 * dp) / 1000.0, st.v, 1e-6 * st.v);

    // cp − cv = T v α² / κT, with α and κT from the volume derivatives.
    const double alpha = (tUp.v - tDown.v) / (2 * dt) / st.v;
    const double kappaT = -(pUp.v - pDown.v) / (2 * dp) / st.v;
    EXPECT_NEAR(st.cp - st.cv, pt.t * st.v * alpha * alpha / kappaT * 1000.0,
                1e-4 * (st.cp - st.cv) + 1e-9);

    // κ = w² / (p v).
    EXPECT_NEAR(st.kappa, st.w * st.w / (pt.p * 1e6 * st.v), 1e-10 * st.kappa);
}

INSTANTIATE_TEST_SUITE_P(Regions125, GibbsIdentities, testing::ValuesIn(kGibbsPoints),
                         [](const testing::TestParamInfo<GibbsPoint>& param) {
                             return "point" + std::to_string(param.index);
                         });

struct DensityPoint {
    double rho;
    double t;
};

class HelmholtzIdentities : public testing::TestWithParam<DensityPoint> {};

TEST_P(HelmholtzIdentities, DerivativesAgreeWithTheProperties) {
    const auto [rho, t] = GetParam();
    const Properties st = Region3(rho, t);
    auto helmholtz = [](const Properties& s, double rhoAt, double tAt) {
        return s.h - 1000.0 * s.p / rhoAt - tAt * s.s;
    };
    auto internalEnergy = [](const Properties& s, double rhoAt) {
        return s.h - 1000.0 * s.p / rhoAt;
    };
    const double dr = 1e-4 * rho;
    const double dt = 1e-4 * t;
    const Properties rUp = Region3(rho + dr, t);
    const Properties rDown = Region3(rho - dr, t);
    const Properties tUp = Region3(rho, t + dt);
    const Properties tDown = Region3(rho, t - dt);

    // p = ρ² (∂f/∂ρ)T; cv = (∂u/∂T)ρ; s = −(∂f/∂T)ρ.
    const double dfdr = (helmholtz(rUp, rho + dr, t) - helmholtz(rDown, rho - dr, t)) / (2 * dr);
    EXPECT_NEAR(rho * rho * dfdr / 1000.0, st.p, 1e-6 * st.p);
    EXPECT_NEAR((internalEnergy(tUp, rho) - internalEnergy(tDown, rho)) / (2 * dt), st.cv,
                1e-5 * st.cv);
    EXPECT_NEAR(-(helmholtz(tUp, rho, t + dt) - helmholtz(tDown, rho, t - dt)) / (2 * dt), st.s,
                1e-7 * st.s);
    // (∂p/∂v)T from its own sum against the difference quotient.
    const double dpdv = (rUp.p - rDown.p) / (1.0 / (rho + dr) - 1.0 / (rho - dr));
    EXPECT_NEAR(Region3DpDv(1.0 / rho, t), dpdv, 1e-5 * std::fabs(dpdv));
    EXPECT_NEAR(st.kappa, st.w * st.w / (st.p * 1e6 / rho), 1e-10 * st.kappa);
}

INSTANTIATE_TEST_SUITE_P(Region3, HelmholtzIdentities,
                         testing::Values(DensityPoint{500, 650}, DensityPoint{200, 650},
                                         DensityPoint{500, 750}, DensityPoint{650, 630},
                                         DensityPoint{150, 700}),
                         [](const testing::TestParamInfo<DensityPoint>& param) {
                             return "point" + std::to_string(param.index);
                         });

// Neighbouring equations agree on their common boundary to the consistency the
// formulation was fitted to (|Δv/v| ≤ 0.05 %, |Δh| ≤ 0.2 kJ/kg, |Δs| ≤ 0.2 J/(kg K)).
void ExpectConsistent(const Properties& a, const Properties& b) {
    EXPECT_NEAR(a.v, b.v, 5e-4 * a.v);
    EXPECT_NEAR(a.h, b.h, 0.2);
    EXPECT_NEAR(a.s, b.s, 0.0002);
}

TEST(BoundaryConsistency, Region1AgainstRegion3At623K) {
    for (double p : {20.0, 50.0, 100.0}) {
        SCOPED_TRACE(p);
        const std::optional<double> rho = Region3Density(623.15, p);
        ASSERT_TRUE(rho.has_value());
        ExpectConsistent(Region1(623.15, p), Region3(*rho, 623.15));
    }
}

TEST(BoundaryConsistency, Region2AgainstRegion3OnB23) {
    for (double t : {650.0, 700.0, 800.0, 863.0}) {
        SCOPED_TRACE(t);
        const double p = B23Pressure(t);
        const std::optional<double> rho = Region3Density(t, p);
        ASSERT_TRUE(rho.has_value());
        ExpectConsistent(Region2(t, p), Region3(*rho, t));
    }
}

TEST(BoundaryConsistency, Region2AgainstRegion5At1073K) {
    for (double p : {0.01, 1.0, 5.0, 10.0}) {
        SCOPED_TRACE(p);
        ExpectConsistent(Region2(1073.15, p), Region5(1073.15, p));
    }
}

TEST(BoundaryConsistency, SaturationLineEqualisesGibbsEnergies) {
    // Phase equilibrium: the liquid and vapour Gibbs energies agree at psat(T).
    for (double t : {273.16, 300.0, 373.15, 450.0, 550.0, 623.15}) {
        SCOPED_TRACE(t);
        const double ps = SaturationPressure(t);
        EXPECT_NEAR(Gibbs(Region1(t, ps), t), Gibbs(Region2(t, ps), t), 0.2);
    }
}

} // namespace
} // namespace calvix
