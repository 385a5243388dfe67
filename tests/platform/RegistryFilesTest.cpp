#include "platform/RegistryFiles.h"

#include <gtest/gtest.h>

#include "platform/TestFiles.h"

namespace {

const char* const kEngine = "HKEY_LOCAL_MACHINE\\Software\\NOX\\Engine";

std::string ValueOf(const IRegistryStore& store, const std::string& key, const std::string& name) {
    auto values = store.ReadKey(key);
    if (!values) return "<no key>";
    for (const RegistryValue& v : *values) {
        if (v.name == name) return v.binary ? "bin:" + v.data : v.data;
    }
    return "<no value>";
}

// Fails the n-th system call of a write (counting from 1) and passes all others.
class CFailingOps : public IFileOps {
public:
    explicit CFailingOps(int failAt) : m_failAt(failAt) {}
    int OpenForWriting(const std::string& path) override {
        return Fail() ? -1 : SystemFileOps().OpenForWriting(path);
    }
    ssize_t Write(int fd, const char* data, std::size_t size) override {
        return Fail() ? -1 : SystemFileOps().Write(fd, data, size);
    }
    int Sync(int fd) override { return Fail() ? -1 : SystemFileOps().Sync(fd); }
    int Close(int fd) override {
        int rc = SystemFileOps().Close(fd);
        return Fail() ? -1 : rc;
    }
    int Rename(const std::string& from, const std::string& to) override {
        return Fail() ? -1 : SystemFileOps().Rename(from, to);
    }
    int Calls() const { return m_calls; }

private:
    bool Fail() { return ++m_calls == m_failAt; }
    int m_failAt;
    int m_calls = 0;
};

}  // namespace

TEST(RegistryFiles, UserLayerComesFirstAndTakesAllWrites) {
    CTempDir dir;
    const std::string installed
        = "; shipped with the program\n"
          "[HKEY_LOCAL_MACHINE\\Software\\NOX\\Engine]\n"
          "enabled = 0\n"
          "INI=/opt/shipped\n"
          "\n"
          "[HKEY_CLASSES_ROOT\\NOXCTRLS.ImageCtrl.1\\CLSID]\n"
          "@={5A3E1C2B-7D4F-4E8A-9B61-2C0F8D7E4A13}\n";
    WriteFile(dir / "NOX.reg", installed);
    WriteFile(dir / "user.ini", "[hkey_local_machine\\software\\nox\\engine]\nENABLED=1\n");
    CRegistryFiles store(dir / "NOX.reg", dir / "user.ini");

    // The user's "ENABLED" hides the installation's "enabled"; "INI" comes from below.
    auto values = store.ReadKey(kEngine);
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 2u);
    EXPECT_EQ((*values)[0].name, "ENABLED");
    EXPECT_EQ((*values)[0].data, "1");
    EXPECT_EQ((*values)[1].data, "/opt/shipped");
    EXPECT_EQ(ValueOf(store, "HKEY_CLASSES_ROOT\\NOXCTRLS.ImageCtrl.1\\CLSID", "@"),
              "{5A3E1C2B-7D4F-4E8A-9B61-2C0F8D7E4A13}");
    EXPECT_FALSE(store.ReadKey("HKEY_LOCAL_MACHINE\\Software\\Other"));

    // Binary and text values round-trip through the user's file; the installation layer is
    // never written.
    ASSERT_TRUE(store.WriteValue("HKEY_LOCAL_MACHINE\\Software\\NOX\\Almanach",
                                 RegistryValue{"Workspace", true, std::string("\x03\x00\xff", 3)}));
    ASSERT_TRUE(store.WriteValue(kEngine, RegistryValue{"INI", false, "/home/u/Kompendor"}));
    EXPECT_EQ(ValueOf(store, "HKEY_LOCAL_MACHINE\\Software\\NOX\\ALMANACH", "Workspace"),
              "bin:" + std::string("\x03\x00\xff", 3));
    EXPECT_EQ(ValueOf(store, kEngine, "INI"), "/home/u/Kompendor");
    EXPECT_EQ(ReadFile(dir / "NOX.reg"), installed);
    EXPECT_NE(ReadFile(dir / "user.ini").find("Workspace=hex:03,00,ff"), std::string::npos);

    // Creating a key that only the installation has leaves the user's file alone.
    const std::string before = ReadFile(dir / "user.ini");
    EXPECT_TRUE(store.CreateKey("HKEY_CLASSES_ROOT\\NOXCTRLS.ImageCtrl.1\\CLSID"));
    EXPECT_EQ(ReadFile(dir / "user.ini"), before);
    EXPECT_TRUE(store.CreateKey("HKEY_CURRENT_USER\\Software\\NOX\\PageSetup"));
    EXPECT_TRUE(store.ReadKey("HKEY_CURRENT_USER\\Software\\NOX\\PageSetup"));
}

