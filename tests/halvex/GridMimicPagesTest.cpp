// The pages of mimic controls: the rows of every kind in order, with keys, captions,
// descriptions, choices and values, for a placed control and for a kind alone.
#include <gtest/gtest.h>

#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "halvex/mimic/ControlLineElem.h"
#include "halvex/mimic/ControlLogicElem.h"
#include "halvex/mimic/ControlSizeElem.h"
#include "halvex/mimic/ControlTextElem.h"
#include "platform/Encoding.h"
#include "tests/halvex/support/FakeArmHost.h"
#include "tests/halvex/support/GridTestSupport.h"

using testutil::FakeArmHost;
using testutil::TestGrid;

namespace {

std::string U8(const CString& s) { return platform::WideToUtf8(s.view()); }

// A row as the page shows it. Rows made without a descriptor have no key; their value is the
// font text, the colour (decimal COLORREF) or the chosen image index.
struct Row {
    const wchar_t* key;  // null: a font, colour or image row
    const wchar_t* caption;
    const wchar_t* description;
    CString value;
    std::vector<CString> options = {};
};

CString ValueOf(CMFCPropertyGridProperty* p) {
    if (auto* row = dynamic_cast<CMFCFuncPropsBase*>(p)) return row->GetCurrValue();
    if (auto* colour = dynamic_cast<CMFCFuncPropsColor*>(p)) {
        CString s;
        s.Format(L"%d", int(colour->GetColor()));
        return s;
    }
    return p->FormatProperty();
}

void ExpectPage(const TestGrid& grid, const std::vector<Row>& rows, const char* what) {
    ASSERT_EQ(grid.GetPropertyCount(), int(rows.size())) << what;
    for (size_t i = 0; i < rows.size(); ++i) {
        CMFCPropertyGridProperty* p = grid.GetProperty(int(i));
        auto* row = dynamic_cast<CMFCFuncPropsBase*>(p);
        EXPECT_EQ(row != nullptr, rows[i].key != nullptr) << what << " row " << i;
        if (row && rows[i].key) {
            EXPECT_EQ(row->GetUniqueName(), rows[i].key) << what << " row " << i;
        }
        EXPECT_EQ(p->GetName(), rows[i].caption) << what << " row " << i << ": " << U8(p->GetName());
        EXPECT_EQ(p->GetDescription(), rows[i].description) << what << " row " << i;
        EXPECT_EQ(ValueOf(p), rows[i].value) << what << " row " << i << ": " << U8(ValueOf(p));
        if (!rows[i].options.empty()) {
            EXPECT_EQ(p->GetOptions(), rows[i].options) << what << " row " << i;
        }
    }
}

CString Colour(uint32_t argb) {
    CString s;
    s.Format(L"%d", int(GridArgbToColor(argb)));
    return s;
}

CString FontText(const Arm_Font& font) {
    LOGFONTW lf{};
    CONTROL_MON_ELEM::SetLogFontFromArmFont(font, lf);
    CMFCFuncPropsFont row(L"", lf, 0);
    return row.FormatProperty();
}

const std::vector<CString> kPlaces4 = {L"Слева", L"Справа", L"Сверху", L"Снизу"};
const std::vector<CString> kStyles = {L"сплошная", L"штрих", L"пунктир"};

struct Page {
    TestGrid grid;
    FakeArmHost host;
    Page() { grid.m_pArmDataInterface = &host; }
};

TEST(GridMimicPages, TextPage) {
    Page p;
    CONTROL_TEXT_ELEM c;
    c.m_sText = L"Шина 1";
    c.m_nOrientation = 2;
    c.m_colorText = Gdiplus::Color(0xFF102030);
    p.grid.SetMonElemAndFill(&c);
    ExpectPage(p.grid,
               {{L"EditText", L"Текст", L"Введите текст", L"Шина 1"},
                {L"Orientation", L"Ориентация", L"Выбор ориентации текста", L"2",
                 {L"горизонтальная", L"вертикальная", L"перевернутая горизонтальная", L"перевернутая вертикальная"}},
                {nullptr, L"Шрифт", L"Выбор шрифта", FontText(c.m_font)}},
               "text");
    auto* font = dynamic_cast<CMFCFuncPropsFont*>(p.grid.GetProperty(2));
    EXPECT_EQ(font->GetColor(), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(font->GetDialogFlags(), 0x00800101u);
    // The text must not be empty.
    EXPECT_FALSE(p.grid.Row(L"EditText")->OnUpdateValue(L""));
    EXPECT_EQ(p.grid.sink.messages.back(), L"Введите непустое значение!");
}

struct Variable : ArmLockObject {
    EArmObjectType t;
    Variable(int type, const wchar_t* name, bool locked = false) : t(EArmObjectType(type)) {
        m_sName = name;
        m_bLocked = locked;
    }
    EArmObjectType GetArmObjectType() const override { return t; }
};

TEST(GridMimicPages, ButtonPageListsCommandsAndFindsTheBoundOne) {
    Variable b1(12, L"Кнопка1"), asu(11, L"АСУ1"), locked(12, L"Закрыта", true), b2(12, L"Кнопка2"),
        other(5, L"Чужой");
    Page p;
    p.host.objects = {&b1, &asu, &locked, &b2, &other};
    CONTROL_BUTTON_ELEM c;
    c.m_sCaption = L"Пуск";
    c.m_bTimeSync = false;
    c.m_sCommandName = L"Кнопка2";
    p.grid.SetMonElemAndFill(&c);
    const std::vector<CString> commands = {L"Синхронизация времени", L"Кнопка1", L"АСУ1", L"Кнопка2"};
    ExpectPage(p.grid,
               {{L"BindingCommand", L"Связующая команда", L"Выберите связующую команду", L"3", commands},
                {L"EditText", L"Псевдоним", L"Введите псевдоним", L"Пуск"},
                {nullptr, L"Шрифт", L"Выбор шрифта", FontText(c.m_font)},
                {nullptr, L"Цвет фона", L"Цвет фона кнопки", Colour(c.m_colorBackground.GetValue())}},
               "button");
    auto* colour = dynamic_cast<CMFCFuncPropsColor*>(p.grid.GetProperty(3));
    EXPECT_EQ(colour->GetAutomaticLabel(), L"По умолчанию");
    EXPECT_EQ(colour->GetOtherLabel(), L"Другой...");
    EXPECT_EQ(colour->GetAutomaticColor(), GridArgbToColor(CONTROL_BUTTON_ELEM::m_colorDefaultBackground));

    // Choosing a command puts its name into the caption.
    EXPECT_TRUE(p.grid.Row(L"BindingCommand")->OnUpdateValue(L"АСУ1"));
    EXPECT_EQ(p.grid.Row(L"EditText")->GetCurrValue(), L"АСУ1");

    const struct {
        const char* what;
        bool timeSync;
        const wchar_t* command;
        const wchar_t* display;
        const wchar_t* value;
        size_t options;
    } cases[] = {
        {"bound to time", true, L"Кнопка2", L"", L"0", 4},
        {"command removed from the project", false, L"Удалена", L"", L"0", 4},
        {"small screen: no buttons", false, L"АСУ1", L"640x480", L"1", 2},
    };
    for (const auto& k : cases) {
        c.m_bTimeSync = k.timeSync;
        c.m_sCommandName = k.command;
        p.host.defines[L"DISPLAY_TYPE"] = k.display;
        p.grid.SetMonElemAndFill(&c);
        EXPECT_EQ(p.grid.Row(L"BindingCommand")->GetCurrValue(), k.value) << k.what;
        EXPECT_EQ(p.grid.Row(L"BindingCommand")->GetOptions().size(), k.options) << k.what;
    }

    // A button about to be placed: captioned with the first choice.
    p.grid.SetOnlyMonElementTypeAndFill(eControlMonButton);
    EXPECT_EQ(p.grid.Row(L"BindingCommand")->GetCurrValue(), L"0");
    EXPECT_EQ(p.grid.Row(L"EditText")->GetCurrValue(), L"Синхронизация времени");
}

TEST(GridMimicPages, EditAndAnalogPages) {
    Page p;
    CONTROL_EDIT_ELEM e;
    e.m_nBindingCommand = 2;
    e.m_sAlias = L"Время";
    e.m_nAliasPlace = 3;
    p.grid.SetMonElemAndFill(&e);
    const Row font{nullptr, L"Шрифт", L"Выбор шрифта", FontText(e.m_font)};
    const Row colour{nullptr, L"Цвет фона", L"Цвет фона окна", Colour(e.m_colorBackground.GetValue())};
    ExpectPage(p.grid,
               {{L"BindingCommand", L"Связующая команда", L"Выберите связующую команду", L"2",
                 {L"Версия блока", L"Время блока", L"Системное время"}},
                {L"AliasText", L"Псевдоним", L"Введите псевдоним", L"Время"},
                {L"AliasPlace", L"Расположение псевдонима",
                 L"Выберите расположение псевдонима относительно основного окна", L"3", kPlaces4},
                font, colour},
               "edit");
    // The alias may be empty.
    EXPECT_TRUE(p.grid.Row(L"AliasText")->OnUpdateValue(L""));

    CONTROL_ANALOG_ELEM a;
    a.m_sAlias = L"Ia";
    p.grid.SetMonElemAndFill(&a);
    ExpectPage(p.grid,
               {{L"AliasText", L"Псевдоним", L"Введите псевдоним", L"Ia"},
                {L"AliasPlace", L"Расположение псевдонима",
                 L"Выберите расположение псевдонима относительно основного окна", L"0", kPlaces4},
                font, colour},
               "analog");
}

TEST(GridMimicPages, LogicPageOffersTwoPlacesAndTheTwoLooks) {
    Page p;
    CONTROL_LOGIC_ELEM c;
    c.m_sCaption = L"Авария";
    c.m_nCaptionPlace = 1;
    c.m_bIndicator = true;
    p.grid.SetMonElemAndFill(&c);
    ExpectPage(p.grid,
               {{L"AliasText", L"Псевдоним", L"Введите псевдоним", L"Авария"},
                {L"AliasPlace", L"Расположение псевдонима",
                 L"Выберите расположение псевдонима относительно основного окна", L"1", {L"Слева", L"Справа"}},
                {nullptr, L"Шрифт", L"Выбор шрифта", FontText(c.m_font)},
                {nullptr, L"Цвет отображения", L"Цвет отображения (галочки/индикатора)",
                 Colour(c.m_colorDisplay.GetValue())},
                {nullptr, L"Отображение", L"Выберите отображение сигнала (галочка/индикатор)", L"1", {L"0", L"1"}}},
               "logic");
    auto* icons = dynamic_cast<CIconListProp*>(p.grid.GetProperty(4));
    ASSERT_NE(icons, nullptr);
    ASSERT_EQ(icons->GetImageCount(), 2);
    EXPECT_EQ(icons->GetImageSize(), CSize(16, 16));
    EXPECT_EQ(icons->GetTexts(), (std::vector<CString>{L"Галочка", L"Индикатор"}));
    // The grey of the pictures is transparent; the green of the symbols is drawn.
    auto green = [](const CBitmap& b) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF c = b.GetPixel(x, y);
                if (GetGValue(c) > 0x60 && GetRValue(c) < 0x40 && GetBValue(c) < 0x40) return true;
            }
        return false;
    };
    EXPECT_TRUE(green(icons->GetImage(0)));
    EXPECT_TRUE(green(icons->GetImage(1)));
    EXPECT_EQ(icons->GetImage(0).GetPixel(0, 0) == RGB(0xC0, 0xC0, 0xC0), false);
}

