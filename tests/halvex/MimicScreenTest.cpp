// Mimic screens without drawing: fonts, the screen's searches and collections, live values,
// resize handles and the sizes that controls fit to their texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "halvex/mimic/ControlLineElem.h"
#include "halvex/mimic/ControlLogicElem.h"
#include "halvex/mimic/ControlPictureElem.h"
#include "halvex/mimic/ControlTextElem.h"
#include "halvex/mimic/MimicText.h"
#include "tests/halvex/support/FakeArmHost.h"

using namespace Gdiplus;

namespace {

template <class T>
T* Put(MAP_POINTER_TEXT_ELEMENTS& screen, T* control) {
    screen[control->GetGuidString()] = SmartPointer<CONTROL_MON_ELEM>(control);
    return control;
}

}  // namespace

TEST(MimicFont, ToTheDialogsFormAndBack) {
    const struct {
        const wchar_t* face;
        float size;
        bool bold, italic, underline, strike;
        int height, weight;
    } cases[] = {
        {L"Arial", 14.0f, false, false, false, false, -14, 400},
        {L"Tahoma", 14.5f, true, false, true, false, -15, 700},
        {L"Courier New", 9.49f, false, true, false, true, -9, 400},
        {L"", 0.0f, true, true, true, true, 0, 700},
    };
    for (const auto& c : cases) {
        Arm_Font f;
        f.m_sFaceName = c.face;
        f.m_fSize = c.size;
        f.m_bBold = c.bold;
        f.m_bItalic = c.italic;
        f.m_bUnderline = c.underline;
        f.m_bStrikeout = c.strike;
        LOGFONTW lf;
        lf.lfWidth = 7;  // whatever was there before is cleared
        lf.lfQuality = 3;
        CONTROL_MON_ELEM::SetLogFontFromArmFont(f, lf);
        EXPECT_EQ(lf.lfHeight, c.height) << c.face;
        EXPECT_EQ(lf.lfWidth, 0);
        EXPECT_EQ(lf.lfEscapement, 900);
        EXPECT_EQ(lf.lfOrientation, 900);
        EXPECT_EQ(lf.lfWeight, c.weight);
        EXPECT_EQ(lf.lfItalic, c.italic ? 1 : 0);
        EXPECT_EQ(lf.lfUnderline, c.underline ? 1 : 0);
        EXPECT_EQ(lf.lfStrikeOut, c.strike ? 1 : 0);
        EXPECT_EQ(lf.lfCharSet, 1);
        EXPECT_EQ(lf.lfQuality, 0);
        EXPECT_EQ(CString(lf.lfFaceName), CString(c.face));

        Arm_Font back;
        CONTROL_MON_ELEM::SetArmFontFromLogFont(lf, back);
        EXPECT_EQ(back.m_sFaceName, CString(c.face));
        EXPECT_EQ(back.m_fSize, float(-c.height));  // the whole size, not eighths
        EXPECT_EQ(back.m_bBold, c.bold);
        EXPECT_EQ(back.m_bItalic, c.italic);
        EXPECT_EQ(back.m_bUnderline, c.underline);
        EXPECT_EQ(back.m_bStrikeout, c.strike);
    }
}

