#pragma once

// The water/steam calculator's computation: from two given variables, the thermodynamic state
// by the chosen formulation (IF97 through Calvix, IFC-67 through Dornel), its range checks, the
// heat capacities and the transport and derived values. Everything in the program's internal
// units (water_state.h).

#include "app/water/steam_library.h"
#include "app/water/water_state.h"

#include <QMessageBox>
#include <QString>
#include <array>
#include <optional>
#include <span>
#include <stdexcept>

namespace quorvane {

// The pairs of given variables the calculator can complete, first variable first.
enum class GivenPair { TP, TX, TH, TS, PX, PH, PS };

// The pair of the first two ticked given variables (in the order temperature, pressure,
// quality, enthalpy, entropy); nullopt when fewer than two are ticked or the pair is not one
// the calculator completes (quality with enthalpy, for instance).
std::optional<GivenPair> PairOfGiven(const std::array<bool, kWaterGivenCount>& ticked);

// The given values in internal units; only the pair's two are read.
struct SteamGiven {
    GivenPair pair = GivenPair::TP;
    double tempF = NAN;
    double pressPsia = NAN;
    double quality = NAN;
    double enthalpy = NAN;
    double entropy = NAN;
};

// A computation that ends with a message to the user instead of values.
class SteamRefusal : public std::runtime_error {
public:
    SteamRefusal(QString title, QString text, QMessageBox::Icon icon = QMessageBox::Information);
    QString title;
    QString text;
    QMessageBox::Icon icon;
};

// The two libraries of the calculator: Calvix also serves the IFC-67 computation with the
// speed of sound and Cv.
struct SteamLibraries {
    SteamLibrary& calvix;
    SteamLibrary& dornel;
};

// The working units of each library and the messages shown when it refuses one.
std::span<const SteamUnitSetting> CalvixUnits();
std::span<const SteamUnitSetting> DornelUnits();

// "Dadez IFC-1997" or "Dadez IFC-1967": titles the messages of the computation.
QString FormulationLabel(SteamFormulation formulation);

// Every value of the calculator for the given pair (NaN where none is shown). Throws
// SteamRefusal for a state the formulation cannot give (with the message to show) and
// SteamLibraryError when a library or one of its functions cannot be used.
std::array<double, kWaterFieldCount>
CalculateSteam(SteamFormulation formulation, const SteamGiven& given, SteamLibraries libraries);

} // namespace quorvane