TEST(GridMimicPages, SwitchPage) {
    Page p;
    CONTROL_SWITCH_ELEM c;
    c.m_sAlias = L"Q1";
    c.m_nAliasPlace = 2;
    c.m_nOrientation = 1;
    p.grid.SetMonElemAndFill(&c);
    ExpectPage(p.grid,
               {{L"AliasText", L"Текст", L"Введите текст", L"Q1"},
                {L"AliasPlace", L"Расположение текста", L"Выберите расположение текста относительно выключателя", L"2",
                 kPlaces4},
                {nullptr, L"Шрифт", L"Выбор шрифта", FontText(c.m_font)},
                {L"SwitchPlace", L"Положение выключателя",
                 L"Выберите положение выключателя (горизонтальное/вертикальное)", L"1",
                 {L"Горизонтальное", L"Вертикальное"}}},
               "switch");
    p.grid.SetOnlyMonElementTypeAndFill(eControlMonSwitch);
    EXPECT_EQ(p.grid.GetProperty(2)->FormatProperty(), FontText(CONTROL_LOGIC_ELEM().m_font));
}

TEST(GridMimicPages, LineAndRectanglePages) {
    Page p;
    p.grid.SetOnlyMonElementTypeAndFill(eControlMonLine);
    ExpectPage(p.grid,
               {{nullptr, L"Цвет", L"Цвет линии", L"0"},
                {L"LineWidth", L"Толщина", L"Толщина линии в пикселах (от 1 до 10)", L"2"},
                {L"LineStyle", L"Тип", L"Тип линии", L"0", kStyles}},
               "new line");
    auto* colour = dynamic_cast<CMFCFuncPropsColor*>(p.grid.GetProperty(0));
    EXPECT_EQ(colour->GetAutomaticColor(), RGB(0, 0, 0));
    EXPECT_FALSE(p.grid.Row(L"LineWidth")->OnUpdateValue(L"11"));
    EXPECT_EQ(p.grid.sink.messages.back(), L"Значение должно быть между 1 и 10.");

    CONTROL_RECT_ELEM r;
    r.m_colorOutline = Gdiplus::Color(0xFFFF0000);
    r.m_nOutlineWidth = 5;
    r.m_nStyle = 2;
    p.grid.SetMonElemAndFill(&r);
    ExpectPage(p.grid,
               {{nullptr, L"Цвет", L"Цвет границы прямоугольника", Colour(0xFFFF0000)},
                {L"LineWidth", L"Толщина", L"Толщина границы прямоугольника в пикселах (от 1 до 10)", L"5"},
                {L"LineStyle", L"Тип", L"Тип границы прямоугольника", L"2", kStyles}},
               "rectangle");
}

