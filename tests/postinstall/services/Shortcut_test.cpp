#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileFixtures.h"
#include "LinkFixtures.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "../engine/EngineTestUtil.h"
#include "TestSupport.h"
#include "services/Shortcut.h"

namespace {

using enginetest::LogCapture;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::StartsWith;

using qvtest::Lines;

using qvtest::LinkContents;
using qvtest::ReadLink;

PathObject Folder(const std::string& directory)
{
    PathObject folder;
    folder.SetDirectory(directory);
    return folder;
}

// The shell's link object with one setter made to fail; everything else goes to the real one,
// so what it saves is what the real object holds.
class FailingLink final : public IShellLinkA {
public:
    enum Step { None, Path, Arguments, WorkingDirectory, Description, IconLocation };

    explicit FailingLink(IShellLinkA* real, Step failing) : real_(real), failing_(failing) {}

    static Step failing;
    static long Create(IShellLinkA** link)
    {
        IShellLinkA* real = nullptr;
        HRESULT hr = Shortcut::PlatformLinkObject(&real);
        if (FAILED(hr))
            return hr;
        *link = new FailingLink(real, failing);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellLinkA)) {
            *object = static_cast<IShellLinkA*>(this);
            AddRef();
            return S_OK;
        }
        return real_->QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --references_;
        if (left == 0) {
            real_->Release();
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetPath(LPSTR file, int n, WIN32_FIND_DATAA* data, DWORD flags) override
    {
        return real_->GetPath(file, n, data, flags);
    }
    HRESULT STDMETHODCALLTYPE GetIDList(PIDLIST_ABSOLUTE* list) override { return real_->GetIDList(list); }
    HRESULT STDMETHODCALLTYPE SetIDList(PCIDLIST_ABSOLUTE list) override { return real_->SetIDList(list); }
    HRESULT STDMETHODCALLTYPE GetDescription(LPSTR name, int n) override { return real_->GetDescription(name, n); }
    HRESULT STDMETHODCALLTYPE SetDescription(LPCSTR name) override
    {
        return failing_ == Description ? E_FAIL : real_->SetDescription(name);
    }
    HRESULT STDMETHODCALLTYPE GetWorkingDirectory(LPSTR dir, int n) override
    {
        return real_->GetWorkingDirectory(dir, n);
    }
    HRESULT STDMETHODCALLTYPE SetWorkingDirectory(LPCSTR dir) override
    {
        return failing_ == WorkingDirectory ? E_FAIL : real_->SetWorkingDirectory(dir);
    }
    HRESULT STDMETHODCALLTYPE GetArguments(LPSTR args, int n) override { return real_->GetArguments(args, n); }
    HRESULT STDMETHODCALLTYPE SetArguments(LPCSTR args) override
    {
        return failing_ == Arguments ? E_FAIL : real_->SetArguments(args);
    }
    HRESULT STDMETHODCALLTYPE GetHotkey(WORD* key) override { return real_->GetHotkey(key); }
    HRESULT STDMETHODCALLTYPE SetHotkey(WORD key) override { return real_->SetHotkey(key); }
    HRESULT STDMETHODCALLTYPE GetShowCmd(int* show) override { return real_->GetShowCmd(show); }
    HRESULT STDMETHODCALLTYPE SetShowCmd(int show) override { return real_->SetShowCmd(show); }
    HRESULT STDMETHODCALLTYPE GetIconLocation(LPSTR path, int n, int* icon) override
    {
        return real_->GetIconLocation(path, n, icon);
    }
    HRESULT STDMETHODCALLTYPE SetIconLocation(LPCSTR path, int icon) override
    {
        return failing_ == IconLocation ? E_FAIL : real_->SetIconLocation(path, icon);
    }
    HRESULT STDMETHODCALLTYPE SetRelativePath(LPCSTR path, DWORD reserved) override
    {
        return real_->SetRelativePath(path, reserved);
    }
    HRESULT STDMETHODCALLTYPE Resolve(HWND window, DWORD flags) override { return real_->Resolve(window, flags); }
    HRESULT STDMETHODCALLTYPE SetPath(LPCSTR file) override
    {
        return failing_ == Path ? E_FAIL : real_->SetPath(file);
    }

private:
    IShellLinkA* real_;
    Step failing_;
    ULONG references_ = 1;
};

FailingLink::Step FailingLink::failing = FailingLink::None;

class ShortcutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir_.Path().empty());
        com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void TearDown() override
    {
        Shortcut::CreateLinkObjectFn = Shortcut::PlatformLinkObject;
        if (com_)
            CoUninitialize();
    }

    qvtest::TempDir dir_;
    bool com_ = false;
};

