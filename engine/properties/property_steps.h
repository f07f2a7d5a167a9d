#pragma once

// What the steps of the property driver share: the inputs they read, gathered once, the
// skippable statement and the per-component rule "coefficient set when usable, else the
// generalized estimate". Internal to the mixture-property library.

#include "common/precision.h"
#include "engine/eos/engine_errors.h"
#include "engine/flash/flash_case.h"
#include "engine/properties/coefficient_set.h"
#include "engine/properties/departures.h"
#include "engine/properties/property_components.h"
#include "engine/properties/property_results.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace quorvane::property_steps {

// Stream indices of the three-stream arrays, and of the vapour and liquid in the two-stream
// arrays.
inline constexpr std::size_t kFeed = 0;
inline constexpr std::size_t kVapour = 1;
inline constexpr std::size_t kLiquid = 2;
inline constexpr std::size_t kVapourOnly = 0;
inline constexpr std::size_t kLiquidOnly = 1;

// One statement of the protected part of the calculation: the target takes the computed value
// only when it is finite (after narrowing to the target's storage, 32 bits for a stored
// result); otherwise it keeps its previous value. A root-finder failure counts as a failed
// statement. Returns whether the target took the value.
template <typename Target, typename Compute>
bool Store(Target& target, Compute&& compute) {
    static_assert(std::is_same_v<Target, float> || std::is_same_v<Target, double>);
    double value = std::numeric_limits<double>::quiet_NaN();
    try {
        value = compute();
    } catch (const EngineError&) {
        return false;
    }
    Target narrowed{};
    if constexpr (std::is_same_v<Target, float>) {
        narrowed = ToSingle(value);
    } else {
        narrowed = value;
    }
    if (!std::isfinite(narrowed)) {
        return false;
    }
    target = narrowed;
    return true;
}

// The components whose entry of one per-component array failed in this calculation, each with
// the note that says why. The array's entry keeps its earlier value; a result made from it is
// not this calculation's.
class ComponentGaps {
public:
    explicit ComponentGaps(std::size_t n = 0) : m_size(n) {}
    void Fail(std::size_t i, std::string note) { m_notes.at(i) = std::move(note); }
    void Clear(std::size_t i) { m_notes.at(i).reset(); }
    [[nodiscard]] bool Failed(std::size_t i) const { return m_notes.at(i).has_value(); }
    [[nodiscard]] const std::string& NoteOf(std::size_t i) const { return *m_notes.at(i); }
    [[nodiscard]] std::size_t Size() const { return m_size; }

private:
    std::size_t m_size;
    std::array<std::optional<std::string>, kMaxComponents> m_notes;
};

// A per-component array of one calculation (n entries used).
template <typename T>
class ComponentValues {
public:
    explicit ComponentValues(std::size_t n, T value = T{}) : m_size(n) { m_values.fill(value); }
    T& operator[](std::size_t i) { return m_values[i]; }
    const T& operator[](std::size_t i) const { return m_values[i]; }
    [[nodiscard]] std::span<const T> Span() const { return {m_values.data(), m_size}; }
    [[nodiscard]] std::span<T> Span() { return {m_values.data(), m_size}; }
    [[nodiscard]] std::size_t Size() const { return m_size; }

private:
    std::size_t m_size;
    std::array<T, kMaxComponents> m_values;
};

// What a result is made from that this calculation did not compute: failed component entries
// and earlier results, with their notes.
class Shortfall {
public:
    Shortfall& Add(const ComponentGaps& gaps) {
        for (std::size_t i = 0; i < gaps.Size(); ++i) {
            if (gaps.Failed(i)) {
                Missing({gaps.NoteOf(i)});
            }
        }
        return *this;
    }
    // An earlier result of stream index 0 feed, 1 vapour, 2 liquid.
    Shortfall& Add(const PropertyResults& r, Quantity quantity, std::size_t stream) {
        const auto s = static_cast<Stream>(stream);
        if (!r.Computed(quantity, s)) {
            Missing(r.NotesOf(quantity, s));
        }
        return *this;
    }
    // Only when `when` holds (the input of a phase that is present).
    Shortfall& AddIf(bool when, const PropertyResults& r, Quantity quantity, std::size_t stream) {
        return when ? Add(r, quantity, stream) : *this;
    }
    [[nodiscard]] bool Any() const { return m_any; }
    [[nodiscard]] const std::vector<std::string>& Notes() const { return m_notes; }

private:
    void Missing(const std::vector<std::string>& notes) {
        m_any = true;
        m_notes.insert(m_notes.end(), notes.begin(), notes.end());
    }
    bool m_any = false;
    std::vector<std::string> m_notes;
};

