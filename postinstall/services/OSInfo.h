// Classifies the Windows version, of this computer or of a named one, from the registry into one
// small code. Every user makes its own short-lived object; nothing is cached between objects.
#pragma once

#include "../engine/StdStr.h"

class OSInfo {
public:
    enum Code {
        Unknown = -1,
        Win95 = 0,
        Win98 = 1,
        Win98SE = 2,
        WinMe = 3,
        NT4 = 4,
        Win2000 = 5,
        Server2003 = 6,
        WinXP = 7,
        Vista = 9,
    };

    // What the classification reads: the values of HKLM "Software\Microsoft\Windows\CurrentVersion"
    // (9x) and "Software\Microsoft\Windows NT\CurrentVersion" (NT), empty when missing, and the
    // answer to the 64-bit question, which counts only for NT 5 and later.
    struct VersionTexts {
        CStdStr versionNumber;
        CStdStr subVersionNumber;
        CStdStr currentVersion;
        CStdStr csdVersion;
        bool is64Bit = false;
    };

    // This computer.
    OSInfo();
    // A named computer; an empty name is this computer.
    explicit OSInfo(const CStdStr& machine);
    // Classifies given texts; reads nothing.
    explicit OSInfo(const VersionTexts& texts);

    // The texts a typical computer of that code holds (NT 4 with service pack 6).
    static VersionTexts TextsOf(Code code, bool is64Bit = false);

    // For tests: while one is alive, every OSInfo made for any computer classifies these texts
    // instead of reading the registry. Set and cleared on the test's own thread; they nest.
    class ScopedOverride {
    public:
        explicit ScopedOverride(const VersionTexts& texts);
        explicit ScopedOverride(Code code, bool is64Bit = false) : ScopedOverride(TextsOf(code, is64Bit)) {}
        ~ScopedOverride();
        ScopedOverride(const ScopedOverride&) = delete;
        ScopedOverride& operator=(const ScopedOverride&) = delete;

    private:
        VersionTexts texts_;
        const VersionTexts* previous_;
    };

    int GetOSCode() const { return code_; }
    bool Is9x() const { return code_ >= Win95 && code_ <= WinMe; }
    bool IsNT() const { return code_ == NT4 || IsNT5OrLater(); }
    bool IsNT5OrLater() const
    {
        return code_ == Win2000 || code_ == Server2003 || code_ == WinXP || code_ == Vista;
    }
    bool IsVista() const { return code_ == Vista; }
    bool Is64Bit() const { return is64Bit_; }
    int Major() const { return major_; }
    int Minor() const { return minor_; }
    int ServicePack() const { return servicePack_; }
    const CStdStr& Machine() const { return machine_; }

private:
    // Where the values come from: a computer's registry, or given texts.
    class Source;
    class RegistrySource;
    class TextsSource;

    void initialize();
    void classify(Source& source);

    CStdStr machine_;
    int code_ = Unknown;
    int major_ = 0;
    int minor_ = 0;
    int servicePack_ = 0;
    bool is64Bit_ = false;
};
