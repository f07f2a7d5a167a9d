// Loading Dornel the way the main program does, by file name from the program folder (the tests'
// working directory), and loading a Dornel linked against a Dadez older than version 4.

#include "dornel/dornel.h"
#include "tests/dadez/stderr_capture.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <string>

namespace dornel_test {
namespace {

using dadez_test::Count;
using dadez_test::StderrCapture;

constexpr double kError = -9999.0;

template <class Function>
Function Resolve(void* library, const char* name) {
    return reinterpret_cast<Function>(::dlsym(library, name));
}

TEST(DornelLoading, LoadsByFileNameAndComputes) {
    void* library = ::dlopen("./libdornel.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << ::dlerror();
    const auto version = Resolve<decltype(&STM_GetMnDllVer)>(library, "STM_GetMnDllVer");
    const auto setTemp = Resolve<decltype(&STM_SetTempUnit)>(library, "STM_SetTempUnit");
    const auto enthalpy = Resolve<decltype(&STM_nEtp)>(library, "STM_nEtp");
    ASSERT_NE(version, nullptr);
    ASSERT_NE(setTemp, nullptr);
    ASSERT_NE(enthalpy, nullptr);
    EXPECT_EQ(version(), 4);
    // 300 K, 3 MPa: h = 115.253574 kJ/kg (ifc67_verify_states.csv); defaults °C, Pa, J/kg.
    EXPECT_NEAR(enthalpy(26.85, 3e6), 115253.574, 1e-3);
    EXPECT_EQ(setTemp(1), 1);
    EXPECT_NEAR(enthalpy(300.0, 3e6), 115253.574, 1e-3);
    EXPECT_EQ(setTemp(2), 1);
    // Only the interface is visible.
    EXPECT_EQ(::dlsym(library, "_ZN6dornel5DadezEv"), nullptr);
    ::dlclose(library);
}

// A Dornel built from the same objects but linked against a Dadez that reports version 3.
TEST(DornelLoading, OldDadezLeavesEveryExportReturningTheErrorValue) {
    StderrCapture capture;
    void* library = ::dlopen("./test-stubs/libdornel_olddadez.so", RTLD_NOW | RTLD_LOCAL);
    void* again = ::dlopen("./test-stubs/libdornel_olddadez.so", RTLD_NOW | RTLD_LOCAL);
    const std::string text = capture.Text();
    ASSERT_NE(library, nullptr) << ::dlerror();
    ASSERT_EQ(again, library);
    EXPECT_EQ(Count(text, "読んだSteam.DLLは古いものです."), 1) << text;
    EXPECT_EQ(Count(text, "Dadez.DLL Ver 4 以上に対応しています."), 1) << text;
    EXPECT_NE(text.find("Dornel.DLL"), std::string::npos) << text;

    EXPECT_EQ(Resolve<int (*)()>(library, "STM_GetMnDllVer")(), static_cast<int>(kError));
    for (const char* name :
         {"STM_SetTempUnit", "STM_SetPressUnit", "STM_SetEntlUnit", "STM_SetEntrUnit",
          "STM_SetVolUnit", "STM_SetWetDryUnit", "STM_SetHeatCapUnit", "STM_SetThermalConUnit",
          "STM_SetDynamicVisUnit", "STM_SetSurTensionUnit"}) {
        const auto set = Resolve<int (*)(int)>(library, name);
        ASSERT_NE(set, nullptr) << name;
        EXPECT_EQ(set(2), 0) << name;
    }
    for (const char* name :
         {"STM_GetMaxTemp", "STM_GetMinTemp", "STM_GetMaxPress", "STM_GetMinPress"}) {
        const auto f = Resolve<double (*)()>(library, name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f(), kError) << name;
    }
    for (const char* name : {"STM_kPt", "STM_kTp", "STM_SurfaceTension"}) {
        const auto f = Resolve<double (*)(double)>(library, name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f(100.0), kError) << name;
    }
    for (const char* name :
         {"STM_nEtp", "STM_nStp", "STM_nXtp", "STM_nCtp", "STM_sEtw", "STM_sStw", "STM_sXtw",
          "STM_sEpw", "STM_sSpw", "STM_sXpw", "STM_sEsp", "STM_sWsp", "STM_sWep", "STM_nTsp",
          "STM_2Tep", "STM_ThermalConductivity", "STM_DynamicViscosity"}) {
        const auto f = Resolve<double (*)(double, double)>(library, name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f(100.0, 0.5), kError) << name;
    }
    ::dlclose(again);
    ::dlclose(library);
}

} // namespace
} // namespace dornel_test
