#include "Tokenizer.h"

namespace {

bool IsQuote(char c) { return c == '"' || c == '\''; }

CStdStr StripDoubleQuotes(const CStdStr& s)
{
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        return s.substr(1, s.size() - 2);
    return s;
}

}  // namespace

void Tokenizer::set(const CStdStr& text, char separator, unsigned options)
{
    remainder_ = text;
    separator_ = separator;
    options_ = options;
}

bool Tokenizer::Next(CStdStr& field)
{
    field.clear();
    if (remainder_.empty())
        return false;
    if (options_ & TokTrimLeft)
        remainder_ = TrimLeft(remainder_);

    char quote = 0;
    size_t from = 0;
    if ((options_ & TokQuotes) && !remainder_.empty() && IsQuote(remainder_[0])) {
        quote = remainder_[0];
        size_t closing = remainder_.find(quote, 1);
        // An unclosed quote protects nothing.
        from = closing == CStdStr::npos ? 0 : closing;
    }

    size_t sep = remainder_.find(separator_, from);
    if (sep == CStdStr::npos) {
        field = remainder_;
        remainder_.clear();
    } else {
        field = TrimRight(remainder_.substr(0, sep));
        remainder_.erase(0, sep + 1);
    }

    if (quote && field.size() >= 2 && field.front() == quote && field.back() == quote)
        field = field.substr(1, field.size() - 2);

    remainder_ = TrimLeft(remainder_);
    return true;
}

void Tokenizer::SplitAll(CStdStringList& fields)
{
    fields.clear();
    CStdStr field;
    while (HasMore()) {
        Next(field);
        fields.push_back(field);
    }
}

bool SplitKeyValue(const CStdStr& line, CStdStr& key, CStdStr& value)
{
    size_t eq = line.find('=');
    if (eq == CStdStr::npos) {
        key = line;
        value.clear();
        return true;
    }
    if (eq == 0) {
        key.clear();
        value.clear();
        return false;
    }
    key = StripDoubleQuotes(Trim(line.substr(0, eq)));
    value = StripDoubleQuotes(Trim(line.substr(eq + 1)));
    return true;
}
