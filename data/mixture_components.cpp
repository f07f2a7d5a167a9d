#include "data/mixture_components.h"

#include "common/precision.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace quorvane {

namespace {

constexpr int kWorkingOrdinals[] = {ordinal::kMolecularWeight,  ordinal::kCriticalTemperature,
                                    ordinal::kCriticalPressure, ordinal::kCriticalVolume,
                                    ordinal::kCriticalZ,        ordinal::kNormalBoilingPoint,
                                    ordinal::kAcentricFactor};

float WorkingValue(const ComponentRecord& record, int ord) {
    // Checked on add, so every working ordinal holds a finite number here.
    return ToSingle(*record.Number(ord));
}

template <typename T>
void EraseAt(std::vector<T>& values, int index) {
    values.erase(values.begin() + index);
}

} // namespace

AddComponentResult MixtureComponents::AddDatabaseComponent(const ComponentRecord& record) {
    if (Count() >= kMaxComponents) {
        return AddComponentResult::LimitReached;
    }
    if (IsComponentInMixture(record)) {
        return AddComponentResult::AlreadyInMixture;
    }
    for (int ord : kWorkingOrdinals) {
        const std::optional<double> value = record.Number(ord);
        if (!value || !std::isfinite(*value)) {
            throw InvalidComponentRecord("component \"" + std::string(record.Name()) +
                                         "\" has no number at ordinal " + std::to_string(ord));
        }
    }

    ComponentRecord copy = record;
    if (m_rowWidth > copy.Width()) {
        copy.cells.resize(static_cast<std::size_t>(m_rowWidth) + 1);
    }
    m_records.push_back(std::move(copy));
    const auto n = static_cast<std::size_t>(Count());

    m_entered.resize(n, 0.0f);
    m_feed.resize(n, 0.0f);
    m_kij.resize(n, InteractionColumn{});
    m_liquid.assign(n, 0.0f);
    m_vapor.assign(n, 0.0f);
    m_k.assign(n, 0.0f);
    RefillWorkingArrays();
    return AddComponentResult::Added;
}

bool MixtureComponents::IsComponentInMixture(const ComponentRecord& record) const {
    const ComponentCell& key = record.Cell(ordinal::kKey);
    return std::any_of(m_records.begin(), m_records.end(),
                       [&](const ComponentRecord& r) { return r.Cell(ordinal::kKey) == key; });
}

bool MixtureComponents::RemoveComponent(int index) {
    if (index < 0 || index >= Count()) {
        return false;
    }
    if (Count() == 1) {
        Reset();
        return true;
    }
    EraseAt(m_records, index);
    for (auto* values : {&m_mw, &m_tcF, &m_pcPsia, &m_vcFt3PerLbmol, &m_zc, &m_tbF, &m_omega,
                         &m_entered, &m_feed, &m_liquid, &m_vapor, &m_k}) {
        EraseAt(*values, index);
    }
    // Its column goes, and in every other column the rows below it move up one place.
    EraseAt(m_kij, index);
    for (InteractionColumn& column : m_kij) {
        std::copy(column.begin() + index + 1, column.end(), column.begin() + index);
        column.back() = 0.0f;
    }
    return true;
}

void MixtureComponents::Reset() {
    m_records.clear();
    for (auto* values : {&m_mw, &m_tcF, &m_pcPsia, &m_vcFt3PerLbmol, &m_zc, &m_tbF, &m_omega,
                         &m_entered, &m_feed, &m_liquid, &m_vapor, &m_k}) {
        values->clear();
    }
    m_kij.assign(1, InteractionColumn{});
}

int MixtureComponents::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i) {
        if (Name(i) == name) {
            return i;
        }
    }
    return -1;
}

std::vector<std::string> MixtureComponents::Names() const {
    std::vector<std::string> names;
    names.reserve(m_records.size());
    for (const ComponentRecord& record : m_records) {
        names.emplace_back(record.Name());
    }
    return names;
}

std::vector<std::vector<double>> MixtureComponents::NumericRecords() const {
    std::vector<std::vector<double>> rows;
    rows.reserve(m_records.size());
    for (const ComponentRecord& record : m_records) {
        rows.push_back(NumericCells(record));
    }
    return rows;
}

float MixtureComponents::Kij(int row, int column) const {
    if (row < 0 || row >= kInteractionRows || column < 0 ||
        column >= static_cast<int>(m_kij.size())) {
        throw std::out_of_range("no interaction parameter (" + std::to_string(row) + ", " +
                                std::to_string(column) + ")");
    }
    return m_kij[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
}

void MixtureComponents::SetKij(int row, int column, float value) {
    (void)Kij(row, column); // bounds check
    m_kij[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] = value;
}

void MixtureComponents::SetKijPair(int i, int j, float value) {
    SetKij(i, j, value);
    SetKij(j, i, value);
}

void MixtureComponents::ClearInteractionTable() {
    for (InteractionColumn& column : m_kij) {
        column.fill(0.0f);
    }
}

std::vector<float> MixtureComponents::InteractionMatrix() const {
    const int n = Count();
    std::vector<float> matrix(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            matrix[static_cast<std::size_t>(i * n + j)] = Kij(i, j);
        }
    }
    return matrix;
}

void MixtureComponents::RefillWorkingArrays() {
    std::vector<float>* arrays[] = {&m_mw, &m_tcF, &m_pcPsia, &m_vcFt3PerLbmol,
                                    &m_zc, &m_tbF, &m_omega};
    for (std::size_t a = 0; a < std::size(arrays); ++a) {
        arrays[a]->clear();
        for (const ComponentRecord& record : m_records) {
            arrays[a]->push_back(WorkingValue(record, kWorkingOrdinals[a]));
        }
    }
}

} // namespace quorvane
