// Version of Dadez; callers require at least 4.

#include "dadez/dadez.h"

extern "C" int STM_DadezVersion(void) {
    return 4;
}
