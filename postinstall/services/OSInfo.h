// Classifies the Windows version from the registry into one small code.
#pragma once

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

    OSInfo() { initialize(); }

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

private:
    void initialize();

    int code_ = Unknown;
    int major_ = 0;
    int minor_ = 0;
    int servicePack_ = 0;
    bool is64Bit_ = false;
};
