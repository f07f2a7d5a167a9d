// The water/steam tab, driven as the user drives it: ticking given variables, typing values,
// pressing Compute, switching the formulation. Reference values from the IAPWS-IF97 release and
// the IAPWS steam tables at the states named.

#include "app/program_folder.h"
#include "app/unit_selectors.h"
#include "app/water_tab.h"
#include "tests/app/gui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

class WaterTabTest : public ::testing::Test {
protected:
    void SetUp() override { tab = MakeTab(LibraryFolder()); }

    std::unique_ptr<WaterTab> MakeTab(const QString& folder) {
        auto made = std::make_unique<WaterTab>(state, selectors, folder);
        made->ShowCalculator();
        return made;
    }

    // Ticks exactly the given variables named (0 temperature ... 4 entropy).
    void Select(std::initializer_list<int> given) {
        for (int i = 0; i < kWaterGivenCount; ++i) {
            tab->GivenBox(i)->setChecked(false);
        }
        for (int i : given) {
            tab->GivenBox(i)->setChecked(true);
        }
    }

    // Types a value into a field and leaves it; nine digits carry a stored value unchanged.
    void Type(int field, double value) {
        QLineEdit* edit = tab->Field(field);
        edit->setText(QString::number(value, 'g', 9));
        edit->setModified(true);
        emit edit->editingFinished();
    }

    // Ticks two given variables, types their values and computes.
    void Compute(int first, double a, int second, double b) {
        Select({first, second});
        Type(first, a);
        Type(second, b);
        testing::Find<QPushButton>(tab.get(), QStringLiteral("cmdCompute"))->click();
    }

    void UseFormulation(SteamFormulation formulation) {
        tab->SelectFormulation(formulation);
        dialogs.messages.clear();
    }

    double Value(int field) const { return state.water.values[static_cast<std::size_t>(field)]; }

    testing::TemporarySettings settings;
    testing::DialogRecorder dialogs;
    MainState state;
    UnitSelectors selectors;
    std::unique_ptr<WaterTab> tab;
};

TEST_F(WaterTabTest, SaturatedMixtureAt212FIsHalfwayBetweenTheSaturatedVolumes) {
    Compute(kWaterTemp, 212.0, kWaterQuality, 0.5);
    ASSERT_TRUE(dialogs.messages.empty());
    // IF97 at 373.15 K: psat = 0.101418 MPa (14.709 psia), v' = 0.00104344 m³/kg,
    // v'' = 1.67186 m³/kg; 1 m³/kg is 288.57773 ft³/lbmol.
    EXPECT_NEAR(Value(kWaterPress), 14.709, 0.001);
    EXPECT_NEAR(Value(kWaterVolume), 0.5 * (0.00104344 + 1.67186) * 288.57773, 0.02);
    const double mixed = Value(kWaterVolume);
    Compute(kWaterTemp, 212.0, kWaterQuality, 0.0);
    const double liquid = Value(kWaterVolume);
    // The saturated liquid at 100 °C: cp = 4.2157 and cv = 3.7683 kJ/(kg K), Cp/Cv = 1.119;
    // sound travels at 1543 m/s in it.
    EXPECT_NEAR(Value(kWaterCpCv), 1.119, 0.005);
    EXPECT_NEAR(Value(kWaterSonicVelocity), 1543.0 * 3.280839895, 10.0);
    Compute(kWaterTemp, 212.0, kWaterQuality, 1.0);
    EXPECT_NEAR(mixed, 0.5 * (liquid + Value(kWaterVolume)), 1e-5 * mixed);
    // A two-phase state has no transport properties, heat capacities or Prandtl number, and
    // its surface-tension field is closed.
    Compute(kWaterTemp, 212.0, kWaterQuality, 0.5);
    EXPECT_EQ(Value(kWaterViscosity), 0.0);
    EXPECT_EQ(Value(kWaterCp), 0.0);
    EXPECT_EQ(Value(kWaterSonicVelocity), 0.0);
    EXPECT_TRUE(tab->Field(kWaterPrandtl)->text().isEmpty());
    EXPECT_FALSE(tab->Field(kWaterSurfaceTension)->isEnabled());
    EXPECT_EQ(tab->Field(kWaterPress)->text(), QStringLiteral("14.709"));
}

