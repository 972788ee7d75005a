#pragma once
// Printing the oscillogram view through the framework's printing: the dialog of what to
// print, the printout whose pages the view draws, the preview, and the view's picture on the
// clipboard.
#include <wx/dialog.h>
#include <wx/print.h>

#include "view/PrintSession.h"
#include "view/TenvorikView.h"

class wxCheckBox;

// Command ids of printing and copying (the framework's numbers).
enum : int {
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_PAGE_SETUP = 57605,
    ID_EDIT_COPY_PICTURE = 57634,
    ID_EDIT_PASTE_CHANNELS = 57637,
    ID_PRINT_OSCILLOGRAM = 2168,  // the options' check boxes, 2168 to 2172
    ID_PRINT_PREVIEW_BUTTON = 2173,
    ID_PRINT_PAGE_SETUP_BUTTON = 2174,
};

// What to print: the oscillogram and any of the diagrams, bound to the view's five print
// options. "Предварительный просмотр" closes it as cancelled and asks the main window for the
// preview; "Параметры страницы" opens the page setup over it. A diagram without a window
// cannot be chosen.
class CTenvorikPrintDialog : public wxDialog {
public:
    CTenvorikPrintDialog(wxWindow* parent, int* options, const bool available[oscview::kPrintOptionCount]);
    // Reads the check boxes back into the options.
    void ReadControls();

private:
    int* m_options;
    wxCheckBox* m_boxes[oscview::kPrintOptionCount] = {};
};

// The pages of one printout or preview, drawn by the view.
class ViewPrintout : public wxPrintout {
public:
    ViewPrintout(oscview::CTenvorikView& view, bool preview);
    void OnPreparePrinting() override;
    void OnEndPrinting() override;
    bool HasPage(int page) override;
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool OnPrintPage(int page) override;
    // The reason nothing can be printed, empty when pages were made.
    const CString& Refusal() const { return m_session.Refusal(); }

private:
    // The wx device context as the view's: printer pixels at the printer's resolution.
    bool AttachDC(CDC& cdc);

    oscview::CTenvorikView& m_view;
    oscview::PrintSession m_session;
};

// The print data of the run: the printer chosen last and the page orientation.
wxPrintData& ProgramPrintData();