TEST(MimicFont, FromTheDialogsForm) {
    LOGFONTW lf;
    lf.lfHeight = 12;  // a cell height counts by its size as well
    lf.lfWeight = 600;
    std::wcscpy(lf.lfFaceName, L"Verdana");
    Arm_Font f;
    f.m_bBold = true;
    CONTROL_MON_ELEM::SetArmFontFromLogFont(lf, f);
    EXPECT_EQ(f.m_fSize, 12.0f);
    EXPECT_FALSE(f.m_bBold);
    EXPECT_EQ(f.m_sFaceName, L"Verdana");
    lf.lfWeight = 700;
    CONTROL_MON_ELEM::SetArmFontFromLogFont(lf, f);
    EXPECT_TRUE(f.m_bBold);

    // A face name without its terminator is read up to the record's end, and a long name is
    // cut to fit with one.
    std::wmemset(lf.lfFaceName, L'x', LF_FACESIZE);
    CONTROL_MON_ELEM::SetArmFontFromLogFont(lf, f);
    EXPECT_EQ(f.m_sFaceName.GetLength(), LF_FACESIZE);
    CONTROL_MON_ELEM::SetLogFontFromArmFont(f, lf);
    EXPECT_EQ(std::wcslen(lf.lfFaceName), size_t(LF_FACESIZE - 1));

    // Each control's setters act on its own font.
    CONTROL_BUTTON_ELEM button;
    button.m_font.m_fSize = 20;
    LOGFONTW got;
    button.SetLogFont(got);
    EXPECT_EQ(got.lfHeight, -20);
    EXPECT_EQ(got.lfWeight, 700);  // buttons are bold by default
    CONTROL_SWITCH_ELEM sw;
    sw.SetArmFont(got);
    EXPECT_EQ(sw.m_font.m_fSize, 20.0f);
    EXPECT_TRUE(sw.m_font.m_bBold);
    CONTROL_LOGIC_ELEM logic;
    logic.SetArmFont(got);
    EXPECT_EQ(logic.m_font.m_fSize, 20.0f);
}

