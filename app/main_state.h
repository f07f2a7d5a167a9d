#pragma once

// Everything the main window owns for the program's life: the component database, the
// mixture, the flash case, the unit set, the number formats, the recalculation flag and the
// water/steam calculator's inputs and results. The tabs read and change it through a reference;
// the main window alone creates it.

#include "app/settings_store.h"
#include "app/water/water_state.h"
#include "data/component_database.h"
#include "data/mixture_components.h"
#include "engine/flash/flash_case.h"
#include "engine/flash/flash_state.h"
#include "engine/properties/property_results.h"
#include "units/fractions.h"
#include "units/unit_set.h"

#include <QList>
#include <memory>

namespace quorvane {

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
    WaterSteamState water;    // the water/steam calculator
    bool recalc = false;      // an input changed since the last completed flash
    bool haveResults = false; // the flash case holds the results of a completed run
};

} // namespace quorvane
