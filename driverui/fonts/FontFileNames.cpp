#include "FontFileNames.h"

namespace fontfiles {
namespace {

bool Forbidden(unsigned char c)
{
    if (c < 32 || c == 127)
        return true;
    switch (c) {
    case '<': case '>': case ':': case '"': case '/': case '\\': case '|': case '?': case '*':
        return true;
    default:
        return false;
    }
}

}  // namespace

std::string FileStem(std::string_view printerName)
{
    if (printerName.empty())
        return std::string(kNoPrinterStem);
    const std::size_t cut = printerName.find_last_of('\\');
    const std::string_view last = cut == std::string_view::npos ? printerName : printerName.substr(cut + 1);
    std::string stem = "qel";
    for (char c : last)
        stem += Forbidden(static_cast<unsigned char>(c)) ? '_' : c;
    // "qel" starts every stem, so ".." can only come from the name; it is harmless without a
    // separator, but a name should not read like a way up.
    for (std::size_t at = stem.find(".."); at != std::string::npos; at = stem.find("..", at))
        stem.replace(at, 2, "__");
    return stem;
}

std::string DownloadFileName(std::string_view directory, std::string_view printerName, std::string_view extension)
{
    std::string name(directory);
    name += FileStem(printerName);
    name += extension;
    return name;
}

bool StaysInside(std::string_view directory, std::string_view path)
{
    if (path.size() <= directory.size() || path.substr(0, directory.size()) != directory)
        return false;
    if (!directory.empty() && directory.back() != '\\' && directory.back() != '/')
        return false;
    const std::string_view rest = path.substr(directory.size());
    // Without a separator a component cannot leave the directory; "." and ".." name it or its
    // parent.
    if (rest == "." || rest == "..")
        return false;
    for (char c : rest)
        if (Forbidden(static_cast<unsigned char>(c)))
            return false;
    return true;
}

}  // namespace fontfiles
