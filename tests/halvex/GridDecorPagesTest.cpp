// The pages of block elements and decoration elements (texts, lines, rectangles, dynamic
// texts), and what their edits, fonts and colours write back into the element.
#include <gtest/gtest.h>

#include "halvex/config/ObjIconsHelper.h"
#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "halvex/mimic/ControlLineElem.h"
#include "halvex/scheme/SchemeBlockElement.h"
#include "halvex/scheme/SchemeDecor.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "platform/Encoding.h"
#include "tests/halvex/support/FakeArmHost.h"
#include "tests/halvex/support/GridTestSupport.h"

using testutil::FakeArmHost;
using testutil::TestGrid;

namespace {

std::string U8(const CString& s) { return platform::WideToUtf8(s.view()); }

struct Row {
    const wchar_t* key;  // null: a font or colour row
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

CString FontText(const SCHEME_TEXT_ELEMENT& e) {
    LOGFONTW lf{};
    e.SetLogFont(lf);
    return CMFCFuncPropsFont(L"", lf, 0).FormatProperty();
}

CString Decimal(int v) {
    CString s;
    s.Format(L"%d", v);
    return s;
}

const std::vector<CString> kStyles = {L"сплошная", L"штрих", L"пунктир"};

struct Page {
    FakeArmHost host;
    TestGrid grid;
    Page() { grid.m_pArmDataInterface = &host; }
};

// --- texts ----------------------------------------------------------------------------------------

TEST(GridDecorPages, TextPageAndCodeText) {
    Page p;
    SCHEME_TEXT_ELEMENT text;
    text.m_sText = L"Пояснение";
    text.m_nOrientation = 1;
    text.m_color = 0xFF112233;
    p.grid.SetBaseElemAndFill(&text);
    ExpectPage(p.grid,
               {{L"EditText", L"Текст", L"Введите текст", L"Пояснение"},
                {nullptr, L"Шрифт", L"Выбор шрифта", FontText(text)},
                {L"Orientation", L"Ориентация", L"Выбор ориентации текста", L"1",
                 {L"горизонтальная", L"вертикальная", L"перевернутая горизонтальная", L"перевернутая вертикальная"}}},
               "text");
    auto* font = dynamic_cast<CMFCFuncPropsFont*>(p.grid.GetProperty(1));
    EXPECT_EQ(font->GetColor(), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(font->GetDialogFlags(), 8388865u);

    SCHEME_TEXT_ELEMENT code(true);
    code.m_sText = L"x = 1;";
    p.grid.SetBaseElemAndFill(&code);
    ExpectPage(p.grid, {{L"EditText", L"Текст", L"Введите текст", L"x = 1;"}}, "code text");
    // A code text refuses an empty text silently.
    EXPECT_FALSE(p.grid.Row(L"EditText")->OnUpdateValue(L""));
    EXPECT_TRUE(p.grid.sink.messages.empty());

    // Kinds alone: a new text, a new code text.
    p.grid.SetOnlySchemeElementTypeAndFill(eSchElemText);
    EXPECT_EQ(p.grid.GetPropertyCount(), 3);
    p.grid.SetOnlySchemeElementTypeAndFill(ESchemeElementType(6));
    EXPECT_EQ(p.grid.GetPropertyCount(), 1);
}

TEST(GridDecorApply, TextEditsFontAndHostNotice) {
    Page p;
    p.grid.floating = true;
    SCHEME_TEXT_ELEMENT text;
    text.m_sText = L"old";
    p.grid.SetBaseElemAndFill(&text);
    EXPECT_FALSE(p.grid.Row(L"EditText")->OnUpdateValue(L""));  // refused: nothing written
    EXPECT_EQ(text.m_sText, L"old");
    EXPECT_TRUE(p.grid.Row(L"EditText")->OnUpdateValue(L"new"));
    EXPECT_EQ(text.m_sText, L"new");
    EXPECT_TRUE(p.grid.Row(L"Orientation")->OnUpdateValue(L"перевернутая вертикальная"));
    EXPECT_EQ(text.m_nOrientation, 3);
    EXPECT_EQ(p.host.changed, (std::vector<int>{0, 0}));
    EXPECT_EQ(p.grid.invalidated, (std::vector<int>{0, 0}));
    EXPECT_EQ(p.grid.scrollCorrections, 2);

    // The font dialog's choice goes into the element with its colour, opaque.
    LOGFONTW lf{};
    text.SetLogFont(lf);
    wcscpy(lf.lfFaceName, L"Tahoma");
    p.grid.sink.fontChosen = true;
    p.grid.sink.font = lf;
    p.grid.sink.fontColour = RGB(0x10, 0x20, 0x30);
    p.grid.GetProperty(1)->OnClickButton();
    EXPECT_EQ(text.m_font.m_sFaceName, L"Tahoma");
    EXPECT_EQ(text.m_color, 0xFF102030u);
    EXPECT_EQ(p.grid.invalidated.size(), 3u);
}

TEST(GridDecorApply, NothingIsWrittenWhenEditsDoNotApplyAtOnce) {
    Page p;
    SCHEME_LINE_ELEMENT line;
    p.grid.SetBaseElemAndFill(&line);
    EXPECT_TRUE(p.grid.GetProperty(0)->OnUpdateValue(Decimal(int(RGB(255, 0, 0)))));
    EXPECT_TRUE(p.grid.Row(L"LineWidth")->OnUpdateValue(L"5"));
    EXPECT_EQ(line.m_color, 0xFF000000u);
    EXPECT_EQ(line.m_nWidth, 2);
    EXPECT_TRUE(p.host.changed.empty());
}

// --- lines and rectangles -------------------------------------------------------------------------

TEST(GridDecorPages, LineAndRectanglePages) {
    Page p;
    p.grid.SetOnlySchemeElementTypeAndFill(eSchElemLine);
    ExpectPage(p.grid,
               {{nullptr, L"Цвет", L"Цвет линии", L"0"},
                {L"LineWidth", L"Толщина", L"Толщина линии в пикселах (от 1 до 10)", L"2"},
                {L"LineStyle", L"Тип", L"Тип линии", L"0", kStyles}},
               "new line");
    auto* width = dynamic_cast<CMFCFuncPropsEditInt*>(p.grid.Row(L"LineWidth"));
    ASSERT_NE(width, nullptr);
    EXPECT_TRUE(width->HasSpinControl());
    EXPECT_EQ(width->GetSpinMin(), 1);
    EXPECT_EQ(width->GetSpinMax(), 10);
    auto* colour = dynamic_cast<CMFCFuncPropsColor*>(p.grid.GetProperty(0));
    EXPECT_EQ(colour->GetOtherLabel(), L"Другой...");
    EXPECT_EQ(colour->GetAutomaticLabel(), L"По умолчанию");

    SCHEME_RECT_ELEMENT rect;
    rect.m_color = 0xFF0000FF;
    rect.m_nLineWidth = 4;
    rect.m_nDashStyle = 1;
    p.grid.SetBaseElemAndFill(&rect);
    ExpectPage(p.grid,
               {{L"LineWidth", L"Толщина", L"Толщина границы прямоугольника в пикселах (от 1 до 10)", L"4"},
                {nullptr, L"Цвет", L"Цвет границы прямоугольника", Decimal(int(RGB(0, 0, 255)))},
                {L"LineStyle", L"Тип", L"Тип границы прямоугольника", L"1", kStyles}},
               "rectangle");
}

TEST(GridDecorApply, LineAndRectangleWidthsStylesAndColours) {
    Page p;
    p.grid.floating = true;
    SCHEME_LINE_ELEMENT line;
    line.m_color = 0xFF00FF00;
    p.grid.SetBaseElemAndFill(&line);
    EXPECT_TRUE(p.grid.Row(L"LineWidth")->OnUpdateValue(L"7"));
    EXPECT_TRUE(p.grid.Row(L"LineStyle")->OnUpdateValue(L"пунктир"));
    EXPECT_EQ(line.m_nWidth, 7);
    EXPECT_EQ(line.m_nDashStyle, 2);
    // The automatic colour is opaque black.
    EXPECT_TRUE(p.grid.GetProperty(0)->OnUpdateValue(L"-1"));
    EXPECT_EQ(line.m_color, 0xFF000000u);
    EXPECT_EQ(p.host.changed, (std::vector<int>{0, 0}));  // colours tell the views only
    EXPECT_EQ(p.grid.invalidated.size(), 3u);

    SCHEME_RECT_ELEMENT rect;
    p.grid.SetBaseElemAndFill(&rect);
    EXPECT_TRUE(p.grid.Row(L"LineWidth")->OnUpdateValue(L"9"));
    EXPECT_TRUE(p.grid.GetProperty(1)->OnUpdateValue(Decimal(int(RGB(1, 2, 3)))));
    EXPECT_EQ(rect.m_nLineWidth, 9);
    EXPECT_EQ(rect.m_color, 0xFF010203u);
}

// --- dynamic texts --------------------------------------------------------------------------------

TEST(GridDecorPages, DynamicTextPageAndItsEdits) {
    Page p;
    SCHEME_DYNAMIC_ELEMENT dyn;
    dyn.m_sAlias = L"Ua";
    dyn.m_nAliasPlace = 2;
    p.grid.SetBaseElemAndFill(&dyn);
    ExpectPage(p.grid,
               {{L"AliasText", L"Псевдоним", L"Введите псевдоним", L"Ua"},
                {L"AliasPlace", L"Расположение псевдонима",
                 L"Выберите расположение псевдонима относительно основного окна", L"2",
                 {L"Слева", L"Справа", L"Сверху", L"Снизу"}}},
               "dynamic");

    p.grid.floating = true;
    p.grid.SetBaseElemAndFill(&dyn);
    EXPECT_TRUE(p.grid.Row(L"AliasPlace")->OnUpdateValue(L"Снизу"));
    EXPECT_EQ(dyn.m_nAliasPlace, 3);
    // An empty alias clears it, while an empty text leaves the text alone.
    EXPECT_TRUE(p.grid.Row(L"AliasText")->OnUpdateValue(L""));
    EXPECT_EQ(dyn.m_sAlias, L"");
    dyn.m_sText = L"kept";
    FuncPropsEditText textDesc;
    textDesc.m_sKey = L"EditText";
    CMFCFuncPropsBase* text = p.grid.Add(textDesc, L"x");
    EXPECT_TRUE(text->OnUpdateValue(L""));
    EXPECT_EQ(dyn.m_sText, L"kept");
    EXPECT_EQ(p.host.changed, (std::vector<int>{0, 0, 0}));

    // A colour row reaches the dynamic text's display colour.
    auto* colour = new CMFCFuncPropsColor(L"Цвет", RGB(0, 0, 0));
    p.grid.AddProperty(colour);
    EXPECT_TRUE(colour->OnUpdateValue(Decimal(int(RGB(0xAA, 0xBB, 0xCC)))));
    EXPECT_EQ(dyn.m_colorDisplay, 0xFFAABBCCu);
}

TEST(GridDecorApply, FontOfAPageThatIsNotATextChangesNoElement) {
    Page p;
    p.grid.floating = true;
    SCHEME_LINE_ELEMENT line;
    p.grid.SetBaseElemAndFill(&line);
    LOGFONTW lf{};
    wcscpy(lf.lfFaceName, L"Arial");
    auto* font = new CMFCFuncPropsFont(L"Шрифт", lf, 0, L"", 0, RGB(0, 0, 0));
    p.grid.AddProperty(font);
    wcscpy(lf.lfFaceName, L"Tahoma");
    p.grid.sink.fontChosen = true;
    p.grid.sink.font = lf;
    font->OnClickButton();
    EXPECT_EQ(font->FormatProperty().Left(6), L"Tahoma");
    EXPECT_TRUE(p.grid.invalidated.empty());
    EXPECT_EQ(line.m_color, 0xFF000000u);
}

// A mimic page shown after a scheme element must not write into that element, which the grid
// still points to.
TEST(GridDecorApply, MimicPageLeavesTheLastSchemeElementAlone) {
    Page p;
    p.grid.floating = true;
    SCHEME_LINE_ELEMENT line;
    p.grid.SetBaseElemAndFill(&line);
    CONTROL_LINE_ELEM control;
    p.grid.SetMonElemAndFill(&control);
    EXPECT_TRUE(p.grid.IsMonPage());
    EXPECT_TRUE(p.grid.Row(L"LineWidth")->OnUpdateValue(L"8"));
    EXPECT_TRUE(p.grid.GetProperty(0)->OnUpdateValue(Decimal(int(RGB(255, 0, 0)))));
    EXPECT_EQ(line.m_nWidth, 2);
    EXPECT_EQ(line.m_color, 0xFF000000u);
    EXPECT_TRUE(p.host.changed.empty());
    EXPECT_EQ(p.grid.Row(L"LineWidth")->GetCurrValue(), L"8");  // the host reads it from here
}

// --- blocks ---------------------------------------------------------------------------------------

struct BlockFixture {
    FakeArmHost host;
    TestGrid grid;
    SCHEME_FUNC func;
    SmartPointer<SCHEME_BASE_ELEMENT> inner[2];
    BLOCK_SCHEME block;
    SCHEME_BLOCK_ELEMENT element{eSchemeEditUser, L"Blk"};

    BlockFixture() {
        grid.m_pArmDataInterface = &host;
        func.m_sName = L"F";
        auto* name = new FuncPropsArmObjBlock;
        name->m_sKey = L"BlockName";
        name->m_sHostText = L"Obj";
        auto* obj = new FuncPropsArmObjCombo;
        obj->m_sKey = L"Obj";
        obj->m_eArmObjType = EArmObjectType(5);
        func.m_vProps = {SmartPointer<FuncPropsBase>(name), SmartPointer<FuncPropsBase>(obj)};
        host.functions[2][L"F"] = &func;
        const wchar_t* exported[] = {L"Zeta", L"Alpha"};
        for (int i = 0; i < 2; ++i) {
            auto* fe = new SCHEME_FUNC_ELEMENT;
            fe->m_eFuncSchemeType = EFuncSchemeType(2);
            fe->m_sName = L"F";
            fe->m_mapPropValues[L"BlockName"] = exported[i];
            inner[i] = SmartPointer<SCHEME_BASE_ELEMENT>(fe);
            block.m_scheme.m_mapElements[CompileIncludeSpace::GetStringByGuid(fe->m_guid)] = inner[i];
        }
        host.blocks[eSchemeEditUser][L"Blk"] = &block;
        element.m_mapPropValues[L"Zeta"] = L"Q5";
    }
};

TEST(GridDecorPages, BlockPageOffersTheBlocksExportedPropertiesByName) {
    BlockFixture f;
    f.grid.SetBaseElemAndFill(&f.element);
    const CString typeName = ObjIconsHelper::GetTypeName(EArmObjectType(5), false);
    ExpectPage(f.grid, {{L"Alpha", L"Alpha", typeName.GetString(), L""}, {L"Zeta", L"Zeta", typeName.GetString(), L""}},
               "block");
    // The rows point to their descriptors: the page keeps them.
    EXPECT_EQ(f.grid.m_vProps.size(), 2u);

    // A missing block, or one that exports nothing, shows an empty page.
    f.element.m_sBlockName = L"Missing";
    f.grid.SetBaseElemAndFill(&f.element);
    EXPECT_EQ(f.grid.GetPropertyCount(), 0);
    f.element.m_sBlockName = L"Blk";
    f.block.m_scheme.m_mapElements.clear();
    f.grid.SetBaseElemAndFill(&f.element);
    EXPECT_EQ(f.grid.GetPropertyCount(), 0);
}

TEST(GridDecorApply, BlockValueIsStoredUnderItsName) {
    struct Obj : ArmObject {
        Obj() { m_sName = L"Q7"; }
        EArmObjectType GetArmObjectType() const override { return EArmObjectType(5); }
    } q7;
    BlockFixture f;
    f.host.objects = {&q7};
    f.grid.floating = true;
    f.grid.SetBaseElemAndFill(&f.element);
    EXPECT_EQ(f.grid.Row(L"Alpha")->GetOptions(), std::vector<CString>{L"Q7"});
    EXPECT_TRUE(f.grid.Row(L"Alpha")->OnUpdateValue(L"Q7"));
    EXPECT_EQ(f.element.m_mapPropValues[L"Alpha"], L"Q7");
    EXPECT_EQ(f.host.changed, std::vector<int>{3});
}

}  // namespace
