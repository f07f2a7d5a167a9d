// Stand-in for an outdated Dadez: the same library reporting version 3, for the loading tests.

#include "dadez/dadez.h"

extern "C" int STM_DadezVersion(void) {
    return 3;
}