TEST_F(ShortcutTest, CreatesTheFolderAndALinkWithEverySetting)
{
    const std::string target = dir_.File("Program Files\\Tool\\tool.exe");
    ASSERT_TRUE(CreateDirectoryA(dir_.File("Program Files").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(dir_.File("Program Files\\Tool").c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFile(target, "MZ"));

    Shortcut link;
    link.SetLocation(Folder(dir_.File("Programs\\Printer Tools")), "Status Monitor");
    link.SetTarget(PathObject(target));
    link.SetArguments("-q \"two words\"");
    link.SetComment("Shows the printer's state");
    link.SetIcon(PathObject(target), 2);
    LogCapture log;
    ASSERT_TRUE(link.CreateLink());

    const std::string file = dir_.File("Programs\\Printer Tools\\Status Monitor.LNK");
    EXPECT_EQ(link.LinkFile().FullPath(), file);
    LinkContents contents;
    ASSERT_TRUE(ReadLink(file, contents));
    EXPECT_EQ(contents.path, target);
    EXPECT_EQ(contents.arguments, "-q \"two words\"");
    EXPECT_EQ(contents.directory, dir_.File("Program Files\\Tool"));
    EXPECT_EQ(contents.description, "Shows the printer's state");
    EXPECT_EQ(contents.icon, target);
    EXPECT_EQ(contents.iconNumber, 2);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(ShortcutTest, OptionalSettingsLeftOutStayEmpty)
{
    const std::string target = dir_.File("tool.exe");
    ASSERT_TRUE(qvtest::WriteFile(target, "MZ"));
    Shortcut link;
    link.SetLocation(Folder(dir_.Path()), "Plain");
    link.SetTarget(PathObject(target));
    link.SetIcon(Folder(dir_.Path()), 4);  // no file name: no icon
    ASSERT_TRUE(link.CreateLink());

    LinkContents contents;
    ASSERT_TRUE(ReadLink(dir_.File("Plain.LNK"), contents));
    EXPECT_EQ(contents.path, target);
    EXPECT_EQ(contents.arguments, "");
    EXPECT_EQ(contents.description, "");
    EXPECT_EQ(contents.icon, "");
}

TEST_F(ShortcutTest, ATargetInADriveRootWorksInThatRoot)
{
    Shortcut link;
    link.SetLocation(Folder(dir_.Path()), "Root");
    link.SetTarget(PathObject("C:\\qv_root_tool.exe"));
    ASSERT_TRUE(link.CreateLink());

    LinkContents contents;
    ASSERT_TRUE(ReadLink(dir_.File("Root.LNK"), contents));
    EXPECT_EQ(contents.path, "C:\\qv_root_tool.exe");
    EXPECT_EQ(contents.directory, "C:\\");
}

TEST_F(ShortcutTest, AFolderThatCannotBeMadeGivesNoLink)
{
    ASSERT_TRUE(qvtest::WriteFile(dir_.File("plain"), "a file where the folder should go"));
    Shortcut link;
    link.SetLocation(Folder(dir_.File("plain\\Group")), "Item");
    link.SetTarget(PathObject(dir_.File("tool.exe")));
    LogCapture log;
    EXPECT_FALSE(link.CreateLink());
    EXPECT_FALSE(qvtest::IsThere(dir_.File("plain\\Group\\Item.LNK")));
    // The folder service names the step that failed (the error is 267 on Windows, 123 on Wine).
    EXPECT_THAT(Lines(log.Text()), ElementsAre(StartsWith("FileOp::MakePath: could not switch to directory " +
                                                          dir_.File("plain") + "\\ (Error code: ")));
    EXPECT_EQ(qvtest::ReadFile(dir_.File("plain")), "a file where the folder should go");
}

TEST_F(ShortcutTest, AFailedSettingIsLoggedAndNothingIsSaved)
{
    const std::string target = dir_.File("bin\\tool.exe");
    const std::string icon = dir_.File("bin\\icons.dll");
    struct Case {
        FailingLink::Step step;
        std::vector<std::string> lines;
    } cases[] = {
        {FailingLink::Path, {"Shortcut::CreateLink: failed to set shortcut path: " + target}},
        {FailingLink::Arguments, {"Shortcut::CreateLink: failed to set shortcut arguments: /s /v"}},
        {FailingLink::WorkingDirectory, {"Shortcut::CreateLink: failed to set working directory: " + dir_.File("bin")}},
        {FailingLink::Description, {"Shortcut::CreateLink: failed to set comment: About the tool"}},
        {FailingLink::IconLocation,
         {"Shortcut::CraeteLink: failed to set icon path: " + icon, "\twith icon number: 7"}},
    };
    Shortcut::CreateLinkObjectFn = FailingLink::Create;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.front());
        FailingLink::failing = c.step;
        Shortcut link;
        link.SetLocation(Folder(dir_.File("Group")), "Tool");
        link.SetTarget(PathObject(target));
        link.SetArguments("/s /v");
        link.SetComment("About the tool");
        link.SetIcon(PathObject(icon), 7);
        LogCapture log;
        EXPECT_FALSE(link.CreateLink());
        EXPECT_THAT(Lines(log.Text()), ElementsAreArray(c.lines));
        EXPECT_FALSE(qvtest::IsThere(dir_.File("Group\\Tool.LNK")));
    }

    // The same link with nothing failing is saved: the failures above came from the steps alone.
    FailingLink::failing = FailingLink::None;
    Shortcut link;
    link.SetLocation(Folder(dir_.File("Group")), "Tool");
    link.SetTarget(PathObject(target));
    link.SetIcon(PathObject(icon), 7);
    EXPECT_TRUE(link.CreateLink());
    EXPECT_TRUE(qvtest::IsThere(dir_.File("Group\\Tool.LNK")));
}

TEST_F(ShortcutTest, ALinkObjectThatCannotBeMadeGivesNoLink)
{
    Shortcut::CreateLinkObjectFn = [](IShellLinkA**) -> long { return E_NOINTERFACE; };
    Shortcut link;
    link.SetLocation(Folder(dir_.File("Group")), "Tool");
    link.SetTarget(PathObject(dir_.File("tool.exe")));
    EXPECT_FALSE(link.CreateLink());
    EXPECT_FALSE(qvtest::IsThere(dir_.File("Group\\Tool.LNK")));
}

}  // namespace
