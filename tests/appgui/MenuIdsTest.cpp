// The program's menus as the toolkit builds them: every entry of the command table's menus,
// the recent files and a diagram's channel menu goes in without one toolkit assertion, and
// choosing an entry comes back as the program's own command.
#include <gtest/gtest.h>

#include <wx/debug.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include "WxTestApp.h"
#include "app/AssertionHandler.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "diagrams/VectorDiagramWnd.h"
#include "diagrams/ui/DiagramCanvas.h"

namespace {

// Keeps the assertions met while it lives, as a smoke run does.
class AssertionWatch {
public:
    AssertionWatch() : m_before(wxSetAssertHandler(nullptr)) {
        wxSetAssertHandler(m_before);
        assertions::Install(true);
        m_had = assertions::Met().size();
    }
    ~AssertionWatch() { wxSetAssertHandler(m_before); }
    std::vector<std::string> Met() const {
        std::vector<std::string> all = assertions::Met();
        return std::vector<std::string>(all.begin() + long(m_had), all.end());
    }

private:
    wxAssertHandler_t m_before;
    size_t m_had = 0;
};

std::string Joined(const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& x : v) s += x + "\n";
    return s;
}

}  // namespace

TEST(MenuIds, TheProgramsMenusRaiseNoToolkitAssertion) {
    AssertionWatch watch;
    for (int id : {560, 561, 563, 342}) {
        wxMenu menu;
        commands::AppendMenu(menu, id);
        EXPECT_EQ(menu.GetMenuItemCount(), commands::Menu(id).size()) << id;
    }
    wxMenu recent;
    for (int i = 0; i < 10; ++i) recent.Append(commands::MenuId(ID_RECENT_FIRST + i), wxString::Format("&%d a.cfg", i));
    std::vector<DiagramMenuItem> channels;
    for (unsigned i = 0; i < 236; ++i) channels.push_back({ID_VECTOR_CHANNEL_FIRST + i, L"I", {}});
    channels.push_back(DiagramMenuItem::Separator());
    channels.push_back({0, L"ref", {{ID_VECTOR_REFERENCE_FIRST, L"Ua", {}}}});
    wxMenu diagram;
    FillMenu(diagram, channels);
    EXPECT_TRUE(watch.Met().empty()) << Joined(watch.Met());
}

TEST(MenuIds, AnIdPastTheToolkitsLimitIsCaughtNotShown) {
    AssertionWatch watch;
    // What the recent-files menu did before its ids went through the table.
    wxMenu menu;
    menu.Append(ID_RECENT_FIRST, "&1 a.cfg");
    const std::vector<std::string> met = watch.Met();
    ASSERT_EQ(met.size(), 1u);
    EXPECT_NE(met[0].find("invalid itemid value"), std::string::npos) << met[0];
}

TEST(MenuIds, AChosenEntryReachesTheHandlerOfItsCommand) {
    AssertionWatch watch;
    auto* frame = new wxFrame(nullptr, wxID_ANY, "menus");
    int got = 0;
    frame->Bind(wxEVT_MENU, [&got](wxCommandEvent& e) { got = commands::ProgramId(e.GetId()); },
                commands::MenuId(commands::ID_EDIT_PASTE));
    wxMenu menu;
    commands::AppendMenu(menu, 561);
    wxMenuItem* paste = menu.FindItem(commands::MenuId(commands::ID_EDIT_PASTE));
    ASSERT_NE(paste, nullptr);
    wxCommandEvent chosen(wxEVT_MENU, paste->GetId());
    frame->ProcessWindowEvent(chosen);
    EXPECT_EQ(got, int(commands::ID_EDIT_PASTE));
    frame->Destroy();
    EXPECT_TRUE(watch.Met().empty()) << Joined(watch.Met());
}
