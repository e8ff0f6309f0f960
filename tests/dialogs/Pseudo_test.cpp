// The pseudo-localised language library (longer texts, extra "&", a double-byte face name):
// every format string still takes exactly its one value, every text can be fitted with "...",
// and the templates keep their controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "DialogTestUtil.h"
#include "ResourceIds.h"
#include "TextFit.h"
#include "TextFormat.h"

namespace {

class PseudoLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        pseudo_ = LoadLibraryExA((qvtest::BinDir() + "\\..\\pseudo\\QVTDX5DL.DLL").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
        english_ = LoadLibraryExA((qvtest::BinDir() + "\\QVTDX5DL.DLL").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite()
    {
        FreeLibrary(pseudo_);
        FreeLibrary(english_);
    }

    static std::wstring Text(HMODULE m, UINT id)
    {
        const wchar_t* text = nullptr;
        const int n = LoadStringW(m, id, reinterpret_cast<LPWSTR>(&text), 0);
        return n > 0 ? std::wstring(text, std::size_t(n)) : std::wstring();
    }
    // Every string of the library, by ID.
    static std::vector<std::pair<UINT, std::wstring>> Strings(HMODULE m)
    {
        std::vector<std::pair<UINT, std::wstring>> all;
        for (UINT id = 5000; id < 7000; ++id)
            if (std::wstring t = Text(m, id); !t.empty())
                all.emplace_back(id, std::move(t));
        return all;
    }

    static inline HMODULE pseudo_ = nullptr;
    static inline HMODULE english_ = nullptr;
};

TEST_F(PseudoLibrary, HoldsTheSameStringsLonger)
{
    ASSERT_TRUE(pseudo_ && english_);
    const auto english = Strings(english_), pseudo = Strings(pseudo_);
    ASSERT_EQ(english.size(), pseudo.size());
    ASSERT_GT(english.size(), 200u);
    for (std::size_t i = 0; i < english.size(); ++i) {
        EXPECT_EQ(english[i].first, pseudo[i].first);
        if (english[i].first != IDS_WEB_FILE_FILTER) {
            EXPECT_GT(pseudo[i].second.size(), english[i].second.size() * 5 / 4) << english[i].first;
        }
    }
    EXPECT_EQ(Text(pseudo_, IDS_WEB_FILE_FILTER), Text(english_, IDS_WEB_FILE_FILTER)) << "parsed text kept";
}

TEST_F(PseudoLibrary, FormatStringsTakeExactlyTheirOneValue)
{
    ASSERT_TRUE(pseudo_);
    const std::wstring value = L"Qelbrin QV-5 on FILE:";
    int formats = 0;
    for (const auto& [id, format] : Strings(pseudo_)) {
        const std::wstring out = text::FormatOne<wchar_t>(format, value, 1024);
        if (format.find(L"%s") == std::wstring::npos) {
            EXPECT_EQ(out, format) << id << ": a text without %s is used as it stands";
            continue;
        }
        ++formats;
        EXPECT_NE(out.find(value), std::wstring::npos) << id;
        EXPECT_EQ(out.find(value, out.find(value) + 1), std::wstring::npos) << id << ": the value once";
        EXPECT_NE(out.find(L"100%"), std::wstring::npos) << id;
        EXPECT_EQ(out.find(L"%%"), std::wstring::npos) << id;
        // Cut to a caller's buffer the text still ends cleanly inside it.
        EXPECT_EQ(text::FormatOne<wchar_t>(format, value, 40).size(), std::min<std::size_t>(39, out.size())) << id;
    }
    EXPECT_GT(formats, 10);
}

TEST_F(PseudoLibrary, LabelsLoseEveryAmpersandInMessages)
{
    ASSERT_TRUE(pseudo_);
    // The copies label of the Setup page, as the warning quotes it.
    const HRSRC found = FindResourceW(pseudo_, MAKEINTRESOURCEW(IDD_SETUP), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    ASSERT_TRUE(found);
    dialogtest::Host host;
    ASSERT_TRUE(dialogtest::LanguageLibrary());
    // Text only: the label is read out of the template by the dialog manager.
    std::vector<BYTE> bytes(static_cast<const BYTE*>(LockResource(LoadResource(pseudo_, found))),
                            static_cast<const BYTE*>(LockResource(LoadResource(pseudo_, found))) +
                                SizeofResource(pseudo_, found));
    DWORD style;
    std::memcpy(&style, bytes.data() + 12, sizeof style);
    style = (style & ~(WS_CAPTION | WS_VISIBLE)) | WS_CHILD;
    std::memcpy(bytes.data() + 12, &style, sizeof style);
    // Created with the English library's instance so the custom classes resolve.
    const HWND page = CreateDialogIndirectParamW(dialogtest::LanguageLibrary(),
                                                 reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), host.Window(),
                                                 dialogtest::NoDialogLogic, 0);
    ASSERT_TRUE(page) << GetLastError();
    wchar_t label[128] = {};
    GetDlgItemTextW(page, IDC_COPIES_LABEL, label, 128);
    const std::wstring quoted = text::WithoutMnemonics<wchar_t>(label);
    EXPECT_NE(std::wstring(label).find(L"&&"), std::wstring::npos) << "the pseudo label has a literal ampersand";
    EXPECT_EQ(quoted.find(L'&'), std::wstring::npos);
    const std::wstring message =
        text::FormatOne<wchar_t>(Text(pseudo_, IDS_NOT_A_NUMBER), quoted, 512);
    EXPECT_NE(message.find(quoted), std::wstring::npos);
    DestroyWindow(page);
}

// Every string fitted into a summary row's width in the row's font ends within the width, with
// "..." when it was cut.
TEST_F(PseudoLibrary, EveryTextFitsASummaryRowWithThreeDots)
{
    ASSERT_TRUE(pseudo_);
    HDC dc = CreateCompatibleDC(nullptr);
    const HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    const HGDIOBJ old = SelectObject(dc, font);
    auto Measure = [dc](std::wstring_view s) {
        SIZE size{};
        GetTextExtentPoint32W(dc, s.data(), int(s.size()), &size);
        return int(size.cx);
    };
    int cut = 0;
    for (const int width : {108, 60})
        for (const auto& [id, textOf] : Strings(pseudo_)) {
            const std::wstring fitted = text::FitWithEllipsis(textOf, width, Measure);
            if (fitted == textOf) {
                EXPECT_LE(Measure(fitted), width) << id;
                continue;
            }
            ++cut;
            ASSERT_GE(fitted.size(), 3u) << id;
            EXPECT_EQ(fitted.substr(fitted.size() - 3), L"...") << id;
            EXPECT_EQ(textOf.compare(0, fitted.size() - 3, fitted, 0, fitted.size() - 3), 0) << id;
            EXPECT_TRUE(Measure(fitted) <= width || fitted == L"...") << id;
            // Not a character more would have fitted.
            const std::wstring longer = textOf.substr(0, fitted.size() - 2) + L"...";
            EXPECT_GT(Measure(longer), width) << id;
        }
    EXPECT_GT(cut, 100) << "the pseudo texts are long";
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
}

}  // namespace
