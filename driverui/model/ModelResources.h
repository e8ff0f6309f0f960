// The printer models as QVTDX5DA carries them: custom resources 258 to 286 and the display-name
// strings, read from a module (normally DriverModule()). The layouts are in ModelLayout.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ModelEnvironment.h"
#include "ModelLayout.h"

namespace model {

// The bytes of the module's custom resource of this integer type and name, valid while the
// module stays loaded; empty when the module is null, the type or name is not an integer
// resource identifier (1 to 65535), or the resource is absent.
std::span<const std::uint8_t> LoadModelResource(HMODULE module, int type, int name);

// The resource a description word selects: name = word + 1.
inline std::span<const std::uint8_t> LoadSelectedResource(HMODULE module, int type, std::uint16_t word)
{
    return LoadModelResource(module, type, SelectedName(word));
}

// The model's display name, string 10000 + model, in the ANSI code page; nothing when the
// string is missing or empty.
std::optional<std::string> LoadModelName(HMODULE module, int model);

// The number of the first model whose display name equals the name, compared without case; the
// strings 10000, 10001, ... are compared until one is missing. Nothing when none matches (the
// default builder then takes model 0).
std::optional<int> FindModelNumber(HMODULE module, std::string_view name);

// The model's description (type 260, name 10500 + model): its 82 bytes as the devmode keeps
// them, empty when absent or short; and parsed.
std::span<const std::uint8_t> LoadDescriptionBytes(HMODULE module, int model);
std::optional<ModelDescription> LoadDescription(HMODULE module, int model);

// The configuration engine's environment for the model that the devmode's description (words at
// 340) names: its tray list (word 356) and print modes (word 364); the form names of the printer
// the devmode names (271), read from its record lists when asked; the system's ANSI code page. A
// devmode too short to hold a description gives an environment without trays or print modes.
ModelEnvironment LoadModelEnvironment(HMODULE module, std::span<const std::uint8_t> devmode);

}  // namespace model
