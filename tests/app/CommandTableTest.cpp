// The ribbon, menus and keys as data: every control names a command once, shows a text or
// a tool tip, and the keys follow the desktop's conventions.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/AboutWnd.h"
#include "app/CaptionBars.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "diagrams/CirclePlot.h"
#include "diagrams/DiffDiagramWnd.h"
#include "diagrams/FourieDiagramWnd.h"
#include "diagrams/VectorDiagramWnd.h"
#include "model/Resources.h"
#include "platform/Encoding.h"

using namespace commands;

namespace {

std::string Text(unsigned id) { return platform::WideToUtf8(LoadResString(id).GetString()); }

}  // namespace

TEST(CommandTable, PagesAndPanelsInTheirOrderWithEveryCommandOnce) {
    const auto& pages = RibbonPages();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(Text(pages[0].title), "Файл");
    EXPECT_EQ(Text(pages[1].title), "&Главная");
    EXPECT_EQ(Text(pages[2].title), "ОМП");
    std::vector<std::string> home;
    for (const Panel& p : pages[1].panels) home.push_back(Text(p.title));
    // "Стиль" stands on the tab row, not on a page.
    const std::vector<std::string> expected = {"Объединение", "Диаграммы", "Видимость", "Вычисления", " "};
    EXPECT_EQ(home, expected);

    std::set<int> seen;
    for (const Page& page : pages)
        for (const Panel& panel : page.panels)
            for (const Button& b : panel.buttons) {
                if (b.kind == Kind::Break) continue;
                EXPECT_TRUE(seen.insert(b.id).second) << "twice: " << b.id;
                // A button shows its text, or a tool tip says what its picture means.
                const std::string label = b.text ? Text(b.text) : "";
                const std::string tip = b.tip ? Text(b.tip) : "";
                EXPECT_FALSE(label.empty() && tip.empty()) << b.id;
                if (!b.text) {
                    EXPECT_NE(tip.find('\n'), std::string::npos) << "no tool tip part: " << b.id;
                }
                EXPECT_NE(b.icon, Icon::None) << b.id;
            }
    // The commands of the view's panels, as laid out.
    const std::vector<int> visibility = {32862, 32845, 32846, 32847, 32802, 32803, 138, 32800, 32801,
                                         141,   32813, 32814, 139,   32815, 32816, 155, 157, 156};
    std::vector<int> got;
    for (const Button& b : pages[1].panels[2].buttons)
        if (b.kind != Kind::Break) got.push_back(b.id);
    EXPECT_EQ(got, visibility);
    for (int id : {32811, 32809, 32808, 140, 32805, 32860, 32880, 57607, 57609, 137, 142, 32806, 32807, 131})
        EXPECT_TRUE(seen.count(id)) << id;
}

TEST(CommandTable, MenusOfTheViewAndOfHelpHaveTheirEntries) {
    auto ids = [](int menu) {
        std::vector<int> v;
        for (const MenuItem& m : Menu(menu)) {
            v.push_back(m.id);
            if (m.id) {
                EXPECT_FALSE(Text(m.text).empty()) << menu << " " << m.id;
            }
        }
        return v;
    };
    EXPECT_EQ(ids(560), (std::vector<int>{32853, 32854, 32855, 33007, 32856, 0, 32857, 33033}));
    for (const MenuItem& m : Menu(560))
        if (m.id >= 32853 && m.id <= 33007 && m.id != 32857 && m.id != 33033) {
            EXPECT_TRUE(m.radio) << m.id;
        }
    const std::vector<int> captions = ids(561);
    for (int id : {32849, 32850, 32851, 32852, 32848, 32820, 32821, 32822, 32823, 32824, 141, 57634, 57637, 33035, 33037, 33030})
        EXPECT_NE(std::find(captions.begin(), captions.end(), id), captions.end()) << id;
    EXPECT_EQ(ids(563), (std::vector<int>{33038, 33039, 33040, 33041, 33042}));
    EXPECT_EQ(ids(342), (std::vector<int>{57667, 0, 57664}));
    EXPECT_TRUE(Menu(999).empty());
}

