#include "CacheFile.h"

namespace fontcache {
namespace {

// A handle on the file that no other opener shares while it is held.
class ExclusiveFile {
public:
    ExclusiveFile(const std::string& path, bool create)
    {
        for (int attempt = 0; attempt < kOpenRetries; ++attempt) {
            handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (handle_ != INVALID_HANDLE_VALUE)
                return;
            const DWORD error = GetLastError();
            if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)
                return;
            Sleep(kOpenRetryMs);
        }
    }
    ~ExclusiveFile()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;

    bool Opened() const { return handle_ != INVALID_HANDLE_VALUE; }

    // The whole file; nothing when it cannot be read or is larger than any cache file can be.
    std::optional<Bytes> Read()
    {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(handle_, &size) || size.QuadPart < 0 || std::uint64_t(size.QuadPart) > kMaxFileSize)
            return std::nullopt;
        Bytes bytes(std::size_t(size.QuadPart));
        DWORD got = 0;
        if (SetFilePointer(handle_, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
            (!bytes.empty() && (!ReadFile(handle_, bytes.data(), DWORD(bytes.size()), &got, nullptr) ||
                                got != bytes.size())))
            return std::nullopt;
        return bytes;
    }

    bool Write(const Bytes& bytes)
    {
        DWORD put = 0;
        return SetFilePointer(handle_, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
               WriteFile(handle_, bytes.data(), DWORD(bytes.size()), &put, nullptr) && put == bytes.size() &&
               SetEndOfFile(handle_);
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::optional<CacheImage> ReadImage(ExclusiveFile& file)
{
    const std::optional<Bytes> bytes = file.Read();
    return bytes ? Parse(*bytes) : std::nullopt;
}

}  // namespace

std::optional<Outcome> CachedSummary(const std::string& path, std::span<const std::uint8_t> devmode,
                                     const BuildSummary& build, const NewFileTexts& texts)
{
    if (devmode.size() < kDevmodeSize)
        return std::nullopt;
    devmode = devmode.first(kDevmodeSize);
    {
        ExclusiveFile file(path, false);
        if (file.Opened())
            if (std::optional<CacheImage> image = ReadImage(file))
                if (const std::optional<std::size_t> at = Find(*image, devmode)) {
                    Outcome hit;
                    hit.summary = image->records[*at].summary;
                    hit.hit = hit.stored = true;
                    if (*at > 0) {
                        MoveToFront(*image, *at);
                        file.Write(Serialize(*image));
                    }
                    return hit;
                }
    }

    // Built without holding the file: other documents look up meanwhile.
    std::optional<Bytes> summary = build();
    if (!summary)
        return std::nullopt;
    Outcome miss;
    miss.summary = std::move(*summary);

    ExclusiveFile file(path, true);
    if (!file.Opened())
        return miss;
    std::optional<CacheImage> image = ReadImage(file);
    if (!image) {
        image = NewImage(texts ? texts() : std::vector<Bytes>{});
        miss.created = true;
    }
    if (const std::optional<std::size_t> at = Find(*image, devmode))
        MoveToFront(*image, *at);  // stored by another process since the lookup
    else if (!Store(*image, devmode, miss.summary))
        return miss;
    miss.stored = file.Write(Serialize(*image));
    return miss;
}

}  // namespace fontcache
