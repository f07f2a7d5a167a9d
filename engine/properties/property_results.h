#pragma once

// The mixture-property results of feed, vapour and liquid after a flash, and which of them
// apply. The values are kept in internal units; formatting and display belong to the caller.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorvane {

enum class Stream : int { Feed = 0, Vapour = 1, Liquid = 2 };

// Every value the results can report.
enum class Quantity {
    MolecularWeight,           // lb/lb-mol
    PseudoCriticalVolume,      // ft3/lb-mol
    PseudoCriticalTemperature, // F
    PseudoCriticalPressure,    // psia
    Compressibility,           // Z
    MolarDensity,              // lb-mol/ft3
    HeatOfVaporization,        // Btu/lb-mol, liquid only
    HeatCapacity,              // Cp, Btu/(lb-mol R)
    Enthalpy,                  // Btu/lb-mol
    Entropy,                   // Btu/(lb-mol R)
    HeatCapacityRatio,         // Cp/Cv
    JouleThomson,              // R/psia, vapour and liquid
    SoundSpeed,                // ft/s, vapour and liquid
    Viscosity,                 // cP, vapour and liquid
    ThermalConductivity,       // Btu/(h ft F), vapour and liquid
    SurfaceTension,            // N/m, liquid only
    ResidualEnthalpy,          // H - H(ideal gas), Btu/lb-mol
    ResidualEntropy,           // S - S(ideal gas, same T and P), Btu/(lb-mol R)
    ResidualHeatCapacity,      // Cp - Cp(ideal gas) of the equation of state, Btu/(lb-mol R)
};

inline constexpr std::size_t kQuantityCount = 19;

// The values a caller may ask for, in groups; a calculation computes the groups asked for
// (and what they are made from) and no other.
enum class PropertyGroup : unsigned {
    PseudoCritical = 1U << 0, // molecular weight and the pseudo-critical constants
    Density = 1U << 1,        // compressibility factor and molar density
    Thermal = 1U << 2,        // Cp, H, S, Cp/Cv, Joule-Thomson, sound, heat of vaporization,
                              // the departures
    Transport = 1U << 3,      // viscosity and thermal conductivity
    SurfaceTension = 1U << 4, // surface tension
};

inline constexpr std::size_t kPropertyGroupCount = 5;

// The group a quantity belongs to.
PropertyGroup GroupOf(Quantity quantity);

// A set of property groups.
class PropertySelection {
public:
    constexpr PropertySelection() = default;
    [[nodiscard]] static constexpr PropertySelection All() { return PropertySelection(kAll); }
    [[nodiscard]] static constexpr PropertySelection None() { return PropertySelection(0); }

    constexpr void Add(PropertyGroup group) { m_mask |= static_cast<unsigned>(group); }
    [[nodiscard]] constexpr bool Has(PropertyGroup group) const {
        return (m_mask & static_cast<unsigned>(group)) != 0;
    }
    [[nodiscard]] bool Has(Quantity quantity) const { return Has(GroupOf(quantity)); }
    [[nodiscard]] constexpr bool Empty() const { return m_mask == 0; }
    constexpr bool operator==(const PropertySelection&) const = default;

private:
    static constexpr unsigned kAll = (1U << kPropertyGroupCount) - 1;
    explicit constexpr PropertySelection(unsigned mask) : m_mask(mask) {}
    unsigned m_mask = kAll;
};

// Why a value of the last calculation is missing, said for the user ("the ideal-gas
// heat-capacity coefficients of METHANE give no value at 12.0 K ...").
struct PropertyNote {
    Quantity quantity;
    Stream stream;
    std::string text;
};

// The equation-of-state departures of one stream (the feed's are the vapour-fraction weighted
// values of its phases).
struct ResidualProperties {
    double enthalpy = 0.0;
    double entropy = 0.0;
    double heatCapacity = 0.0;
};

