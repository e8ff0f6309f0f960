// The update of the driver's configuration file from the update file shipped beside the library:
// the rules of the update file's control section and the steps that apply them. No platform
// headers: the profile files are reached through IniStore, so the rules can be fuzzed natively.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace events {

// The profile functions the update needs, on named files.
class IniStore {
public:
    virtual ~IniStore() = default;
    // The key's value, or the fallback when the file, section or key is absent.
    virtual std::string Read(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& fallback) = 0;
    // The section's key names in file order; none when the section is absent or empty.
    virtual std::vector<std::string> Keys(const std::string& file, const std::string& section) = 0;
    virtual void Write(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value) = 0;
    virtual void DeleteKey(const std::string& file, const std::string& section, const std::string& key) = 0;
    virtual void DeleteSection(const std::string& file, const std::string& section) = 0;
};

enum class RuleCondition {
    Exist,     // passes when the target is absent
    NotExist,  // passes when the target is present
    Replace,
    Remove,
};

struct RuleGroup {
    RuleCondition condition = RuleCondition::Replace;
    std::string flags;  // a decimal number, not otherwise used
    std::string file;
    std::string section;
    std::string key;  // "*" stands for the whole section
};

inline constexpr std::string_view kWholeSection = "*";
// Presence is told by reading with a default no value of ours holds.
inline constexpr std::string_view kAbsentSentinel = "\xAD";
// Rule values are read into a 256-character buffer, terminator included.
inline constexpr std::size_t kRuleValueChars = 255;

// A rule key: its first character is the separator, then one or more groups of five fields
// (condition, flags, file, section, key), every field present. Nothing for a key without a
// group, a missing field or a condition word other than EXIST, NOTEXIST, REPLACE and REMOVE.
std::optional<std::vector<RuleGroup>> ParseRule(std::string_view key);

// Whether the group lets its rule go on: EXIST and NOTEXIST look at the target file.
bool GroupPasses(IniStore& store, const RuleGroup& group);

// The rule's action, the last group's: delete the key or section, write the value, or for a
// whole section copy the update file's section named file + separator + section into it.
void ApplyRule(IniStore& store, const std::string& updateFile, char separator, const RuleGroup& last,
               const std::string& value);

struct UpdateFiles {
    std::string updateFile;  // empty when the update file does not exist
    std::string configFile;
    std::string libraryDir;  // with its trailing backslash; font file names are joined to it
    std::string versionSection;
    std::string controlSection;
    std::string fontsSection;
};

enum class UpdateResult {
    Unchanged,  // no update file, or the installed version is the new one
    Updated,    // every rule ran and the new version is recorded
    Failed,     // a bad rule or an empty control section stopped the update there
};

UpdateResult RunIniUpdate(IniStore& store, const UpdateFiles& files);

// A profile integer: optional blanks and sign, then decimal digits; 0 without digits.
long ProfileInteger(std::string_view text);

}  // namespace events
