// qvdemo: the demo's application of the driver. It installs the driver package through the
// spooler as a setup program does, plays the spooler's printer-initialise event, and uses each
// printer as a client does: the capabilities a print dialog asks for, the document and device
// property sheets, the platform's print and page-setup dialogs, a one-page job. Every window it
// opens is captured into a PNG file. Output goes to stdout; a failed step ends the program with a
// non-zero code and a line saying which step failed.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <functional>
#include <string>
#include <vector>

#include "WindowLookup.h"

namespace demo {

// The options of one client run.
struct Client {
    std::wstring printer;
    std::string shots;  // directory of the pictures, a Windows path
    std::string tag;    // the model's part of each picture's file name
    bool interactive = false;
    HANDLE handle = nullptr;  // the printer, opened with full access
    std::wstring port;        // its port, as the spooler has it
    std::vector<std::string> pictures;
};

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& text);
// Prints a line (UTF-8, LF-ended) and flushes, so the shell's output keeps its order.
void Say(const std::string& line);
// Prints "qvdemo: STEP failed: why" on stderr; the caller returns non-zero.
bool Failed(const std::string& step, const std::string& why);

// ---- Install (Install.cpp) ------------------------------------------------------------------
int Install(const std::string& script, const std::string& updateFile, const std::string& port);
int PlayInitialise(const std::wstring& printer);

// ---- Windows of a modal call (Windows.cpp) -----------------------------------------------------
// Runs a call that shows modal windows on this thread; each new visible top-level window of the
// thread is handed to `handle` once, from a timer inside the call's modal loop. A window still
// open after a minute is cancelled and the run counts as failed. Interactive runs hand nothing:
// the person at the display closes the windows.
struct WindowRun {
    bool interactive = false;
    std::function<void(HWND)> handle;
    bool timedOut = false;
    int handled = 0;
};
INT_PTR RunWindows(WindowRun& run, const std::function<INT_PTR()>& call);
using qvtest::ClassOf;
using qvtest::IsSheetFrame;
using qvtest::TextOf;
// Captures the window (and the window beside it) into shots\tag-name.png and prints the path.
bool Picture(Client& client, HWND window, HWND beside, const std::string& name);

// What a script did on a sheet: the pages it visited, by tab text, and whether it changed the
// copies on the Setup page.
struct SheetVisit {
    std::vector<std::wstring> pages;
    bool copiesChanged = false;
    bool pressedOk = false;
};
// Visits every page of the sheet (capturing each as name-title), types `copies` into the Setup
// page's copies when it is given and the page is there, and presses OK.
void VisitSheet(Client& client, HWND frame, const std::string& name, const wchar_t* copies, SheetVisit& visit);

// ---- The client's steps (Capabilities.cpp, Sheets.cpp, PrintDialogs.cpp, Job.cpp) -----------
bool ShowCapabilities(Client& client);
bool DocumentSheet(Client& client);
bool DeviceSheet(Client& client);
bool PrintDialogs(Client& client);
bool PrintJob(Client& client, const std::string& output);

// The printer's port (GetPrinterW level 2); empty when it cannot be read.
std::wstring PortOf(HANDLE printer);
// The paper names the printer's driver gives, by paper code (DeviceCapabilities).
std::wstring PaperName(const std::wstring& printer, short code);

}  // namespace demo
