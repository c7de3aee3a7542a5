// The tests write below HKEY_CURRENT_USER\Software\Zentrek, which creates
// that key on the way. When the prefix had no such key before, it goes again
// after the last test (if nothing else was left in it), so a later run of the
// program still sees a first start.
#include <gtest/gtest.h>

#include "platform/win32/win.h"

namespace {

const char* const kZentrek = "Software\\Zentrek";

bool keyExists() {
    HKEY k = nullptr;
    if (RegOpenKeyExA(reinterpret_cast<HKEY>(platform::RootKey::CurrentUser), kZentrek, 0, platform::KeyAccess::Read, &k) !=
        platform::Error::Success)
        return false;
    RegCloseKey(k);
    return true;
}

class ZentrekKeyGuard : public ::testing::Environment {
public:
    void SetUp() override { existed_ = keyExists(); }
    void TearDown() override {
        if (existed_) return;
        HKEY root = reinterpret_cast<HKEY>(platform::RootKey::CurrentUser);
        HKEY k = nullptr;
        if (RegOpenKeyExA(root, kZentrek, 0, platform::KeyAccess::Read, &k) != platform::Error::Success) return;
        DWORD subKeys = 1, values = 1;
        RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(k);
        if (subKeys == 0 && values == 0) RegDeleteKeyA(root, kZentrek);
    }
private:
    bool existed_ = true;
};

const auto* const kGuard = ::testing::AddGlobalTestEnvironment(new ZentrekKeyGuard);

}  // namespace
