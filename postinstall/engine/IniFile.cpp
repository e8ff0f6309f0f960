#include "IniFile.h"

#include "DebugLog.h"
#include "TextFile.h"

bool IniSection::GetValue(const CStdStr& key, CStdStr& value) const
{
    auto it = values_.find(ToLower(key));
    if (it == values_.end()) {
        value.clear();
        return false;
    }
    value = it->second;
    return true;
}

void IniSection::set(const CStdStr& key, const CStdStr& value)
{
    auto [it, isNew] = values_.insert_or_assign(ToLower(key), value);
    if (isNew)
        keyOrder_.push_back(key);
}

IniSection& IniFile::GetSection(const CStdStr& name)
{
    for (const auto& section : sections_)
        if (EqualNoCase(section->name(), name))
            return *section;
    sections_.push_back(std::make_unique<IniSection>(name));
    return *sections_.back();
}

void IniFile::SetValue(const CStdStr& section, const CStdStr& key, const CStdStr& value)
{
    GetSection(section).set(key, value);
}

bool IniFile::Write(const CStdStr& path) const
{
    TextFile file;
    if (!file.Open(path, TextFile::ModeWrite, encoding_)) {
        DebugLog << "IniFile::Write: Failed to open " << path << " for writing." << '\n';
        return false;
    }
    CStdStr value;
    for (const auto& section : sections_) {
        file.WriteString("[" + section->name() + "]\n");
        for (const CStdStr& key : section->keys()) {
            section->GetValue(key, value);
            file.WriteString(key + "=" + value + "\n");
        }
        file.WriteString("\n");
    }
    file.Close();
    return true;
}
