#include "ToolkitFeedback.h"

#include <cstring>
#include <limits>
#include <memory>

#include "Feedback.h"
#include "FontLists.h"
#include "PrinterAccess.h"
#include "PrinterFiles.h"
#include "PrinterList.h"

namespace fontfiles {
namespace {

std::uint64_t Answer(std::uint32_t result, std::uint32_t status)
{
    return std::uint64_t(status) << 32 | result;
}

// The reply record lives where its address fits the result's 32 bits, one per thread, so that a
// caller reading it after the call sees its own.
std::uint8_t* ReplyBuffer()
{
    thread_local std::uint8_t* buffer = nullptr;
    if (buffer)
        return buffer;
    void* p = VirtualAlloc(nullptr, feedback::kReplySize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (p && std::uintptr_t(p) > 0xFFFFFFFFu) {
        VirtualFree(p, 0, MEM_RELEASE);
        p = nullptr;
        for (std::uintptr_t hint = 0x10000000; !p && hint < 0x80000000u; hint += 0x01000000)
            p = VirtualAlloc(reinterpret_cast<void*>(hint), feedback::kReplySize, MEM_RESERVE | MEM_COMMIT,
                             PAGE_READWRITE);
    }
    buffer = static_cast<std::uint8_t*>(p);
    return buffer;
}

void SetReplyWord(const std::optional<std::uint64_t>& address)
{
    if (address && *address && *address <= std::numeric_limits<std::uintptr_t>::max())
        *reinterpret_cast<std::uint16_t*>(std::uintptr_t(*address)) = 1;
}

// Commands 6, 7 and 8 on the printer's two font lists; the cached summaries go with any change.
bool FontCommand(std::uint16_t command, const feedback::Message& message, const std::string& printerName)
{
    const OpenedPrinter printer(printerName.c_str(), PrinterAccess::Default);
    if (!printer.get())
        return false;
    const PrinterFiles files = PrinterFontFiles(printer.get());
    std::unique_ptr<FontListFile> fonts = FontListFile::Open(files.fontList, printer.get(), printerName);
    if (!fonts)
        return false;
    MoveSoftFontValue(*fonts, printerName);
    std::unique_ptr<FontListFile> metrics = FontListFile::Open(files.metricList, printer.get(), printerName);
    if (!metrics)
        return false;
    bool done = false;
    switch (command) {
    case 6:
        done = feedback::RemoveFonts(message.groups, fonts->Records(), metrics->Records());
        break;
    case 7:
        done = !fonts->Records().Empty() || !metrics->Records().Empty();
        fonts->Records().Clear();
        metrics->Records().Clear();
        break;
    default:
        done = feedback::AddFonts(message.groups, fonts->Records(), metrics->Records());
        break;
    }
    const bool saved = fonts->Close() & metrics->Close();
    if (!files.fontCache.empty())
        DeleteFileA(files.fontCache.c_str());
    return done && saved;
}

// Commands 9 to 12 on the printer's "Macro" list; the result is 1 when something was done, or
// the allocated number for 12.
std::uint32_t MacroCommand(std::uint16_t command, std::uint16_t protocol, const feedback::Message& message,
                           const std::string& printerName)
{
    std::unique_ptr<PrinterList> list = PrinterList::Open(printerName, kMacroList);
    if (!list)
        return 0;
    recordlist::RecordList& macros = list->Records();
    const feedback::Group& first = message.groups.front();
    std::uint32_t result = 0;
    switch (command) {
    case 9:
        result = feedback::RemoveMacros(message.groups, macros);
        break;
    case 10:
        result = !macros.Empty();
        macros.Clear();
        break;
    case 11:
        result = feedback::AddMacros(message.groups, macros, protocol);
        break;
    default:
        result = std::uint16_t(feedback::AllocateMacroNumber(macros, first.macroNumber.value_or(0),
                                                             first.macroName.value_or(""),
                                                             first.kind.value_or(feedback::kDefaultMacroKind)));
        list->Discard();
        return result;
    }
    return list->Close() ? result : 0;
}

}  // namespace

std::uint64_t ToolKitFeedBack(void*, const void* message)
{
    const auto* bytes = static_cast<const std::uint8_t*>(message);
    const std::size_t extent = feedback::Extent(bytes, feedback::kMaxMessage);
    const feedback::Message parsed = feedback::Parse({bytes, extent});
    if (parsed.groups.empty())
        return Answer(0, kStatusRefused);
    const feedback::Group& first = parsed.groups.front();
    const std::uint16_t protocol = first.protocol.value_or(feedback::kDefaultProtocol);
    if (!feedback::Accepted(protocol) || !first.command)
        return Answer(0, kStatusRefused);
    const std::uint16_t command = *first.command;
    const std::string printerName = first.printerName.value_or("");
    std::uint32_t result = 0;
    switch (command) {
    case 6:
    case 7:
    case 8:
        result = !printerName.empty() && FontCommand(command, parsed, printerName);
        break;
    case 9:
    case 10:
    case 11:
    case 12:
        result = printerName.empty() ? 0 : MacroCommand(command, protocol, parsed, printerName);
        break;
    case 14:
    case 15: {
        std::uint8_t* reply = ReplyBuffer();
        if (reply) {
            const std::vector<std::uint8_t> record = feedback::ReplyRecord(command, protocol);
            std::memcpy(reply, record.data(), record.size());
        }
        result = std::uint32_t(std::uintptr_t(reply));
        break;
    }
    default:
        return Answer(0, kStatusRefused);
    }
    // The reply word may come after the first group's items.
    if (result != 0)
        for (const feedback::Group& g : parsed.groups)
            if (g.replyWord) {
                SetReplyWord(g.replyWord);
                break;
            }
    return Answer(result, kStatusDone);
}

}  // namespace fontfiles
