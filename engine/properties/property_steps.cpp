#include "engine/properties/property_steps.h"

#include <cstdio>

namespace quorvane::property_steps {

namespace {

std::string Kelvin(double tempK) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f K", tempK);
    return text;
}

std::string NameOf(const Inputs& in, std::size_t i) {
    const std::string_view name = in.Name(i);
    return name.empty() ? "component " + std::to_string(i + 1) : std::string(name);
}

} // namespace

std::string SetNote(const Inputs& in, std::size_t i, const PreparedSet& prepared,
                    SetProperty property, std::string_view what) {
    const CoefficientSet& set = prepared.set;
    const std::string name = NameOf(in, i);
    const std::string coefficients = "the " + std::string(what) + " coefficients of " + name;
    if (!prepared.numeric) {
        return name + " has no complete " + std::string(what) +
               " coefficient set in its component data";
    }
    if (!AcceptsCode(property, prepared.code)) {
        return coefficients + " have equation code " + std::to_string(prepared.code) +
               ", which this property does not take";
    }
    std::string note = coefficients + " give no value at " + Kelvin(in.tempK);
    if (in.tempK < set.tMinK || in.tempK > set.tMaxK) {
        note += ", outside their range " + Kelvin(set.tMinK) + " to " + Kelvin(set.tMaxK);
    }
    return note;
}

std::string EstimateNote(const Inputs& in, std::size_t i, std::string_view what,
                         bool needsBoilingPoint) {
    const std::string name = NameOf(in, i);
    if (needsBoilingPoint && !std::isfinite(in.boilingF[i])) {
        return "the " + std::string(what) + " of " + name +
               " needs its normal boiling point, which its component data lack";
    }
    return "the " + std::string(what) + " gives " + name + " no value at " + Kelvin(in.tempK);
}

std::string MissingDataNote(const Inputs& in, std::size_t i, std::string_view what) {
    return NameOf(in, i) + " has no " + std::string(what) + " in its component data";
}

double SetValue(const Inputs& in, std::size_t i, const PreparedSet& set, SetProperty property) {
    if (!AcceptsCode(property, set.code)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return EvaluateSet(set, property, in.setTemperature, FahrenheitToKelvin(in.flash->tcF[i]));
}

} // namespace quorvane::property_steps