TEST(MimicControls, DefaultsKindsAndQueries) {
    CONTROL_TEXT_ELEM text;
    CONTROL_BUTTON_ELEM button;
    CONTROL_EDIT_ELEM edit;
    CONTROL_ANALOG_ELEM analog;
    CONTROL_LOGIC_ELEM logic;
    CONTROL_SWITCH_ELEM sw;
    CONTROL_PICTURE_ELEM picture;
    CONTROL_LINE_ELEM line;
    CONTROL_RECT_ELEM rect;
    const struct {
        CONTROL_MON_ELEM* c;
        EControlMonType kind;
        bool pressed, extract, region, resizable;
    } rows[] = {
        {&text, eControlMonText, false, false, false, false},
        {&button, eControlMonButton, true, false, false, true},
        {&edit, eControlMonEdit, false, false, false, true},
        {&analog, eControlMonAnalog, false, true, false, true},
        {&logic, eControlMonLogic, false, true, false, false},
        {&sw, eControlMonSwitch, false, true, false, true},
        {&picture, eControlMonPicture, false, false, false, false},
        {&line, eControlMonLine, false, false, true, false},
        {&rect, eControlMonRect, false, false, true, false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(r.c->GetControlMonType(), r.kind);
        EXPECT_EQ(r.c->CanBePressed(), r.pressed) << r.kind;
        EXPECT_EQ(r.c->NeedSendToExtracter(), r.extract) << r.kind;
        EXPECT_EQ(r.c->IsUseRegionInsteadRectForHitTest(), r.region) << r.kind;
        ESizeElemHitTest hit;
        // The top-left corner of the control's position.
        EXPECT_EQ(r.c->GetSizeElemHitTest(PointF(1, 1), 1, hit), r.resizable) << r.kind;
        EXPECT_EQ(r.c->m_nX, 1);
        EXPECT_EQ(r.c->m_nY, 1);
        std::unique_ptr<CONTROL_MON_ELEM> copy(r.c->Clone());
        EXPECT_EQ(copy->GetControlMonType(), r.kind);
        EXPECT_TRUE(copy->IsEqual(*r.c));
    }
    EXPECT_EQ(button.m_colorBackground.GetValue(), 0xFFFFFBF0u);
    EXPECT_TRUE(button.m_bTimeSync);
    EXPECT_TRUE(button.m_font.m_bBold);
    EXPECT_EQ(edit.m_colorBackground.GetValue(), 0xFFFFFFFFu);
    EXPECT_EQ(edit.m_font.m_sFaceName, L"Arial");
    EXPECT_EQ(edit.m_font.m_fSize, 14.0f);
    EXPECT_EQ(edit.m_nWidth, 50);
    EXPECT_EQ(edit.m_nHeight, 20);
    EXPECT_EQ(sw.m_nWidth, 20);
    EXPECT_EQ(sw.m_nHeight, 20);
    EXPECT_EQ(logic.m_colorDisplay.GetValue(), CONTROL_LOGIC_ELEM::m_colorDefault);
    EXPECT_EQ(line.m_nX2, 100);
    EXPECT_EQ(line.m_nWidth, 2);
    EXPECT_EQ(rect.m_nWidth, 100);
    EXPECT_EQ(CONTROL_SIZE_ELEM::m_nHitBorderWidth, 2);
    EXPECT_EQ(CONTROL_SWITCH_ELEM::m_nLineLength, 20);
    EXPECT_EQ(CONTROL_PICTURE_ELEM::m_nErrorImageSize, 20);
    EXPECT_EQ(CONTROL_LINE_ELEM::m_nRadius, 5);
    EXPECT_EQ(CONTROL_RECT_ELEM::m_nRadius, 5);
}

TEST(MimicScreen, EmptyScreen) {
    testutil::FakeArmHost host;
    MAP_POINTER_TEXT_ELEMENTS screen;
    const RectF r = screen.GetBoundedRectF(&host, 1);
    EXPECT_EQ(r.X, 0);
    EXPECT_EQ(r.Y, 0);
    EXPECT_EQ(r.Width, 0);
    EXPECT_EQ(r.Height, 0);
    EXPECT_FALSE(screen.RefreshByTimer(&host));
    EXPECT_EQ(screen.GetMonHitElement(&host, PointF(5, 5), 1), L"");
    bool start = false;
    EXPECT_EQ(screen.GetLineStartEndPointsHitTest(PointF(1, 1), 1, start), L"");
    ERectElemCornerHitTest corner;
    EXPECT_EQ(screen.GetRectCornerHitTest(PointF(1, 1), 1, corner), L"");
    // A hole in the map is no control.
    screen[L"hole"] = SmartPointer<CONTROL_MON_ELEM>();
    EXPECT_EQ(screen.GetMonHitElement(&host, PointF(5, 5), 1), L"");
    EXPECT_FALSE(screen.RefreshByTimer(&host));
    EXPECT_EQ(screen.GetBoundedRectF(&host, 1).Width, 0);
}

TEST(MimicScreen, BoundsAreTheUnionOfTheControls) {
    testutil::FakeArmHost host;
    MAP_POINTER_TEXT_ELEMENTS screen;
    auto* a = Put(screen, new CONTROL_BUTTON_ELEM);
    a->m_nX = 10;
    a->m_nY = 40;
    auto* b = Put(screen, new CONTROL_RECT_ELEM);
    b->m_nX = 100;
    b->m_nY = 5;
    b->m_nWidth = 30;
    b->m_nHeight = 10;
    const RectF r = screen.GetBoundedRectF(&host, 2);
    EXPECT_FLOAT_EQ(r.X, 9.5f);
    EXPECT_FLOAT_EQ(r.Y, 4.5f);
    EXPECT_FLOAT_EQ(r.GetRight(), 130.5f);
    EXPECT_FLOAT_EQ(r.GetBottom(), 60.5f);
}

TEST(MimicScreen, PicturesAreFoundOnlyWhereNothingElseLies) {
    testutil::FakeArmHost host;
    MAP_POINTER_TEXT_ELEMENTS screen;
    // Keys decide the order; the picture would come first.
    auto* picture = new CONTROL_PICTURE_ELEM;
    picture->m_nX = 0;
    picture->m_nY = 0;  // the error square: (-1, -1, 22, 22)
    screen[L"0"] = SmartPointer<CONTROL_MON_ELEM>(picture);
    auto* button = new CONTROL_BUTTON_ELEM;
    button->m_nX = 10;
    button->m_nY = 10;
    screen[L"1"] = SmartPointer<CONTROL_MON_ELEM>(button);
    EXPECT_EQ(screen.GetMonHitElement(&host, PointF(15, 15), 1), L"1");
    EXPECT_EQ(screen.GetMonHitElement(&host, PointF(5, 5), 1), L"0");
    EXPECT_EQ(screen.GetMonHitElement(&host, PointF(100, 100), 1), L"");

    // A control without area is never inside by the rectangle test.
    button->m_nWidth = 0;
    EXPECT_FALSE(button->IsInside(&host, PointF(10, 15), 1e9f));
    EXPECT_EQ(screen.GetMonHitElement(&host, PointF(15, 15), 1), L"0");
    CONTROL_TEXT_ELEM empty;
    EXPECT_TRUE(empty.GetBoundedRectF(&host, 1).IsEmptyArea());
    EXPECT_FALSE(empty.IsInside(&host, PointF(1, 1), 1));
}

TEST(MimicScreen, SignalsCollectedOnceValuesAndRenames) {
    testutil::FakeArmHost host;
    MAP_POINTER_TEXT_ELEMENTS screen;
    auto* a1 = Put(screen, new CONTROL_ANALOG_ELEM);
    a1->m_sName = L"U1";
    a1->m_sText2 = L"kV";
    auto* a2 = Put(screen, new CONTROL_ANALOG_ELEM);
    a2->m_sName = L"U1";
    a2->m_sText2 = L"kV";
    auto* l = Put(screen, new CONTROL_LOGIC_ELEM);
    l->m_sName = L"Q1";
    auto* s = Put(screen, new CONTROL_SWITCH_ELEM);
    s->m_signalRPO.m_sName = L"RPO";
    s->m_signalRPV.m_sName = L"RPV";
    auto* half = Put(screen, new CONTROL_SWITCH_ELEM);
    half->m_signalRPO.m_sName = L"RPO2";  // no on-position signal: the switch asks for nothing
    auto* button = Put(screen, new CONTROL_BUTTON_ELEM);
    button->m_sCommandName = L"CMD";
    button->m_sCaption = L"Пуск";

    std::set<CONTROL_MON_SIGNAL> signals;
    signals.insert(CONTROL_MON_SIGNAL{L"stale", L""});
    screen.FillSetMonSignals(signals);
    std::vector<CString> names;
    for (const auto& sig : signals) names.push_back(sig.m_sName);
    EXPECT_EQ(names, (std::vector<CString>{L"Q1", L"RPO", L"RPV", L"U1"}));

    std::vector<CONTROL_MON_SIGNAL> one{CONTROL_MON_SIGNAL{L"x", L""}};
    half->FillVectMonSignals(one);
    EXPECT_TRUE(one.empty());
    s->FillVectMonSignals(one);
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[0].m_sName, L"RPO");
    EXPECT_EQ(one[1].m_sName, L"RPV");
    button->FillVectMonSignals(one);
    EXPECT_TRUE(one.empty());

    MON_VALUES values{{L"U1", L"10.5"}, {L"Q1", L"1"}, {L"RPV", L"1"}};
    s->m_sValueRPO = L"0";
    screen.CorrectSigValues(&values);
    EXPECT_EQ(a1->m_sValue, L"10.5");
    EXPECT_EQ(a2->m_sValue, L"10.5");
    EXPECT_TRUE(l->GetBoolValue());
    EXPECT_EQ(s->m_sValueRPO, L"0");  // missing from the map: kept
    EXPECT_EQ(s->GetSwitchState(), eSwitchOn);
    screen.CorrectSigValues(nullptr);

    MON_VALUES renames{{L"U1", L"U2"}, {L"RPO", L"RPO_new"}, {L"CMD", L"CMD2"}, {L"nothing", L"x"}};
    button->m_sCaption = L"edited by hand";
    for (auto& [key, c] : screen) c->RenameProjectSignals(renames);
    EXPECT_EQ(a1->m_sName, L"U2");
    EXPECT_EQ(l->m_sName, L"Q1");
    EXPECT_EQ(s->m_signalRPO.m_sName, L"RPO_new");
    EXPECT_EQ(s->m_signalRPV.m_sName, L"RPV");
    EXPECT_EQ(button->m_sCommandName, L"CMD2");
    EXPECT_EQ(button->m_sCaption, L"CMD2");

    CONTROL_MON_SIGNAL x{L"A", L"2"}, y{L"A", L"10"}, z{L"B", L"0"};
    EXPECT_TRUE(y < x);  // ordinal order of the second text
    EXPECT_TRUE(x < z);
    EXPECT_FALSE(x < x);
}

