#include "UpdateRules.h"

#include <climits>

namespace events {
namespace {

constexpr std::size_t kGroupFields = 5;

std::optional<RuleCondition> Condition(std::string_view word)
{
    if (word == "EXIST")
        return RuleCondition::Exist;
    if (word == "NOTEXIST")
        return RuleCondition::NotExist;
    if (word == "REPLACE")
        return RuleCondition::Replace;
    if (word == "REMOVE")
        return RuleCondition::Remove;
    return std::nullopt;
}

std::vector<std::string_view> Fields(std::string_view text, char separator)
{
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        fields.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos)
            return fields;
        from = at + 1;
    }
}

bool IsPresent(IniStore& store, const RuleGroup& g)
{
    if (g.key == kWholeSection)
        return !store.Keys(g.file, g.section).empty();
    const std::string sentinel(kAbsentSentinel);
    return store.Read(g.file, g.section, g.key, sentinel) != sentinel;
}

}  // namespace

std::optional<std::vector<RuleGroup>> ParseRule(std::string_view key)
{
    if (key.size() < 2)
        return std::nullopt;
    const std::vector<std::string_view> fields = Fields(key.substr(1), key[0]);
    if (fields.size() % kGroupFields != 0)
        return std::nullopt;
    std::vector<RuleGroup> groups;
    for (std::size_t i = 0; i < fields.size(); i += kGroupFields) {
        for (std::size_t f = i; f < i + kGroupFields; ++f)
            if (fields[f].empty())
                return std::nullopt;
        const std::optional<RuleCondition> condition = Condition(fields[i]);
        if (!condition)
            return std::nullopt;
        groups.push_back({*condition, std::string(fields[i + 1]), std::string(fields[i + 2]),
                          std::string(fields[i + 3]), std::string(fields[i + 4])});
    }
    return groups;
}

bool GroupPasses(IniStore& store, const RuleGroup& group)
{
    switch (group.condition) {
    case RuleCondition::Exist:
        return !IsPresent(store, group);
    case RuleCondition::NotExist:
        return IsPresent(store, group);
    case RuleCondition::Replace:
    case RuleCondition::Remove:
        return true;
    }
    return false;
}

void ApplyRule(IniStore& store, const std::string& updateFile, char separator, const RuleGroup& last,
               const std::string& value)
{
    const bool remove = last.condition == RuleCondition::Remove;
    if (last.key != kWholeSection) {
        if (remove)
            store.DeleteKey(last.file, last.section, last.key);
        else
            store.Write(last.file, last.section, last.key, value);
        return;
    }
    if (remove) {
        store.DeleteSection(last.file, last.section);
        return;
    }
    const std::string source = last.file + separator + last.section;
    for (const std::string& key : store.Keys(updateFile, source))
        store.Write(last.file, last.section, key, store.Read(updateFile, source, key, ""));
}

UpdateResult RunIniUpdate(IniStore& store, const UpdateFiles& files)
{
    if (files.updateFile.empty())
        return UpdateResult::Unchanged;
    const std::string tag = store.Read(files.updateFile, files.versionSection, "tag", "");
    // Without a tag there is nowhere to record the version: the update would rerun every time.
    if (tag.empty())
        return UpdateResult::Unchanged;
    const std::string newVersion = store.Read(files.updateFile, files.versionSection, "ver", "");
    if (ProfileInteger(store.Read(files.configFile, files.versionSection, tag, "")) == ProfileInteger(newVersion))
        return UpdateResult::Unchanged;

    const std::vector<std::string> rules = store.Keys(files.updateFile, files.controlSection);
    if (rules.empty())
        return UpdateResult::Failed;
    for (const std::string& rule : rules) {
        std::string value = store.Read(files.updateFile, files.controlSection, rule, "");
        if (value.size() > kRuleValueChars)
            value.resize(kRuleValueChars);
        const std::optional<std::vector<RuleGroup>> groups = ParseRule(rule);
        if (!groups)
            return UpdateResult::Failed;
        bool passed = true;
        for (const RuleGroup& group : *groups)
            if (!GroupPasses(store, group)) {
                passed = false;
                break;
            }
        if (passed)
            ApplyRule(store, files.updateFile, rule[0], groups->back(), value);
    }

    for (const std::string& key : store.Keys(files.updateFile, files.fontsSection))
        store.Write(files.configFile, files.fontsSection, key,
                    files.libraryDir + store.Read(files.updateFile, files.fontsSection, key, ""));
    store.Write(files.configFile, files.versionSection, tag, newVersion);
    return UpdateResult::Updated;
}

long ProfileInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (value > (LONG_MAX - digit) / 10)
            return negative ? LONG_MIN : LONG_MAX;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

}  // namespace events