TEST(CommandTable, KeysFollowTheDesktopAndNeverClash) {
    std::map<std::tuple<bool, bool, int>, int> keys;
    for (const Accelerator& a : Accelerators())
        EXPECT_TRUE(keys.emplace(std::make_tuple(a.ctrl, a.shift, a.key), a.id).second) << a.key;
    auto id = [&](bool ctrl, bool shift, int key) {
        auto it = keys.find(std::make_tuple(ctrl, shift, key));
        return it == keys.end() ? -1 : it->second;
    };
    EXPECT_EQ(id(true, false, 'O'), kOpen);
    EXPECT_EQ(id(true, false, 'S'), kSave);
    EXPECT_EQ(id(true, true, 'S'), kSaveAs);
    EXPECT_EQ(id(true, false, 'W'), kClose);
    EXPECT_EQ(id(true, false, 'Z'), kUndo);
    EXPECT_EQ(id(true, true, 'Z'), kRedo);
    EXPECT_EQ(id(true, false, 'Y'), kRedo);
    EXPECT_EQ(id(true, false, 'C'), ID_EDIT_COPY);
    EXPECT_EQ(id(true, false, 'V'), ID_EDIT_PASTE);
    EXPECT_EQ(id(true, false, 'P'), ID_FILE_PRINT);
    EXPECT_EQ(id(true, false, '='), 32802);
    EXPECT_EQ(id(true, false, '-'), 32803);
}

// The toolkit's menus refuse ids from 32767 up; every command of the program must reach them
// through an id they take, and come back as itself.
TEST(CommandTable, EveryCommandHasAnIdTheToolkitsMenusTakeAndBackAgain) {
    std::set<int> ids;
    for (const Page& page : RibbonPages())
        for (const Panel& panel : page.panels)
            for (const Button& b : panel.buttons)
                if (b.kind != Kind::Break) ids.insert(b.id);
    for (int menu : {560, 561, 563, 342})
        for (const MenuItem& m : Menu(menu))
            if (m.id) ids.insert(m.id);
    for (const Accelerator& a : Accelerators()) ids.insert(a.id);
    for (int id = ID_APP_LOOK_FIRST; id <= ID_APP_LOOK_LAST; ++id) ids.insert(id);
    for (int id = 0; id < 100; ++id) ids.insert(ID_RECENT_FIRST + id);
    for (int id : {int(ID_REQUEST_REDRAW), int(ID_RECALC_LAYOUT), int(ID_RESULT_BAR_CLOSED), int(ID_FILE_PARAMETERS)})
        ids.insert(id);
    // The diagrams' menus: their commands and one entry per channel (a record has at most a
    // few hundred) and per reference.
    for (unsigned id : {ID_VECTOR_RADIANS, ID_VECTOR_ONLY_DIRECTION, ID_VECTOR_SHOW_VALUES, ID_VECTOR_SHOW_ALL,
                        ID_VECTOR_HIDE_ALL})
        ids.insert(int(id));
    for (unsigned id : {ID_CIRCLE_SIGHTS_ONLY, ID_CIRCLE_SHOW_ALL, ID_CIRCLE_HIDE_ALL, ID_CIRCLE_RELOAD_BLOCKS,
                        ID_CIRCLE_SHOW_OFF, ID_CIRCLE_VIEW_REIM, ID_CIRCLE_VIEW_RMS_ANGLE, ID_CIRCLE_CREATE_PAIR})
        ids.insert(int(id));
    for (unsigned id : {ID_FOURIE_SHOW_ALL, ID_FOURIE_HIDE_ALL, ID_FOURIE_SETTINGS}) ids.insert(int(id));
    ids.insert(int(ID_DIFF_SHOW_VALUES));
    for (int i = 0; i < 999; ++i) {
        ids.insert(int(ID_VECTOR_CHANNEL_FIRST) + i);
        ids.insert(int(ID_VECTOR_REFERENCE_FIRST) + i);
    }

    std::map<int, int> programOf;
    for (int id : ids) {
        ASSERT_TRUE(HasMenuId(id)) << id;
        const int menuId = MenuId(id);
        EXPECT_GE(menuId, 0) << id;
        EXPECT_LT(menuId, 32767) << id;
        EXPECT_EQ(ProgramId(menuId), id) << id;
        // one toolkit id per command
        EXPECT_TRUE(programOf.emplace(menuId, id).second) << id << " and " << programOf[menuId] << " meet at " << menuId;
    }
    // The ids that were too high for the toolkit are among those it was given: the recent
    // files, the shell's and the view's commands.
    struct Case {
        int program, toolkit;
    };
    const Case cases[] = {
        {62100, 28100}, {62199, 28199}, {57607, 27607}, {57664, 27664}, {32767, 22767}, {32880, 22880},
        {33042, 23042}, {35000, 25000}, {36998, 26998},
        // the toolkit's own and the program's low ids stay as they are
        {kOpen, kOpen}, {kRedo, kRedo}, {155, 155}, {ID_APP_LOOK_FIRST, ID_APP_LOOK_FIRST}, {0, 0}, {19999, 19999},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MenuId(c.program), c.toolkit) << c.program;
        EXPECT_EQ(ProgramId(c.toolkit), c.program) << c.toolkit;
    }
    // An id the table does not know passes unchanged both ways: a toolkit id sent by a control
    // (negative, or a tool bar's own), and nothing the program uses lands among the moved ones.
    for (int id : {-1, -31000, 40000, 70000}) {
        EXPECT_FALSE(HasMenuId(id)) << id;
        EXPECT_EQ(MenuId(id), id);
        EXPECT_EQ(ProgramId(id), id);
    }
    for (int id : ids) EXPECT_FALSE(id >= kToolkitIdFirst && id <= kToolkitIdLast) << id;
}