TEST(MimicScreen, RefreshReportsChangesOfWhatIsShown) {
    testutil::FakeArmHost host;
    host.online = false;
    MAP_POINTER_TEXT_ELEMENTS screen;
    auto* analog = Put(screen, new CONTROL_ANALOG_ELEM);
    auto* logic = Put(screen, new CONTROL_LOGIC_ELEM);
    auto* sw = Put(screen, new CONTROL_SWITCH_ELEM);
    auto* edit = Put(screen, new CONTROL_EDIT_ELEM);
    Put(screen, new CONTROL_LINE_ELEM);

    analog->m_sValue = L"1.0";
    EXPECT_TRUE(analog->RefreshByTimer(&host));
    EXPECT_EQ(analog->m_sValue, L"?");
    EXPECT_FALSE(analog->RefreshByTimer(&host));

    logic->m_sValue = L"1";
    EXPECT_TRUE(logic->RefreshByTimer(&host));
    EXPECT_EQ(logic->m_sValue, L"?");
    EXPECT_FALSE(logic->RefreshByTimer(&host));

    sw->m_sValueRPO = L"1";
    sw->m_sLastValueRPO = L"1";
    EXPECT_TRUE(sw->RefreshByTimer(&host));
    EXPECT_EQ(sw->m_sValueRPO, L"");
    EXPECT_EQ(sw->GetSwitchState(), eSwitchUnknown);
    EXPECT_FALSE(sw->RefreshByTimer(&host));

    host.editTexts[edit] = L"v1.2";
    EXPECT_TRUE(edit->RefreshByTimer(&host));
    EXPECT_EQ(edit->m_sValue, L"v1.2");
    EXPECT_FALSE(edit->RefreshByTimer(&host));

    // Every control is asked, even after one has answered.
    host.online = true;
    analog->m_sValue = L"2.0";
    sw->m_sValueRPV = L"1";
    host.editTexts[edit] = L"v1.3";
    EXPECT_TRUE(screen.RefreshByTimer(&host));
    EXPECT_EQ(analog->m_sLastValue, L"2.0");
    EXPECT_EQ(sw->m_sLastValueRPV, L"1");
    EXPECT_EQ(edit->m_sValue, L"v1.3");
    EXPECT_EQ(logic->m_sValue, L"?");  // online, nothing new arrived
    EXPECT_FALSE(screen.RefreshByTimer(&host));
}

