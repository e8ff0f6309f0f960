#include "TextFile.h"

#include <string>

#include "DebugLog.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32

CStdStr WideToAnsi(const std::wstring& wide)
{
    if (wide.empty())
        return CStdStr();
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return CStdStr();
    CStdStr text(size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), text.data(), n, nullptr, nullptr);
    return text;
}

std::wstring AnsiToWide(const CStdStr& text)
{
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), n);
    return wide;
}

#else

// Native builds (fuzzing) have no ANSI code page; Latin-1 stands in for it.
CStdStr WideToAnsi(const std::wstring& wide)
{
    CStdStr text;
    for (wchar_t u : wide)
        text.push_back(u < 0x100 ? char(u) : '?');
    return text;
}

std::wstring AnsiToWide(const CStdStr& text)
{
    std::wstring wide;
    for (char c : text)
        wide.push_back(wchar_t(static_cast<unsigned char>(c)));
    return wide;
}

#endif

CStdStr WithCrLf(const CStdStr& text)
{
    CStdStr out;
    out.reserve(text.size() + 2);
    for (char c : text) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

}  // namespace

int TextFile::DetectEncoding(const CStdStr& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return EncUndetermined;
    unsigned char marker[2];
    size_t n = std::fread(marker, 1, 2, f);
    std::fclose(f);
    return (n == 2 && marker[0] == 0xFF && marker[1] == 0xFE) ? EncUtf16 : EncAnsi;
}

bool TextFile::Open(const CStdStr& path, int mode, int encoding)
{
    if (path.empty())
        return false;
    Close();
    if (mode != ModeRead && mode != ModeWrite)
        return false;

    encoding_ = encoding == EncUndetermined ? DetectEncoding(path) : encoding;
    if (encoding_ == EncUndetermined)
        return false;

    file_ = std::fopen(path.c_str(), mode == ModeRead ? "rb" : "wb");
    if (!file_) {
        DebugLog << "TextFile::Open: open of " << path << " failed." << '\n';
        return false;
    }
    if (encoding_ == EncUtf16) {
        if (mode == ModeRead) {
            unsigned char marker[2];
            (void)std::fread(marker, 1, 2, file_);
        } else {
            static const unsigned char marker[2] = {0xFF, 0xFE};
            if (std::fwrite(marker, 1, 2, file_) != 2) {
                Close();
                return false;
            }
        }
    }
    return true;
}

// A NUL byte ends the line's text; the rest up to the line feed is dropped.
bool TextFile::ReadAnsiLine(CStdStr& line)
{
    bool lineFeed = false;
    bool cut = false;
    int c;
    while ((c = std::getc(file_)) != EOF) {
        if (c == '\n') {
            lineFeed = true;
            break;
        }
        if (c == 0)
            cut = true;
        if (!cut)
            line.push_back(char(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return !line.empty() || lineFeed;
}

// As ReadAnsiLine, in 16-bit units; a trailing odd byte is no unit.
bool TextFile::ReadUtf16Line(CStdStr& line)
{
    std::wstring wide;
    bool lineFeed = false;
    bool cut = false;
    int lo;
    while ((lo = std::getc(file_)) != EOF) {
        int hi = std::getc(file_);
        if (hi == EOF)
            break;
        wchar_t unit = wchar_t(lo | (hi << 8));
        if (unit == L'\n') {
            lineFeed = true;
            break;
        }
        if (unit == 0)
            cut = true;
        if (!cut)
            wide.push_back(unit);
    }
    if (!wide.empty() && wide.back() == L'\r')
        wide.pop_back();
    line = WideToAnsi(wide);
    return !wide.empty() || lineFeed;
}

bool TextFile::ReadString(CStdStr& line)
{
    line.clear();
    if (encoding_ != EncAnsi && encoding_ != EncUtf16) {
        DebugLog << "TextFile::ReadString: unsupported encoding type!" << '\n';
        return false;
    }
    if (!file_)
        return false;
    return encoding_ == EncAnsi ? ReadAnsiLine(line) : ReadUtf16Line(line);
}

bool TextFile::WriteString(const CStdStr& text)
{
    if (encoding_ != EncAnsi && encoding_ != EncUtf16) {
        DebugLog << "TextFile::WriteString: unsupported encoding type!" << '\n';
        return false;
    }
    if (!file_)
        return false;
    CStdStr lines = WithCrLf(text);
    if (encoding_ == EncAnsi)
        return std::fwrite(lines.data(), 1, lines.size(), file_) == lines.size();

    std::wstring wide = AnsiToWide(lines);
    CStdStr bytes;
    bytes.reserve(wide.size() * 2);
    for (wchar_t unit : wide) {
        bytes.push_back(char(unit & 0xFF));
        bytes.push_back(char((unit >> 8) & 0xFF));
    }
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

bool TextFile::Close()
{
    if (!file_)
        return true;
    bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}
