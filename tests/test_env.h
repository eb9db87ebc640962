// Every test process sees where the built program folder and the sources are, whether
// CTest or a person started it.
#pragma once

#include <cstdlib>

inline void ktvSetTestEnvironment()
{
    setenv("KTV_APP_DIR", KTV_DEFAULT_APP_DIR, 0);
    setenv("KTV_SOURCE_DIR", KTV_DEFAULT_SOURCE_DIR, 0);
    setenv("KTV_LOCPATH", KTV_DEFAULT_LOCPATH, 0); // compiled test locales (tr_TR.UTF-8, de_KT.UTF-8)
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
}
