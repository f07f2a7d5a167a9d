#pragma once

// The mixture's component storage: up to 25 components, each with its full database row, the
// per-component working arrays and compositions, and the 25 × n interaction table. Every
// per-component array is indexed 0..n-1 in the order the components were added; adding and
// removing keep all of them aligned. A component occurs at most once (by its key, ordinal 0).
//
// The caller owns the recalculation flag: an add that returns Added and every remove change the
// mixture.

#include "data/component_record.h"

#include <array>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

enum class AddComponentResult {
    Added,
    LimitReached,     // already 25 components: show kTooManyComponentsMessage, nothing changed
    AlreadyInMixture, // same key already present: silently nothing changed
};

inline constexpr std::string_view kTooManyComponentsMessage = "Only 25 components are allowed.";
inline constexpr std::string_view kPhysicalPropertiesTitle = "Physical Properties";

// A record that lacks a number in one of the working-array ordinals (2..7, 17) cannot enter the
// mixture: the equation of state could not use it.
class InvalidComponentRecord : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

class MixtureComponents {
public:
    static constexpr int kMaxComponents = 25;
    static constexpr int kInteractionRows = 25;

    int Count() const { return static_cast<int>(m_records.size()); }
    bool Empty() const { return m_records.empty(); }

    // Width of a row (last ordinal), taken from the database; added records shorter than this
    // are padded with empty cells. 0 (the default) keeps every record as it is.
    int RowWidth() const { return m_rowWidth; }
    void SetRowWidth(int width) { m_rowWidth = width; }

    // Adds a copy of the record (a database row) at the end. The working arrays are refilled
    // from the records, the entered composition, feed fractions and interaction table keep
    // their contents and get zeros for the new component, and the liquid, vapour and K arrays
    // are re-created as zeros. Throws InvalidComponentRecord (nothing changed) for a record
    // without the working-array numbers.
    AddComponentResult AddDatabaseComponent(const ComponentRecord& record);

    // True when a component with the record's key (ordinal 0) is in the mixture.
    bool IsComponentInMixture(const ComponentRecord& record) const;

    // Removes component `index`, closing the gap in every per-component array and removing its
    // row and column of the interaction table. Returns false (nothing changed) for an index
    // outside 0..n-1.
    bool RemoveComponent(int index);

    // Empties the mixture (row width kept); the interaction table is left as 25 × 1 zeros.
    void Reset();

    std::span<const ComponentRecord> Records() const { return m_records; }
    const ComponentRecord& Record(int index) const { return m_records.at(index); }
    std::string_view Name(int index) const { return Record(index).Name(); }
    // Index of the component of that name in the mixture (exact match), or -1.
    int IndexOfName(std::string_view name) const;
    // The names and the rows as numbers (NumericCells), in mixture order: the form the property
    // driver takes.
    std::vector<std::string> Names() const;
    std::vector<std::vector<double>> NumericRecords() const;

    // Working arrays (32-bit), from ordinals 2, 3, 4, 5, 6, 7 and 17 of each record.
    std::span<const float> MolecularWeights() const { return m_mw; }
    std::span<const float> CriticalTemperaturesF() const { return m_tcF; }
    std::span<const float> CriticalPressuresPsia() const { return m_pcPsia; }
    std::span<const float> CriticalVolumes() const { return m_vcFt3PerLbmol; }
    std::span<const float> CriticalZ() const { return m_zc; }
    std::span<const float> BoilingPointsF() const { return m_tbF; }
    std::span<const float> AcentricFactors() const { return m_omega; }

    // Compositions: n values each; the values may be written, the length is the mixture's.
    std::span<float> EnteredComposition() { return m_entered; }
    std::span<const float> EnteredComposition() const { return m_entered; }
    std::span<float> FeedMoleFractions() { return m_feed; }
    std::span<const float> FeedMoleFractions() const { return m_feed; }
    std::span<float> LiquidMoleFractions() { return m_liquid; }
    std::span<const float> LiquidMoleFractions() const { return m_liquid; }
    std::span<float> VaporMoleFractions() { return m_vapor; }
    std::span<const float> VaporMoleFractions() const { return m_vapor; }
    std::span<float> KValues() { return m_k; }
    std::span<const float> KValues() const { return m_k; }

    // Interaction table, 25 rows by n columns, indexed (row j, column i); only the n × n corner
    // is used. Kij throws std::out_of_range outside the table.
    float Kij(int row, int column) const;
    void SetKij(int row, int column, float value);
    // Sets kij and kji together (the table is kept symmetric; the diagonal stays as given).
    void SetKijPair(int i, int j, float value);
    // Every parameter back to 0 (the table keeps its 25 × n shape).
    void ClearInteractionTable();
    // The used n × n corner, row-major: element [i·n + j] is Kij(i, j).
    std::vector<float> InteractionMatrix() const;

private:
    using InteractionColumn = std::array<float, kInteractionRows>;

    void RefillWorkingArrays();

    int m_rowWidth = 0;
    std::vector<ComponentRecord> m_records;
    std::vector<float> m_mw, m_tcF, m_pcPsia, m_vcFt3PerLbmol, m_zc, m_tbF, m_omega;
    std::vector<float> m_entered, m_feed, m_liquid, m_vapor, m_k;
    std::vector<InteractionColumn> m_kij{InteractionColumn{}}; // one column per component
};

} // namespace quorvane