TEST_F(WaterTabTest, SuperheatedAndSubcooledStatesUnderBothFormulations) {
    for (const SteamFormulation formulation : {SteamFormulation::If97, SteamFormulation::Ifc67}) {
        SCOPED_TRACE(static_cast<int>(formulation));
        UseFormulation(formulation);
        // Subcooled water at 100 °F (37.8 °C): cp 4.178 kJ/(kg K), viscosity 0.681 cP,
        // surface tension 69.9 mN/m, Prandtl number 4.5, speed of sound 1524 m/s.
        Compute(kWaterTemp, 100.0, kWaterPress, 100.0);
        ASSERT_TRUE(dialogs.messages.empty()) << dialogs.Last()->text.toStdString();
        EXPECT_EQ(Value(kWaterQuality), 0.0);
        EXPECT_NEAR(Value(kWaterCp), 4.178 * 4.302880488, 0.05);
        EXPECT_NEAR(Value(kWaterViscosity), 0.681, 0.005);
        EXPECT_NEAR(Value(kWaterSurfaceTension), 0.0699, 0.0002);
        EXPECT_NEAR(Value(kWaterPrandtl), 4.5, 0.1);
        EXPECT_NEAR(Value(kWaterSonicVelocity), 1524.0 * 3.280839895, 30.0);
        EXPECT_TRUE(tab->Field(kWaterSurfaceTension)->isEnabled());
        // Superheated steam at 500 °F (260 °C) and 100 psia: viscosity 0.0185 cP, speed of
        // sound some 550 m/s, no surface tension.
        Compute(kWaterTemp, 500.0, kWaterPress, 100.0);
        EXPECT_EQ(Value(kWaterQuality), 1.0);
        EXPECT_NEAR(Value(kWaterViscosity), 0.0185, 0.0005);
        EXPECT_GT(Value(kWaterConductivity), 0.0);
        EXPECT_NEAR(Value(kWaterSonicVelocity), 550.0 * 3.280839895, 60.0);
        EXPECT_NEAR(Value(kWaterPrandtl), 1.0, 0.1);
        EXPECT_EQ(Value(kWaterSurfaceTension), 0.0);
        EXPECT_FALSE(tab->Field(kWaterSurfaceTension)->isEnabled());
        EXPECT_GT(Value(kWaterCpCv), 1.0);
    }
}

TEST_F(WaterTabTest, QualityWithEnthalpyIsNotEnoughInput) {
    Compute(kWaterQuality, 0.5, kWaterEnthalpy, 10000.0);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.Last()->title, QStringLiteral("Dadez Properties"));
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("Not enough input data is specified.  At a "
                                                   "minimum, a \ntemperature and pressure input "
                                                   "is needed."));
    EXPECT_FALSE(state.water.computed);
    // With two ticked, the other three cannot be ticked.
    EXPECT_FALSE(tab->GivenBox(kWaterTemp)->isEnabled());
    EXPECT_TRUE(tab->GivenBox(kWaterEnthalpy)->isEnabled());
}

TEST_F(WaterTabTest, SaturatedLiquidCpAt32FUsesThe32To32Point2Interval) {
    Compute(kWaterTemp, 32.2, kWaterQuality, 0.0);
    const double h2 = Value(kWaterEnthalpy);
    Compute(kWaterTemp, 32.0, kWaterQuality, 0.0);
    ASSERT_TRUE(dialogs.messages.empty());
    EXPECT_NEAR(Value(kWaterCp), (h2 - Value(kWaterEnthalpy)) / 0.2, 1e-4);
    // cp of water at 0 °C is 4.2199 kJ/(kg K).
    EXPECT_NEAR(Value(kWaterCp), 4.2199 * 4.302880488, 0.02);
    // The 1967 formulation starts at 32.018 °F: its interval starts there.
    UseFormulation(SteamFormulation::Ifc67);
    Compute(kWaterTemp, 32.02, kWaterQuality, 0.0);
    ASSERT_TRUE(dialogs.messages.empty());
    EXPECT_NEAR(Value(kWaterCp), 4.2199 * 4.302880488, 0.05);
}

