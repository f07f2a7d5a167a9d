#include "engine/properties/coefficient_set.h"

#include <cmath>
#include <limits>

namespace quorvane {

namespace {

double Cell(const std::vector<double>& row, int ordinal) {
    if (ordinal < 0 || static_cast<std::size_t>(ordinal) >= row.size()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return row[static_cast<std::size_t>(ordinal)];
}

} // namespace

bool AcceptsCode(SetProperty property, int code) {
    switch (property) {
    case SetProperty::HeatCapacity:
        return code == 2 || code == 7;
    case SetProperty::HeatOfVaporization:
    case SetProperty::SurfaceTension:
        return code == 3 || code == 7;
    case SetProperty::LiquidDensity:
        return code == 4 || code == 7;
    case SetProperty::Viscosity:
        return code == 5 || code == 6 || code == 7;
    case SetProperty::ThermalConductivity:
        return code == 5 || code == 7;
    case SetProperty::VapourPressure:
        return code == 6 || code == 7;
    }
    return false;
}

namespace {

// Conversion of each property's set value (SI, kmol basis) to internal units.
double ToInternalUnits(SetProperty property, double value) {
    switch (property) {
    case SetProperty::HeatCapacity:
        return value * 0.000239044; // J/(kmol K) -> Btu/(lb-mol R)
    case SetProperty::HeatOfVaporization:
        return value * 0.000430278; // J/kmol -> Btu/lb-mol
    case SetProperty::LiquidDensity:
        return value * 0.062428181; // kmol/m3 -> lb-mol/ft3
    case SetProperty::Viscosity:
        return value * 1000.0; // Pa s -> cP
    case SetProperty::ThermalConductivity:
        return value * 0.57826656; // W/(m K) -> Btu/(h ft F)
    case SetProperty::SurfaceTension:
        return value; // N/m
    case SetProperty::VapourPressure:
        return value / 6894.757293; // Pa -> psia
    }
    return 0.0;
}

// The raw value of the set's equation form (0 for a code the property does not accept).
double EvaluateSetForm(const CoefficientSet& set, int code, SetProperty property,
                       const SetTemperature& temp, double tcK) {
    if (!AcceptsCode(property, code)) {
        return 0.0;
    }
    const double t = temp.kelvin;
    switch (code) {
    case 2: {
        const double x = set.c / t;
        const double y = set.e / t;
        return HyperbolicHeatCapacity(set, x, Hyperbolic(x), y, Hyperbolic(y));
    }
    case 3: {
        const double tr = t / tcK;
        return set.a *
               std::pow(1.0 - tr, set.b + set.c * tr + set.d * tr * tr + set.e * tr * tr * tr);
    }
    case 4:
        return set.a / std::pow(set.b, 1.0 + std::pow(1.0 - t / set.c, set.d));
    case 5:
        return set.a * std::pow(t, set.b) / (1.0 + set.c / t + set.d / (t * t));
    case 6: {
        // The exponent E is a whole number in the published sets: its power is then a product.
        const bool whole = set.e >= 0.0 && set.e <= 16.0 && set.e == std::floor(set.e);
        const double power =
            whole ? WholePower(t, static_cast<unsigned>(set.e)) : std::pow(t, set.e);
        return std::exp(set.a + set.b / t + set.c * temp.log + set.d * power);
    }
    case 7:
        return set.a + t * (set.b + t * (set.c + t * (set.d + t * set.e)));
    default:
        return 0.0;
    }
}

} // namespace

CoefficientSet CoefficientSet::FromRow(const std::vector<double>& row, int base) {
    return CoefficientSet{Cell(row, base),     Cell(row, base + 1), Cell(row, base + 2),
                          Cell(row, base + 3), Cell(row, base + 4), Cell(row, base + 5),
                          Cell(row, base + 6), Cell(row, base + 7)};
}

bool CoefficientSet::IsNumeric() const {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) &&
           std::isfinite(e) && std::isfinite(tMinK) && std::isfinite(tMaxK) && std::isfinite(code);
}

bool CoefficientSet::IsUsableAt(double tempK) const {
    return IsNumeric() && tempK >= tMinK && tempK <= tMaxK;
}

std::int16_t CoefficientSet::Code() const {
    if (!std::isfinite(code) || code < -32768.0 || code > 32767.0) {
        return 0;
    }
    return static_cast<std::int16_t>(std::lround(code));
}

double Sinh(double x) {
    return Hyperbolic(x).Sinh();
}

double Cosh(double x) {
    return Hyperbolic(x).Cosh();
}

double Tanh(double x) {
    return Hyperbolic(x).Tanh();
}

double Coth(double x) {
    return Hyperbolic(x).Coth();
}

double WholePower(double base, unsigned exponent) {
    double result = 1.0;
    double square = base;
    while (exponent != 0) {
        if ((exponent & 1U) != 0) {
            result *= square;
        }
        exponent >>= 1U;
        if (exponent != 0) {
            square *= square;
        }
    }
    return result;
}

double EvaluateSet(const CoefficientSet& set, SetProperty property, double tempK, double tcK) {
    const int code = set.Code();
    const SetTemperature t{tempK, code == 6 ? std::log(tempK) : 0.0};
    return ToInternalUnits(property, EvaluateSetForm(set, code, property, t, tcK));
}

double EvaluateSet(const PreparedSet& set, SetProperty property, const SetTemperature& t,
                   double tcK) {
    return ToInternalUnits(property, EvaluateSetForm(set.set, set.code, property, t, tcK));
}

} // namespace quorvane
