// Paths of sibling libraries: every library of the package is loaded from the directory of the
// library that loads it, so the package works wherever the spooler put it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

// Longer paths fall back to the bare file name (and so to the loader's search order).
inline constexpr std::size_t kMaxSiblingPath = 260;

// The loading module's full path cut after its last '\' or ':', plus the file name; the bare
// file name when that would pass kMaxSiblingPath characters.
std::string SiblingPathFrom(std::string_view modulePath, std::string_view fileName);
std::wstring SiblingPathFrom(std::wstring_view modulePath, std::wstring_view fileName);

// The same for a loaded module; the bare file name when its path cannot be read.
std::string SiblingPathA(HMODULE module, const char* fileName);
std::wstring SiblingPathW(HMODULE module, const wchar_t* fileName);

// The loading module's directory plus the file name, whatever its length; empty when the module's
// path cannot be read. For the libraries that run code inside the spooler at once (toolkit,
// profiles): never a bare name, which the loader would look for in the current directory and on
// the search path.
std::wstring SiblingFullPathW(HMODULE module, const wchar_t* fileName);
