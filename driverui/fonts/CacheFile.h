// The font summary cache file on disk: looked up and updated under an exclusive open, so that two
// processes printing at once never interleave their rewrites. A file that another process holds
// is waited for briefly; one that does not parse counts as a miss and is written anew.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FontCache.h"

namespace fontcache {

// The summary for a miss; nothing when it cannot be built.
using BuildSummary = std::function<std::optional<Bytes>()>;
// The texts a new file carries after its header.
using NewFileTexts = std::function<std::vector<Bytes>()>;

struct Outcome {
    Bytes summary;
    bool hit = false;      // found in the file
    bool created = false;  // the file was written anew (absent, damaged or of another version)
    bool stored = false;   // the summary is in the file now
};

// How long an exclusive open is retried while another process holds the file.
inline constexpr DWORD kOpenRetryMs = 10;
inline constexpr int kOpenRetries = 200;

// The summary for the devmode: from the file at path when it holds a matching record (which then
// moves to the front), else built and stored at the front. Nothing when a miss cannot be built;
// a file that cannot be opened or written leaves the summary uncached.
std::optional<Outcome> CachedSummary(const std::string& path, std::span<const std::uint8_t> devmode,
                                     const BuildSummary& build, const NewFileTexts& texts);

}  // namespace fontcache