// Number of values of the stored record (molecular weight through surface tension), the
// block case files keep.
inline constexpr std::size_t kStoredResultCount = 30;

struct PropertyResults {
    // The stored record, in its order. Arrays of three: feed, vapour, liquid; arrays of two:
    // vapour, liquid.
    std::array<float, 3> molecularWeight{};
    std::array<float, 3> pseudoCriticalVolume{};
    std::array<float, 3> pseudoCriticalTempF{};
    std::array<float, 3> pseudoCriticalPressPsia{};
    std::array<float, 3> molarDensity{};
    float heatOfVaporization = 0.0F;
    std::array<float, 3> heatCapacity{};
    std::array<float, 3> enthalpy{};
    std::array<float, 3> entropy{};
    std::array<float, 2> viscosity{};
    std::array<float, 2> thermalConductivity{};
    float surfaceTension = 0.0F;
    std::array<float, 2> jouleThomson{};
    std::array<float, 2> soundSpeed{};

    // Beside the record: Z of feed, vapour and liquid (the last two as the flash left them),
    // the heat-capacity ratios and the departures.
    std::array<float, 3> compressibility{};
    std::array<float, 3> heatCapacityRatio{};
    std::array<ResidualProperties, 3> residual{};

    // Which streams the last calculation describes. A field of an absent phase keeps the value
    // of an earlier calculation and must not be shown.
    bool calculated = false;
    bool vapourPresent = false;
    bool liquidPresent = false;

    // Which values the last calculation computed. A statement that fails keeps its field's
    // earlier value (the calculation goes on with it), so a field alone does not say whether
    // its number belongs to this calculation; Value() reports only the values marked here.
    // BeginCalculation clears the marks and the notes; the property driver marks each value it
    // computes from this calculation's numbers alone, and notes why a value is missing where
    // there is a reason worth telling.
    void BeginCalculation();
    // Every field back to the value of a new record (0) and nothing computed; the storage of
    // the notes is kept. A record used for one calculation after another starts each from the
    // same numbers so.
    void Clear();
    void MarkComputed(Quantity quantity, Stream stream);
    [[nodiscard]] bool Computed(Quantity quantity, Stream stream) const;
    // Adds a note to the value (a note it already has is not repeated).
    void AddNote(Quantity quantity, Stream stream, std::string text);
    [[nodiscard]] const std::vector<PropertyNote>& Notes() const { return m_notes; }
    // The notes of one value, in the order they were added.
    [[nodiscard]] std::vector<std::string> NotesOf(Quantity quantity, Stream stream) const;

    // A record whose every field is unset (NaN) and whose values count as not computed, so
    // that a field a calculation steps over holds no number either. (What is reported follows
    // the computed marks whatever the fields hold; the main window keeps one record across
    // calculations.)
    [[nodiscard]] static PropertyResults Unset();

    [[nodiscard]] bool IsPresent(Stream stream) const;
    // Whether the quantity is defined for the stream at all (the feed has no transport
    // properties, only the liquid a heat of vaporization and a surface tension).
    [[nodiscard]] static bool Applies(Quantity quantity, Stream stream);
    // The value, or nothing when the quantity does not apply to the stream, the stream is
    // absent, the last calculation did not compute it, or it is unset (not a finite number).
    [[nodiscard]] std::optional<double> Value(Quantity quantity, Stream stream) const;

    // The thirty stored values in record order, and back. Values set from a record count as
    // computed (the record holds the results of a completed calculation).
    [[nodiscard]] std::array<float, kStoredResultCount> StoredRecord() const;
    void SetStoredRecord(std::span<const float, kStoredResultCount> values);

private:
    // The field that holds the quantity of the stream (only called where it applies).
    [[nodiscard]] double StoredValue(Quantity quantity, Stream stream) const;

    std::array<std::array<bool, 3>, kQuantityCount> m_computed{};
    std::vector<PropertyNote> m_notes;
};

} // namespace quorvane
