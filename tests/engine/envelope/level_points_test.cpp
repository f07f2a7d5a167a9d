// Bubble and dew points solved where they are asked for, against the traced phase envelope: at
// every level the search must report exactly the points where the envelope's own branch
// crosses it, whether it stops at one point or traces the line for more.

#include "engine/envelope/boundary_points.h"
#include "engine/envelope/mixture_envelope.h"
#include "engine/flash/flash_driver.h"
#include "tests/engine/flash/saturation_cases.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace quorvane::envelope {
namespace {

// The free variable (T at a given P, P at a given T) where the polyline of a branch crosses the
// level, interpolated linearly between its points.
std::vector<double> Crossings(const std::vector<EnvelopePoint>& branch, Given given, double level) {
    std::vector<double> found;
    for (std::size_t k = 0; k + 1 < branch.size(); ++k) {
        const EnvelopePoint& a = branch[k];
        const EnvelopePoint& b = branch[k + 1];
        const double fa = (given == Given::Pressure ? a.pressPsia : a.tempF) - level;
        const double fb = (given == Given::Pressure ? b.pressPsia : b.tempF) - level;
        if (fa == 0.0 || fa * fb < 0.0) {
            const double s = fa / (fa - fb);
            found.push_back(given == Given::Pressure
                                ? a.tempF + s * (b.tempF - a.tempF)
                                : a.pressPsia + s * (b.pressPsia - a.pressPsia));
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

TEST(LevelPoints, EveryCrossingOfTheEnvelopeAndNoOther) {
    const FlashCase cases[] = {testdata::ExampleGas(), testdata::MethaneButane(0.5F),
                               testdata::CarbonDioxideRich()};
    for (const FlashCase& c : cases) {
        const EnvelopeMixture mixture{c.Eos(), c.tcF, c.pcPsia, c.w, c.kij.View()};
        EnvelopeOptions options;
        options.startPressPsia = 1e-3;
        options.largestLnTStep = 0.01;
        options.largestLnPStep = 0.05;
        const PhaseEnvelope env = TracePhaseEnvelope(mixture, c.z, options);
        ASSERT_TRUE(env.critical.found) << c.n << " " << env.note;
        struct Level {
            Given given;
            double value;
        };
        const Level levels[] = {{Given::Pressure, 100.0},   {Given::Pressure, 800.0},
                                {Given::Pressure, 1200.0},  {Given::Pressure, 1500.0},
                                {Given::Temperature, -100}, {Given::Temperature, 0.0},
                                {Given::Temperature, 40.0}, {Given::Temperature, 150.0}};
        for (const Level& level : levels) {
            for (const double beta : {0.0, 1.0}) {
                const PointSearch search =
                    FindPoints(mixture, c.z, PointQuery{level.given, level.value, beta});
                const std::vector<double> expected =
                    Crossings(beta == 0.0 ? env.bubble : env.dew, level.given, level.value);
                // A crossing where the feed splits on both sides (into a second liquid) is
                // no vapour-liquid boundary: the search names it among the unstable ones.
                ASSERT_EQ(search.points.size() + search.unstable.size(), expected.size())
                    << c.n << " components, beta " << beta << " at " << level.value;
                if (!search.unstable.empty()) {
                    continue;
                }
                for (std::size_t k = 0; k < expected.size(); ++k) {
                    const BoundaryPoint& p = search.points[k];
                    if (level.given == Given::Pressure) {
                        EXPECT_NEAR(p.tempF, expected[k], 0.5) << c.n << " at " << level.value;
                    } else {
                        EXPECT_NEAR(p.pressPsia / expected[k], 1.0, 5e-3)
                            << c.n << " at " << level.value;
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace quorvane::envelope
