// The profile store of the configuration update on the platform's profile functions. A bare file
// name is a file in the Windows directory; an empty one is no file at all.
#pragma once

#include "UpdateRules.h"

namespace events {

class ProfileStore final : public IniStore {
public:
    std::string Read(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& fallback) override;
    std::vector<std::string> Keys(const std::string& file, const std::string& section) override;
    void Write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override;
    void DeleteKey(const std::string& file, const std::string& section, const std::string& key) override;
    void DeleteSection(const std::string& file, const std::string& section) override;
};

}  // namespace events
