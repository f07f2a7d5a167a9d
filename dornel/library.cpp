// Loading: Dornel checks the version of Dadez once and reads its constants; an old Dadez leaves
// the library loaded but unusable (every export returns the error value) rather than bringing the
// host program down.

#include "dornel/library.h"

#include "dadez/dadez.h"

#include <cstdio>

namespace dornel {

namespace {

constexpr int kRequiredDadezVersion = 4;

// The caption and message of the version check, as the system states them.
constexpr const char* kOldDadezMessage =
    "Dornel.DLL: 読んだSteam.DLLは古いものです.\nDadez.DLL Ver 4 以上に対応しています.\n";

DadezLimits Load() {
    DadezLimits limits;
    if (STM_DadezVersion() < kRequiredDadezVersion) {
        std::fputs(kOldDadezMessage, stderr);
        std::fflush(stderr);
        return limits;
    }
    limits.tc = STM_GetCriticalTempK();
    limits.pc = STM_GetCriticalPressPa();
    limits.vc = STM_GetCriticalVolumeM3Kg();
    limits.minTheta = STM_min_theta();
    limits.maxTheta = STM_max_theta();
    limits.minBeta = STM_min_beta();
    limits.maxBeta = STM_max_beta();
    limits.minBetaK = STM_min_beta_K();
    limits.minTheta34 = STM_min_theta_3_4();
    limits.minBeta34 = STM_min_beta_3_4();
    limits.usable = true;
    return limits;
}

// Runs the check when the library is loaded, so that the message appears then.
[[gnu::constructor]] void CheckDadezOnLoad() {
    Dadez();
}

} // namespace

const DadezLimits& Dadez() {
    static const DadezLimits limits = Load();
    return limits;
}

UnitCodes& Units() {
    static UnitCodes codes;
    return codes;
}

void Fail(int code, const char* name) {
    STM_DadezErrorReport(code, name);
    throw ReportedError();
}

} // namespace dornel
