#include "DialogNames.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "DialogLibraryApi.h"
#include "Library.h"
#include "SiblingNames.h"
#include "SiblingPath.h"

namespace caps {
namespace {

// GetTrayID names the tray numbers 0 to 14; a number past them (from a replaced resource) has
// no name.
constexpr std::uint16_t kLastTrayNumber = 14;
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

class DialogLibrary {
public:
    DialogLibrary() : module_(LoadLibraryW(SiblingPathW(DriverModule(), kDialogLibrary.wide).c_str()))
    {
        if (!module_)
            return;
        load_ = reinterpret_cast<LoadXlatedStringFn>(GetProcAddress(module_, kLoadXlatedStringExport));
        trayId_ = reinterpret_cast<GetTrayIDFn>(GetProcAddress(module_, kGetTrayIdExport));
    }
    ~DialogLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    DialogLibrary(const DialogLibrary&) = delete;
    DialogLibrary& operator=(const DialogLibrary&) = delete;

    bool Usable() const { return load_ != nullptr; }

    std::u16string Name(const NameKey& key) const
    {
        std::uint16_t id = key.number;
        std::uint32_t direct = 0;
        if (key.kind == NameKey::Tray) {
            if (!trayId_ || key.number > kLastTrayNumber)
                return {};
            id = trayId_(key.number);
            direct = 1;
        }
        if (id == 0)
            return {};
        char text[kNameBuffer] = {};
        XlatedStringRequest request{};
        request.size = sizeof request;
        request.direct = direct;
        request.number = id;
        request.buffer = text;
        request.length = kNameBuffer;
        const int n = load_(&request);
        // The loader reports what it copied; never trust it past the buffer.
        return Widened(text, n > 0 ? int(strnlen(text, std::min<std::size_t>(std::size_t(n), kNameBuffer - 1))) : 0);
    }

private:
    HMODULE module_;
    LoadXlatedStringFn load_ = nullptr;
    GetTrayIDFn trayId_ = nullptr;
};

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

    const DialogLibrary library;
    if (!library.Usable())
        return std::nullopt;
    for (std::size_t i : missing)
        names[i] = library.Name(keys[i]);
    AcquireSRWLockExclusive(&g_lock);
    for (std::size_t i : missing)
        Kept().emplace(keys[i], names[i]);
    ReleaseSRWLockExclusive(&g_lock);
    return names;
}

}  // namespace caps
