// Reading the language library's resource scripts, one statement per line, and the
// pseudo-localisation of their texts: shared by the build's script tool and the fuzz seeds.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rcscript {

// A line's code: everything before a "//" outside quotes; the comment goes to *comment.
std::string CodeOf(const std::string& line, std::string* comment = nullptr);
std::string Trim(const std::string& s);

// A statement: its keyword, then its fields separated by commas outside quotes and parentheses.
struct Statement {
    std::string keyword;
    std::vector<std::string> fields;
};
Statement Split(const std::string& code);

// A quoted field's text ("" read as one quote); nothing when the field is not quoted.
std::optional<std::string> Unquoted(const std::string& field);
std::optional<int> Number(const std::string& field);

// The pseudo-localised form of a text as the script writes it (escapes left in place): about
// half again as long, letters accented, a literal "&&" beside a mnemonic, a literal "%%" in a
// format, mnemonic letters, conversions and escapes unchanged.
std::string PseudoText(const std::string& raw);
// The pseudo-localised form of a script line: its texts, and the dialog font's face name.
std::string PseudoLine(const std::string& line);

}  // namespace rcscript
