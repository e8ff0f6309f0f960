// The configuration update over profile files in memory. The input is the installed
// configuration file's text, a zero byte, and the update file's text. Properties: a rule key
// that parses splits back into exactly its own text; an unchanged update writes nothing; a
// failed one records no version; a finished one records the new version, after which the same
// update has nothing left to do; the font values stay within their bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FontValues.h"
#include "FuzzCheck.h"
#include "MemoryIni.h"
#include "UpdateRules.h"

namespace {

const events::UpdateFiles kFiles{"C:\\drv\\QVTDX5D$.INI", "QVTDX5DD.INI", "C:\\drv\\", "QVTDX5DD", "UpdateControl",
                                 "AdditionalFonts"};

// Whether the rule is one that may write the version section itself.
bool CheckRuleKey(const std::string& key)
{
    const auto groups = events::ParseRule(key);
    if (!groups)
        return false;
    FUZZ_CHECK(!groups->empty());
    const char separator = key[0];
    const char* const words[] = {"EXIST", "NOTEXIST", "REPLACE", "REMOVE"};
    std::string joined;
    for (const events::RuleGroup& g : *groups) {
        for (const std::string* field : {&g.flags, &g.file, &g.section, &g.key})
            FUZZ_CHECK(!field->empty() && field->find(separator) == std::string::npos);
        joined += separator + std::string(words[int(g.condition)]) + separator + g.flags + separator + g.file +
                  separator + g.section + separator + g.key;
    }
    FUZZ_CHECK(joined == key);
    for (const events::RuleGroup& g : *groups)
        if (fuzzini::Lower(g.section) == fuzzini::Lower(kFiles.versionSection))
            return true;
    return false;
}

void CheckFontValues(events::IniStore& store)
{
    for (const unsigned codePage : {1252u, 932u})
        for (const events::FontValue& v : events::BuildFontValues(store, kFiles.configFile, codePage)) {
            FUZZ_CHECK(v.text.size() >= events::kShortestFontList);
            FUZZ_CHECK(v.text.size() + 1 <= events::kFontListBytes);
            if (v.name != "DBCSpfm")
                FUZZ_CHECK(v.text.back() == ';');
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\0');
    fuzzini::MemoryIni store;
    store.Load(kFiles.configFile, input.substr(0, cut));
    store.Load(kFiles.updateFile, cut == std::string::npos ? std::string() : input.substr(cut + 1));

    bool rulesTouchVersion = false;
    for (const std::string& key : store.Keys(kFiles.updateFile, kFiles.controlSection))
        rulesTouchVersion = CheckRuleKey(key) || rulesTouchVersion;
    const std::string tag = store.Read(kFiles.updateFile, kFiles.versionSection, "tag", "");
    const std::string before = store.Read(kFiles.configFile, kFiles.versionSection, tag, "\xAD");
    const auto files = store.files;

    const events::UpdateResult result = events::RunIniUpdate(store, kFiles);
    const std::string after = store.Read(kFiles.configFile, kFiles.versionSection, tag, "\xAD");
    switch (result) {
    case events::UpdateResult::Unchanged:
        FUZZ_CHECK(store.writes == 0);
        break;
    case events::UpdateResult::Failed:
        FUZZ_CHECK(after == before || rulesTouchVersion);
        break;
    case events::UpdateResult::Updated: {
        FUZZ_CHECK(!tag.empty());
        FUZZ_CHECK(after == store.Read(kFiles.updateFile, kFiles.versionSection, "ver", ""));
        // Unless the rules rewrote the update file itself, the update has run for good.
        if (store.files[fuzzini::Lower(kFiles.updateFile)] == files.at(fuzzini::Lower(kFiles.updateFile))) {
            const int writes = store.writes;
            FUZZ_CHECK(events::RunIniUpdate(store, kFiles) == events::UpdateResult::Unchanged);
            FUZZ_CHECK(store.writes == writes);
        }
        break;
    }
    }
    CheckFontValues(store);
    return 0;
}
