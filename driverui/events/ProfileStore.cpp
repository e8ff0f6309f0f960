#include "ProfileStore.h"

#include <windows.h>

namespace events {
namespace {

constexpr DWORD kFirstBuffer = 1024;
constexpr DWORD kLargestBuffer = 1 << 20;

// The profile functions cut what does not fit and say so only by the count: the buffer grows
// until the text plus its terminators (one for a value, two for a list) leaves room.
std::string ReadProfile(const char* file, const char* section, const char* key, const char* fallback,
                        DWORD terminators)
{
    for (DWORD size = kFirstBuffer;; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD n = GetPrivateProfileStringA(section, key, fallback, buffer.data(), size, file);
        if (n + terminators < size || size >= kLargestBuffer) {
            buffer.resize(n < size ? n : size);
            return buffer;
        }
    }
}

}  // namespace

std::string ProfileStore::Read(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& fallback)
{
    if (file.empty() || key.empty())
        return fallback;
    return ReadProfile(file.c_str(), section.c_str(), key.c_str(), fallback.c_str(), 1);
}

std::vector<std::string> ProfileStore::Keys(const std::string& file, const std::string& section)
{
    std::vector<std::string> keys;
    if (file.empty() || section.empty())
        return keys;
    const std::string list = ReadProfile(file.c_str(), section.c_str(), nullptr, "", 2);
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = list.find('\0', at);
        const std::size_t stop = end == std::string::npos ? list.size() : end;
        if (stop > at)
            keys.push_back(list.substr(at, stop - at));
        at = stop + 1;
    }
    return keys;
}

void ProfileStore::Write(const std::string& file, const std::string& section, const std::string& key,
                         const std::string& value)
{
    if (!file.empty() && !key.empty())
        WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

void ProfileStore::DeleteKey(const std::string& file, const std::string& section, const std::string& key)
{
    if (!file.empty() && !key.empty())
        WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str());
}

void ProfileStore::DeleteSection(const std::string& file, const std::string& section)
{
    if (!file.empty() && !section.empty())
        WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str());
}

}  // namespace events
