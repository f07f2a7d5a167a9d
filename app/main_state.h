#pragma once

// Everything the main window owns for the program's life: the component database, the
// mixture, the flash case, the unit set, the number formats and the recalculation flag. The
// tabs read and change it through a reference; the main window alone creates it.

#include "app/settings_store.h"
#include "data/component_database.h"
#include "data/mixture_components.h"
#include "engine/flash/flash_case.h"
#include "engine/flash/flash_state.h"
#include "engine/properties/property_results.h"
#include "units/fractions.h"
#include "units/unit_set.h"

#include <QList>
#include <array>
#include <memory>

namespace quorvane {

// What case files keep of the water/steam calculator: whether it is shown, the formulation
// (0 IFC-1997, 1 IFC-1967), which of the five given variables are ticked (temperature,
// pressure, quality, enthalpy, entropy) and its nine stored results in internal units.
struct WaterInputs {
    enum Result {
        kTemperatureF,
        kPressurePsia,
        kQuality,
        kEnthalpy,
        kEntropy,
        kMolarVolume,
        kHeatCapacityCp,
        kHeatCapacityCv,
        kSoundSpeed,
        kResultCount
    };

    bool shown = false;
    int formulation = 0;
    std::array<bool, 5> given{true, true, false, false, false};
    // °F, psia, vapour mass fraction, Btu/lbmol, Btu/(lbmol °F), ft³/lbmol, Btu/(lbmol °F)
    // twice, ft/s.
    std::array<float, kResultCount> results{};
};

struct MainState {
    std::unique_ptr<ComponentDatabase> database;
    MixtureComponents mixture;
    FlashCase flashCase;
    std::unique_ptr<FlashState> flashState = std::make_unique<FlashState>();
    PropertyResults properties;
    UnitSet units;
    NumberFormatTable formats = DefaultNumberFormats();
    QList<RecentFile> recentFiles;
    CompositionBasis basis = CompositionBasis::MoleFrac;
    WaterInputs water;
    bool recalc = false;      // an input changed since the last completed flash
    bool haveResults = false; // the flash case holds the results of a completed run
};

} // namespace quorvane
