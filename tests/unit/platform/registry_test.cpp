// The registry object against keys that refuse: what the user then sees is
// the framework's error text, and no key handle is left open.
#include <gtest/gtest.h>

#include <functional>

#include "platform/registry.h"
#include "platform/sim/sim_os.h"

using platform::Registry;
using platform::RegistryError;

namespace {

const platform::HKey HKCU = platform::RootKey::CurrentUser;
const platform::HKey HKLM = platform::RootKey::LocalMachine;
const char* kSettings = "Software\\Zentrek";
const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RegistryError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(Registry, ReadOnlyKeyReadsButEveryWriteFailsWithTheValueName) {
    sim::SimOs os;
    os.setString(HKCU, kSettings, "RunByPass", "yes");
    os.setKeyReadOnly(HKCU, kSettings, true);
    {
        Registry reg(os, HKCU);
        ASSERT_TRUE(reg.openKey(kSettings, true));
        EXPECT_EQ(reg.readString("RunByPass"), "yes");
        EXPECT_EQ(errorOf([&] { reg.writeString("KillTime", "5"); }),
                  "Failed to set data for 'KillTime'");
        EXPECT_FALSE(reg.deleteValue("RunByPass"));
    }
    EXPECT_EQ(os.stringValue(HKCU, kSettings, "RunByPass"), "yes");
    EXPECT_FALSE(os.hasValue(HKCU, kSettings, "KillTime"));
    EXPECT_EQ(os.openKeys(), 0);
}

TEST(Registry, UnopenableKeyGivesEmptyTextAndFailedWrites) {
    sim::SimOs os;
    os.setString(HKLM, kRun, "Zentrek", "C:\\Morvane\\Morvane.exe");
    os.setKeyUnopenable(HKLM, kRun, true);
    Registry reg(os, HKLM);
    EXPECT_FALSE(reg.openKey(kRun, true));
    EXPECT_FALSE(reg.openKey(kRun, false));
    EXPECT_FALSE(reg.keyExists(kRun));
    EXPECT_EQ(reg.readString("Zentrek"), "");
    std::vector<std::string> names;
    EXPECT_EQ(reg.getValueNames(names), platform::Status(platform::Error::InvalidHandle)) << "no key open";
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(errorOf([&] { reg.writeString("Zentrek", "x"); }),
              "Failed to set data for 'Zentrek'");
    EXPECT_EQ(os.openKeys(), 0);
}

TEST(Registry, WithoutWriteRightsKeysCannotBeCreatedNorValuesWritten) {
    sim::SimOs os;
    os.setString(HKLM, kRun, "Zentrek", "C:\\Morvane\\Morvane.exe");
    os.setKeyReadOnly(HKLM, "Software", true);
    Registry reg(os, HKLM);
    const std::string path = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
    EXPECT_EQ(errorOf([&] { reg.createKey(path); }), "Failed to create key " + path);
    EXPECT_FALSE(os.hasKey(HKLM, path));
    // Existing keys below still open and read.
    EXPECT_NO_THROW(reg.createKey(kRun));
    ASSERT_TRUE(reg.openKey(kRun, true));
    EXPECT_EQ(reg.readString("Zentrek"), "C:\\Morvane\\Morvane.exe");
    EXPECT_EQ(errorOf([&] { reg.writeString("Zentrek", "x"); }),
              "Failed to set data for 'Zentrek'");
    EXPECT_FALSE(reg.deleteValue("Zentrek"));
    EXPECT_EQ(os.regDeleteKey(HKLM, kRun), platform::Status(platform::Error::AccessDenied));
    reg.closeKey();
    EXPECT_EQ(os.openKeys(), 0);
}

TEST(Registry, TextStopsAtTheFirstNulAndOtherTypesRaise) {
    sim::SimOs os;
    os.setValue(HKCU, kSettings, "Pass", platform::RegType::String, std::string("ab\0cd\0", 6));
    os.setValue(HKCU, kSettings, "NoNul", platform::RegType::String, "raw");
    os.setValue(HKCU, kSettings, "List", platform::RegType::MultiString, std::string("a\0b\0\0", 5));
    os.setValue(HKCU, kSettings, "Empty", platform::RegType::Dword, "");
    Registry reg(os, HKCU);
    ASSERT_TRUE(reg.openKey("\\Software\\Zentrek", false));
    EXPECT_EQ(reg.readString("Pass"), "ab");
    EXPECT_EQ(reg.readString("NoNul"), "raw");
    EXPECT_EQ(reg.readString("Empty"), "");
    EXPECT_EQ(errorOf([&] { reg.readString("List"); }), "Invalid data type for 'List'");
    std::vector<std::string> names;
    EXPECT_TRUE(reg.getValueNames(names));
    EXPECT_EQ(names, (std::vector<std::string>{"Pass", "NoNul", "List", "Empty"}));
}

TEST(Registry, FailedOpenKeepsTheKeyThatWasOpen) {
    sim::SimOs os;
    os.setString(HKCU, kSettings, "RunAutoMin", "yes");
    Registry reg(os, HKCU);
    ASSERT_TRUE(reg.openKey(kSettings, false));
    EXPECT_FALSE(reg.openKey("Software\\Missing", false));
    EXPECT_EQ(reg.readString("RunAutoMin"), "yes");
    // Paths start at the root, never at the open key.
    ASSERT_TRUE(reg.openKey("Software", false));
    EXPECT_EQ(os.openKeys(), 1);
    reg.closeKey();
    EXPECT_EQ(os.openKeys(), 0);
    EXPECT_EQ(os.countCalls("RegCreateKeyExA"), 0u);
}
