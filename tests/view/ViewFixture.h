#pragma once
// Records built in memory for the view tests, a window stand-in that records what the view
// asks of it, and rendering into an image.
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "document/TenvorikDoc.h"
#include "view/TenvorikView.h"

#include <ostream>

#include "platform/Encoding.h"

// Texts in failure messages as UTF-8.
inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << platform::WideToUtf8(s.GetString()) << '"'; }

namespace viewtest {

inline void SetUpRecord(CTenvorikDoc& doc, int rate, size_t count, double net = 50.0) {
    COscillogram& o = doc.GetOscillogram();
    o.m_samplingFrequency = rate;
    o.m_netFrequency = net;
    o.m_rates = {{double(rate), int32_t(count)}};
    o.m_times.resize(count);
    for (size_t i = 0; i < count; ++i) o.m_times.Set(i, int64_t(std::llround(double(i) * 1e6 / rate)));
}

inline CChannel Analog(CTenvorikDoc& doc, const char* name, std::vector<double> samples, const wchar_t* unit = L"V") {
    CChannel ch(&doc);
    ch.m_fileName = name;
    ch.m_name = CString(ch.m_fileName);
    ch.m_unit = CStringA(CString(unit));
    ch.ParseUnit();
    ch.m_samples = std::move(samples);
    return ch;
}

inline CChannel Discrete(CTenvorikDoc& doc, const char* name, std::vector<double> samples) {
    CChannel ch(&doc);
    ch.m_discrete = 1;
    ch.m_fileName = name;
    ch.m_name = CString(ch.m_fileName);
    ch.m_samples = std::move(samples);
    return ch;
}

// Adds the channels (analog ones first, as a record holds them) and recalculates them.
inline void AddChannels(CTenvorikDoc& doc, std::vector<CChannel> channels) {
    for (auto& ch : channels) doc.GetOscillogram().AddChannel(-1, std::move(ch));
    doc.GetOscillogram().RecalcAll(false);
}

class FakeHost : public oscview::ViewHost {
public:
    struct Bar {
        int64_t min = 0, max = 0, page = 0, pos = 0;
    };
    void SetScrollBar(bool horizontal, int64_t min, int64_t max, int64_t page, int64_t pos) override {
        (horizontal ? h : v) = Bar{min, max, page, pos};
    }
    void Invalidate() override { ++invalidations; }
    void SetStatusPaneText(int pane, const CString& text) override { panes[pane] = text; }
    void UpdateDiagrams() override { ++diagramUpdates; }
    void OnLocatorCursors(int first, int last) override { locator = {first, last}; }
    Bar h, v;
    int invalidations = 0, diagramUpdates = 0;
    std::map<int, CString> panes;
    std::pair<int, int> locator{-1, -1};
};

// A document with its view in a client of w x h pixels.
struct ViewRig {
    CTenvorikDoc doc;
    FakeHost host;
    std::unique_ptr<oscview::CTenvorikView> view;
    void Open(int w, int h) {
        view = std::make_unique<oscview::CTenvorikView>(&doc, &host);
        view->OnSize(w, h);
        view->OnInitialUpdate();
    }
    // Paints the whole view into its off-screen picture.
    CBitmap& Render() {
        view->OnDraw(nullptr, view->m_clientWidth, view->m_clientHeight);
        return view->GetPicture();
    }
};

inline COLORREF Px(CBitmap& b, int x, int y) { return b.GetPixel(x, y); }

}  // namespace viewtest
