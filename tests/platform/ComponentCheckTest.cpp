#include "platform/ComponentCheck.h"

#include <gtest/gtest.h>

#include "platform/TestFiles.h"

namespace {

const FileVersion kRequired{1, 7, 2, 0};
const char* const kProgId = "NOXCTRLS.ImageCtrl.1";

std::string Library(const std::string& name) {
    return std::string(KOMPENDOR_TEST_BINARY_DIR) + "/bin/lib" + name + ".so";
}

// The installation's registration of the control set, pointing at library.
std::string Registration(const std::string& library) {
    return "[HKEY_CLASSES_ROOT\\NOXCTRLS.ImageCtrl.1\\CLSID]\n"
           "@={5A3E1C2B-7D4F-4E8A-9B61-2C0F8D7E4A13}\n"
           "[HKEY_CLASSES_ROOT\\CLSID\\{5A3E1C2B-7D4F-4E8A-9B61-2C0F8D7E4A13}\\InprocServer32]\n"
           "@="
           + library + "\n";
}

}  // namespace

TEST(ComponentCheck, RequiresVersion1720) {
    struct {
        const char* library;
        bool passes;
    } cases[] = {
        {"testnox_1_7_1_9", false}, {"testnox_1_7_2_0", true},  {"testnox_1_8_0_0", true},
        {"testnox_none", false},    {"testnox_missing", false},
    };
    for (const auto& c : cases) {
        CTempDir dir;
        WriteFile(dir / "NOX.reg", Registration(Library(c.library)));
        CRegistryFiles registry(dir / "NOX.reg", dir / "user.ini");
        EXPECT_EQ(CheckComponent(registry, kProgId, kRequired, dir.Path()), c.passes) << c.library;
    }
    EXPECT_EQ(ReadFileVersion(Library("testnox_1_7_1_9")).value_or(FileVersion{}).Packed(),
              FileVersion({1, 7, 1, 9}).Packed());
}

TEST(ComponentCheck, RegistrationIsFollowedThroughBothLayers) {
    CTempDir dir;
    std::filesystem::copy_file(Library("testnox_1_8_0_0"), dir / "libnoxctrls.so");
    // A relative library path counts from the program's folder.
    WriteFile(dir / "NOX.reg", Registration("libnoxctrls.so"));
    CRegistryFiles registry(dir / "NOX.reg", dir / "user.ini");
    EXPECT_EQ(RegisteredLibrary(registry, kProgId, dir.Path()), dir / "libnoxctrls.so");
    EXPECT_TRUE(CheckComponent(registry, kProgId, kRequired, dir.Path()));

    // The user's layer wins: an old library registered there fails the check.
    WriteFile(dir / "user.ini",
              "[HKEY_CLASSES_ROOT\\CLSID\\{5A3E1C2B-7D4F-4E8A-9B61-2C0F8D7E4A13}\\InprocServer32]\n"
              "@=" + Library("testnox_1_7_1_9")
                  + "\n");
    EXPECT_FALSE(CheckComponent(registry, kProgId, kRequired, dir.Path()));

    // No registration, or one without class identifier: the check fails.
    WriteFile(dir / "NOX.reg", "[HKEY_CLASSES_ROOT\\NOXCTRLS.ImageCtrl.1\\CLSID]\n@=\n");
    std::filesystem::remove(dir / "user.ini");
    EXPECT_FALSE(RegisteredLibrary(registry, kProgId, dir.Path()));
    CRegistryFiles empty(dir / "none.reg", dir / "none.ini");
    EXPECT_FALSE(CheckComponent(empty, kProgId, kRequired, dir.Path()));
}

TEST(ComponentCheck, VersionsCompareAsUnsignedHalves) {
    struct {
        FileVersion version;
        bool reaches;
    } cases[] = {
        {{1, 7, 2, 0}, true},      {{1, 7, 1, 9}, false}, {{1, 7, 1, 65535}, false},
        {{1, 7, 2, 1}, true},      {{1, 8, 0, 0}, true},  {{1, 6, 65535, 65535}, false},
        {{0x8000, 0, 0, 0}, true}, {{2, 0, 0, 0}, true},  {{0, 65535, 65535, 65535}, false},
        {{1, 7, 0x8000, 0}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VersionReaches(c.version, kRequired), c.reaches)
            << c.version.major << "." << c.version.minor << "." << c.version.build << "."
            << c.version.revision;
    }
}
