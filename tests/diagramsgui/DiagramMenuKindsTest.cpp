// Diagram menus under a real display (Xvfb): a command whose update answer marks nothing
// ("Перезагрузить базы характеристик", "Создать") is a plain item, not a check box, while
// switches and channel items stay checkable.
#include <gtest/gtest.h>

#include "WxTestApp.h"

#include <wx/menu.h>

#include "FakeUi.h"
#include "diagrams/CirclePlot.h"
#include "diagrams/DiffDiagramWnd.h"
#include "diagrams/ui/DiagramCanvas.h"

TEST(DiagramMenuKinds, OnlyMarkedCommandsAreCheckItems) {
    // Ids of the toolkit's range stand for the diagram's commands: the kinds come from the
    // update answer alone.
    enum : unsigned { kReload = 100, kSwitch = 101, kRadio = 102, kChannel = 103 };
    const std::vector<DiagramMenuItem> items = {
        {0, L"Каналы", {{kChannel, L"Ia", {}}}},
        DiagramMenuItem::Separator(),
        {kSwitch, L"Только между визирами", {}},
        {kRadio, L"Re/Im", {}},
        DiagramMenuItem::Separator(),
        {kReload, L"Перезагрузить базы характеристик", {}},
    };
    auto update = [](CCmdUI& ui) {
        if (ui.m_nID == kSwitch || ui.m_nID == kChannel) ui.SetCheck(false);
        if (ui.m_nID == kRadio) ui.SetRadio(true);
    };
    wxMenu menu;
    FillMenu(menu, items, update);
    ASSERT_TRUE(menu.FindItem(kReload));
    EXPECT_EQ(menu.FindItem(kReload)->GetKind(), wxITEM_NORMAL);
    EXPECT_EQ(menu.FindItem(kSwitch)->GetKind(), wxITEM_CHECK);
    EXPECT_EQ(menu.FindItem(kRadio)->GetKind(), wxITEM_CHECK);
    ASSERT_TRUE(menu.FindItem(kChannel));
    EXPECT_EQ(menu.FindItem(kChannel)->GetKind(), wxITEM_CHECK);
}

TEST(DiagramMenuKinds, PlaneDiagramMarksItsSwitchesButNotItsCommands) {
    testutil::FakeUi ui;
    DiffDiagramWnd wnd(nullptr);
    auto marks = [&](unsigned id) {
        CCmdUI probe(id);
        wnd.OnUpdateCommand(probe);
        return probe.m_checkSet || probe.m_radioSet;
    };
    for (unsigned id : {unsigned(ID_CIRCLE_RELOAD_BLOCKS), unsigned(ID_CIRCLE_CREATE_PAIR), unsigned(ID_CIRCLE_SHOW_ALL),
                        unsigned(ID_CIRCLE_HIDE_ALL)})
        EXPECT_FALSE(marks(id)) << id;
    for (unsigned id : {unsigned(ID_CIRCLE_SHOW_OFF), unsigned(ID_CIRCLE_SIGHTS_ONLY), unsigned(ID_DIFF_SHOW_VALUES)})
        EXPECT_TRUE(marks(id)) << id;
    // The context menu offers the reload, which therefore shows as a plain item.
    bool offered = false;
    for (const DiagramMenuItem& item : wnd.BuildContextMenu()) offered = offered || item.id == ID_CIRCLE_RELOAD_BLOCKS;
    EXPECT_TRUE(offered);
}
