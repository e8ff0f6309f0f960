// The INF script, read once and then only queried. Sections keep file order; a repeated name is
// kept, and lookups find the first. Lines are stored trimmed, without comments or empty lines.
#pragma once

#include <vector>

#include "StdStr.h"

struct InfSection {
    CStdStr name;  // the text between the brackets, as written
    CStdStringList lines;
};

class InfFile {
public:
    // Reads the file (ANSI or UTF-16); one that cannot be opened leaves the script empty and gives
    // false, without a message.
    bool Load(const CStdStr& path);
    // The same parse over text already in memory (ANSI, line ends LF or CR LF).
    void LoadFromText(const CStdStr& text);
    void Clear();

    // The lines of the first section of that name (any case), or nullptr.
    const CStdStringList* FindSection(const CStdStr& name) const;
    // Not found leaves value empty.
    bool GetValue(const CStdStr& section, const CStdStr& key, CStdStr& value) const;
    // The value of the first line whose key matches (any case); lines starting "=" have no key.
    static bool ValueInLines(const CStdStringList& lines, const CStdStr& key, CStdStr& value);

    const std::vector<InfSection>& Sections() const { return sections_; }

private:
    void AddLine(const CStdStr& raw);

    std::vector<InfSection> sections_;
};