// Every pair of given variables comes back to the state it was taken from.
TEST_F(WaterTabTest, EachPairRoundTripsUnderBothFormulations) {
    for (const SteamFormulation formulation : {SteamFormulation::If97, SteamFormulation::Ifc67}) {
        SCOPED_TRACE(static_cast<int>(formulation));
        UseFormulation(formulation);
        const bool if97 = formulation == SteamFormulation::If97;

        // Single-phase: (T, P) -> H, S -> (P, H) and (P, S) -> T. The backward equations of IF97
        // are consistent to 25 mK (0.045 °F).
        for (const auto& [t, p] : {std::pair{150.0, 500.0}, std::pair{600.0, 50.0}}) {
            SCOPED_TRACE(t);
            Compute(kWaterTemp, t, kWaterPress, p);
            const double h = Value(kWaterEnthalpy);
            const double s = Value(kWaterEntropy);
            Compute(kWaterPress, p, kWaterEntropy, s);
            EXPECT_NEAR(Value(kWaterTemp), t, 0.05);
            Compute(kWaterPress, p, kWaterEnthalpy, h);
            if (if97 || t > 300.0) {
                EXPECT_NEAR(Value(kWaterTemp), t, 0.05);
            } else {
                // IFC-67 gives no compressed liquid from (P, H).
                EXPECT_EQ(dialogs.Last()->text, QStringLiteral("Compressed liquid.  Use T & P "
                                                               "inputs to determine properties."));
            }
        }
        ASSERT_TRUE(!if97 || dialogs.messages.empty());

        // Two-phase and saturated: (T, X) -> P, H, S -> every pair with T or P.
        for (const double x : {0.3, 0.0, 1.0}) {
            SCOPED_TRACE(x);
            Compute(kWaterTemp, 300.0, kWaterQuality, x);
            const double p = Value(kWaterPress);
            const double h = Value(kWaterEnthalpy);
            const double s = Value(kWaterEntropy);
            dialogs.messages.clear();
            const std::pair<int, double> pairs[][2] = {{{kWaterTemp, 300.0}, {kWaterEnthalpy, h}},
                                                       {{kWaterTemp, 300.0}, {kWaterEntropy, s}},
                                                       {{kWaterPress, p}, {kWaterQuality, x}},
                                                       {{kWaterPress, p}, {kWaterEnthalpy, h}},
                                                       {{kWaterPress, p}, {kWaterEntropy, s}}};
            for (const auto& pair : pairs) {
                SCOPED_TRACE(pair[1].first);
                Compute(pair[0].first, pair[0].second, pair[1].first, pair[1].second);
                ASSERT_TRUE(dialogs.messages.empty()) << dialogs.Last()->text.toStdString();
                EXPECT_NEAR(Value(kWaterTemp), 300.0, 1e-3);
                EXPECT_NEAR(Value(kWaterPress), p, 1e-5 * p);
                EXPECT_NEAR(Value(kWaterQuality), x, 1e-5);
            }
        }
    }
}

TEST_F(WaterTabTest, SwitchingFormulationRecomputes) {
    Compute(kWaterTemp, 300.0, kWaterPress, 100.0);
    const double h97 = Value(kWaterEnthalpy);
    testing::Find<QRadioButton>(tab.get(), QStringLiteral("optSteam1"))->click();
    EXPECT_EQ(state.water.formulation, SteamFormulation::Ifc67);
    ASSERT_TRUE(state.water.computed);
    EXPECT_NE(Value(kWaterEnthalpy), h97);
    EXPECT_NEAR(Value(kWaterEnthalpy), h97, 2e-3 * h97);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WaterTabTest, ValuesAreShownInTheUnitsOfTheirSelectors) {
    Compute(kWaterTemp, 212.0, kWaterPress, 14.6959487755);
    EXPECT_EQ(tab->Field(kWaterTemp)->text(), QStringLiteral("212.0"));
    selectors.At(19)->setCurrentIndex(1); // °C
    tab->RedisplaySelector(19);
    EXPECT_EQ(tab->Field(kWaterTemp)->text(), QStringLiteral("100.0"));
    // A temperature typed in °C is held in °F; the results go as typing starts.
    Select({kWaterTemp, kWaterPress});
    Compute(kWaterTemp, 100.0, kWaterPress, 14.7);
    QLineEdit* temp = tab->Field(kWaterTemp);
    temp->clear();
    QTest::keyClicks(temp, QStringLiteral("50"));
    EXPECT_EQ(temp->text(), QStringLiteral("50"));
    EXPECT_TRUE(tab->Field(kWaterVolume)->text().isEmpty());
    emit temp->editingFinished();
    EXPECT_FLOAT_EQ(static_cast<float>(Value(kWaterTemp)), 122.0F);
    EXPECT_TRUE(tab->ValuesText().startsWith(QStringLiteral("Temperature\t50.0\t°C\n")));
}

