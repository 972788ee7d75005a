#include "app/CommandTable.h"

#include <wx/defs.h>
#include <wx/menu.h>

#include "app/CaptionBars.h"
#include "app/MainFrame.h"
#include "document/TenvorikDoc.h"
#include "model/ChannelCollection.h"
#include "model/CursorSet.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"
#include "view/TenvorikView.h"

namespace commands {

namespace {

using oscview::ViewCommand;
constexpr Kind B = Kind::Break;

Button Small(int id, unsigned tip, Icon icon, Kind kind = Kind::Button) { return Button{id, 0, tip, icon, kind, false}; }
Button Sep() { return Button{0, 0, 0, Icon::None, B, false}; }

// Tool tips whose command id already names another text of the program.
enum : unsigned { kTipShowDiscrete = 62201, kTipHideDiscrete = 62202 };

// The thousands of program ids that have commands, and where each lands among the toolkit's.
struct IdBlock {
    int program, toolkit;
};
constexpr int kBlockSize = 1000;
constexpr IdBlock kIdBlocks[] = {
    {32000, 22000}, {33000, 23000},  // the view's, the record's, the frame's and the diagrams' commands
    {35000, 25000}, {36000, 26000},  // a diagram's channel and reference entries
    {57000, 27000},                  // print, copy, paste, about, help
    {62000, 28000},                  // the recent files
};

}  // namespace

int MenuId(int programId) {
    for (const IdBlock& b : kIdBlocks)
        if (programId >= b.program && programId < b.program + kBlockSize) return b.toolkit + (programId - b.program);
    return programId;
}

int ProgramId(int menuId) {
    for (const IdBlock& b : kIdBlocks)
        if (menuId >= b.toolkit && menuId < b.toolkit + kBlockSize) return b.program + (menuId - b.toolkit);
    return menuId;
}

bool HasMenuId(int programId) {
    if (programId >= 0 && programId < kToolkitIdFirst) return true;
    for (const IdBlock& b : kIdBlocks)
        if (programId >= b.program && programId < b.program + kBlockSize) return true;
    return false;
}

const std::vector<Page>& RibbonPages() {
    static const std::vector<Page> pages = {
        // The file page stands in for the application button's menu, its groups for the
        // menu's separators.
        {260,
         {
             {260,
              {
                  {kOpen, 263, 0, Icon::Open},
                  {kSave, 264, 0, Icon::Save},
                  {kSaveAs, 265, 0, Icon::SaveAs},
                  {ID_RECENT_FILES, 272, 0, Icon::Recent, Kind::Dropdown},
                  {kClose, 271, 0, Icon::Close},
                  {ID_WINDOWS_DIALOG, 132, 0, Icon::Windows},
              }},
             {154, {{ID_FILE_FINDER, 154, 0, Icon::Finder}}},
             {266,
              {
                  {ID_FILE_PAGE_SETUP, 344, 0, Icon::PageSetup},
                  {ID_FILE_PRINT_PREVIEW, 269, 0, Icon::Preview},
                  {ID_FILE_PRINT, 266, 267, Icon::Print},
              }},
             {127,
              {
                  {ID_FILE_PARAMETERS, 391, 0, Icon::FileInfo},
                  {ID_OSC_COMMENTS, 333, ID_OSC_COMMENTS, Icon::Comments},
                  {ID_LOAD_SETTINGS, 390, ID_LOAD_SETTINGS, Icon::LoadSettings},
                  {ID_PROGRAM_SETTINGS, 127, 0, Icon::Settings},
              }},
         }},
        {274,
         {
             {486,
              {
                  {ID_EDIT_PASTE, 276, 0, Icon::Paste},
                  {ID_EDIT_COPY, 278, 0, Icon::Copy, Kind::Button, false},
                  {kUndo, 485, 0, Icon::Undo, Kind::Button, false},
                  {kRedo, 487, 0, Icon::Redo, Kind::Button, false},
              }},
             {134,
              {
                  {ID_SHOW_SPECTRUM, 316, 0, Icon::Spectrum, Kind::Toggle},
                  {ID_SHOW_VECTOR, 315, 0, Icon::Vector, Kind::Toggle},
                  {ID_SHOW_CIRCLE, 338, 0, Icon::Circle, Kind::Toggle},
                  {ID_SHOW_DIFFERENTIAL, 158, 0, Icon::Differential, Kind::Toggle},
              }},
             {312,
              {
                  // Medium, as the icons beside it: a large button here lets the bar stack
                  // them four high, past the bottom of the panel.
                  {ID_CHANNEL_LIST, 311, 0, Icon::Channels, Kind::Button, false},
                  Small(ID_SHOW_DISCRETE_ALL, kTipShowDiscrete, Icon::ShowDiscrete),
                  Small(ID_HIDE_DISCRETE_ALL, kTipHideDiscrete, Icon::HideDiscrete),
                  Small(ID_HIDE_DISCRETE_CONSTANT, ID_HIDE_DISCRETE_CONSTANT, Icon::HideConstant),
                  Sep(),
                  Small(oscview::ID_ZOOM_HORIZONTAL_IN, oscview::ID_ZOOM_HORIZONTAL_IN, Icon::ZoomXIn),
                  Small(oscview::ID_ZOOM_HORIZONTAL_OUT, oscview::ID_ZOOM_HORIZONTAL_OUT, Icon::ZoomXOut),
                  Small(oscview::ID_ZOOM_SELECTED_AREA, oscview::ID_ZOOM_SELECTED_AREA, Icon::ZoomArea, Kind::Toggle),
                  Small(oscview::ID_ZOOM_VERTICAL_IN, oscview::ID_ZOOM_VERTICAL_IN, Icon::ZoomYIn),
                  Small(oscview::ID_ZOOM_VERTICAL_OUT, oscview::ID_ZOOM_VERTICAL_OUT, Icon::ZoomYOut),
                  Small(oscview::ID_RESTORE_SIZE, oscview::ID_RESTORE_SIZE, Icon::RestoreSize),
                  Small(ID_CURSOR_V1, ID_CURSOR_V1, Icon::CursorV1, Kind::Toggle),
                  Small(ID_CURSOR_V2, ID_CURSOR_V2, Icon::CursorV2, Kind::Toggle),
                  Small(ID_CURSOR_V3, ID_CURSOR_V3, Icon::CursorV3, Kind::Toggle),
                  Small(ID_CURSOR_H1, ID_CURSOR_H1, Icon::CursorH1, Kind::Toggle),
                  Small(ID_CURSOR_H2, ID_CURSOR_H2, Icon::CursorH2, Kind::Toggle),
                  Sep(),
                  Small(ID_COMMENT_MOMENT, ID_COMMENT_MOMENT, Icon::CommentMoment, Kind::Toggle),
                  Small(ID_COMMENT_AREA, ID_COMMENT_AREA, Icon::CommentArea, Kind::Toggle),
                  Small(ID_COMMENT_LEVEL, ID_COMMENT_LEVEL, Icon::CommentLevel, Kind::Toggle),
              }},
             {321,
              {
                  Small(ID_CHANNEL_SHOW_MINMAX, ID_CHANNEL_SHOW_MINMAX, Icon::MinMax, Kind::Toggle),
                  Small(ID_CHANNEL_SHOW_RMS, ID_CHANNEL_SHOW_RMS, Icon::Rms, Kind::Toggle),
                  Small(ID_CHANNEL_SHOW_HARMONIC, ID_CHANNEL_SHOW_HARMONIC, Icon::Harmonic, Kind::Toggle),
                  Small(ID_CHANNEL_CURVE_INSTANT, ID_CHANNEL_CURVE_INSTANT, Icon::CurveInstant, Kind::Toggle),
                  Small(ID_CHANNEL_CURVE_RMS, ID_CHANNEL_CURVE_RMS, Icon::CurveRms, Kind::Toggle),
                  Small(ID_CHANNEL_CURVE_HARMONIC, ID_CHANNEL_CURVE_HARMONIC, Icon::CurveHarmonic, Kind::Toggle),
                  Sep(),
                  {ID_CHANNEL_INVERT, 319, ID_CHANNEL_INVERT, Icon::Invert, Kind::Toggle, false},
                  {ID_CHANNEL_REMOVE_DC, 320, ID_CHANNEL_REMOVE_DC, Icon::RemoveDc, Kind::Toggle, false},
                  {ID_EDIT_COEFFICIENTS, 318, ID_EDIT_COEFFICIENTS, Icon::Coefficients, Kind::Button, false},
                  {ID_SHOW_PRIMARY_VALUES, 471, ID_SHOW_PRIMARY_VALUES, Icon::Primary, Kind::Toggle, false},
                  {ID_SHOW_SECONDARY_VALUES, 472, ID_SHOW_SECONDARY_VALUES, Icon::Secondary, Kind::Toggle, false},
                  Sep(),
                  {ID_QUICK_ANALYSIS, 159, ID_QUICK_ANALYSIS, Icon::QuickAnalysis},
              }},
             {62200, {{ID_TOGGLE_PARAM_BAR, 565, 0, Icon::ParamBar, Kind::Toggle}}},
         }},
        {323,
         {
             {323,
              {
                  {ID_FAULT_LOCATION_PARAMS, 324, ID_FAULT_LOCATION_PARAMS, Icon::LineModel},
                  {ID_FAULT_LOCATION, 348, ID_FAULT_LOCATION, Icon::FaultRun, Kind::Toggle},
              }},
         }},
    };
    return pages;
}

std::vector<int> RibbonCommands() {
    std::vector<int> ids;
    for (const Page& page : RibbonPages())
        for (const Panel& panel : page.panels)
            for (const Button& b : panel.buttons)
                if (b.kind == Kind::Button || b.kind == Kind::Toggle) ids.push_back(b.id);
    return ids;
}

const std::vector<MenuItem>& Menu(int menuId) {
    static const std::vector<MenuItem> timeBand = {
        {oscview::ID_TIME_MICROSECONDS, oscview::ID_TIME_MICROSECONDS, false, true},
        {oscview::ID_TIME_MILLISECONDS, oscview::ID_TIME_MILLISECONDS, false, true},
        {oscview::ID_TIME_SECONDS, oscview::ID_TIME_SECONDS, false, true},
        {oscview::ID_TIME_ABSOLUTE, oscview::ID_TIME_ABSOLUTE, false, true},
        {oscview::ID_TIME_SAMPLES, oscview::ID_TIME_SAMPLES, false, true},
        {0, 0},
        {oscview::ID_GRID, 62203, true},
        {ID_CURSOR_DIFFERENCE, 62204, true},
    };
    static const std::vector<MenuItem> captions = {
        {ID_CHANNEL_FREQ_DIAGRAM, 62205, true},
        {ID_CHANNEL_VECTOR_DIAGRAM, 62206, true},
        {ID_CHANNEL_CIRCLE_DIAGRAM, 62207, true},
        {ID_CHANNEL_ADC_COUNTS, 62208, true},
        {0, 0},
        {ID_HIDE_SELECTED_CHANNELS, 62209},
        {0, 0},
        {ID_CHANNEL_CURVE_INSTANT, ID_CHANNEL_CURVE_INSTANT, false, true},
        {ID_CHANNEL_CURVE_RMS, ID_CHANNEL_CURVE_RMS, false, true},
        {ID_CHANNEL_CURVE_HARMONIC, ID_CHANNEL_CURVE_HARMONIC, false, true},
        {0, 0},
        {ID_CHANNEL_INVERT, 319, true},
        {ID_CHANNEL_REMOVE_DC, 62210, true},
        {oscview::ID_RESTORE_SIZE, oscview::ID_RESTORE_SIZE},
        {0, 0},
        {ID_EDIT_COPY, 62211},
        {ID_EDIT_PASTE, 62212},
        {0, 0},
        {ID_OVERLAY_CHANNELS, 62213},
        {ID_SEPARATE_CHANNELS, 62214},
        {ID_SELECTED_CHANNELS_COLOR, 62215},
    };
    static const std::vector<MenuItem> comment = {
        {33038, 62216}, {33039, 62217, true}, {33040, 62218}, {33041, 62219, true}, {33042, 62220},
    };
    static const std::vector<MenuItem> help = {{ID_HELP, 62221}, {0, 0}, {ID_APP_ABOUT, 62222}};
    static const std::vector<MenuItem> none;
    switch (menuId) {
        case 560: return timeBand;
        case 561: return captions;
        case 563: return comment;
        case 342: return help;
        default: return none;
    }
}

void AppendMenu(wxMenu& menu, int menuId) {
    for (const MenuItem& item : Menu(menuId)) {
        // The menu keeps its accelerator marks; a key tip after a line break is left out.
        wxString text = platform::ToWx(LoadResString(item.text));
        const int nl = text.Find('\n');
        if (nl != wxNOT_FOUND) text.Truncate(size_t(nl));
        if (item.id == 0) menu.AppendSeparator();
        else if (item.radio) menu.AppendRadioItem(MenuId(item.id), text);
        else if (item.check) menu.AppendCheckItem(MenuId(item.id), text);
        else menu.Append(MenuId(item.id), text);
    }
}

const std::vector<Accelerator>& Accelerators() {
    static const std::vector<Accelerator> keys = {
        {true, false, 'O', kOpen},
        {true, false, 'S', kSave},
        {true, true, 'S', kSaveAs},
        {true, false, 'W', kClose},
        {true, false, 'Z', kUndo},
        {true, true, 'Z', kRedo},
        {true, false, 'Y', kRedo},
        {true, false, 'C', ID_EDIT_COPY},
        {true, false, 'V', ID_EDIT_PASTE},
        {true, false, 'P', ID_FILE_PRINT},
        {false, false, WXK_F1, ID_HELP},
        {true, false, '+', oscview::ID_ZOOM_HORIZONTAL_IN},
        {true, false, '=', oscview::ID_ZOOM_HORIZONTAL_IN},
        {true, false, WXK_NUMPAD_ADD, oscview::ID_ZOOM_HORIZONTAL_IN},
        {true, false, '-', oscview::ID_ZOOM_HORIZONTAL_OUT},
        {true, false, WXK_NUMPAD_SUBTRACT, oscview::ID_ZOOM_HORIZONTAL_OUT},
    };
    return keys;
}

}  // namespace commands
