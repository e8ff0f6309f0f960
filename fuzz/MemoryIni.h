// Profile files held in memory for the configuration-update fuzzer: names compare without case,
// as the profile functions compare them, and the files read from INI text.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "UpdateRules.h"

namespace fuzzini {

inline std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
};
using File = std::vector<Section>;

class MemoryIni final : public events::IniStore {
public:
    std::map<std::string, File> files;  // by lower-case name

    // "[section]" lines and "key=value" lines; anything else is left out.
    void Load(const std::string& file, const std::string& text)
    {
        File& f = files[Lower(file)];
        Section* current = nullptr;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            start = end + 1;
            if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
                f.push_back({line.substr(1, line.size() - 2), {}});
                current = &f.back();
            } else if (const std::size_t eq = line.find('='); current && eq != std::string::npos && eq > 0) {
                current->entries.emplace_back(line.substr(0, eq), line.substr(eq + 1));
            }
        }
    }

    std::string Read(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& fallback) override
    {
        if (const auto* e = Entry(file, section, key))
            return e->second;
        return fallback;
    }
    std::vector<std::string> Keys(const std::string& file, const std::string& section) override
    {
        std::vector<std::string> keys;
        if (Section* s = Find(file, section))
            for (const auto& e : s->entries)
                keys.push_back(e.first);
        return keys;
    }
    void Write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override
    {
        ++writes;
        if (auto* e = Entry(file, section, key)) {
            e->second = value;
            return;
        }
        Section* s = Find(file, section);
        if (!s) {
            files[Lower(file)].push_back({section, {}});
            s = &files[Lower(file)].back();
        }
        s->entries.emplace_back(key, value);
    }
    void DeleteKey(const std::string& file, const std::string& section, const std::string& key) override
    {
        ++writes;
        if (Section* s = Find(file, section))
            std::erase_if(s->entries, [&](const auto& e) { return Lower(e.first) == Lower(key); });
    }
    void DeleteSection(const std::string& file, const std::string& section) override
    {
        ++writes;
        const auto it = files.find(Lower(file));
        if (it != files.end())
            std::erase_if(it->second, [&](const Section& s) { return Lower(s.name) == Lower(section); });
    }

    int writes = 0;

private:
    Section* Find(const std::string& file, const std::string& section)
    {
        const auto it = files.find(Lower(file));
        if (it == files.end())
            return nullptr;
        for (Section& s : it->second)
            if (Lower(s.name) == Lower(section))
                return &s;
        return nullptr;
    }
    std::pair<std::string, std::string>* Entry(const std::string& file, const std::string& section,
                                               const std::string& key)
    {
        if (Section* s = Find(file, section))
            for (auto& e : s->entries)
                if (Lower(e.first) == Lower(key))
                    return &e;
        return nullptr;
    }
};

inline bool operator==(const Section& a, const Section& b)
{
    return a.name == b.name && a.entries == b.entries;
}

}  // namespace fuzzini
