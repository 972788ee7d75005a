// The header comment dialog under a real display (Xvfb): a text its code page cannot hold is
// not written with '?' in silence; the user is asked, offered the code page that holds it,
// and may go back to the text. Switching the code page keeps what was typed.
#include <gtest/gtest.h>

#include <wx/choice.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include "FakeUi.h"
#include "WxTestApp.h"
#include "app/CommentDlg.h"
#include "document/TenvorikDoc.h"
#include "model/CommentList.h"
#include "platform/ui/WxUiServices.h"

namespace {

const wchar_t kNorth[] = L"«Северная» — фаза А";

class CommentCodePage : public ::testing::Test {
protected:
    void SetUp() override { frame = new wxFrame(nullptr, wxID_ANY, wxS("host")); }
    void TearDown() override { frame->Destroy(); }
    // The dialog on the header's bytes, in the code page the record keeps (866 by default).
    std::unique_ptr<CCommentDlg> Open() { return std::make_unique<CCommentDlg>(frame, doc, &header); }
    testutil::FakeUi ui;
    CTenvorikDoc doc;
    CStringA header;
    wxFrame* frame = nullptr;
};

}  // namespace

TEST_F(CommentCodePage, TextThatFitsIsTakenWithoutAQuestion) {
    auto dlg = Open();
    dlg->Edit()->ChangeValue(platform::ToWx(CString(L"Подстанция 110 кВ, фаза А?")));
    EXPECT_TRUE(dlg->ConfirmCodePage());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommentCodePage, TheCodePageThatHoldsTheTextIsOfferedAndTaken) {
    auto dlg = Open();
    ASSERT_EQ(dlg->CodePageOption(), 0);
    dlg->Edit()->ChangeValue(platform::ToWx(CString(kNorth)));
    ui.answers = {IDYES};
    EXPECT_TRUE(dlg->ConfirmCodePage());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_GE(ui.messages[0].Find(L"« » —"), 0) << ui.messages[0].str();
    EXPECT_EQ(ui.types[0] & 0xF, unsigned(MB_YESNOCANCEL));
    // Written in Windows-1251, the text comes back whole.
    EXPECT_EQ(dlg->CodePageOption(), 1);
    EXPECT_EQ(HeaderCommentToText(HeaderCommentFromText(kNorth, dlg->CodePageOption()), 1), CString(kNorth));
}

TEST_F(CommentCodePage, CancelGoesBackToTheTextAndNoKeepsTheCodePage) {
    auto dlg = Open();
    dlg->Edit()->ChangeValue(platform::ToWx(CString(kNorth)));
    ui.answers = {IDCANCEL, IDNO};
    EXPECT_FALSE(dlg->ConfirmCodePage());
    EXPECT_EQ(dlg->CodePageOption(), 0);
    EXPECT_EQ(platform::FromWx(dlg->Edit()->GetValue()), CString(kNorth));
    // "No": the user wants DOS bytes, replacements and all, and said so.
    EXPECT_TRUE(dlg->ConfirmCodePage());
    EXPECT_EQ(dlg->CodePageOption(), 0);
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(CommentCodePage, SwitchingTheCodePageKeepsWhatWasTyped) {
    auto dlg = Open();
    dlg->Edit()->ChangeValue(platform::ToWx(CString(kNorth)));
    auto* choice = dynamic_cast<wxChoice*>(dlg->FindWindow(1087));
    ASSERT_TRUE(choice);
    choice->SetSelection(1);
    wxCommandEvent e(wxEVT_CHOICE, 1087);
    e.SetEventObject(choice);
    choice->ProcessWindowEvent(e);
    EXPECT_EQ(dlg->CodePageOption(), 1);
    EXPECT_EQ(platform::FromWx(dlg->Edit()->GetValue()), CString(kNorth));
    EXPECT_TRUE(dlg->ConfirmCodePage());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommentCodePage, SwitchingStillReadsTheHeadersBytesAgain) {
    header = CStringA("\x8f\xe0\xa8\xa2\xa5\xe2");  // "Привет" in 866, opened as 866
    auto dlg = Open();
    EXPECT_EQ(platform::FromWx(dlg->Edit()->GetValue()), CString(L"Привет"));
    auto* choice = dynamic_cast<wxChoice*>(dlg->FindWindow(1087));
    choice->SetSelection(1);
    wxCommandEvent e(wxEVT_CHOICE, 1087);
    e.SetEventObject(choice);
    choice->ProcessWindowEvent(e);
    // The same bytes read as Windows-1251.
    EXPECT_EQ(platform::FromWx(dlg->Edit()->GetValue()), HeaderCommentToText(header, 1));
}
