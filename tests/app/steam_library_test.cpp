// The binder of the steam libraries: both libraries loaded in one process at once, each
// answering in turn in its own units, and a missing function named in its message.

#include "app/program_folder.h"
#include "app/water/steam_calculator.h"
#include "tests/app/gui_test_support.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(SteamLibraryTest, BothLibrariesAnswerInTurnEachInItsOwnUnits) {
    testing::EnsureApplication();
    SteamLibrary calvix(LibraryFolder(), QStringLiteral("libcalvix.so"), CalvixUnits());
    SteamLibrary dornel(LibraryFolder(), QStringLiteral("libdornel.so"), DornelUnits());
    // A second binder of Dornel working in K and Pa: it shares the library and its units, so
    // each session must set its own before every use.
    static constexpr SteamUnitSetting kKelvinPascal[] = {{"STM_SetTempUnit", 1, "temperature"},
                                                         {"STM_SetPressUnit", 11, "pressure"}};
    SteamLibrary dornelSi(LibraryFolder(), QStringLiteral("libdornel.so"), kKelvinPascal);
    for (int round = 0; round < 2; ++round) {
        {
            // IF97 at 100 °C: psat = 0.101418 MPa; its range ends at 2273.15 K (3632 °F).
            auto session = calvix.Begin();
            EXPECT_NEAR(session.Value("STM_sPt", 212.0), 0.101418e6 / 101325.0, 1e-5);
            EXPECT_NEAR(session.Value("STM_GetMaxTemp"), 3632.0, 1e-9);
        }
        {
            // IFC-67 at 100 °C: psat = 0.101325262 MPa; its range ends at 800 °C (1472 °F).
            auto session = dornel.Begin();
            EXPECT_NEAR(session.Value("STM_kPt", 212.0), 0.101325262e6 / 101325.0, 1e-8);
            EXPECT_NEAR(session.Value("STM_GetMaxTemp"), 1472.0, 1e-9);
        }
        {
            auto session = dornelSi.Begin();
            EXPECT_NEAR(session.Value("STM_kPt", 373.15), 101325.262, 1e-3);
        }
    }
    // Each library was opened with its symbols local to it: the program at large sees neither.
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "STM_GetMaxTemp"), nullptr);
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "STM_kPt"), nullptr);
}

TEST(SteamLibraryTest, AMissingFunctionIsNamed) {
    testing::EnsureApplication();
    SteamLibrary stub(ProgramFile(QStringLiteral("test-stubs/refusing")),
                      QStringLiteral("libcalvix.so"), {});
    auto session = stub.Begin();
    try {
        session.Value("STM_nDtp", 100.0, 1.0);
        FAIL() << "a function the library lacks was called";
    } catch (const SteamLibraryError& error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("STM_nDtp")));
        EXPECT_TRUE(error.Message().contains(QStringLiteral("libcalvix.so")));
    }
}

} // namespace
} // namespace quorvane
