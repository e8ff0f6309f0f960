// Notices of the driver library (a model resource missing, a configuration that did not apply).
// A message box needs someone to dismiss it: inside the spooler, or in any process without a
// visible window station, a box would block the print path for good, so there the notice goes
// to the debugger output instead.
#pragma once

#include <string>
#include <string_view>

namespace notices {

enum class NoticeRoute { Box, DebugOutput };

// The route for a process: its executable's path and whether its window station is visible.
NoticeRoute RouteNotice(std::wstring_view processImage, bool visibleWindowStation);

// The route of the calling process.
NoticeRoute ProcessNoticeRoute();

// Shows a message box of the given MB_* type by the route of the calling process: the button
// pressed, or 0 when the notice went to the debugger output (nobody could have answered it).
int NoticeBox(const std::string& title, const std::string& text, unsigned type);

// Shows or logs one notice by the route of the calling process.
void BuildNotice(const std::string& title, const std::string& text);

// How many notices the process has shown or logged: a result built while one was shown is not
// one to keep and hand out again without it.
unsigned NoticeCount();

}  // namespace notices
