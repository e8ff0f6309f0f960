// The page events, for every page of every job: at the first page the job is stamped (account ID,
// computer and user names) and the rendering driver gets the job's settings; on every page the
// watermarks it asks for are drawn at the start and the end of the page. Cheap on purpose: no
// library is loaded and no printer value read except the watermark a page actually draws (and,
// once a job, the account dialog).
#pragma once

#include <windows.h>

#include "RenderingDriver.h"

namespace docevents {

// Event 6. Always 1; a job whose account dialog is cancelled is cancelled with the rendering
// driver and its page gets no watermarks.
int StartPage(HANDLE printer, const RenderingDriver& driver);

// Event 7. Always 1.
int EndPage(HANDLE printer, const RenderingDriver& driver);

}  // namespace docevents
