#include "cli/component_fields.h"

#include "cli/json_fields.h"
#include "cli/request_error.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace quorvane {

namespace {

struct ScalarField {
    const char* key;
    std::size_t ordinal;
};

constexpr std::array<ScalarField, 12> kScalarFields{{
    {"MW", kOrdinalMolecularWeight},
    {"Tc_F", kOrdinalCriticalTemperature},
    {"Pc_psia", kOrdinalCriticalPressure},
    {"Vc", kOrdinalCriticalVolume},
    {"Zc", kOrdinalCriticalZ},
    {"Tb_F", kOrdinalBoilingTemperature},
    {"Tm_F", 8},
    {"Hf", 12},
    {"Gf", 13},
    {"S0", 14},
    {"omega", kOrdinalAcentricFactor},
    {"dipole", 18},
}};

constexpr std::array<ScalarField, 10> kSetFields{{
    {"vp", kOrdinalVapourPressureSet},
    {"liquid_density", 27},
    {"liquid_viscosity", 35},
    {"vapour_viscosity", 43},
    {"heat_of_vaporization", 51},
    {"liquid_cp", 59},
    {"ideal_gas_cp", 75},
    {"surface_tension", 91},
    {"liquid_conductivity", 99},
    {"vapour_conductivity", 107},
}};

// Fields the flash itself reads; a component not taken from the database must give them.
constexpr std::array<const char*, 7> kFlashFields{"MW", "Tc_F",  "Pc_psia", "Vc",
                                                  "Zc", "omega", "vp"};

template <std::size_t N>
const ScalarField* Find(const std::array<ScalarField, N>& fields, std::string_view key) {
    for (const ScalarField& field : fields) {
        if (key == field.key) {
            return &field;
        }
    }
    return nullptr;
}

std::size_t OrdinalOf(std::string_view key) {
    for (const ScalarField& field : kScalarFields) {
        if (key == field.key) {
            return field.ordinal;
        }
    }
    for (const ScalarField& field : kSetFields) {
        if (key == field.key) {
            return field.ordinal;
        }
    }
    return 0;
}

// {"C": [A, B, C, D, E], "Tmin_K": .., "Tmax_K": .., "code": ..}; missing coefficients are
// zero (as stored for unused ones), missing limits are empty.
void ReadSet(const nlohmann::json& set, std::size_t base, const std::string& path,
             std::vector<double>& cells) {
    if (!set.is_object()) {
        throw RequestError(path + ": expected an object {\"code\", \"C\": [..]}");
    }
    const nlohmann::json& coefficients = RequireArray(set, "C", path);
    if (coefficients.empty() || coefficients.size() > 5) {
        throw RequestError(FieldPath(path, "C") + ": expected 1 to 5 coefficients");
    }
    for (std::size_t k = 0; k < 5; ++k) {
        cells[base + k] =
            k < coefficients.size()
                ? AsNumberAt(coefficients[k], [&] { return ElementPath(FieldPath(path, "C"), k); })
                : 0.0;
    }
    // An explicit set replaces the stored one whole, its range included.
    const double empty = std::numeric_limits<double>::quiet_NaN();
    cells[base + 5] = OptionalNumber(set, "Tmin_K", path).value_or(empty);
    cells[base + 6] = OptionalNumber(set, "Tmax_K", path).value_or(empty);
    const double code = RequireNumber(set, "code", path);
    if (code != std::floor(code) || code < 0 || code > 32767) {
        throw RequestError(FieldPath(path, "code") + ": expected a whole equation code");
    }
    cells[base + kSetCodeOffset] = code;
}

void ReadOrdinals(const nlohmann::json& ordinals, const std::string& path,
                  std::vector<double>& cells) {
    if (!ordinals.is_object()) {
        throw RequestError(path + ": expected an object {\"<ordinal>\": number}");
    }
    for (const auto& [key, value] : ordinals.items()) {
        std::size_t ordinal = 0;
        const auto [end, status] = std::from_chars(key.data(), key.data() + key.size(), ordinal);
        if (status != std::errc() || end != key.data() + key.size() || ordinal < 2 ||
            ordinal >= kComponentRowCells) {
            throw RequestError(FieldPath(path, Excerpt(key)) + ": not an ordinal from 2 to " +
                               std::to_string(kComponentRowCells - 1));
        }
        if (!value.is_null()) {
            cells[ordinal] = AsNumber(value, FieldPath(path, key));
        }
    }
}

void CheckFlashFields(const ComponentRow& row, const std::string& path, bool fromDatabase) {
    for (const char* key : kFlashFields) {
        const std::size_t ordinal = OrdinalOf(key);
        // Every cell the flash reads: the value, or the vapour-pressure set's A..E and code.
        const bool isSet = std::string_view(key) == "vp";
        for (std::size_t cell = ordinal; cell <= ordinal + (isSet ? kSetCodeOffset : 0); ++cell) {
            if (!isSet || cell < ordinal + 5 || cell == ordinal + kSetCodeOffset) {
                if (!std::isnan(row.cells[cell])) {
                    continue;
                }
                if (const std::string* text = row.TextAt(cell)) {
                    throw RequestError(FieldPath(path, key) + ": the database row holds text (\"" +
                                       Excerpt(*text) + "\") in ordinal " + std::to_string(cell) +
                                       ", where a number belongs; correct the database");
                }
                throw RequestError(FieldPath(path, key) + (fromDatabase
                                                               ? ": empty in the database row"
                                                               : ": missing field"));
            }
        }
    }
    const double code = row.cells[kOrdinalVapourPressureSet + kSetCodeOffset];
    if (code != 1 && code != 6) {
        throw RequestError(FieldPath(path, "vp.code") +
                           ": the vapour-pressure equation code must be 1 or 6");
    }
    if (row.cells[kOrdinalCriticalTemperature] <= -459.67) {
        throw RequestError(FieldPath(path, "Tc_F") + ": below absolute zero");
    }
    if (row.cells[kOrdinalCriticalPressure] <= 0) {
        throw RequestError(FieldPath(path, "Pc_psia") + ": must be positive");
    }
}

} // namespace

