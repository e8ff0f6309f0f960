#include "DocumentEvents.h"

#include <winddiui.h>

#include "ApplicationDevmode.h"
#include "DeviceContext.h"
#include "DevmodeLayout.h"
#include "DocumentSummary.h"
#include "EscapeReplies.h"
#include "EndOfDocument.h"
#include "JobLaunches.h"
#include "JobRedirection.h"
#include "PageEvents.h"
#include "PrinterAccess.h"
#include "RenderingDriver.h"

namespace docevents {
namespace {

constexpr int kSucceeded = DOCUMENTEVENT_SUCCESS;
constexpr int kFailed = DOCUMENTEVENT_FAILURE;
constexpr int kUnsupported = DOCUMENTEVENT_UNSUPPORTED;

// The input when it is at least one T long.
template <class T>
T* InputAs(ULONG size, PVOID input)
{
    return input && size >= sizeof(T) ? static_cast<T*>(input) : nullptr;
}

int PrepareEvent(HANDLE printer, const wchar_t* device, const DEVMODEW* input, ULONG outputSize, PVOID output)
{
    auto** out = InputAs<DEVMODEW*>(outputSize, output);
    if (!out) {
        SetLastError(ERROR_INVALID_DATA);
        return kFailed;
    }
    return PrepareJobDevmode(printer, device, input, out);
}

// The rendering driver reads the document's font summary from the file "FontSummaryFile" names:
// the cache is brought up to date for the job's devmode.
void SummarizeFonts(HANDLE printer, const RenderingDriver& driver)
{
    devmode::Buffer d{};
    const auto answer = driver.SendIfSupported(kJobDevmode, {}, d);
    if (!answer || *answer <= 0)
        return;
    const std::vector<BYTE> info = PrinterInfo2(printer);
    const std::string name =
        info.empty() ? std::string() : NarrowText(reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pPrinterName);
    fontfiles::FontSummaryForDocument(d, name, printer);
}

}  // namespace

int DocumentEvent(HANDLE printer, HDC dc, int event, ULONG inputSize, PVOID input, ULONG outputSize, PVOID output)
{
    const RenderingDriver driver(dc);
    switch (DOCUMENTEVENT_EVENT(event)) {
    case DOCUMENTEVENT_CREATEDCPRE: {
        const auto* pre = InputAs<DOCEVENT_CREATEDCPRE>(inputSize, input);
        if (!pre) {
            SetLastError(ERROR_INVALID_DATA);
            return kFailed;
        }
        return PrepareEvent(printer, pre->pszDevice, pre->pdm, outputSize, output);
    }
    case DOCUMENTEVENT_RESETDCPRE: {
        auto* const* application = InputAs<DEVMODEW*>(inputSize, input);
        return PrepareEvent(printer, nullptr, application ? *application : nullptr, outputSize, output);
    }
    case DOCUMENTEVENT_CREATEDCPOST:
    case DOCUMENTEVENT_RESETDCPOST: {
        auto* const* made = InputAs<DEVMODEW*>(inputSize, input);
        if (!made)
            return kFailed;
        return FinishJobDevmode(printer, dc, *made, DOCUMENTEVENT_EVENT(event) == DOCUMENTEVENT_RESETDCPOST);
    }
    case DOCUMENTEVENT_STARTDOC:
        if (auto* const* docInfo = InputAs<DOCINFOW*>(inputSize, input))
            RedirectJob(printer, driver, *docInfo);
        SummarizeFonts(printer, driver);
        return kSucceeded;
    case DOCUMENTEVENT_STARTPAGE:
        return StartPage(printer, driver);
    case DOCUMENTEVENT_ENDPAGE:
        return EndPage(printer, driver);
    case DOCUMENTEVENT_ENDDOC:
        return EndDocument(printer, driver);
    case DOCUMENTEVENT_DELETEDC:
        return kSucceeded;
    case DOCUMENTEVENT_ESCAPE:
        return ApplicationEscape(printer, InputAs<DOCEVENT_ESCAPE>(inputSize, input));
    case DOCUMENTEVENT_ENDDOCPOST:
        ConvertJob(printer, driver);
        ShowManualDuplexInstructions(printer, driver);
        return kSucceeded;
    case DOCUMENTEVENT_STARTDOCPOST:
        RestoreOutputName(driver);
        if (const auto* job = InputAs<DWORD>(inputSize, input))
            StartJobPrograms(printer, *job);
        return kSucceeded;
    default:
        return kUnsupported;
    }
}

}  // namespace docevents
