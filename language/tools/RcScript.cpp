#include "RcScript.h"

#include <cctype>
#include <map>

namespace rcscript {

std::string CodeOf(const std::string& line, std::string* comment)
{
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (!quoted && line.compare(i, 2, "//") == 0) {
            if (comment)
                *comment = line.substr(i);
            return line.substr(0, i);
        }
    }
    return line;
}

std::string Trim(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

Statement Split(const std::string& code)
{
    Statement st;
    std::string t = Trim(code);
    std::size_t k = 0;
    while (k < t.size() && !std::isspace(static_cast<unsigned char>(t[k])))
        ++k;
    st.keyword = t.substr(0, k);
    std::string rest = t.substr(k), field;
    bool quoted = false;
    int depth = 0;
    for (char c : rest) {
        if (c == '"')
            quoted = !quoted;
        if (!quoted && c == '(')
            ++depth;
        if (!quoted && c == ')')
            --depth;
        if (!quoted && depth == 0 && c == ',') {
            st.fields.push_back(Trim(field));
            field.clear();
        } else {
            field += c;
        }
    }
    if (!Trim(field).empty() || !st.fields.empty())
        st.fields.push_back(Trim(field));
    return st;
}

std::optional<std::string> Unquoted(const std::string& field)
{
    if (field.size() < 2 || field.front() != '"' || field.back() != '"')
        return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i + 1 < field.size(); ++i) {
        if (field[i] == '"' && i + 2 < field.size() && field[i + 1] == '"')
            ++i;
        out += field[i];
    }
    return out;
}

std::optional<int> Number(const std::string& field)
{
    if (field.empty())
        return std::nullopt;
    std::size_t used = 0;
    try {
        const int v = std::stoi(field, &used, 0);
        if (used == field.size())
            return v;
    } catch (...) {
    }
    return std::nullopt;
}

namespace {

// UTF-8 accented forms of the letters that have one in the Windows Latin-1 code page, so the
// narrow strings of the library still convert.
const std::map<char, const char*> kAccents = {
    {'a', "\xC3\xA5"}, {'c', "\xC3\xA7"}, {'e', "\xC3\xA9"}, {'i', "\xC3\xAD"}, {'n', "\xC3\xB1"},
    {'o', "\xC3\xB6"}, {'u', "\xC3\xBC"}, {'y', "\xC3\xBD"}, {'A', "\xC3\x85"}, {'C', "\xC3\x87"},
    {'E', "\xC3\x89"}, {'I', "\xC3\x8D"}, {'N', "\xC3\x91"}, {'O', "\xC3\x96"}, {'U', "\xC3\x9C"},
    {'Y', "\xC3\x9D"},
};

// "MS PGothic" in its own script: a face name of double-byte characters.
constexpr char kPseudoFace[] = "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";

std::size_t FormatLength(const std::string& s, std::size_t i)
{
    std::size_t j = i + 1;
    if (j < s.size() && s[j] == '%')
        return 2;
    while (j < s.size() && std::string("-+ #0123456789.").find(s[j]) != std::string::npos)
        ++j;
    while (j < s.size() && (s[j] == 'l' || s[j] == 'h'))
        ++j;
    return j < s.size() && std::isalpha(static_cast<unsigned char>(s[j])) ? j - i + 1 : 1;
}

}  // namespace

std::string PseudoText(const std::string& raw)
{
    if (raw.empty())
        return raw;
    std::string out = "[";
    bool mnemonic = false, format = false;
    std::size_t letters = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\\' && i + 1 < raw.size()) {
            out += raw.substr(i, 2);
            ++i;
        } else if (c == '"' && i + 1 < raw.size() && raw[i + 1] == '"') {
            out += "\"\"";
            ++i;
        } else if (c == '%') {
            const std::size_t n = FormatLength(raw, i);
            format = format || (n > 1 && raw[i + n - 1] == 's');
            out += raw.substr(i, n);
            i += n - 1;
        } else if (c == '&' && i + 1 < raw.size()) {
            out += raw.substr(i, 2);  // the mnemonic letter, or "&&", unchanged
            mnemonic = mnemonic || raw[i + 1] != '&';
            ++i;
        } else if (kAccents.count(c)) {
            out += kAccents.at(c);
            ++letters;
        } else {
            out += c;
            letters += std::isalpha(static_cast<unsigned char>(c)) ? 1 : 0;
        }
    }
    std::string pad = " ";
    if (mnemonic)
        pad += "&& ";
    if (format)
        pad += "100%% ";
    pad += std::string(letters / 2 + 1, '~');
    return out + pad + "]";
}

std::string PseudoLine(const std::string& line)
{
    std::string comment;
    const std::string code = CodeOf(line, &comment);
    if (comment.find("keep") != std::string::npos || Trim(code).empty() || Trim(code)[0] == '#')
        return line;
    const Statement st = Split(code);
    if (st.keyword == "FONT") {
        const std::size_t a = code.find('"'), b = code.find('"', a + 1);
        return code.substr(0, a + 1) + kPseudoFace + code.substr(b) + comment;
    }
    // CONTROL's second quoted field is its class; ICON's text is a resource name.
    const bool onlyFirst = st.keyword == "CONTROL";
    if (st.keyword == "ICON")
        return line;
    std::string out;
    bool done = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code[i] != '"' || done) {
            out += code[i];
            continue;
        }
        std::size_t j = i + 1;
        std::string raw;
        for (; j < code.size(); ++j) {
            if (code[j] == '"' && j + 1 < code.size() && code[j + 1] == '"') {
                raw += "\"\"";
                ++j;
            } else if (code[j] == '"') {
                break;
            } else {
                raw += code[j];
            }
        }
        out += '"' + PseudoText(raw) + '"';
        i = j;
        done = onlyFirst;
    }
    return out + comment;
}

}  // namespace rcscript
