// The verification tables of the IAPWS-IF97 release (1997), to the printed nine digits.
// Sources: IAPWS R7-97 Tables 5 (region 1), 15 (region 2), 33 (region 3), 35 and 36
// (region 4), 7, 9, 24 and 29 (backward equations), the B23 and B2bc checks, and the
// region 5 table of the 1997 release (five-term equation; the 2007 revision's numbers
// differ).

#include "calvix/backward.h"
#include "calvix/regions.h"
#include "calvix/saturation.h"
#include "tests/calvix/published_digits.h"

#include <gtest/gtest.h>
#include <vector>

namespace calvix {
namespace {

using test::DeviationLog;
using test::MatchesPublished;

// One row of a property table: the state and the published v (or p), h, u, s, cp, w.
struct PropertyRow {
    double t;
    double second; // p in MPa (regions 1, 2, 5) or ρ in kg/m³ (region 3)
    double vOrP;
    double h;
    double u;
    double s;
    double cp;
    double w;
};

// Checks every value of a Gibbs-region table (u = h − p v).
void CheckGibbsTable(Properties (*region)(double, double), const std::vector<PropertyRow>& rows,
                     const char* name) {
    DeviationLog log;
    for (const PropertyRow& row : rows) {
        SCOPED_TRACE(testing::Message() << name << " T = " << row.t << " K, p = " << row.second);
        const Properties st = region(row.t, row.second);
        const double u = st.h - 1000.0 * row.second * st.v;
        const double computed[] = {st.v, st.h, u, st.s, st.cp, st.w};
        const double published[] = {row.vOrP, row.h, row.u, row.s, row.cp, row.w};
        for (int k = 0; k < 6; ++k) {
            EXPECT_TRUE(MatchesPublished(computed[k], published[k])) << "column " << k;
            log.Add(computed[k], published[k]);
        }
    }
    testing::Test::RecordProperty("maxRelativeDeviation", log.MaxText());
}

TEST(VerificationTables, Region1Table5) {
    CheckGibbsTable(Region1,
                    {
                        {300, 3, 0.100215168e-2, 0.115331273e3, 0.112324818e3, 0.392294792,
                         0.417301218e1, 0.150773921e4},
                        {300, 80, 0.971180894e-3, 0.184142828e3, 0.106448356e3, 0.368563852,
                         0.401008987e1, 0.163469054e4},
                        {500, 3, 0.120241800e-2, 0.975542239e3, 0.971934985e3, 0.258041912e1,
                         0.465580682e1, 0.124071337e4},
                    },
                    "region 1");
}

TEST(VerificationTables, Region2Table15) {
    CheckGibbsTable(Region2,
                    {
                        {300, 0.0035, 0.394913866e2, 0.254991145e4, 0.241169160e4, 0.852238967e1,
                         0.191300162e1, 0.427920172e3},
                        {700, 0.0035, 0.923015898e2, 0.333568375e4, 0.301262819e4, 0.101749996e2,
                         0.208141274e1, 0.644289068e3},
                        {700, 30, 0.542946619e-2, 0.263149474e4, 0.246861076e4, 0.517540298e1,
                         0.103505092e2, 0.480386523e3},
                    },
                    "region 2");
}

TEST(VerificationTables, Region5Of1997) {
    CheckGibbsTable(Region5,
                    {
                        {1500, 0.5, 0.138455354e1, 0.521976332e4, 0.452748654e4, 0.965408431e1,
                         0.261610228e1, 0.917071933e3},
                        {1500, 8, 0.865156616e-1, 0.520609634e4, 0.451397105e4, 0.836546724e1,
                         0.264453866e1, 0.919708859e3},
                        {2000, 8, 0.115743146, 0.658380291e4, 0.565785774e4, 0.915671044e1,
                         0.285306750e1, 0.105435806e4},
                    },
                    "region 5");
}

TEST(VerificationTables, Region3Table33) {
    const std::vector<PropertyRow> rows = {
        {650, 500, 0.255837018e2, 0.186343019e4, 0.181226279e4, 0.405427273e1, 0.138935717e2,
         0.502005554e3},
        {650, 200, 0.222930643e2, 0.237512401e4, 0.226365868e4, 0.485438792e1, 0.446579342e2,
         0.383444594e3},
        {750, 500, 0.783095639e2, 0.225868845e4, 0.210206932e4, 0.446971906e1, 0.634165359e1,
         0.760696041e3},
    };
    DeviationLog log;
    for (const PropertyRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "T = " << row.t << " K, rho = " << row.second);
        const Properties st = Region3(row.second, row.t);
        EXPECT_NEAR(Region3Pressure(row.second, row.t), st.p, 1e-12 * st.p);
        const double u = st.h - 1000.0 * st.p / row.second;
        const double computed[] = {st.p, st.h, u, st.s, st.cp, st.w};
        const double published[] = {row.vOrP, row.h, row.u, row.s, row.cp, row.w};
        for (int k = 0; k < 6; ++k) {
            EXPECT_TRUE(MatchesPublished(computed[k], published[k])) << "column " << k;
            log.Add(computed[k], published[k]);
        }
    }
    RecordProperty("maxRelativeDeviation", log.MaxText());
}

TEST(VerificationTables, SaturationTables35And36) {
    DeviationLog log;
    const double psat[][2] = {{300, 0.353658941e-2}, {500, 0.263889776e1}, {600, 0.123443146e2}};
    for (const auto& row : psat) {
        EXPECT_TRUE(MatchesPublished(SaturationPressure(row[0]), row[1])) << row[0];
        log.Add(SaturationPressure(row[0]), row[1]);
    }
    const double tsat[][2] = {{0.1, 0.372755919e3}, {1, 0.453035632e3}, {10, 0.584149488e3}};
    for (const auto& row : tsat) {
        EXPECT_TRUE(MatchesPublished(SaturationTemperature(row[0]), row[1])) << row[0];
        log.Add(SaturationTemperature(row[0]), row[1]);
    }
    RecordProperty("maxRelativeDeviation", log.MaxText());
}

TEST(VerificationTables, BoundaryEquations) {
    // B23 at 623.15 K (equation 5) and B2bc at 100 MPa (equation 21).
    EXPECT_TRUE(MatchesPublished(B23Pressure(0.623150000e3), 0.165291643e2));
    EXPECT_TRUE(MatchesPublished(B2bcEnthalpy(0.100000000e3), 0.351600432e4));
    // The inverse forms reproduce the inputs.
    EXPECT_NEAR(B23Temperature(0.165291643e2), 623.15, 1e-6);
    EXPECT_NEAR(B2bcPressure(0.351600432e4), 100.0, 1e-6);
    DeviationLog log;
    log.Add(B23Pressure(623.15), 0.165291643e2);
    log.Add(B2bcEnthalpy(100.0), 0.351600432e4);
    RecordProperty("maxRelativeDeviation", log.MaxText());
}

struct BackwardRow {
    double (*equation)(double, double);
    double p;
    double x; // h or s
    double t;
};

void CheckBackward(const std::vector<BackwardRow>& rows) {
    DeviationLog log;
    for (const BackwardRow& row : rows) {
        const double t = row.equation(row.p, row.x);
        EXPECT_TRUE(MatchesPublished(t, row.t)) << "p = " << row.p << ", x = " << row.x;
        log.Add(t, row.t);
    }
    testing::Test::RecordProperty("maxRelativeDeviation", log.MaxText());
}

TEST(VerificationTables, BackwardTphTables7And24) {
    CheckBackward({
        {BackwardT1ph, 3, 500, 0.391798509e3},
        {BackwardT1ph, 80, 500, 0.378108626e3},
        {BackwardT1ph, 80, 1500, 0.611041229e3},
        {BackwardT2aph, 0.001, 3000, 0.534433241e3},
        {BackwardT2aph, 3, 3000, 0.575373370e3},
        {BackwardT2aph, 3, 4000, 0.101077577e4},
        {BackwardT2bph, 5, 3500, 0.801299102e3},
        {BackwardT2bph, 5, 4000, 0.101531583e4},
        {BackwardT2bph, 25, 3500, 0.875279054e3},
        {BackwardT2cph, 40, 2700, 0.743056411e3},
        {BackwardT2cph, 60, 2700, 0.791137067e3},
        {BackwardT2cph, 60, 3200, 0.882756860e3},
    });
}

TEST(VerificationTables, BackwardTpsTables9And29) {
    CheckBackward({
        {BackwardT1ps, 3, 0.5, 0.307842258e3},
        {BackwardT1ps, 80, 0.5, 0.309979785e3},
        {BackwardT1ps, 80, 3, 0.565899909e3},
        {BackwardT2aps, 0.1, 7.5, 0.399517097e3},
        {BackwardT2aps, 0.1, 8, 0.514127081e3},
        {BackwardT2aps, 2.5, 8, 0.103984917e4},
        {BackwardT2bps, 8, 6, 0.600484040e3},
        {BackwardT2bps, 8, 7.5, 0.106495556e4},
        {BackwardT2bps, 90, 6, 0.103801126e4},
        {BackwardT2cps, 20, 5.75, 0.697992849e3},
        {BackwardT2cps, 80, 5.25, 0.854011484e3},
        {BackwardT2cps, 80, 5.75, 0.949017998e3},
    });
}

} // namespace
} // namespace calvix