// Records what a result statement gave: the value is this calculation's when it was stored and
// nothing it was made from is missing; otherwise it carries the notes of what is missing.
inline void Settle(PropertyResults& r, Quantity quantity, std::size_t stream, bool stored,
                   const Shortfall& from) {
    const auto s = static_cast<Stream>(stream);
    if (stored && !from.Any()) {
        r.MarkComputed(quantity, s);
        return;
    }
    for (const std::string& note : from.Notes()) {
        r.AddNote(quantity, s, note);
    }
}

// One result statement: Store, then Settle.
template <typename Target, typename Compute>
void Put(PropertyResults& r, Quantity quantity, std::size_t stream, Target& target,
         Compute&& compute, const Shortfall& from = {}) {
    Settle(r, quantity, stream, Store(target, std::forward<Compute>(compute)), from);
}

// Everything the steps read, gathered once.
struct Inputs {
    std::size_t n = 0;
    const FlashCase* flash = nullptr;
    const PropertyComponents* components = nullptr;
    PropertySelection selection;
    EosChoice eos; // the case's equation of state, as the flash reads it
    KijView kij;   // the interaction parameters the flash used
    double tempF = 0.0;
    double tempK = 0.0;
    SetTemperature setTemperature; // T (K) with its logarithm, for the coefficient sets
    double pressPsia = 0.0;
    double v = 0.0;
    bool vapour = false;              // present: v != 0
    bool liquid = false;              // present: v != 1
    std::span<const float> molWeight; // working arrays of 32-bit values
    std::span<const float> boilingF;

    [[nodiscard]] const PropertyComponent& Component(std::size_t i) const {
        return (*components)[i];
    }
    [[nodiscard]] const PreparedSet& Set(std::size_t i, SetKind kind) const {
        return Component(i).Set(kind);
    }
    [[nodiscard]] std::string_view Name(std::size_t i) const { return Component(i).name; }
    // The first n entries of a per-component array of the flash case.
    [[nodiscard]] std::span<const float> Of(const std::vector<float>& values) const {
        return std::span<const float>(values.data(), n);
    }
    [[nodiscard]] PhaseCondition Phase(std::span<const float> composition, double z) const {
        PhaseCondition phase;
        phase.equation = eos.equation;
        phase.variant = eos.variant;
        phase.tempF = flash->tempF;
        phase.pressPsia = flash->pressPsia;
        phase.x = composition;
        phase.z = z;
        phase.tcF = Of(flash->tcF);
        phase.pcPsia = Of(flash->pcPsia);
        phase.w = Of(flash->w);
        phase.kij = kij;
        return phase;
    }
};

// Why component i's coefficient set (named by `what`, "ideal-gas heat-capacity") gave no
// value at the calculation's temperature: it is incomplete, its equation code is not one the
// property takes, T lies outside its range, or its value is not a number.
std::string SetNote(const Inputs& in, std::size_t i, const PreparedSet& set, SetProperty property,
                    std::string_view what);
// Why a generalized estimate (named by `what`, "Yoon-Thodos viscosity estimate") gave component
// i no value; `needsBoilingPoint` when it starts from the normal boiling point.
std::string EstimateNote(const Inputs& in, std::size_t i, std::string_view what,
                         bool needsBoilingPoint = false);
// Component i lacks a value (named by `what`, "reference enthalpy") in its component data.
std::string MissingDataNote(const Inputs& in, std::size_t i, std::string_view what);

// One per-component statement: Store, and a failure is noted in `gaps` (why() makes the note);
// an entry stored anew is this calculation's again.
template <typename Target, typename Compute, typename Why>
void StoreComponent(Target& target, ComponentGaps& gaps, std::size_t i, Compute&& compute,
                    Why&& why) {
    if (Store(target, std::forward<Compute>(compute))) {
        gaps.Clear(i);
    } else {
        gaps.Fail(i, why());
    }
}

// The value of a coefficient set at T in internal units; not a number when the set's code is
// not one the property takes (the set cannot describe it).
double SetValue(const Inputs& in, std::size_t i, const PreparedSet& set, SetProperty property);

// Per component: the value of its coefficient set of that kind when the set is usable at T,
// otherwise estimate(i), which stores its own value into values[i] (or leaves it) and notes its
// own failure in gaps. Each component's value is one skippable statement. `what` names the set
// in notes.
template <typename Estimate>
void FromSetOrEstimate(const Inputs& in, SetKind kind, SetProperty property, std::string_view what,
                       ComponentValues<float>& values, ComponentGaps& gaps, Estimate&& estimate) {
    for (std::size_t i = 0; i < in.n; ++i) {
        const PreparedSet& set = in.Set(i, kind);
        if (set.UsableAt(in.tempK)) {
            StoreComponent(
                values[i], gaps, i, [&] { return SetValue(in, i, set, property); },
                [&] { return SetNote(in, i, set, property, what); });
        } else {
            estimate(i);
        }
    }
}

} // namespace quorvane::property_steps
