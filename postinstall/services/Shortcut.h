// A shell link (".LNK" file) made through the shell's link object. The caller initialises COM.
#pragma once

#include "../engine/StdStr.h"
#include "PathObject.h"

struct IShellLinkA;

class Shortcut {
public:
    // The link file is the folder's directory plus title + ".LNK"; the shell is told that the
    // folder changed once the link is saved.
    void SetLocation(const PathObject& folder, const CStdStr& title);
    void SetTarget(const PathObject& target) { target_ = target; }
    void SetArguments(const CStdStr& arguments) { arguments_ = arguments; }
    // The link's description.
    void SetComment(const CStdStr& comment) { comment_ = comment; }
    // Used only when icon has a file name.
    void SetIcon(const PathObject& icon, int number)
    {
        icon_ = icon;
        iconNumber_ = number;
    }

    const PathObject& Folder() const { return folder_; }
    const PathObject& LinkFile() const { return linkFile_; }

    // Makes the link's folder and saves the link, only when every setting was accepted.
    bool CreateLink();

    // Makes the link object (an HRESULT). Tests replace it to make setters fail, which the
    // platform's object does not do on demand.
    using LinkObjectHook = long (*)(IShellLinkA** link);
    static LinkObjectHook CreateLinkObjectFn;
    static long PlatformLinkObject(IShellLinkA** link);

private:
    PathObject folder_;
    PathObject target_;
    PathObject linkFile_;
    CStdStr arguments_;
    CStdStr comment_;
    PathObject icon_;
    int iconNumber_ = 0;
};
