#include "DialogNames.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "DialogLibrary.h"

namespace caps {
namespace {

constexpr std::size_t kNameBuffer = 256;

SRWLOCK g_lock = SRWLOCK_INIT;
std::map<NameKey, std::u16string>& Kept()
{
    static std::map<NameKey, std::u16string> names;
    return names;
}

std::u16string Widened(const char* text, int length)
{
    if (length <= 0)
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    std::wstring wide(std::size_t(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), n);
    return std::u16string(wide.begin(), wide.end());
}

// The name of one key from the loaded library.
std::u16string Name(const siblings::DialogLibrary& library, const NameKey& key)
{
    std::uint16_t id = key.number;
    bool direct = false;
    if (key.kind == NameKey::Tray) {
        const std::optional<std::uint16_t> trayId = library.TrayStringId(key.number);
        if (!trayId)
            return {};
        id = *trayId;
        direct = true;
    }
    if (id == 0)
        return {};
    const std::optional<std::string> text = library.String(id, direct, kNameBuffer);
    return text ? Widened(text->data(), int(text->size())) : std::u16string();
}

}  // namespace

std::optional<std::vector<std::u16string>> DialogNames(std::span<const NameKey> keys)
{
    std::vector<std::u16string> names(keys.size());
    std::vector<std::size_t> missing;
    AcquireSRWLockShared(&g_lock);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto kept = Kept().find(keys[i]);
        if (kept != Kept().end())
            names[i] = kept->second;
        else
            missing.push_back(i);
    }
    ReleaseSRWLockShared(&g_lock);
    if (missing.empty())
        return names;

    const siblings::DialogLibrary library;
    if (!library.HasStrings())
        return std::nullopt;
    for (std::size_t i : missing)
        names[i] = Name(library, keys[i]);
    AcquireSRWLockExclusive(&g_lock);
    for (std::size_t i : missing)
        Kept().emplace(keys[i], names[i]);
    ReleaseSRWLockExclusive(&g_lock);
    return names;
}

}  // namespace caps
