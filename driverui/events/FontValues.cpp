#include "FontValues.h"

namespace events {
namespace {

// Appends an entry when it fits the list with the terminator.
bool Append(std::string& list, const std::string& entry)
{
    if (list.size() + entry.size() + 1 > kFontListBytes)
        return false;
    list += entry;
    return true;
}

std::string Substitutes(IniStore& store, const std::string& file)
{
    std::string list;
    for (const std::string& key : store.Keys(file, "FontSubstitutes"))
        Append(list, key + "=" + store.Read(file, "FontSubstitutes", key, "") + ";");
    return list;
}

// A!K=V! for each key K of the section that alias A names; a group ends in ';'.
std::string Aliases(IniStore& store, const std::string& file)
{
    std::string list;
    for (const std::string& alias : store.Keys(file, "ALIAS")) {
        const std::string section = store.Read(file, "ALIAS", alias, "");
        bool grouped = false;
        for (const std::string& key : store.Keys(file, section))
            grouped = Append(list, alias + "!" + key + "=" + store.Read(file, section, key, "") + "!") || grouped;
        if (grouped && !list.empty() && list.back() == '!')
            list.back() = ';';
    }
    return list;
}

std::string AdditionalFonts(IniStore& store, const std::string& file)
{
    std::string list;
    for (const std::string& key : store.Keys(file, "AdditionalFonts"))
        Append(list, store.Read(file, "AdditionalFonts", key, "") + ";");
    return list;
}

bool IsDoubleByte(unsigned codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

}  // namespace

std::vector<FontValue> BuildFontValues(IniStore& store, const std::string& configFile, unsigned codePage)
{
    std::vector<FontValue> values;
    const auto add = [&](const char* name, std::string text) {
        if (text.size() >= kShortestFontList)
            values.push_back({name, std::move(text)});
    };
    add("FontSubstitutes", Substitutes(store, configFile));
    add("ALIAS", Aliases(store, configFile));
    add("AdditionalFonts", AdditionalFonts(store, configFile));
    if (IsDoubleByte(codePage)) {
        std::string metrics = store.Read(configFile, "DBCSpfm", std::to_string(codePage), "");
        if (metrics.size() + 1 > kFontListBytes)
            metrics.resize(kFontListBytes - 1);
        add("DBCSpfm", std::move(metrics));
    }
    return values;
}

}  // namespace events
