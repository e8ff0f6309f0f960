// HKEY_LOCAL_MACHINE values for the tests.
#include "TestSupport.h"

#include <windows.h>

namespace qvtest {
namespace {

// Reports a registry status through the last error, as the other helpers do.
bool Succeeded(LSTATUS status)
{
    SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS;
}

bool SetValue(const std::string& subkey, const std::string& value, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (!Succeeded(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                   &key, nullptr)))
        return false;
    const LSTATUS status = RegSetValueExA(key, value.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return Succeeded(status);
}

// The raw value, when it exists with the given type.
std::optional<std::string> GetValue(const std::string& subkey, const std::string& value, DWORD wantedType)
{
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS status = RegGetValueA(HKEY_LOCAL_MACHINE, subkey.c_str(), value.c_str(), RRF_RT_ANY, &type,
                                  nullptr, &size);
    if (!Succeeded(status))
        return std::nullopt;
    if (type != wantedType) {
        SetLastError(ERROR_DATATYPE_MISMATCH);
        return std::nullopt;
    }
    std::string data(size, '\0');
    status = RegGetValueA(HKEY_LOCAL_MACHINE, subkey.c_str(), value.c_str(), RRF_RT_ANY, &type, data.data(),
                          &size);
    if (!Succeeded(status))
        return std::nullopt;
    data.resize(size);
    return data;
}

}  // namespace

bool SetHklmString(const std::string& subkey, const std::string& value, const std::string& text)
{
    return SetValue(subkey, value, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool SetHklmDword(const std::string& subkey, const std::string& value, std::uint32_t data)
{
    const DWORD dword = data;
    return SetValue(subkey, value, REG_DWORD, &dword, sizeof(dword));
}

std::optional<std::string> GetHklmString(const std::string& subkey, const std::string& value)
{
    std::optional<std::string> data = GetValue(subkey, value, REG_SZ);
    if (data) {
        // Stored with its terminator, or without when written by a careless writer.
        const size_t end = data->find('\0');
        if (end != std::string::npos)
            data->resize(end);
    }
    return data;
}

std::optional<std::uint32_t> GetHklmDword(const std::string& subkey, const std::string& value)
{
    const std::optional<std::string> data = GetValue(subkey, value, REG_DWORD);
    if (!data || data->size() != sizeof(DWORD))
        return std::nullopt;
    DWORD dword = 0;
    memcpy(&dword, data->data(), sizeof(dword));
    return dword;
}

bool DeleteHklmValue(const std::string& subkey, const std::string& value)
{
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_SET_VALUE, &key);
    if (status == ERROR_FILE_NOT_FOUND)
        return Succeeded(ERROR_SUCCESS);
    if (!Succeeded(status))
        return false;
    status = RegDeleteValueA(key, value.c_str());
    RegCloseKey(key);
    return Succeeded(status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status);
}

bool DeleteHklmTree(const std::string& subkey)
{
    const LSTATUS status = RegDeleteTreeA(HKEY_LOCAL_MACHINE, subkey.c_str());
    return Succeeded(status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status);
}

}  // namespace qvtest
