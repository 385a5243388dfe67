// A tiny shared library carrying a file version, for the component check's tests. Built once
// per version with TEST_VERSION set; without it the library exports no version at all.
#ifdef TEST_VERSION
extern "C" __attribute__((visibility("default"))) const unsigned short NoxFileVersion[4]
    = {TEST_VERSION};
#else
extern "C" __attribute__((visibility("default"))) int NoVersionHere() { return 0; }
#endif
