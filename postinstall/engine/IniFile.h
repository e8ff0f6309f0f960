// An INI document built in memory and written out whole, in ANSI. Sections and keys keep the
// order in which they were first set; names compare without regard to case.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "StdStr.h"

class IniSection {
public:
    explicit IniSection(const CStdStr& name) : name_(name) {}
    virtual ~IniSection() = default;
    // Not found leaves value empty.
    virtual bool GetValue(const CStdStr& key, CStdStr& value) const;

    // A later value for a key replaces the earlier one, at the key's first place.
    void set(const CStdStr& key, const CStdStr& value);

    const CStdStr& name() const { return name_; }
    // The keys as first spelt, in the order first set.
    const CStdStringList& keys() const { return keyOrder_; }

private:
    CStdStr name_;
    CStdStringList keyOrder_;
    std::map<CStdStr, CStdStr> values_;  // by lower-cased key
};

class IniFile {
public:
    IniFile() = default;
    virtual ~IniFile() = default;
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;
    // The section of that name (any case), appended when new.
    virtual IniSection& GetSection(const CStdStr& name);

    void SetValue(const CStdStr& section, const CStdStr& key, const CStdStr& value);
    // "[name]", then key=value lines, then an empty line, for each section; CR LF line ends.
    bool Write(const CStdStr& path) const;

private:
    std::vector<std::unique_ptr<IniSection>> sections_;
    int encoding_ = 1;  // TextFile::EncAnsi
};