ComponentRow ParseComponent(const nlohmann::json& value, std::size_t index,
                            const ComponentCatalog* catalog) {
    const std::string path = ElementPath("components", index);
    if (!value.is_object()) {
        throw RequestError(path + ": expected a component object");
    }

    ComponentRow row;
    bool fromDatabase = false;
    if (std::optional<std::string> name = OptionalString(value, "name", path)) {
        row.name = *name;
        // The database is consulted only for a name; a missing database matters only when the
        // component does not carry its own data.
        const ComponentRow* stored = nullptr;
        bool catalogueFailed = false;
        std::string catalogueMessage;
        if (catalog != nullptr) {
            try {
                stored = catalog->Find(*name);
            } catch (const RequestError& error) {
                catalogueFailed = true;
                catalogueMessage = error.what();
            }
        }
        if (stored != nullptr) {
            row.cells = stored->cells;
            row.textCells = stored->textCells;
            fromDatabase = true;
        } else {
            bool anyGiven = false;
            for (const char* key : kFlashFields) {
                anyGiven = anyGiven || Member(value, key) != nullptr;
            }
            // A bare name must come from the database; a component with data of its own is
            // checked field by field below.
            if (!anyGiven) {
                if (catalogueFailed) {
                    throw RequestError(path + ": component \"" + Excerpt(*name) +
                                       "\" needs the database: " + catalogueMessage);
                }
                throw RequestError(path + ": unknown component \"" + Excerpt(*name) +
                                   "\" (not in the component database; give its data "
                                   "explicitly or run \"quorvane-cli components\")");
            }
        }
    } else {
        row.name = "COMPONENT " + std::to_string(index + 1);
    }

    // "ordinals" first, so that the named fields win over it; then one pass over the members
    // given (a component from the database often has only its name).
    if (const nlohmann::json* ordinals = Member(value, "ordinals")) {
        ReadOrdinals(*ordinals, FieldPath(path, "ordinals"), row.cells);
    }
    for (auto member = value.begin(); member != value.end(); ++member) {
        const std::string& key = member.key();
        const nlohmann::json& field = member.value();
        if (field.is_null()) {
            continue;
        }
        if (const ScalarField* scalar = Find(kScalarFields, key)) {
            row.cells[scalar->ordinal] = AsNumberAt(field, [&] { return FieldPath(path, key); });
        } else if (const ScalarField* set = Find(kSetFields, key)) {
            ReadSet(field, set->ordinal, FieldPath(path, key), row.cells);
        }
        // Other members ("name", "ordinals", notes of the caller) are read elsewhere or not at all.
    }
    CheckFlashFields(row, path, fromDatabase);
    return row;
}

} // namespace quorvane
