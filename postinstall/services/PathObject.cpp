#include "PathObject.h"

namespace {

CStdStr NormaliseDirectory(CStdStr dir)
{
    for (char& c : dir)
        if (c == '/')
            c = '\\';
    if (!dir.empty() && dir.back() == '\\')
        dir.pop_back();
    return dir;
}

}  // namespace

void PathObject::Set(const CStdStr& text)
{
    CStdStr path = Trim(text);
    directory_.clear();
    name_.clear();
    if (path.empty())
        return;
    CStdStr drive;
    if (path.size() >= 2 && path[1] == ':') {
        drive = path.substr(0, 2);
        path.erase(0, 2);
    }
    size_t last = path.find_last_of("\\/");
    if (last == CStdStr::npos) {
        directory_ = drive;
        name_ = path;
    } else {
        directory_ = NormaliseDirectory(drive + path.substr(0, last + 1));
        name_ = path.substr(last + 1);
    }
}

void PathObject::SetDirectory(const CStdStr& directory)
{
    directory_ = NormaliseDirectory(Trim(directory));
}

void PathObject::AppendSubDir(const CStdStr& piece)
{
    CStdStr sub = piece;
    for (char& c : sub)
        if (c == '/')
            c = '\\';
    if (sub.empty() || sub.front() != '\\')
        sub.insert(sub.begin(), '\\');
    directory_ += sub;
    if (!directory_.empty() && directory_.back() == '\\')
        directory_.pop_back();
}

CStdStr PathObject::FullPath() const
{
    // A bare name stays relative to the current directory rather than becoming "\name".
    if (name_.empty() || directory_.empty())
        return directory_ + name_;
    return directory_ + "\\" + name_;
}
