// Helpers of the dialog library's tests: the library loaded from build/<arch>/bin, a host window
// that records the commands it receives, and a control's picture read back pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace dialogtest {

// QVTDX5DU.DLL of the build, loaded for the life of the program, and the language library it
// loaded beside itself.
inline HMODULE DialogLibrary()
{
    static const HMODULE module = LoadLibraryA((qvtest::BinDir() + "\\QVTDX5DU.DLL").c_str());
    return module;
}
inline HMODULE LanguageLibrary()
{
    DialogLibrary();
    return GetModuleHandleA((qvtest::BinDir() + "\\QVTDX5DL.DLL").c_str());
}

template <class Fn>
Fn Export(const char* name)
{
    return reinterpret_cast<Fn>(GetProcAddress(DialogLibrary(), name));
}

// A string of the language library.
inline std::wstring String(UINT id)
{
    const wchar_t* text = nullptr;
    const int n = LoadStringW(LanguageLibrary(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 ? std::wstring(text, std::size_t(n)) : std::wstring();
}

// A dialog procedure that handles nothing: templates created as they stand.
inline INT_PTR CALLBACK NoDialogLogic(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// A top-level window to put controls in; it keeps the WM_COMMAND messages it gets.
class Host {
public:
    explicit Host(int width = 400, int height = 300);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    HWND Window() const { return window_; }
    // A control of one of the library's classes (registered with the language library).
    HWND AddControl(const char* className, int id, int x, int y, int w, int h, const char* text = "",
                    DWORD style = 0);
    HWND AddControlW(const wchar_t* className, int id, int x, int y, int w, int h);
    const std::vector<WPARAM>& Commands() const { return commands_; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
    std::vector<WPARAM> commands_;
};

// The client area as a control paints it for WM_PRINTCLIENT, 0x00RRGGBB per pixel.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    int Count(std::uint32_t rgb) const;
    int CountIn(std::uint32_t rgb, int x0, int y0, int x1, int y1) const;
    int CountIn(const RECT& r, std::uint32_t rgb) const { return CountIn(rgb, r.left, r.top, r.right, r.bottom); }
    bool operator==(const Picture&) const = default;
};
Picture Capture(HWND control);

inline constexpr std::uint32_t Rgb(int r, int g, int b)
{
    return std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

}  // namespace dialogtest
