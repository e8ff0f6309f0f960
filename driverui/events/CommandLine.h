// The post-install utility's command line. The utility splits its command line at blanks, and a
// field opening with a double or a single quote runs to the same quote, with no escapes; empty
// fields are skipped. So a text can be passed as one field exactly when it is not empty and
// does not hold both quote characters. No platform headers: fuzzed against the utility's own
// tokenizer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace events {

inline constexpr std::string_view kPostInstallProgram = "QVTDX5PI.EXE";
inline constexpr std::string_view kPostInstallScript = "QVTDX5DA.ALL";
inline constexpr std::string_view kRenderingDriverFile = "QVTDX5DD.DLL";

// The text as one field: in double quotes, or in single quotes when it holds a double quote.
// Nothing for a text that cannot be passed (empty, both quotes, or a zero byte).
std::optional<std::string> QuoteField(std::string_view text);

struct PostInstallRequest {
    std::string libraryDir;  // the driver library's directory with its trailing backslash
    bool silent = false;
    std::string port;
    std::string printer;
};

// What follows the program: [-s] -i script -d QVTDX5DD.DLL -p port -n printer. Nothing when the
// script path, the port or the printer name cannot be passed.
std::optional<std::string> PostInstallArguments(const PostInstallRequest& request);

// The whole command line: the program's path in double quotes, a blank, the arguments.
std::optional<std::string> PostInstallCommandLine(const PostInstallRequest& request);

}  // namespace events
