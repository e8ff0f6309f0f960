#include "QuickIni.h"

#include <windows.h>

#include "../services/FileOp.h"
#include "DebugLog.h"
#include "TextFile.h"
#include "Tokenizer.h"

namespace {

bool IsHeader(const CStdStr& line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// Copies source to target, applying the edit. False when a write to target failed.
bool CopyWithEdit(TextFile& source, TextFile& target, const CStdStr& section, const CStdStr& key,
                  const CStdStr& value, int kind)
{
    bool ok = true;
    auto put = [&](const CStdStr& text) { ok = target.WriteString(text + "\n") && ok; };

    CStdStr current;
    bool done = false;
    CStdStr raw;
    while (source.ReadString(raw)) {
        CStdStr line = Trim(raw);
        if (done || line.empty() || line[0] == '#' || line[0] == ';') {
            put(line);
            continue;
        }
        if (IsHeader(line)) {
            // Leaving the target section without having met the key: it goes at the section's end.
            if (kind == QuickWrite && EqualNoCase(current, section)) {
                put(key + "=" + value);
                done = true;
            }
            current = line.substr(1, line.size() - 2);
            put(line);
            continue;
        }
        CStdStr lineKey, lineValue;
        if (!EqualNoCase(current, section) || !SplitKeyValue(line, lineKey, lineValue) ||
            !EqualNoCase(lineKey, key)) {
            put(line);
            continue;
        }
        if (kind == QuickWrite)
            put(lineKey + "=" + value);
        else if (!value.empty() && !EqualNoCase(lineValue, value))
            put(line);
        done = true;
    }

    if (!done && kind == QuickWrite) {
        if (!EqualNoCase(current, section))
            put("[" + section + "]");
        put(key + "=" + value);
    }
    return ok;
}

}  // namespace

bool QuickWriteIniString(const CStdStr& file, const CStdStr& section, const CStdStr& key,
                         const CStdStr& value)
{
    return quick_write_helper(file, section, key, value, QuickWrite);
}

bool QuickDeleteIniString(const CStdStr& file, const CStdStr& section, const CStdStr& key,
                          const CStdStr& value)
{
    return quick_write_helper(file, section, key, value, QuickDelete);
}

bool quick_write_helper(const CStdStr& file, const CStdStr& section, const CStdStr& key,
                        const CStdStr& value, int kind)
{
    if (file.empty() || section.empty() || key.empty())
        return false;

    TextFile source;
    if (!source.Open(file, TextFile::ModeRead)) {
        DebugLog << "quick_write_helper: could not open file " << file << " for reading." << '\n';
        return false;
    }

    // Beside the file, so that the finished copy can replace it in one step.
    CStdStr temp = get_temp_name(PathObject(file)).FullPath();
    TextFile target;
    if (!target.Open(temp, TextFile::ModeWrite, source.GetEncoding())) {
        DebugLog << "quick_write_helper: could not open file " << temp << " for writing." << '\n';
        if (!temp.empty())
            DeleteFileA(temp.c_str());
        return false;
    }

    bool written = CopyWithEdit(source, target, section, key, value, kind);
    source.Close();
    written = target.Close() && written;
    // A short copy must never replace the file.
    if (!written) {
        DebugLog << "quick_write_helper: could not write temp file " << temp << "." << '\n';
        DeleteFileA(temp.c_str());
        return false;
    }

    unsigned long error = FileOp::ReplaceWith(PathObject(temp), PathObject(file));
    if (error != 0) {
        DebugLog << "quick_write_helper: could not copy temp file to destination (error " << error
                 << ")." << '\n';
        DebugLog << "\tTemp file: " << temp << "\nDestination: " << file << '\n';
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}
