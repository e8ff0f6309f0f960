// File versions of the driver's libraries, as the About page shows them.
#pragma once

#include <optional>
#include <string>

namespace dialogs {

// The file in this library's directory, else in the system directory, else in the Windows
// directory; empty when it is in none of them.
std::wstring FindLibraryFile(const std::wstring& name);
// The "FileVersion" text of the file's version resource, in the language and code page of its
// first translation; nullopt without a resource or that text.
std::optional<std::wstring> FileVersionOf(const std::wstring& path);

}  // namespace dialogs
