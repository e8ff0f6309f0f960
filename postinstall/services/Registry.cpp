// Registry roots, the machine they belong to, and values.
#include "Registry.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <vector>

#include "../engine/DebugLog.h"

static_assert(std::is_same_v<HKEY, HKEY__*>, "the forward declaration must match <windows.h>");
static_assert(std::is_same_v<REGSAM, unsigned long>);
static_assert(Registry::kRead == KEY_READ && Registry::kAll == KEY_ALL_ACCESS);

namespace {

// Value sizes come from the registry and are not trusted. No value the utility reads comes near
// this one.
constexpr DWORD kMaxValueSize = 1u << 20;

bool IsPredefined(HKEY key)
{
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE ||
           key == HKEY_USERS || key == HKEY_CURRENT_CONFIG;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Pairs of hexadecimal digits as bytes; an odd text gets a "0" first appended. False on any
// other character, so that no half-understood data is written.
bool HexToBytes(CStdStr text, std::vector<BYTE>& bytes)
{
    if (text.size() % 2)
        text += '0';
    bytes.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        int high = HexDigit(text[i]);
        int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(BYTE(high * 16 + low));
    }
    return true;
}

// The texts of a REG_MULTI_SZ up to the empty one, or up to the end of the data when the writer
// left out the terminators.
CStdStringList SplitList(const char* data, size_t size)
{
    CStdStringList list;
    size_t pos = 0;
    while (pos < size) {
        size_t length = strnlen(data + pos, size - pos);
        if (length == 0)
            break;
        list.emplace_back(data + pos, length);
        pos += length + 1;
    }
    return list;
}

}  // namespace

Registry::Registry() : localMachine_(HKEY_LOCAL_MACHINE), users_(HKEY_USERS) {}

Registry::Registry(const CStdStr& machine) : Registry() { SetMachine(machine); }

Registry::~Registry() { closeKeptRoots(); }

void Registry::closeKeptRoots()
{
    for (HKEY* key : {&localMachine_, &users_}) {
        if (*key && !IsPredefined(*key))
            RegCloseKey(*key);
        *key = nullptr;
    }
}

void Registry::SetMachine(const CStdStr& machine)
{
    if (EqualNoCase(machine, machine_))
        return;
    closeKeptRoots();
    machine_ = machine;
    if (machine_.empty()) {
        localMachine_ = HKEY_LOCAL_MACHINE;
        users_ = HKEY_USERS;
    }
}

HKEY Registry::getRemoteKey(HKEY predefined)
{
    HKEY key = nullptr;
    LONG rc = RegConnectRegistryA(machine_.empty() ? nullptr : machine_.c_str(), predefined, &key);
    if (rc != ERROR_SUCCESS) {
        DebugLog << "Registry::getRemoteKey: could not access computer " << machine_ << " (error " << rc << ")"
                 << '\n';
        return nullptr;
    }
    return key;
}

HKEY Registry::getRootKey(const CStdStr& root, unsigned long access)
{
    if (EqualNoCase(root, "HKLM")) {
        if (!localMachine_)
            localMachine_ = getRemoteKey(HKEY_LOCAL_MACHINE);
        return localMachine_;
    }
    if (EqualNoCase(root, "HKCU"))
        return machine_.empty() ? HKEY_CURRENT_USER : nullptr;
    if (EqualNoCase(root, "HKU")) {
        if (!users_)
            users_ = getRemoteKey(HKEY_USERS);
        return users_;
    }
    if (EqualNoCase(root, "HKCR"))
        return openKey("HKLM", "Software\\Classes", access);
    if (EqualNoCase(root, "HKCC"))
        return machine_.empty() ? HKEY_CURRENT_CONFIG : nullptr;
    DebugLog << "Registry::getRootKey: invalid root key " << root << '\n';
    return nullptr;
}

HKEY Registry::openKey(const CStdStr& root, const CStdStr& key, unsigned long access)
{
    KeyRef base(*this, getRootKey(root, access));
    if (!base)
        return nullptr;
    HKEY result = nullptr;
    LONG rc = RegOpenKeyExA(base.get(), key.c_str(), 0, access, &result);
    if (rc == ERROR_SUCCESS)
        return result;
    if (rc != ERROR_FILE_NOT_FOUND)
        DebugLog << "Registry::openKey: could not open key " << key << " (error code " << rc << ")" << '\n';
    return nullptr;
}

void Registry::releaseKey(HKEY key)
{
    if (key && !IsPredefined(key) && key != localMachine_ && key != users_)
        RegCloseKey(key);
}

