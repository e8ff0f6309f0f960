// Line-oriented reading and writing of the text files the utility handles: 8-bit ANSI text, or
// UTF-16 little-endian marked by FF FE. Line ends are CR LF on disk and handled here; the caller
// sees ANSI text without line ends. The file is always opened in binary mode.
#pragma once

#include <cstdio>

#include "StdStr.h"

class TextFile {
public:
    enum Encoding { EncUndetermined = 0, EncAnsi = 1, EncUtf16 = 2 };
    enum Mode { ModeRead = 0, ModeWrite = 1 };

    TextFile() = default;
    ~TextFile() { Close(); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // mode 0 reads, 1 writes (creating or emptying the file); encoding 0 detects it from the file.
    bool Open(const CStdStr& path, int mode, int encoding = EncUndetermined);
    // One line without its line end. False at the end of the file: an empty last line that no line
    // feed ends is no line.
    bool ReadString(CStdStr& line);
    // Each line feed of text is written as CR LF.
    bool WriteString(const CStdStr& text);
    // False when the buffered data could not be written out.
    bool Close();

    bool IsOpen() const { return file_ != nullptr; }
    int GetEncoding() const { return encoding_; }

    // 2 for a file starting FF FE, 1 for any other (even a short one), 0 if it cannot be opened.
    static int DetectEncoding(const CStdStr& path);

private:
    bool ReadAnsiLine(CStdStr& line);
    bool ReadUtf16Line(CStdStr& line);

    std::FILE* file_ = nullptr;
    int encoding_ = EncUndetermined;
};
