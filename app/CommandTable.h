#pragma once
// The program's commands as data: the ribbon's pages, panels and buttons, the view's context
// menus and the keyboard accelerators. The frame builds its controls from these tables, tests
// read them, and the smoke tests press what they list. A command whose handler is not there
// yet still has its button: nobody answers its update, so it shows disabled.
#include <vector>

class wxMenu;

namespace commands {

// The program names its commands with its historical ids (the 33xxx and 57xxx commands, 62100
// and on for the recent files, 35000 and on for a diagram's channels), but the toolkit's menus
// take ids from 0 to 32766 only and complain about any other. Every id handed to the toolkit
// (a menu entry, a ribbon button, a key, an event binding, an event sent) goes through
// MenuId, and every id read back from a toolkit event through ProgramId. Ids below
// kToolkitIdFirst are the toolkit's own (its stock ids among them) and stay as they are; the
// program's high ids move by whole thousands into kToolkitIdFirst to kToolkitIdLast, which
// no program id uses. An id of neither kind passes unchanged both ways.
constexpr int kToolkitIdFirst = 20000;
constexpr int kToolkitIdLast = 29999;
int MenuId(int programId);
int ProgramId(int menuId);
// True for an id MenuId turns into one the toolkit's menus take.
bool HasMenuId(int programId);

// Ids of the framework's stock commands where the document manager already answers them.
enum : int {
    kOpen = 5000,     // wxID_OPEN
    kClose = 5001,    // wxID_CLOSE
    kSave = 5003,     // wxID_SAVE
    kSaveAs = 5004,   // wxID_SAVEAS
    kUndo = 5007,     // wxID_UNDO
    kRedo = 5008,     // wxID_REDO
};

// Commands of the shell that have no enum of their own elsewhere.
enum : int {
    ID_APP_ABOUT = 57664,
    ID_HELP = 57667,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_PAGE_SETUP = 57605,
    ID_EDIT_COPY = 57634,
    ID_EDIT_PASTE = 57637,
    ID_COMMENT_MOMENT = 155,
    ID_COMMENT_LEVEL = 156,
    ID_COMMENT_AREA = 157,
    ID_OVERLAY_CHANNELS = 33035,
    ID_SEPARATE_CHANNELS = 33037,
    ID_RECENT_FILES = 272,
    ID_STYLE = 286,
};

// What a button shows; the frame turns it into a picture.
enum class Icon {
    None, Open, Save, SaveAs, Recent, Close, Finder, Print, PageSetup, Preview, FileInfo, Comments, LoadSettings,
    Settings, Paste, Copy, Undo, Redo, Spectrum, Vector, Circle, Differential, Channels, ShowDiscrete, HideDiscrete,
    HideConstant, ZoomXIn, ZoomXOut, ZoomArea, ZoomYIn, ZoomYOut, RestoreSize, CursorV1, CursorV2, CursorV3,
    CursorH1, CursorH2, CommentMoment, CommentArea, CommentLevel, MinMax, Rms, Harmonic, CurveInstant, CurveRms,
    CurveHarmonic, Invert, RemoveDc, Coefficients, Primary, Secondary, QuickAnalysis, ParamBar, Style, LineModel,
    FaultRun, Windows,
};

enum class Kind {
    Button,    // runs its command
    Toggle,    // shows its command's check mark as pressed
    Dropdown,  // opens a menu
    Break,     // a separator: the next buttons form a group of their own
};

struct Button {
    int id;
    unsigned text;  // the label; 0 for a button that shows only its picture
    unsigned tip;   // the string whose part after the line break is the tool tip; 0 for none
    Icon icon;
    Kind kind = Kind::Button;
    bool large = true;
};

struct Panel {
    unsigned title;
    std::vector<Button> buttons;
};

struct Page {
    unsigned title;
    std::vector<Panel> panels;
};

// The ribbon, page by page, in the order shown.
const std::vector<Page>& RibbonPages();
// Every command a ribbon button runs (drop-down buttons only open their menus).
std::vector<int> RibbonCommands();

struct MenuItem {
    int id;          // 0 for a separator
    unsigned text;
    bool check = false;
    bool radio = false;
};
// The view's context menus: 560 the time-axis band, 561 the caption column, 563 a comment
// item. 342 is the help button's menu.
const std::vector<MenuItem>& Menu(int menuId);
// Appends the entries of a menu of the table to `menu`, with the ids the toolkit takes.
void AppendMenu(wxMenu& menu, int menuId);

// Keyboard accelerators in the desktop's conventions.
struct Accelerator {
    bool ctrl, shift;
    int key;  // a character ('O') or a wx key code (WXK_F1)
    int id;
};
const std::vector<Accelerator>& Accelerators();

}  // namespace commands
