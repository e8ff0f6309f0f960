#include "PageEvents.h"

#include <array>
#include <cstring>
#include <string>

#include "DevmodeLayout.h"
#include "DialogLibrary.h"
#include "DocEventApi.h"
#include "EscapeReplies.h"
#include "JobDevmode.h"
#include "JobSettings.h"
#include "WatermarkDrawing.h"

namespace docevents {
namespace {

// The computer and user names are read into buffers of 42 bytes; the devmode keeps 39 characters.
constexpr DWORD kNameBuffer = 42;

std::string ComputerName()
{
    char name[kNameBuffer] = "";
    DWORD n = kNameBuffer;
    return GetComputerNameA(name, &n) ? std::string(name, strnlen(name, kNameBuffer)) : std::string();
}

std::string UserName()
{
    char name[kNameBuffer] = "";
    DWORD n = kNameBuffer;
    return GetUserNameA(name, &n) ? std::string(name, strnlen(name, kNameBuffer)) : std::string();
}

// Whether the user gave an account ID: false when the dialog was cancelled. Without the dialog
// library or its export there is nobody to ask.
bool AskAccount(SettingsState& state)
{
    const HWND owner = GetForegroundWindow();
    if (owner)
        SetActiveWindow(owner);
    const siblings::DialogLibrary dialogs;
    const auto ask = dialogs.Export<GetAcctTrackFn>(kGetAcctTrackExport);
    return !ask || ask(owner, 0, 0, &state) != 0;
}

// The first page: stamping and the job's settings. Whether the job was cancelled.
bool FirstPage(HANDLE printer, const RenderingDriver& driver, const JobState& job, devmode::Buffer& d)
{
    bool cancelled = false;
    if (!job.stamped) {
        const auto state = BuildSettingsState(printer, d);
        if (devmode::Get(d, kAccountTracking) != 0)
            cancelled = !AskAccount(*state);
        if (!cancelled) {
            StampAccount(d, {state->accountId, strnlen(state->accountId, sizeof state->accountId)});
            StampNames(d, ComputerName(), UserName());
        }
        driver.SendIfSupported(kJobDevmode, d);
        if (cancelled) {
            const std::uint32_t cancel = 1;
            driver.SendIfSupported(kCancelJob, BytesOf(cancel));
        }
    }
    SendSettings(driver, *BuildSettingsState(printer, d), false);
    return cancelled;
}

void Watermark(HANDLE printer, const RenderingDriver& driver, int question)
{
    std::array<std::uint8_t, kWatermarkRequestSize> reply{};
    const auto answer = driver.SendIfSupported(question, {}, reply);
    if (!answer || *answer <= 0)
        return;
    const WatermarkRequest request = ParseWatermarkRequest(reply);
    if (request.number == 0)
        return;
    if (request.page)
        if (const auto definition = ReadWatermarkDefinition(printer, request.number))
            DrawWatermark(driver.Dc(), *definition, *request.page);
    driver.SendIfSupported(DrawnReport(question));
}

}  // namespace

int StartPage(HANDLE printer, const RenderingDriver& driver)
{
    std::array<std::uint8_t, kJobStateSize> job{};
    devmode::Buffer d{};
    const auto jobAnswer = driver.SendIfSupported(kJobStateEscape, {}, job);
    const auto devmodeAnswer = driver.SendIfSupported(kJobDevmode, {}, d);
    if (jobAnswer && *jobAnswer > 0 && devmodeAnswer && *devmodeAnswer > 0) {
        const JobState state = ParseJobState(job);
        if (state.pagesDone == 0 && FirstPage(printer, driver, state, d))
            return 1;
    }
    Watermark(printer, driver, kFirstWatermarkAtStart);
    Watermark(printer, driver, kSecondWatermarkAtStart);
    return 1;
}

int EndPage(HANDLE printer, const RenderingDriver& driver)
{
    Watermark(printer, driver, kFirstWatermarkAtEnd);
    Watermark(printer, driver, kSecondWatermarkAtEnd);
    return 1;
}

}  // namespace docevents