TEST(RegistryFiles, CorruptOrUnreadableFilesReadAsEmpty) {
    const std::string garbage[] = {
        "[HKEY_LOCAL_MACHINE\\Software\\NOX\\Engine]\nenabled=1" + std::string("\0\x01\x02", 3),
        "[HKEY_LOCAL_MACHINE\\Software\\NOX\\Engine\nenabled=1\n",
        "[HKEY_LOCAL_MACHINE\\Software\\NOX\\Engine]\nthis line is no value\n",
        "\x89PNG\r\n\x1a\n",
    };
    for (const std::string& text : garbage) {
        CTempDir dir;
        WriteFile(dir / "user.ini", text);
        CRegistryFiles store("", dir / "user.ini");
        EXPECT_FALSE(store.ReadKey(kEngine)) << text;

        // Writing does not throw the unreadable file away.
        EXPECT_TRUE(store.WriteValue(kEngine, RegistryValue{"enabled", false, "0"}));
        EXPECT_EQ(ValueOf(store, kEngine, "enabled"), "0");
        EXPECT_EQ(ReadFile(dir / "user.ini.corrupt"), text);
    }

    CTempDir dir;
    std::filesystem::create_directory(dir / "user.ini");
    CRegistryFiles store(dir / "missing.reg", dir / "user.ini");
    EXPECT_FALSE(store.ReadKey(kEngine));
    EXPECT_FALSE(store.WriteValue(kEngine, RegistryValue{"enabled", false, "1"}));

    // A malformed binary value is no binary value; the rest of the file still reads.
    WriteFile(dir / "odd.ini", "[K]\nA=hex:1,zz\nB=hex:\n");
    CRegistryFiles odd("", dir / "odd.ini");
    EXPECT_EQ(ValueOf(odd, "K", "A"), "hex:1,zz");
    EXPECT_EQ(ValueOf(odd, "K", "B"), "bin:");
}

TEST(RegistryFiles, FailedWriteKeepsTheOldFile) {
    CTempDir dir;
    const std::string old = "[K]\nold=1\n";
    WriteFile(dir / "user.ini", old);

    // Fail each system call of the write in turn; the write that fails nothing succeeds.
    for (int failAt = 1;; ++failAt) {
        CFailingOps ops(failAt);
        CRegistryFiles store("", dir / "user.ini", ops);
        bool ok = store.WriteValue("K", RegistryValue{"new", false, "2"});
        if (failAt > ops.Calls()) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(ReadFile(dir / "user.ini"), "[K]\nold=1\nnew=2\n");
            break;
        }
        EXPECT_FALSE(ok) << "call " << failAt;
        EXPECT_EQ(ReadFile(dir / "user.ini"), old) << "call " << failAt;
        int files = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
        EXPECT_EQ(files, 1) << "temporary file left behind after failing call " << failAt;
    }
}

// A value written again as it stands leaves the file alone (no write, no sync); a changed
// value or a new spelling of its name is written.
TEST(RegistryFiles, UnchangedValueIsNotWrittenAgain) {
    CTempDir dir;
    CFailingOps ops(0);
    CRegistryFiles store("", dir / "user.ini", ops);
    ASSERT_TRUE(store.WriteValue("K", RegistryValue{"Workspace", true, "\x01"}));
    const int afterFirst = ops.Calls();
    EXPECT_GT(afterFirst, 0);
    ASSERT_TRUE(store.WriteValue("K", RegistryValue{"Workspace", true, "\x01"}));
    EXPECT_EQ(ops.Calls(), afterFirst);
    ASSERT_TRUE(store.WriteValue("K", RegistryValue{"Workspace", true, "\x02"}));
    const int afterChange = ops.Calls();
    EXPECT_GT(afterChange, afterFirst);
    ASSERT_TRUE(store.WriteValue("K", RegistryValue{"WORKSPACE", true, "\x02"}));
    EXPECT_GT(ops.Calls(), afterChange);
    EXPECT_EQ(ValueOf(store, "K", "WORKSPACE"), "bin:\x02");
}

TEST(RegistryFiles, TextWithLineBreakStaysOneValue) {
    RegistryDocument doc{{"K", {{"header", false, "a\nb"}, {"@", false, "x=y"}}}};
    auto back = ParseRegistryText(FormatRegistryText(doc));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 1u);
    ASSERT_EQ((*back)[0].values.size(), 2u);
    EXPECT_EQ((*back)[0].values[0].data, "a b");
    EXPECT_EQ((*back)[0].values[1].data, "x=y");
}

TEST(RegistryFiles, UnnamedValueIsTheDefaultBeforeAndAfterAWrite) {
    // "=x" and "@=x" both name the key's default value; written back, both stay it.
    CTempDir dir;
    WriteFile(dir / "user.ini", "[HKEY_CLASSES_ROOT\\CLSID\\{1}\\InprocServer32]\n=/lib/a.so\n");
    CRegistryFiles files("", dir / "user.ini");
    auto before = files.ReadKey("HKEY_CLASSES_ROOT\\CLSID\\{1}\\InprocServer32");
    ASSERT_TRUE(before && before->size() == 1);
    EXPECT_EQ((*before)[0].name, "@");
    ASSERT_TRUE(files.WriteValue("HKEY_CLASSES_ROOT\\Other", RegistryValue{"n", false, "1"}));
    auto after = files.ReadKey("HKEY_CLASSES_ROOT\\CLSID\\{1}\\InprocServer32");
    ASSERT_TRUE(after && after->size() == 1);
    EXPECT_EQ((*after)[0].name, "@");
    EXPECT_EQ((*after)[0].data, "/lib/a.so");
}
