// The utility's one wrapper over the platform registry. Roots are named by short texts ("HKLM",
// "HKCU", "HKU", "HKCR", "HKCC"), optionally of another computer; keys are opened and closed per
// call, only the local-machine and users roots are kept. Failures are logged, never thrown.
#pragma once

#include <cstdint>

#include "../engine/StdStr.h"

// Declared here rather than through <windows.h>, whose macros would reach every caller.
struct HKEY__;
using HKEY = HKEY__*;

// One value as the utility exchanges it.
struct RegValue {
    enum Kind : int {
        None = 0,        // nothing read, or a platform type the utility does not handle
        Number = 1,      // REG_DWORD
        Text = 2,        // REG_SZ
        ExpandText = 3,  // REG_EXPAND_SZ, stored and returned unexpanded
        Binary = 4,      // REG_BINARY, written from hexadecimal text ("ABC" gives AB C0)
        TextList = 5,    // REG_MULTI_SZ, read only
    };

    int kind = None;
    std::uint32_t number = 0;  // kind Number
    CStdStr text;              // kinds Text, ExpandText, Binary
    CStdStringList list;       // kind TextList
};

class Registry {
public:
    static constexpr unsigned long kRead = 0x20019;  // KEY_READ
    static constexpr unsigned long kAll = 0xF003F;   // KEY_ALL_ACCESS

    Registry();
    // An empty name is the local computer.
    explicit Registry(const CStdStr& machine);
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // A name that differs (without regard to case) drops the kept roots.
    void SetMachine(const CStdStr& machine);
    const CStdStr& Machine() const { return machine_; }

    // The root's handle, or none. "HKCU" and "HKCC" exist only locally. "HKCR" is a key of its
    // own (Software\Classes of the local-machine root, opened with access): hand every result
    // back through releaseKey.
    HKEY getRootKey(const CStdStr& root, unsigned long access = kRead);
    // A new connection to a predefined root of the machine (locally for an empty name); the
    // caller closes it.
    HKEY getRemoteKey(HKEY predefined);
    // A new handle, or none (silently when the key is missing); hand it back through releaseKey.
    HKEY openKey(const CStdStr& root, const CStdStr& key, unsigned long access);
    // Closes a handle from getRootKey or openKey unless it is a predefined or kept root.
    void releaseKey(HKEY key);

    // Hands a handle from getRootKey or openKey back on every path out of a scope.
    class KeyRef {
    public:
        KeyRef(Registry& reg, HKEY key) : reg_(reg), key_(key) {}
        ~KeyRef() { reg_.releaseKey(key_); }
        KeyRef(const KeyRef&) = delete;
        KeyRef& operator=(const KeyRef&) = delete;

        HKEY get() const { return key_; }
        explicit operator bool() const { return key_ != nullptr; }

    private:
        Registry& reg_;
        HKEY key_;
    };

    // False for a missing or empty value (silently) and for types the record cannot hold.
    bool ReadValue(const CStdStr& root, const CStdStr& key, const CStdStr& name, RegValue& value);
    // A number as signed decimal text, a text kind as its text, anything else empty text.
    CStdStr ReadString(const CStdStr& root, const CStdStr& key, const CStdStr& name);
    // The key must exist; it is not created.
    bool WriteValue(const CStdStr& root, const CStdStr& key, const CStdStr& name, const RegValue& value);
    bool DeleteValue(const CStdStr& root, const CStdStr& key, const CStdStr& name);
    // The value can be read and holds at least one byte.
    bool ValueExists(const CStdStr& root, const CStdStr& key, const CStdStr& name);
    bool KeyExists(const CStdStr& root, const CStdStr& key);
    // No sub-keys, and no values besides an empty-named default.
    bool IsKeyEmpty(const CStdStr& root, const CStdStr& key);

    // Creates the missing keys of the path. New keys get their parent's access list, or one that
    // gives Everyone all access.
    bool CreateKey(const CStdStr& root, const CStdStr& path, bool copyParentAccess);
    // Copies the source's access list onto the target: 0, or the error code.
    long cloneKeyAccess(HKEY source, HKEY target);

    // Deletes the key when empty, then its empty parents when asked; whether any was deleted.
    bool DeleteEmptyKey(const CStdStr& root, const CStdStr& path, bool parents);
    // Deletes the key with everything below it. An empty key (the root itself) is refused.
    void DeleteTree(const CStdStr& root, const CStdStr& key);

private:
    void cleanHelper(const CStdStr& root, const CStdStr& key, bool deleteNonEmpty);
    void closeKeptRoots();

    CStdStr machine_;
    HKEY localMachine_ = nullptr;
    HKEY users_ = nullptr;
};
