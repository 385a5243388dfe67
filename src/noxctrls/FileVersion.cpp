#include "noxctrls/FileVersion.h"

// The control set's version; the program requires at least 1.7.2.0.
extern "C" __attribute__((visibility("default"))) const unsigned short NoxFileVersion[4]
    = {1, 7, 2, 0};
