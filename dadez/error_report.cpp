// Error report: a library has no window, so errors go to standard error; the process goes on.

#include "dadez/dadez.h"

#include <cstdio>

extern "C" void STM_DadezErrorReport(int code, const char* functionName) {
    std::fprintf(stderr, "Dadez: error %d (0x%08X) in %s\n", code, static_cast<unsigned>(code),
                 functionName != nullptr ? functionName : "(unknown)");
    std::fflush(stderr);
}
