// Two build steps over the language library's resource scripts:
//   qvrctool lint <script>...           checks every dialog template and fails the build on a fault
//   qvrctool pseudo <in> <out>          writes the pseudo-localised copy of a script
// The scripts keep one statement per line, which is all either step relies on.
//
// Lint: every template uses the platform's dialog font; every control lies inside its template;
// no two mnemonics of a template share a letter; controls do not overlap unless one is a group
// box around the other. Lines that say "// stacked" are controls the page shows one at a time:
// they may overlap and share mnemonics with each other.
//
// Pseudo: every text is lengthened by about half, its letters accented, a literal "&&" is added
// beside a mnemonic, format strings gain a literal "%%", and the dialog font becomes a face name
// in double-byte characters. Mnemonic letters, format conversions and escapes stay as they are;
// a line that says "// keep" is copied unchanged (file filters and other texts code parses).
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "RcScript.h"

namespace {

using rcscript::CodeOf;
using rcscript::Number;
using rcscript::PseudoLine;
using rcscript::Split;
using rcscript::Statement;
using rcscript::Trim;
using rcscript::Unquoted;

// ---- Lint --------------------------------------------------------------------------------------

const std::set<std::string> kTextFirst = {"LTEXT",       "RTEXT",    "CTEXT",           "PUSHBUTTON",
                                          "DEFPUSHBUTTON", "GROUPBOX", "CHECKBOX",        "AUTOCHECKBOX",
                                          "RADIOBUTTON", "AUTORADIOBUTTON", "STATE3", "AUTO3STATE", "ICON"};
const std::set<std::string> kNoText = {"EDITTEXT", "COMBOBOX", "LISTBOX", "SCROLLBAR"};

struct Control {
    int line = 0;
    std::string keyword, text, id;
    int x = 0, y = 0, w = 0, h = 0;
    bool group = false, stacked = false, hasRect = false;
};

struct Dialog {
    std::string name;
    int line = 0, w = 0, h = 0;
    bool shellFont = false, font = false;
    std::vector<Control> controls;
};

int g_faults = 0;

void Fault(const std::string& file, int line, const std::string& what)
{
    std::fprintf(stderr, "%s:%d: %s\n", file.c_str(), line, what.c_str());
    ++g_faults;
}

std::optional<Control> ParseControl(const Statement& st, int line, const std::string& comment)
{
    Control c;
    c.line = line;
    c.keyword = st.keyword;
    c.stacked = comment.find("stacked") != std::string::npos;
    std::size_t at = 0;
    if (kTextFirst.count(st.keyword) || st.keyword == "CONTROL") {
        if (st.fields.empty())
            return std::nullopt;
        c.text = Unquoted(st.fields[0]).value_or("");
        at = 1;
    } else if (!kNoText.count(st.keyword)) {
        return std::nullopt;
    }
    if (at < st.fields.size())
        c.id = st.fields[at];
    std::size_t rect = at + 1;
    if (st.keyword == "CONTROL") {
        rect = at + 3;  // class and style first
        if (at + 2 < st.fields.size())
            c.group = st.fields[at + 2].find("BS_GROUPBOX") != std::string::npos;
    }
    c.group = c.group || st.keyword == "GROUPBOX";
    if (rect + 3 < st.fields.size()) {
        const auto x = Number(st.fields[rect]), y = Number(st.fields[rect + 1]);
        const auto w = Number(st.fields[rect + 2]), h = Number(st.fields[rect + 3]);
        if (x && y && w && h) {
            c.x = *x, c.y = *y, c.w = *w, c.h = *h;
            c.hasRect = true;
        }
    }
    // A combo box's height includes its drop-down list; only the edit part takes room.
    if (st.keyword == "COMBOBOX" && c.h > 14)
        c.h = 14;
    return c;
}

void CheckDialog(const std::string& file, const Dialog& d)
{
    if (!d.shellFont || !d.font)
        Fault(file, d.line, d.name + ": not in the platform's dialog font (DS_SHELLFONT with \"MS Shell Dlg\")");
    std::map<char, const Control*> mnemonics;
    for (const Control& c : d.controls) {
        if (!c.hasRect) {
            Fault(file, c.line, d.name + ": control without a numeric rectangle");
            continue;
        }
        if (c.x < 0 || c.y < 0 || c.x + c.w > d.w || c.y + c.h > d.h)
            Fault(file, c.line, d.name + ": " + c.id + " passes the template's edge");
        if (c.keyword == "ICON")
            continue;
        for (std::size_t i = 0; i + 1 < c.text.size(); ++i) {
            if (c.text[i] != '&')
                continue;
            if (c.text[i + 1] == '&') {
                ++i;
                continue;
            }
            const char m = char(std::tolower(static_cast<unsigned char>(c.text[i + 1])));
            // Controls shown one at a time may share a mnemonic.
            const auto [it, fresh] = mnemonics.emplace(m, &c);
            if (!fresh && !(c.stacked && it->second->stacked))
                Fault(file, c.line,
                      d.name + ": mnemonic '" + m + "' also on line " + std::to_string(it->second->line));
        }
    }
    for (std::size_t i = 0; i < d.controls.size(); ++i)
        for (std::size_t j = i + 1; j < d.controls.size(); ++j) {
            const Control& a = d.controls[i];
            const Control& b = d.controls[j];
            if (!a.hasRect || !b.hasRect || a.group || b.group || (a.stacked && b.stacked))
                continue;
            const bool overlap = a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
            if (overlap)
                Fault(file, b.line, d.name + ": " + b.id + " overlaps " + a.id + " (line " + std::to_string(a.line) +
                                        ")");
        }
}

int Lint(const std::vector<std::string>& files)
{
    for (const std::string& file : files) {
        std::ifstream in(file);
        if (!in) {
            Fault(file, 0, "cannot be read");
            continue;
        }
        std::string line;
        int number = 0;
        std::optional<Dialog> dialog;
        bool body = false;
        while (std::getline(in, line)) {
            ++number;
            std::string comment;
            const std::string code = Trim(CodeOf(line, &comment));
            if (code.empty() || code[0] == '#')
                continue;
            const Statement st = Split(code);
            if (!dialog) {
                std::istringstream words(code);
                std::string name, kind;
                words >> name >> kind;
                if (kind == "DIALOGEX" || kind == "DIALOG") {
                    dialog = Dialog{};
                    dialog->name = name;
                    dialog->line = number;
                    const Statement header = Split(code.substr(code.find(kind) + kind.size()));
                    std::vector<std::string> parts = header.fields;
                    if (!header.keyword.empty())
                        parts.insert(parts.begin(), header.keyword);
                    if (parts.size() >= 4) {
                        dialog->w = Number(parts[2]).value_or(0);
                        dialog->h = Number(parts[3]).value_or(0);
                    }
                    if (kind == "DIALOG")
                        Fault(file, number, name + ": a DIALOG template cannot name its font's weight; use DIALOGEX");
                    body = false;
                }
                continue;
            }
            if (!body) {
                if (st.keyword == "STYLE" && code.find("DS_SHELLFONT") != std::string::npos)
                    dialog->shellFont = true;
                if (st.keyword == "FONT" && code.find("\"MS Shell Dlg\"") != std::string::npos)
                    dialog->font = true;
                if (st.keyword == "BEGIN")
                    body = true;
                continue;
            }
            if (st.keyword == "END") {
                CheckDialog(file, *dialog);
                dialog.reset();
                continue;
            }
            if (const auto c = ParseControl(st, number, comment))
                dialog->controls.push_back(*c);
            else
                Fault(file, number, dialog->name + ": statement not understood: " + st.keyword);
        }
        if (dialog)
            Fault(file, dialog->line, dialog->name + ": no END");
    }
    if (g_faults)
        std::fprintf(stderr, "qvrctool: %d fault(s) in the dialog templates\n", g_faults);
    return g_faults ? 1 : 0;
}

int Pseudo(const std::string& from, const std::string& to)
{
    std::ifstream in(from);
    std::ofstream out(to);
    if (!in || !out) {
        std::fprintf(stderr, "qvrctool: cannot read %s or write %s\n", from.c_str(), to.c_str());
        return 1;
    }
    out << "// Pseudo-localised from " << from << " by qvrctool.\n";
    std::string line;
    while (std::getline(in, line))
        out << PseudoLine(line) << '\n';
    return out.good() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "lint")
        return Lint({args.begin() + 1, args.end()});
    if (args.size() == 3 && args[0] == "pseudo")
        return Pseudo(args[1], args[2]);
    std::fprintf(stderr, "usage: qvrctool lint <script>... | qvrctool pseudo <in> <out>\n");
    return 2;
}