TEST(MimicScreen, NewIdentitiesAndIndependentCopies) {
    MAP_POINTER_TEXT_ELEMENTS screen;
    auto* a = Put(screen, new CONTROL_ANALOG_ELEM);
    a->m_sName = L"U";
    Put(screen, new CONTROL_LINE_ELEM);
    const CString oldKey = a->GetGuidString();

    MAP_POINTER_TEXT_ELEMENTS shared = screen;  // shares the controls
    MAP_POINTER_TEXT_ELEMENTS cloned;
    cloned[L"gone"] = SmartPointer<CONTROL_MON_ELEM>(new CONTROL_TEXT_ELEM);
    cloned.MakeClone(screen);
    ASSERT_EQ(cloned.size(), 2u);
    EXPECT_EQ(cloned.count(L"gone"), 0u);
    ASSERT_EQ(cloned.count(oldKey), 1u);
    EXPECT_NE(cloned[oldKey].get(), a);
    EXPECT_TRUE(cloned[oldKey]->IsEqual(*a));
    EXPECT_EQ(static_cast<CONTROL_ANALOG_ELEM*>(cloned[oldKey].get())->m_sName, L"U");

    screen.ChangeGuids();
    ASSERT_EQ(screen.size(), 2u);
    EXPECT_EQ(screen.count(oldKey), 0u);
    for (auto& [key, c] : screen) {
        EXPECT_EQ(key, c->GetGuidString());
        EXPECT_EQ(key.GetLength(), 36);
    }
    EXPECT_EQ(shared[oldKey].get(), a);  // the shared control itself took the new identity
    EXPECT_EQ(screen.count(a->GetGuidString()), 1u);
    EXPECT_FALSE(cloned[oldKey]->IsEqual(*a));  // clones keep theirs

    cloned.MakeClone(cloned);
    EXPECT_EQ(cloned.size(), 2u);
    EXPECT_EQ(cloned.count(oldKey), 1u);
}