TEST(AboutWindow, ClicksLandOnTheirPlacesAndTheVersionIsShown) {
    struct Case {
        int x, y;
        AboutWnd::Hit hit;
    };
    const Case cases[] = {
        {241, 314, AboutWnd::kWebLink},   {335, 320, AboutWnd::kWebLink},  {336, 320, AboutWnd::kNothing},
        {200, 330, AboutWnd::kMailLink},  {322, 342, AboutWnd::kMailLink}, {530, 350, AboutWnd::kCloseArea},
        {629, 399, AboutWnd::kCloseArea}, {630, 399, AboutWnd::kNothing},  {10, 10, AboutWnd::kNothing},
        {100, 320, AboutWnd::kNothing},
    };
    // The links where the first layout put them.
    const AboutWnd::Links links{wxRect(wxPoint(241, 314), wxPoint(336, 329)), wxRect(wxPoint(176, 328), wxPoint(323, 343))};
    for (const Case& c : cases) EXPECT_EQ(AboutWnd::HitTest(c.x, c.y, links), c.hit) << c.x << "," << c.y;
    EXPECT_EQ(platform::WideToUtf8(AboutWnd::VersionText().GetString()),
              "Версия 1.0.0 (выпуск 1)\nОфициальный сайт компании : \n");
}

TEST(AboutWindow, LinksFollowTheLabelAndLineUpWithoutOverlap) {
    // A 17-pixel line, a label 220 wide, links of 170 and 200 pixels.
    const AboutWnd::Links l = AboutWnd::PlaceLinks(wxPoint(35, 300), 17, 220, wxSize(170, 16), wxSize(200, 16));
    EXPECT_EQ(l.web.GetPosition(), wxPoint(255, 317));   // on the second line, after the label
    EXPECT_EQ(l.mail.GetPosition(), wxPoint(255, 334));  // on the third, under the web address
    EXPECT_FALSE(l.web.Intersects(l.mail));
    // Each takes its whole text: a click on its last pixel is a click on it.
    EXPECT_EQ(AboutWnd::HitTest(255 + 169, 320, l), AboutWnd::kWebLink);
    EXPECT_EQ(AboutWnd::HitTest(255 + 199, 340, l), AboutWnd::kMailLink);
    EXPECT_EQ(AboutWnd::HitTest(255 + 199, 320, l), AboutWnd::kNothing);
    EXPECT_EQ(AboutWnd::HitTest(254, 320, l), AboutWnd::kNothing);
}
