// A file-system path split into directory and name, as every file operation takes it.
#pragma once

#include "../engine/StdStr.h"

class PathObject {
public:
    PathObject() = default;
    PathObject(const CStdStr& text) { Set(text); }
    PathObject(const char* text) { Set(text); }

    // Splits like the platform's path splitter: C:\A\B\ is a directory, C:\A\B the file B in C:\A.
    void Set(const CStdStr& text);
    void SetDirectory(const CStdStr& directory);
    void SetName(const CStdStr& name) { name_ = name; }
    // Appends a sub-directory to the directory part.
    void AppendSubDir(const CStdStr& piece);

    const CStdStr& directory() const { return directory_; }
    const CStdStr& name() const { return name_; }
    CStdStr FullPath() const;
    bool HasFileName() const { return !name_.empty(); }
    bool HasDirectory() const { return !directory_.empty(); }
    bool IsEmpty() const { return directory_.empty() && name_.empty(); }

private:
    CStdStr directory_;
    CStdStr name_;
};