TEST(MimicScreen, CopyBuffer) {
    SELECTED_COMPONENT_BUFFER buffer;
    EXPECT_TRUE(buffer.IsItEmpty());
    buffer.m_mapElements[L"k"] = SmartPointer<CONTROL_MON_ELEM>(new CONTROL_RECT_ELEM);
    EXPECT_TRUE(buffer.IsItEmpty());  // controls without the host's text
    buffer.m_sText = L"screen";
    EXPECT_FALSE(buffer.IsItEmpty());
    SELECTED_COMPONENT_BUFFER copy = buffer;
    EXPECT_EQ(copy.m_mapElements[L"k"].get(), buffer.m_mapElements[L"k"].get());
    buffer.Clear();
    EXPECT_TRUE(buffer.IsItEmpty());
    EXPECT_TRUE(buffer.m_sText.IsEmpty());
    EXPECT_FALSE(copy.IsItEmpty());
    copy.m_mapElements.clear();
    EXPECT_TRUE(copy.IsItEmpty());
}

TEST(MimicSize, ResizeHandles) {
    CONTROL_EDIT_ELEM e;
    e.m_nX = 100;
    e.m_nY = 200;
    e.m_nWidth = 50;
    e.m_nHeight = 20;
    const float scale = 2, t = 6 / scale;
    const struct {
        float x, y;
        int hit;  // -1: none
    } cases[] = {
        {100 - t, 200 - t, eSizeElemTopLeft},   // six device pixels outside the corner
        {100 - t - 0.01f, 200 - t, -1},        // just beyond
        {100 - t, 200 - t - 0.01f, -1},
        {150 + t - 0.01f, 200, eSizeElemTopRight},
        {150 + t, 200, -1},
        {125, 200, eSizeElemTop},
        {125, 220, eSizeElemBottom},
        {100, 220, eSizeElemBottomLeft},
        {149, 219, eSizeElemBottomRight},
        {100, 210, eSizeElemLeft},
        {150, 210, eSizeElemRight},
        {125, 210, -1},
        {100, 220 + t, -1},
    };
    for (const auto& c : cases) {
        ESizeElemHitTest hit = ESizeElemHitTest(-1);
        const bool got = e.GetSizeElemHitTest(PointF(c.x, c.y), scale, hit);
        EXPECT_EQ(got, c.hit >= 0) << c.x << "," << c.y;
        if (got) {
            EXPECT_EQ(int(hit), c.hit) << c.x << "," << c.y;
        }
    }
    const RectF r = e.GetBoundedRectF(nullptr, scale);
    EXPECT_FLOAT_EQ(r.X, 99.5f);
    EXPECT_FLOAT_EQ(r.Y, 199.5f);
    EXPECT_FLOAT_EQ(r.Width, 51);
    EXPECT_FLOAT_EQ(r.Height, 21);
}