TEST_F(WaterTabTest, OutOfRangeStatesGiveTheFormulationsMessages) {
    Compute(kWaterTemp, 4000.0, kWaterPress, 100.0);
    EXPECT_EQ(dialogs.Last()->title, QStringLiteral("Dadez IFC-1997"));
    EXPECT_EQ(dialogs.Last()->text,
              QStringLiteral("Temperature must be lower than 3632 F (2000 C)."));
    UseFormulation(SteamFormulation::Ifc67);
    Compute(kWaterTemp, 1500.0, kWaterPress, 100.0);
    EXPECT_EQ(dialogs.Last()->text,
              QStringLiteral("Temperature must be lower than 1472 F (800 C)."));
    Compute(kWaterTemp, 212.0, kWaterEnthalpy, 40000.0);
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("Superheated steam.  Use T & P inputs to "
                                                   "determine \nsteam properties."));
    Compute(kWaterTemp, 212.0, kWaterQuality, 1.5);
    EXPECT_EQ(dialogs.Last()->title, QStringLiteral("Dadez Properties"));
    EXPECT_FALSE(state.water.computed);
    EXPECT_TRUE(tab->Field(kWaterVolume)->text().isEmpty());
}

TEST_F(WaterTabTest, MissingLibrariesAreNamedInTheirMessages) {
    QTemporaryDir empty;
    tab = MakeTab(empty.path());
    Compute(kWaterTemp, 212.0, kWaterPress, 14.7);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_TRUE(dialogs.Last()->text.contains(QStringLiteral("libcalvix.so")));
    EXPECT_EQ(dialogs.Last()->icon, QMessageBox::Critical);
    tab->SelectFormulation(SteamFormulation::Ifc67);
    ASSERT_EQ(dialogs.messages.size(), 2U);
    EXPECT_TRUE(dialogs.Last()->text.contains(QStringLiteral("libdornel.so")));
    EXPECT_FALSE(state.water.computed);
}

TEST_F(WaterTabTest, RefusedUnitsShowEachSettersMessage) {
    // A stand-in for Calvix whose temperature and heat-capacity setters refuse every code.
    tab = MakeTab(ProgramFile(QStringLiteral("test-stubs/refusing")));
    tab->SelectFormulation(SteamFormulation::If97);
    ASSERT_EQ(dialogs.messages.size(), 2U);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("Error Initializing Module:  Calvix, Temperature"));
    EXPECT_EQ(dialogs.messages[1].text,
              QStringLiteral("Error Initializing Module:  Calvix, Heat Capcity"));
    EXPECT_FALSE(state.water.computed);
}

TEST_F(WaterTabTest, FullResetTicksTemperatureAndPressureAndKeepsTheirValues) {
    Compute(kWaterPress, 100.0, kWaterQuality, 0.5);
    const float t = state.water.values[kWaterTemp];
    testing::Find<QPushButton>(tab.get(), QStringLiteral("cmdClear"))->click();
    EXPECT_TRUE(tab->GivenBox(kWaterTemp)->isChecked());
    EXPECT_TRUE(tab->GivenBox(kWaterPress)->isChecked());
    EXPECT_FALSE(tab->GivenBox(kWaterQuality)->isEnabled());
    EXPECT_EQ(state.water.values[kWaterTemp], t);
    EXPECT_FALSE(tab->Field(kWaterTemp)->text().isEmpty());
    EXPECT_TRUE(tab->Field(kWaterQuality)->text().isEmpty());
    EXPECT_TRUE(tab->Field(kWaterEnthalpy)->text().isEmpty());
}

// With QUORVANE_SCREENSHOT_DIR set, the tab after a computation under each formulation.
TEST(WaterTabScreenshots, AfterAComputationUnderEachFormulation) {
    const QString folder = qEnvironmentVariable("QUORVANE_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "QUORVANE_SCREENSHOT_DIR not set";
    }
    testing::TemporarySettings settings;
    testing::DialogRecorder dialogs;
    auto window = testing::MakeMainWindow();
    window->resize(1024, 700);
    window->show(); // lays the tab out at the window's size before it is grabbed
    window->findChild<QAction*>(QStringLiteral("mnuViewWater"))->trigger();
    WaterTab* tab = window->Water();
    tab->GivenBox(kWaterPress)->setChecked(false);
    tab->GivenBox(kWaterQuality)->setChecked(true);
    for (const auto& [field, text] :
         {std::pair{kWaterTemp, "212"}, std::pair{kWaterQuality, "0"}}) {
        tab->Field(field)->setText(QString::fromLatin1(text));
        tab->Field(field)->setModified(true);
        emit tab->Field(field)->editingFinished();
    }
    QDir().mkpath(folder);
    const char* const names[] = {"water_if97.png", "water_ifc67.png"};
    for (int i = 0; i < 2; ++i) {
        testing::Find<QRadioButton>(tab, QStringLiteral("optSteam%1").arg(i))->click();
        QApplication::processEvents();
        EXPECT_TRUE(window->grab().save(QDir(folder).filePath(QString::fromLatin1(names[i]))));
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
} // namespace quorvane