bool Registry::ReadValue(const CStdStr& root, const CStdStr& key, const CStdStr& name, RegValue& value)
{
    KeyRef h(*this, openKey(root, key, kRead));
    if (!h)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExA(h.get(), name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND || (rc == ERROR_SUCCESS && size == 0))
        return false;
    if (rc == ERROR_SUCCESS && size > kMaxValueSize)
        rc = ERROR_NOT_ENOUGH_MEMORY;
    std::vector<char> data;
    if (rc == ERROR_SUCCESS) {
        // Room past the data for a number stored short, and for the two terminators of a text
        // or list stored without its own.
        data.assign(std::max<DWORD>(size, sizeof(DWORD)) + 2, 0);
        rc = RegQueryValueExA(h.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    if (rc != ERROR_SUCCESS) {
        DebugLog << "Registry::ReadValue: could not query value " << name << " (return code " << rc << ")" << '\n';
        return false;
    }

    value = RegValue();
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        value.kind = type == REG_SZ ? RegValue::Text : RegValue::ExpandText;
        value.text.assign(data.data(), strnlen(data.data(), size));
        return true;
    case REG_DWORD: {
        DWORD number = 0;
        std::memcpy(&number, data.data(), sizeof number);
        value.kind = RegValue::Number;
        value.number = number;
        return true;
    }
    case REG_MULTI_SZ:
        value.kind = RegValue::TextList;
        value.list = SplitList(data.data(), size);
        return true;
    default:
        DebugLog << "Registry::ReadValue: registry entry " << name << " had unsupported data type " << type << '\n';
        return false;
    }
}

CStdStr Registry::ReadString(const CStdStr& root, const CStdStr& key, const CStdStr& name)
{
    RegValue value;
    if (!ReadValue(root, key, name, value))
        return CStdStr();
    if (value.kind == RegValue::Number) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value.number));
        return text;
    }
    if (value.kind == RegValue::Text || value.kind == RegValue::ExpandText)
        return value.text;
    return CStdStr();
}

bool Registry::WriteValue(const CStdStr& root, const CStdStr& key, const CStdStr& name, const RegValue& value)
{
    KeyRef h(*this, openKey(root, key, kAll));
    if (!h)
        return false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    switch (value.kind) {
    case RegValue::Number:
        type = REG_DWORD;
        bytes.resize(sizeof(DWORD));
        std::memcpy(bytes.data(), &value.number, sizeof(DWORD));
        break;
    case RegValue::Text:
    case RegValue::ExpandText:
        type = value.kind == RegValue::Text ? REG_SZ : REG_EXPAND_SZ;
        bytes.assign(value.text.c_str(), value.text.c_str() + value.text.size() + 1);
        break;
    case RegValue::Binary:
        type = REG_BINARY;
        if (!HexToBytes(value.text, bytes)) {
            DebugLog << "Registry::WriteValue: invalid hexadecimal data " << value.text << '\n';
            return false;
        }
        break;
    case RegValue::TextList:
        DebugLog << "Registry::WriteValue: unsupported registry type Reg_Multi_String" << '\n';
        return false;
    default:
        DebugLog << "Registry::WriteValue: unsupported registry type " << value.kind << '\n';
        return false;
    }
    static const BYTE kNoData = 0;
    LONG rc = RegSetValueExA(h.get(), name.c_str(), 0, type, bytes.empty() ? &kNoData : bytes.data(),
                             DWORD(bytes.size()));
    if (rc != ERROR_SUCCESS) {
        DebugLog << "Registry::WriteValue: RegSetValueEx returned with code " << rc << '\n';
        return false;
    }
    return true;
}

bool Registry::DeleteValue(const CStdStr& root, const CStdStr& key, const CStdStr& name)
{
    KeyRef h(*this, openKey(root, key, kAll));
    if (!h)
        return false;
    LONG rc = RegDeleteValueA(h.get(), name.c_str());
    if (rc != ERROR_SUCCESS) {
        DebugLog << "Registry::DeleteValue: RegDeleteValue returned error code" << rc << '\n';
        return false;
    }
    return true;
}

bool Registry::ValueExists(const CStdStr& root, const CStdStr& key, const CStdStr& name)
{
    KeyRef h(*this, openKey(root, key, kRead));
    DWORD size = 0;
    return h && RegQueryValueExA(h.get(), name.c_str(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
           size != 0;
}

bool Registry::KeyExists(const CStdStr& root, const CStdStr& key)
{
    KeyRef h(*this, openKey(root, key, kRead));
    return bool(h);
}

bool Registry::IsKeyEmpty(const CStdStr& root, const CStdStr& key)
{
    KeyRef h(*this, openKey(root, key, kRead));
    if (!h)
        return false;
    DWORD subKeys = 0;
    DWORD values = 0;
    if (RegQueryInfoKeyA(h.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    if (subKeys != 0 || values > 1)
        return false;
    if (values == 0)
        return true;
    // Any name longer than nothing does not fit and fails the test.
    char valueName[2] = "";
    DWORD length = sizeof valueName;
    return RegEnumValueA(h.get(), 0, valueName, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           length == 0;
}
