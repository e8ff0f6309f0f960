// The settings interface of the QVTDX5UI.DLL stand-in: given out by "getDevIC" only when the
// environment variable QVSETTINGS_INTERFACE is set (else the driver shows its own pages). It keeps
// a small tree of named nodes and records, in the file QVSIBLING_RECORD names, each call it
// receives: "SetCallback", "AddDocumentPages REASON", "AddDevicePages REASON", "Release". At the
// INIT reason it sends the requests QVSETTINGS_REQUESTS lists ("code:direction,...") to the
// driver's callback, each on the node "\Requests\CODE", and records "request CODE DIRECTION ->
// RESULT VALUE" and then "SettingsChanged VALUE". QVSETTINGS_ADD_FAILS makes adding pages fail.
#include <windows.h>
#include <compstui.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SettingsTreeModel.h"

namespace {

using namespace settingsui;
using settingsmodel::SettingsTree;
using settingsmodel::TreeNode;

void Record(const std::string& line)
{
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("QVSIBLING_RECORD", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    if (std::FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

std::string Env(const char* name)
{
    char value[512];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

class StandInInterface final : public Interface {
public:
    void Release() override
    {
        Record("Release");
        delete this;
    }
    long AddDocumentPages(void* info, std::intptr_t) override { return Add("AddDocumentPages", info); }
    long AddDevicePages(void* info, std::intptr_t) override { return Add("AddDevicePages", info); }
    void SetCallback(Callback cb, void* context) override
    {
        Record("SetCallback");
        callback_ = cb;
        context_ = context;
    }

private:
    long Add(const char* what, void* info)
    {
        const auto* ps = static_cast<const PROPSHEETUI_INFO*>(info);
        const int reason = ps ? ps->Reason : -1;
        Record(std::string(what) + " " + std::to_string(reason));
        if (reason != PROPSHEETUI_REASON_INIT)
            return 0;
        SendRequests();
        return Env("QVSETTINGS_ADD_FAILS").empty() ? 0 : 1;
    }

    void SendRequests()
    {
        const std::string list = Env("QVSETTINGS_REQUESTS");
        // The document's node the driver reports its changes on.
        tree_.Resolve(L"\\DeviceContext\\SettingsChanged", true);
        std::size_t at = 0;
        while (callback_ && at < list.size()) {
            std::size_t end = list.find(',', at);
            if (end == std::string::npos)
                end = list.size();
            const std::string item = list.substr(at, end - at);
            at = end + 1;
            unsigned code = 0, direction = 0;
            if (std::sscanf(item.c_str(), "%u:%u", &code, &direction) != 2)
                continue;
            tree_.current = tree_.Resolve(L"\\Requests\\" + std::to_wstring(code), true);
            Request r{code, direction, context_, &tree_};
            const std::uint32_t result = callback_(&r);
            char line[64];
            std::snprintf(line, sizeof line, "request %u %u -> %lu ", code, direction, static_cast<unsigned long>(result));
            Record(line + tree_.current->value.Describe());
            if (TreeNode* changed = tree_.Resolve(L"\\DeviceContext\\SettingsChanged", false))
                Record("SettingsChanged " + changed->value.Describe());
        }
    }

    Callback callback_ = nullptr;
    void* context_ = nullptr;
    SettingsTree tree_;
};

}  // namespace

extern "C" void* WINAPI getDevIC()
{
    if (Env("QVSETTINGS_INTERFACE").empty())
        return nullptr;
    Interface* ui = new StandInInterface;
    return ui;
}
