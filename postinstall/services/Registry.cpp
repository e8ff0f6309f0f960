#include "Registry.h"

#include <windows.h>

#include <vector>

namespace {

HKEY RootKey(const CStdStr& root)
{
    if (EqualNoCase(root, "HKLM"))
        return HKEY_LOCAL_MACHINE;
    if (EqualNoCase(root, "HKCU"))
        return HKEY_CURRENT_USER;
    if (EqualNoCase(root, "HKU"))
        return HKEY_USERS;
    if (EqualNoCase(root, "HKCC"))
        return HKEY_CURRENT_CONFIG;
    return nullptr;
}

}  // namespace

CStdStr Registry::ReadString(const CStdStr& root, const CStdStr& key, const CStdStr& name)
{
    HKEY base = RootKey(root);
    HKEY h;
    if (!base || RegOpenKeyExA(base, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return CStdStr();
    CStdStr result;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(h, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size) {
        std::vector<char> data(size + 2, 0);
        if (RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                             &size) == ERROR_SUCCESS) {
            if (type == REG_DWORD && size >= 4) {
                DWORD n;
                memcpy(&n, data.data(), 4);
                result = std::to_string(long(n));
            } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
                result.assign(data.data());
            }
        }
    }
    RegCloseKey(h);
    return result;
}
