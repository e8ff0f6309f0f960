// DialogControl of the built library with a property-sheet service of the test's own: which slots
// become pages, with which template, procedure and Help flag, and what a refusal answers. The
// library exports the procedures of the pages that exist; a slot without one is left out.
#include <gtest/gtest.h>

#include <windows.h>
#include <compstui.h>
#include <prsht.h>

#include <vector>

#include "DialogTestUtil.h"
#include "PageSlots.h"
#include "ResourceIds.h"
#include "WebAccess.h"

namespace {

struct AddedPage {
    DWORD size, flags;
    HINSTANCE instance;
    UINT templateId;
    DLGPROC procedure;
    LPARAM context;
};
struct Service {
    std::vector<AddedPage> pages;
    bool refuse = false;
};
Service* g_service = nullptr;

LONG_PTR CALLBACK Record(HANDLE, UINT function, LPARAM first, LPARAM)
{
    if (function != CPSFUNC_ADD_PROPSHEETPAGEW || !g_service)
        return 0;
    const auto* p = reinterpret_cast<const PROPSHEETPAGEW*>(first);
    g_service->pages.push_back({p->dwSize, p->dwFlags, p->hInstance, UINT(UINT_PTR(p->pszTemplate)), p->pfnDlgProc,
                                p->lParam});
    return g_service->refuse ? 0 : LONG_PTR(g_service->pages.size());
}

class DialogControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialogControl_ = dialogtest::Export<DialogControlFn>(kDialogControlExport);
        ASSERT_TRUE(dialogControl_);
        context_.self = context_.selfAgain = &context_;
        context_.sheetService = reinterpret_cast<void*>(Record);
        context_.sheetServiceHandle = HANDLE(0x77);
        for (std::size_t i = 0; i < kPageTemplates; ++i)
            templates_.id[i] = WORD(IDD_SETUP + i);
        templates_.id[9] = IDD_ABOUT;
        templates_.id[12] = IDD_ABOUT;
        g_service = &service_;
    }
    void TearDown() override { g_service = nullptr; }
    DWORD Add(WORD slots, std::initializer_list<WORD> display)
    {
        std::fill(std::begin(context_.pageDisplay), std::end(context_.pageDisplay), WORD(0));
        std::copy(display.begin(), display.end(), context_.pageDisplay);
        service_.pages.clear();
        return dialogControl_(&context_, nullptr, templates_, slots, nullptr);
    }

    DialogControlFn dialogControl_ = nullptr;
    SheetContext context_{};
    PageTemplates templates_{};
    Service service_;
};

TEST_F(DialogControlTest, EveryExportedPageOfTheSheetIsAddedWithItsSlotsTemplate)
{
    ASSERT_EQ(Add(kDocumentSheetSlots, {1, 1, 1, 1, 1, 1, 1, 1, 3, 2}), 0u);
    std::vector<UINT> added;
    for (const AddedPage& p : service_.pages) {
        added.push_back(p.templateId);
        EXPECT_EQ(p.size, sizeof(void*) == 4 ? 48u : DWORD(PROPSHEETPAGEW_V2_SIZE)) << "up to the header titles";
        EXPECT_EQ(p.instance, dialogtest::LanguageLibrary());
        EXPECT_TRUE(p.procedure);
        EXPECT_EQ(p.context, LPARAM(&context_));
    }
    std::vector<UINT> expected;
    // The Web page (display word 3) only where the maker offers web access.
    const bool web = pages::WebAccessAllowed(pages::PrinterManufacturer(nullptr));
    for (std::size_t slot = 0; slot < pages::kDocumentPages.size(); ++slot)
        if (GetProcAddress(dialogtest::DialogLibrary(), pages::kDocumentPages[slot]) && (slot != 8 || web))
            expected.push_back(templates_.id[slot]);
    EXPECT_EQ(added, expected);
    EXPECT_NE(std::find(added.begin(), added.end(), UINT(IDD_ABOUT)), added.end()) << "the About page exists";
}

TEST_F(DialogControlTest, HelpButtonsFollowTheDisplayWords)
{
    const struct {
        WORD slots;
        std::initializer_list<WORD> display;
        bool aboutHelp;
    } cases[] = {
        {kDocumentSheetSlots, {1, 1, 1, 1, 1, 1, 1, 1, 3, 2}, false},
        {kDocumentSheetSlots, {1, 1, 1, 1, 1, 1, 1, 1, 3, 1}, true},
        {kDeviceSheetSlots, {1, 2, 2}, false},
        {kDeviceSheetSlots, {2, 2, 1}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.slots << " slots, About word " << *(c.display.end() - 1));
        ASSERT_EQ(Add(c.slots, c.display), 0u);
        ASSERT_FALSE(service_.pages.empty());
        const AddedPage& about = service_.pages.back();
        EXPECT_EQ(about.templateId, UINT(IDD_ABOUT));
        EXPECT_EQ((about.flags & PSP_HASHELP) != 0, c.aboutHelp);
    }
}

TEST_F(DialogControlTest, HiddenSlotsAndSlotsWithoutATemplateAreLeftOut)
{
    // Every device slot hidden, then every one without a template: whichever pages the library
    // exports, none is added.
    EXPECT_EQ(Add(kDeviceSheetSlots, {0, 0, 0}), 0u);
    EXPECT_TRUE(service_.pages.empty());
    templates_.id[10] = templates_.id[11] = templates_.id[12] = 0;
    EXPECT_EQ(Add(kDeviceSheetSlots, {1, 1, 1}), 0u);
    EXPECT_TRUE(service_.pages.empty());
}

TEST_F(DialogControlTest, ARefusedPageFailsTheCallButTheOthersAreStillAdded)
{
    service_.refuse = true;
    EXPECT_EQ(Add(kDocumentSheetSlots, {1, 1, 1, 1, 1, 1, 1, 1, 3, 2}), 1u);
    EXPECT_FALSE(service_.pages.empty());
}

TEST_F(DialogControlTest, AContextThatIsNotOneAddsNothing)
{
    context_.selfAgain = nullptr;
    EXPECT_EQ(Add(kDeviceSheetSlots, {1, 2, 2}), 1u);
    EXPECT_TRUE(service_.pages.empty());
    EXPECT_EQ(dialogControl_(nullptr, nullptr, templates_, kDeviceSheetSlots, nullptr), 1u);
}

}  // namespace
