#pragma once
// The program's converter: the converter library's, with its progress shown in the
// conversion-progress window when there is one.
#include "model/ConversionProgress.h"
#include "orvinel/ComtradeConverter.h"

class TenvorikComtradeConv : public ComtradeConverter {
public:
    TenvorikComtradeConv(int recordSize, bool showProgress, platform::ProgressWindow* window)
        : ComtradeConverter(recordSize, showProgress), m_window(window) {}

protected:
    void SetProgressBarPos(int pos) override { ShowConversionProgress(m_window, pos); }

private:
    platform::ProgressWindow* m_window;
};