TEST(MimicSize, FittedToTheirTexts) {
    const Arm_Font plain = MimicDefaultFont(), bold = MimicDefaultFont(true);
    auto width = [](const Arm_Font& f, const wchar_t* t) {
        return int(std::floor(MimicMeasureText(f, t).Width + 0.5f)) + 5;
    };
    auto height = [](const Arm_Font& f, const wchar_t* t, int k) {
        return int(std::floor(MimicMeasureText(f, t).Height + 0.5f)) + k;
    };

    CONTROL_EDIT_ELEM edit;
    edit.CorrectSize();
    EXPECT_EQ(edit.m_nWidth, width(plain, L"4294967295"));
    EXPECT_EQ(edit.m_nHeight, height(plain, L"4294967295", 5));
    EXPECT_GT(edit.m_nWidth, 50);
    edit.m_nBindingCommand = 2;
    edit.CorrectSize();
    EXPECT_EQ(edit.m_nWidth, width(plain, L"01.01.2026, 00:00:00"));  // digits are of one width
    edit.m_sValue = L"ab";
    edit.CorrectSize();
    EXPECT_EQ(edit.m_nWidth, width(plain, L"ab"));

    CONTROL_ANALOG_ELEM analog;
    analog.m_sValue = L"a much longer value";
    analog.CorrectSize();
    EXPECT_EQ(analog.m_nWidth, width(plain, L"5.555555"));
    EXPECT_EQ(analog.m_nHeight, height(plain, L"5.555555", 5));

    CONTROL_BUTTON_ELEM button;
    button.m_sCaption = L"Квитировать";
    button.CorrectSize();
    EXPECT_EQ(button.m_nWidth, width(bold, L"Квитировать"));
    EXPECT_EQ(button.m_nHeight, height(bold, L"Квитировать", 8));
}

TEST(MimicShapes, LineHitRegionAndEndPoints) {
    testutil::FakeArmHost host;
    CONTROL_LINE_ELEM line;
    line.m_nX = 10;
    line.m_nY = 10;  // from (10, 10) to (110, 10), width 2: reach d = 2 + 2 = 4
    EXPECT_TRUE(line.IsInside(&host, PointF(60, 13.9f), 1));
    EXPECT_FALSE(line.IsInside(&host, PointF(60, 14.1f), 1));
    EXPECT_TRUE(line.IsInside(&host, PointF(6.1f, 10), 1));
    EXPECT_FALSE(line.IsInside(&host, PointF(5.9f, 10), 1));
    const RectF b = line.GetBoundedRectF(&host, 1);
    EXPECT_FLOAT_EQ(b.X, 7);
    EXPECT_FLOAT_EQ(b.Width, 106);
    EXPECT_FLOAT_EQ(b.Height, 6);

    // No length: a square of the same reach around the point.
    line.m_nX2 = 0;
    EXPECT_TRUE(line.IsInside(&host, PointF(10, 10), 1));
    EXPECT_TRUE(line.IsInside(&host, PointF(13.9f, 6.1f), 1));
    EXPECT_FALSE(line.IsInside(&host, PointF(14.1f, 10), 1));
    EXPECT_FALSE(line.IsInside(&host, PointF(10, 5.9f), 1));
    std::unique_ptr<Region> region = line.CreateBoundedRegion(&host, 1);
    ASSERT_TRUE(region);
    EXPECT_TRUE(region->IsVisible(PointF(6.5f, 13.5f)));

    bool start = false;
    EXPECT_TRUE(line.GetStartEndPointsHitTest(PointF(12, 12), 1, start));
    EXPECT_TRUE(start);  // both ends coincide: the start wins

    line.m_nX2 = 100;
    line.m_nY2 = 50;  // end at (110, 60); reach 1 + max(5, 3) = 6
    start = true;
    EXPECT_TRUE(line.GetStartEndPointsHitTest(PointF(115.9f, 55), 1, start));
    EXPECT_FALSE(start);
    EXPECT_FALSE(line.GetStartEndPointsHitTest(PointF(116, 60), 1, start));
    EXPECT_FALSE(line.GetStartEndPointsHitTest(PointF(60, 35), 1, start));

    MAP_POINTER_TEXT_ELEMENTS screen;
    screen[L"a"] = SmartPointer<CONTROL_MON_ELEM>(new CONTROL_RECT_ELEM);
    screen[L"b"] = SmartPointer<CONTROL_MON_ELEM>(new CONTROL_LINE_ELEM(line));
    start = false;
    EXPECT_EQ(screen.GetLineStartEndPointsHitTest(PointF(10, 10), 1, start), L"b");
    EXPECT_TRUE(start);
    EXPECT_EQ(screen.GetMonHitElement(&host, PointF(60, 35), 1), L"b");
}

