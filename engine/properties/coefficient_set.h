#pragma once

// A temperature correlation of one pure-component property, as held in eight consecutive
// cells of a component's database row: coefficients A..E, the lowest and highest valid
// temperature (K) and an equation code that selects the form.

#include <cmath>
#include <cstdint>
#include <vector>

namespace quorvane {

// Base ordinals of the coefficient sets in a component's database row.
namespace set_base {
inline constexpr int kVapourPressure = 19;
inline constexpr int kLiquidDensity = 27;
inline constexpr int kLiquidViscosity = 35;
inline constexpr int kVapourViscosity = 43;
inline constexpr int kHeatOfVaporization = 51;
inline constexpr int kLiquidHeatCapacity = 59;
inline constexpr int kIdealGasHeatCapacity = 75;
inline constexpr int kSurfaceTension = 91;
inline constexpr int kLiquidConductivity = 99;
inline constexpr int kVapourConductivity = 107;
} // namespace set_base

// What a set describes; fixes the equation codes it accepts and the conversion of its value
// to internal units.
enum class SetProperty {
    HeatCapacity,        // codes 2, 7; J/(kmol K) -> Btu/(lb-mol R)
    HeatOfVaporization,  // codes 3, 7; J/kmol -> Btu/lb-mol
    LiquidDensity,       // codes 4, 7; kmol/m3 -> lb-mol/ft3
    Viscosity,           // codes 5, 6, 7; Pa s -> cP
    ThermalConductivity, // codes 5, 7; W/(m K) -> Btu/(h ft F)
    SurfaceTension,      // codes 3, 7; N/m
    VapourPressure,      // codes 6, 7; Pa -> psia
};

struct CoefficientSet {
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
    double d = 0.0;
    double e = 0.0;
    double tMinK = 0.0;
    double tMaxK = 0.0;
    double code = 0.0; // held as read; a non-numeric cell is NaN

    // The eight cells starting at `base` of a database row (NaN for a missing cell).
    static CoefficientSet FromRow(const std::vector<double>& row, int base);

    // Every one of the eight cells holds a number.
    [[nodiscard]] bool IsNumeric() const;
    // Numeric and tempK inside the closed range [tMinK, tMaxK].
    [[nodiscard]] bool IsUsableAt(double tempK) const;
    // The equation code as a 16-bit integer (0 when the cell is not numeric).
    [[nodiscard]] std::int16_t Code() const;
};

// The hyperbolic functions of one argument, written out from its exponential: e^x is taken
// once and e^-x as its reciprocal, whichever of them are wanted.
class Hyperbolic {
public:
    explicit Hyperbolic(double x) : m_e(std::exp(x)), m_inverse(1.0 / m_e) {}
    [[nodiscard]] double Sinh() const { return (m_e - m_inverse) / 2.0; }
    [[nodiscard]] double Cosh() const { return (m_e + m_inverse) / 2.0; }
    [[nodiscard]] double Tanh() const { return (m_e - m_inverse) / (m_e + m_inverse); }
    [[nodiscard]] double Coth() const { return (m_e + m_inverse) / (m_e - m_inverse); }

private:
    double m_e;
    double m_inverse;
};

double Sinh(double x);
double Cosh(double x);
double Tanh(double x);
double Coth(double x);

// The code-2 heat-capacity form A + B·((C/T)/sinh(C/T))² + D·((E/T)/cosh(E/T))² from the
// hyperbolic functions of x = C/T and y = E/T.
inline double HyperbolicHeatCapacity(const CoefficientSet& set, double x, const Hyperbolic& hx,
                                     double y, const Hyperbolic& hy) {
    const double first = x / hx.Sinh();
    const double second = y / hy.Cosh();
    return set.a + set.b * first * first + set.d * second * second;
}

// base^exponent for a whole exponent, by repeated squaring.
double WholePower(double base, unsigned exponent);

// Temperature conversions used by the correlations.
constexpr double FahrenheitToKelvin(double tempF) {
    return (tempF - 32.0) / 1.8 + 273.15;
}
constexpr double FahrenheitToRankine(double tempF) {
    return tempF + 459.67;
}

// Whether the property takes sets of that equation code (see SetProperty).
bool AcceptsCode(SetProperty property, int code);

// A temperature (K) at which sets are evaluated, with its logarithm, which form 6 reads: taken
// once for every set evaluated at that temperature.
struct SetTemperature {
    double kelvin = 0.0;
    double log = 0.0;
    [[nodiscard]] static SetTemperature At(double kelvin) { return {kelvin, std::log(kelvin)}; }
};

// The value of the set's equation form at tempK, converted to internal units (see
// SetProperty); tcK is the component's critical temperature, used by the reduced-temperature
// form 3. 0 when the code is not one the property accepts.
double EvaluateSet(const CoefficientSet& set, SetProperty property, double tempK, double tcK);

// A coefficient set with its checks made once: whether every cell is a number, and its code.
struct PreparedSet {
    CoefficientSet set;
    bool numeric = false;
    std::int16_t code = 0;

    PreparedSet() = default;
    explicit PreparedSet(const CoefficientSet& cells)
        : set(cells), numeric(cells.IsNumeric()), code(cells.Code()) {}
    // As CoefficientSet::IsUsableAt.
    [[nodiscard]] bool UsableAt(double tempK) const {
        return numeric && tempK >= set.tMinK && tempK <= set.tMaxK;
    }
};

// EvaluateSet of a prepared set at a temperature whose logarithm is known.
double EvaluateSet(const PreparedSet& set, SetProperty property, const SetTemperature& t,
                   double tcK);

} // namespace quorvane
