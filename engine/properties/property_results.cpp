#include "engine/properties/property_results.h"

#include <cmath>
#include <limits>
#include <utility>

namespace quorvane {

namespace {

std::size_t StreamIndex(Stream stream) {
    return static_cast<std::size_t>(stream);
}

// Index into the vapour/liquid arrays (only called for those streams).
std::size_t PhaseIndex(Stream stream) {
    return stream == Stream::Vapour ? 0 : 1;
}

std::optional<double> Finite(double value) {
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace

PropertyGroup GroupOf(Quantity quantity) {
    switch (quantity) {
    case Quantity::MolecularWeight:
    case Quantity::PseudoCriticalVolume:
    case Quantity::PseudoCriticalTemperature:
    case Quantity::PseudoCriticalPressure:
        return PropertyGroup::PseudoCritical;
    case Quantity::Compressibility:
    case Quantity::MolarDensity:
        return PropertyGroup::Density;
    case Quantity::Viscosity:
    case Quantity::ThermalConductivity:
        return PropertyGroup::Transport;
    case Quantity::SurfaceTension:
        return PropertyGroup::SurfaceTension;
    case Quantity::HeatOfVaporization:
    case Quantity::HeatCapacity:
    case Quantity::Enthalpy:
    case Quantity::Entropy:
    case Quantity::HeatCapacityRatio:
    case Quantity::JouleThomson:
    case Quantity::SoundSpeed:
    case Quantity::ResidualEnthalpy:
    case Quantity::ResidualEntropy:
    case Quantity::ResidualHeatCapacity:
        break;
    }
    return PropertyGroup::Thermal;
}

PropertyResults PropertyResults::Unset() {
    constexpr float kUnset = std::numeric_limits<float>::quiet_NaN();
    PropertyResults results;
    std::array<float, kStoredResultCount> record{};
    record.fill(kUnset);
    results.SetStoredRecord(record);
    results.jouleThomson.fill(kUnset);
    results.soundSpeed.fill(kUnset);
    results.compressibility.fill(kUnset);
    results.heatCapacityRatio.fill(kUnset);
    const double unsetResidual = std::numeric_limits<double>::quiet_NaN();
    results.residual.fill({unsetResidual, unsetResidual, unsetResidual});
    results.BeginCalculation();
    return results;
}

void PropertyResults::Clear() {
    PropertyResults fresh;
    fresh.m_notes.swap(m_notes);
    fresh.m_notes.clear();
    *this = std::move(fresh);
}

void PropertyResults::BeginCalculation() {
    calculated = false;
    m_computed = {};
    m_notes.clear();
}

void PropertyResults::MarkComputed(Quantity quantity, Stream stream) {
    m_computed[static_cast<std::size_t>(quantity)][StreamIndex(stream)] = true;
}

bool PropertyResults::Computed(Quantity quantity, Stream stream) const {
    return m_computed[static_cast<std::size_t>(quantity)][StreamIndex(stream)];
}

void PropertyResults::AddNote(Quantity quantity, Stream stream, std::string text) {
    for (const PropertyNote& note : m_notes) {
        if (note.quantity == quantity && note.stream == stream && note.text == text) {
            return;
        }
    }
    m_notes.push_back(PropertyNote{quantity, stream, std::move(text)});
}

std::vector<std::string> PropertyResults::NotesOf(Quantity quantity, Stream stream) const {
    std::vector<std::string> texts;
    for (const PropertyNote& note : m_notes) {
        if (note.quantity == quantity && note.stream == stream) {
            texts.push_back(note.text);
        }
    }
    return texts;
}

bool PropertyResults::IsPresent(Stream stream) const {
    if (!calculated) {
        return false;
    }
    switch (stream) {
    case Stream::Feed:
        return true;
    case Stream::Vapour:
        return vapourPresent;
    case Stream::Liquid:
        return liquidPresent;
    }
    return false;
}

bool PropertyResults::Applies(Quantity quantity, Stream stream) {
    switch (quantity) {
    case Quantity::HeatOfVaporization:
    case Quantity::SurfaceTension:
        return stream == Stream::Liquid;
    case Quantity::JouleThomson:
    case Quantity::SoundSpeed:
    case Quantity::Viscosity:
    case Quantity::ThermalConductivity:
        return stream != Stream::Feed;
    default:
        return true;
    }
}

std::optional<double> PropertyResults::Value(Quantity quantity, Stream stream) const {
    if (!Applies(quantity, stream) || !IsPresent(stream) || !Computed(quantity, stream)) {
        return std::nullopt;
    }
    return Finite(StoredValue(quantity, stream));
}

double PropertyResults::StoredValue(Quantity quantity, Stream stream) const {
    const std::size_t s = StreamIndex(stream);
    switch (quantity) {
    case Quantity::MolecularWeight:
        return molecularWeight[s];
    case Quantity::PseudoCriticalVolume:
        return pseudoCriticalVolume[s];
    case Quantity::PseudoCriticalTemperature:
        return pseudoCriticalTempF[s];
    case Quantity::PseudoCriticalPressure:
        return pseudoCriticalPressPsia[s];
    case Quantity::Compressibility:
        return compressibility[s];
    case Quantity::MolarDensity:
        return molarDensity[s];
    case Quantity::HeatOfVaporization:
        return heatOfVaporization;
    case Quantity::HeatCapacity:
        return heatCapacity[s];
    case Quantity::Enthalpy:
        return enthalpy[s];
    case Quantity::Entropy:
        return entropy[s];
    case Quantity::HeatCapacityRatio:
        return heatCapacityRatio[s];
    case Quantity::JouleThomson:
        return jouleThomson[PhaseIndex(stream)];
    case Quantity::SoundSpeed:
        return soundSpeed[PhaseIndex(stream)];
    case Quantity::Viscosity:
        return viscosity[PhaseIndex(stream)];
    case Quantity::ThermalConductivity:
        return thermalConductivity[PhaseIndex(stream)];
    case Quantity::SurfaceTension:
        return surfaceTension;
    case Quantity::ResidualEnthalpy:
        return residual[s].enthalpy;
    case Quantity::ResidualEntropy:
        return residual[s].entropy;
    case Quantity::ResidualHeatCapacity:
        return residual[s].heatCapacity;
    }
    return std::numeric_limits<double>::quiet_NaN();
}

std::array<float, kStoredResultCount> PropertyResults::StoredRecord() const {
    std::array<float, kStoredResultCount> out{};
    std::size_t k = 0;
    auto put = [&](std::span<const float> values) {
        for (float v : values) {
            out[k++] = v;
        }
    };
    put(molecularWeight);
    put(pseudoCriticalVolume);
    put(pseudoCriticalTempF);
    put(pseudoCriticalPressPsia);
    put(molarDensity);
    out[k++] = heatOfVaporization;
    put(heatCapacity);
    put(enthalpy);
    put(entropy);
    put(viscosity);
    put(thermalConductivity);
    out[k++] = surfaceTension;
    return out;
}

void PropertyResults::SetStoredRecord(std::span<const float, kStoredResultCount> values) {
    std::size_t k = 0;
    auto take = [&](std::span<float> target) {
        for (float& v : target) {
            v = values[k++];
        }
    };
    take(molecularWeight);
    take(pseudoCriticalVolume);
    take(pseudoCriticalTempF);
    take(pseudoCriticalPressPsia);
    take(molarDensity);
    heatOfVaporization = values[k++];
    take(heatCapacity);
    take(enthalpy);
    take(entropy);
    take(viscosity);
    take(thermalConductivity);
    surfaceTension = values[k++];
    for (Quantity quantity :
         {Quantity::MolecularWeight, Quantity::PseudoCriticalVolume,
          Quantity::PseudoCriticalTemperature, Quantity::PseudoCriticalPressure,
          Quantity::MolarDensity, Quantity::HeatOfVaporization, Quantity::HeatCapacity,
          Quantity::Enthalpy, Quantity::Entropy, Quantity::Viscosity, Quantity::ThermalConductivity,
          Quantity::SurfaceTension}) {
        for (Stream stream : {Stream::Feed, Stream::Vapour, Stream::Liquid}) {
            MarkComputed(quantity, stream);
        }
    }
}

} // namespace quorvane