TEST(MimicShapes, RectangleHitOnItsOutlineOnly) {
    testutil::FakeArmHost host;
    CONTROL_RECT_ELEM rect;
    rect.m_nX = 50;
    rect.m_nY = 50;  // 100 x 100; tolerance 1 + max(5, 4) = 6 at scale 1
    EXPECT_FALSE(rect.IsInside(&host, PointF(100, 100), 1));
    EXPECT_TRUE(rect.IsInside(&host, PointF(100, 51), 1));
    EXPECT_TRUE(rect.IsInside(&host, PointF(149, 100), 1));
    EXPECT_TRUE(rect.IsInside(&host, PointF(44.5f, 44.5f), 1));
    EXPECT_FALSE(rect.IsInside(&host, PointF(43.5f, 100), 1));
    EXPECT_FALSE(rect.IsInside(&host, PointF(100, 57), 1));

    const struct {
        float x, y;
        int corner;
    } cases[] = {{50, 50, eRectCornerTopLeft},     {155.9f, 44.1f, eRectCornerTopRight},
                 {45, 150, eRectCornerBottomLeft}, {150, 150, eRectCornerBottomRight},
                 {156, 50, -1},                    {100, 50, -1}};
    for (const auto& c : cases) {
        ERectElemCornerHitTest corner = ERectElemCornerHitTest(-1);
        EXPECT_EQ(rect.GetCornerHitTest(PointF(c.x, c.y), 1, corner), c.corner >= 0) << c.x << "," << c.y;
        if (c.corner >= 0) {
            EXPECT_EQ(int(corner), c.corner);
        }
    }
    MAP_POINTER_TEXT_ELEMENTS screen;
    screen[L"r"] = SmartPointer<CONTROL_MON_ELEM>(new CONTROL_RECT_ELEM(rect));
    ERectElemCornerHitTest corner;
    EXPECT_EQ(screen.GetRectCornerHitTest(PointF(150, 150), 1, corner), L"r");
    EXPECT_EQ(corner, eRectCornerBottomRight);
    EXPECT_EQ(screen.GetMonHitElement(&host, PointF(100, 100), 1), L"");
}

TEST(MimicPicture, NamesThatLeaveThePicturesFolderAreRefused) {
    const struct {
        const wchar_t* name;
        bool allowed;
    } cases[] = {
        {L"scheme.png", true},     {L"a..b.png", true},       {L"Подстанция 1.png", true},
        {L"", false},              {L".", false},             {L"..", false},
        {L"../secret.png", false}, {L"/etc/passwd", false},   {L"sub/x.png", false},
        {L"..\\x.png", false},     {L"C:\\x.png", false},     {L"C:x.png", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CONTROL_PICTURE_ELEM::IsPictureNameAllowed(c.name), c.allowed) << c.name;
        if (!c.allowed) {
            EXPECT_TRUE(CONTROL_PICTURE_ELEM::GetPicturePath(c.name).IsEmpty());
        }
    }
}
