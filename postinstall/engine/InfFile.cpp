#include "InfFile.h"

#include "TextFile.h"
#include "Tokenizer.h"

bool InfFile::Load(const CStdStr& path)
{
    Clear();
    TextFile file;
    if (!file.Open(path, TextFile::ModeRead))
        return false;
    CStdStr line;
    while (file.ReadString(line))
        AddLine(line);
    return true;
}

// Splits as TextFile reads: at line feeds, less a final CR, text after a NUL dropped.
void InfFile::LoadFromText(const CStdStr& text)
{
    Clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == CStdStr::npos)
            end = text.size();
        CStdStr line = text.substr(start, end - start);
        size_t nul = line.find('\0');
        if (nul != CStdStr::npos)
            line.erase(nul);
        AddLine(line);
        start = end + 1;
    }
}

void InfFile::Clear()
{
    sections_.clear();
}

void InfFile::AddLine(const CStdStr& raw)
{
    CStdStr line = Trim(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#')
        return;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        sections_.push_back(InfSection{line.substr(1, line.size() - 2), {}});
        return;
    }
    // Lines before the first header belong to no section.
    if (!sections_.empty())
        sections_.back().lines.push_back(line);
}

const CStdStringList* InfFile::FindSection(const CStdStr& name) const
{
    for (const InfSection& section : sections_)
        if (EqualNoCase(section.name, name))
            return &section.lines;
    return nullptr;
}

bool InfFile::GetValue(const CStdStr& section, const CStdStr& key, CStdStr& value) const
{
    value.clear();
    const CStdStringList* lines = FindSection(section);
    return lines && ValueInLines(*lines, key, value);
}

bool InfFile::ValueInLines(const CStdStringList& lines, const CStdStr& key, CStdStr& value)
{
    CStdStr lineKey, lineValue;
    for (const CStdStr& line : lines) {
        if (SplitKeyValue(line, lineKey, lineValue) && EqualNoCase(lineKey, key)) {
            value = lineValue;
            return true;
        }
    }
    value.clear();
    return false;
}
