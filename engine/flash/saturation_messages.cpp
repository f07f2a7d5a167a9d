#include "engine/flash/saturation_messages.h"

#include "engine/flash/isothermal_phases.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace quorvane {

namespace {

using envelope::Given;
using envelope::PointQuery;

std::string Format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// The given value as the user typed it: 40, 14.7, 0.97.
std::string AsTyped(double value) {
    return Format("%.7g", value);
}

std::string GivenText(const PointQuery& q) {
    return q.given == Given::Temperature ? AsTyped(q.value) + " °F" : AsTyped(q.value) + " psia";
}

const char* KindName(double beta) {
    return beta == 0.0 ? "bubble point" : beta == 1.0 ? "dew point" : nullptr;
}

// "dew points at 3.197 and 2000.8 psia", "a dew point at 3.197 psia"
std::string ListOf(const char* kind, const envelope::PointSearch& found, bool pressures) {
    std::vector<std::string> values;
    for (const auto& p : found.points) {
        values.push_back(pressures ? FormatPressurePsia(p.pressPsia) : FormatTemperatureF(p.tempF));
    }
    const char* unit = pressures ? " psia" : " °F";
    if (values.size() == 1) {
        return std::string("a ") + kind + " at " + values[0] + unit;
    }
    std::string text = std::string(kind) + "s at ";
    for (std::size_t i = 0; i < values.size(); ++i) {
        text += values[i];
        if (i + 2 < values.size()) {
            text += ", ";
        } else if (i + 2 == values.size()) {
            text += " and ";
        }
    }
    return text + unit;
}

std::string PointText(const envelope::SpecialPoint& p) {
    // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "literal" + string.
    std::string text(1, '(');
    text += FormatTemperatureF(p.tempF);
    text += " °F, ";
    text += FormatPressurePsia(p.pressPsia);
    text += " psia)";
    return text;
}

double LowestPressure(const std::vector<envelope::EnvelopePoint>& branch) {
    double lowest = 1e300;
    for (const auto& p : branch) {
        lowest = std::min(lowest, p.pressPsia);
    }
    return lowest;
}

double LowestTemperature(const std::vector<envelope::EnvelopePoint>& branch) {
    double lowest = 1e300;
    for (const auto& p : branch) {
        lowest = std::min(lowest, p.tempF);
    }
    return lowest;
}

} // namespace

std::string FormatTemperatureF(double tempF) {
    const std::string text = Format("%.1f", tempF);
    return text == "-0.0" ? "0.0" : text;
}

std::string FormatPressurePsia(double pressPsia) {
    if (pressPsia >= 100.0) {
        return Format("%.1f", pressPsia);
    }
    return Format("%.4g", pressPsia);
}

std::string OtherPointMessage(const PointQuery& query, const envelope::BoundaryPoint& other) {
    const char* kind = KindName(query.vapourFraction);
    const std::string value = query.given == Given::Temperature
                                  ? FormatPressurePsia(other.pressPsia) + " psia"
                                  : FormatTemperatureF(other.tempF) + " °F";
    return std::string("This mixture has a second ") + (kind != nullptr ? kind : "such state") +
           " at " + GivenText(query) + ": " + value + ".";
}

std::string NoPointMessage(const envelope::EnvelopeMixture& mixture, std::span<const float> z,
                           const PointQuery& query) {
    const double beta = query.vapourFraction;
    const char* kind = KindName(beta);
    const bool givenT = query.given == Given::Temperature;
    const std::string at = GivenText(query);
    std::string head = kind != nullptr
                           ? std::string("No ") + kind + " at " + at
                           : "No state with vapour fraction " + AsTyped(beta) + " at " + at;
    int present = 0;
    for (const float v : z) {
        present += v > 0.0F ? 1 : 0;
    }
    envelope::EnvelopeOptions options;
    // Low enough that the curves pass below the given value.
    options.startPressPsia = givenT ? envelope::SearchStartPressure(mixture, z, query)
                                    : std::min(10.0, 0.5 * query.value);
    options.largestLnTStep = 0.1;
    options.largestLnPStep = 0.5;
    const envelope::PhaseEnvelope env = envelope::TracePhaseEnvelope(mixture, z, options);
    const envelope::SpecialPoint& c = env.critical;
    if (present == 1) {
        if (c.found) {
            return head + ": the component is above its critical point " + PointText(c) +
                   ", where liquid and vapour are one fluid.";
        }
        return head + ".";
    }

    // Why there is none.
    std::string why;
    const envelope::PointSearch found = envelope::FindPoints(mixture, z, query);
    const std::vector<envelope::EnvelopePoint>& branch = beta == 0.0 ? env.bubble : env.dew;
    const double value = query.value;
    const bool aboveCritical = c.found && (givenT ? value > c.tempF : value > c.pressPsia);
    // A solution of the equations where the feed is not stable tells why only when the
    // envelope's own bounds do not: past them such false solutions are common and say nothing.
    if (givenT && env.cricondentherm.found && value > env.cricondentherm.tempF) {
        why = "above its cricondentherm (" + FormatTemperatureF(env.cricondentherm.tempF) +
              " °F) this mixture is one phase at every pressure";
    } else if (!givenT && env.cricondenbar.found && value > env.cricondenbar.pressPsia) {
        why = "above its cricondenbar (" + FormatPressurePsia(env.cricondenbar.pressPsia) +
              " psia) this mixture is one phase at every temperature";
    } else if (beta == 0.0 && aboveCritical) {
        why = "this mixture's bubble curve ends at its critical point " + PointText(c);
    } else if (beta == 1.0 && aboveCritical) {
        why = "this mixture's dew curve ends at its critical point " + PointText(c);
    } else if (!found.unstable.empty()) {
        const envelope::BoundaryPoint& p = found.unstable.front();
        why = std::string("the ") + (kind != nullptr ? kind : "state") + " equations hold at " +
              (givenT ? FormatPressurePsia(p.pressPsia) + " psia"
                      : FormatTemperatureF(p.tempF) + " °F") +
              ", but the feed is unstable there: " + detail::kSecondLiquidWarning;
    } else if (beta == 0.0 && !givenT && !env.bubble.empty() &&
               value < LowestPressure(env.bubble)) {
        why = "this mixture's bubble pressure stays above " +
              FormatPressurePsia(LowestPressure(env.bubble)) + " psia at every temperature";
    } else if (givenT && kind != nullptr && !branch.empty() && value < LowestTemperature(branch)) {
        why = std::string("this mixture's ") + (beta == 0.0 ? "bubble" : "dew") +
              " curve does not come down to " + at + " at pressures down to " +
              FormatPressurePsia(LowestPressure(branch)) + " psia";
    } else if (kind == nullptr && c.found) {
        why = "the line of that vapour fraction ends at the critical point " + PointText(c) +
              " without passing " + at;
    } else {
        why = "none was found on the phase envelope traced from " +
              FormatPressurePsia(options.startPressPsia) + " psia";
    }

    // What the mixture has there instead.
    std::string instead;
    if (kind != nullptr) {
        PointQuery other = query;
        other.vapourFraction = 1.0 - beta;
        const envelope::PointSearch others = envelope::FindPoints(mixture, z, other);
        if (!others.points.empty()) {
            instead = "; at " + at + " it has " + ListOf(KindName(1.0 - beta), others, givenT);
        }
    }
    return head + ": " + why + instead + ".";
}

} // namespace quorvane