TEST(GridMimicPages, PictureUnknownKindAndNoHostShowNothing) {
    Page p;
    p.grid.SetOnlyMonElementTypeAndFill(eControlMonPicture);
    EXPECT_EQ(p.grid.GetPropertyCount(), 0);
    p.grid.SetOnlyMonElementTypeAndFill(EControlMonType(42));
    EXPECT_EQ(p.grid.GetPropertyCount(), 0);
    p.grid.m_pArmDataInterface = nullptr;
    p.grid.SetOnlyMonElementTypeAndFill(eControlMonLine);
    EXPECT_EQ(p.grid.GetPropertyCount(), 0);
    // A control of another kind than the one named fills the named kind's defaults.
    p.grid.m_pArmDataInterface = &p.host;
    CONTROL_TEXT_ELEM text;
    p.grid.SetMonElemAndFill(&text);
    p.grid.m_eMonElemType = eControlMonLine;
    p.grid.FillByCurrentMonElem();
    EXPECT_EQ(p.grid.Row(L"LineWidth")->GetCurrValue(), L"2");
    // Each page keeps the descriptors its rows point to, and only those.
    EXPECT_EQ(p.grid.m_vProps.size(), 2u);
}

}  // namespace

namespace {

// A mimic page asked for before the grid has its window is built when the window comes; a
// scheme page asked for after it takes its place.
TEST(GridMimicPages, APageAskedForBeforeTheWindowIsBuiltWhenItComes) {
    Page p;
    p.grid.DestroyWindow();
    p.grid.SetOnlyMonElementTypeAndFill(eControlMonLine);
    EXPECT_EQ(p.grid.GetPropertyCount(), 0);
    p.grid.Create();
    ASSERT_NE(p.grid.Row(L"LineWidth"), nullptr);
    EXPECT_TRUE(p.grid.IsMonPage());

    p.grid.DestroyWindow();
    p.grid.SetOnlyMonElementTypeAndFill(eControlMonLine);
    p.grid.SetOnlySchemeElementTypeAndFill(eSchElemLine);
    p.grid.Create();
    EXPECT_FALSE(p.grid.IsMonPage());
    ASSERT_NE(p.grid.Row(L"LineWidth"), nullptr);
}

}  // namespace
