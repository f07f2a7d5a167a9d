#pragma once

#include "cli/component_catalog.h"
#include "cli/component_row.h"

#include <nlohmann/json.hpp>
#include <string>

// The component object of a request: explicit fields by name, mapped onto the ordinal row.
//   "name"                                    text
//   "MW", "Tc_F", "Pc_psia", "Vc", "Zc"       ordinals 2..6
//   "Tb_F", "Tm_F"                            ordinals 7, 8
//   "Hf", "Gf", "S0"                          ordinals 12, 13, 14 (Btu/lb, Btu/lb, Btu/(lb.R))
//   "omega", "dipole"                         ordinals 17, 18
//   coefficient sets {"C": [A..E], "Tmin_K", "Tmax_K", "code"}:
//     "vp" 19, "liquid_density" 27, "liquid_viscosity" 35, "vapour_viscosity" 43,
//     "heat_of_vaporization" 51, "liquid_cp" 59, "ideal_gas_cp" 75, "surface_tension" 91,
//     "liquid_conductivity" 99, "vapour_conductivity" 107
//   "ordinals": {"<ordinal>": number, ...}    any other cell by its ordinal (2..114)
// A component whose name the catalogue offers starts from its database row and the explicit
// fields override it; otherwise it must carry every field the flash needs.

namespace quorvane {

// Builds the row of components[index] of a request; throws RequestError naming the field.
ComponentRow ParseComponent(const nlohmann::json& value, std::size_t index,
                            const ComponentCatalog* catalog);

} // namespace quorvane
