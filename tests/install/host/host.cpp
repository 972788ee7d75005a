// A small host program built against the installed tree only (pkg-config halvex orvinel): it
// hands its user-interface services to Halvex through the installed hook, builds and edits a
// scheme, has the library show a message, and asks Orvinel for a conversion it must refuse.
// It prints what went wrong and ends non-zero when anything did.
#include <cstdio>
#include <string>

#include "halvex/helpers/Ai_Msg.h"
#include "halvex/helpers/HalvexModule.h"
#include "halvex/scheme/ArmScheme.h"
#include "orvinel/Orvinel.h"
#include "platform/UiServices.h"

namespace {

int g_failures = 0;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "host: %s\n", what);
        ++g_failures;
    }
}

class RecordingUi : public platform::UiServices {
public:
    int MessageBox(const CString& text, const CString&, unsigned) override {
        last = text;
        ++count;
        return IDOK;
    }
    void PostException(CException* e) override {
        if (e) e->Delete();
    }
    void RunOnUiThread(std::function<void()> fn) override {
        if (fn) fn();
    }
    CString last;
    int count = 0;
};

// An element with a fixed number of pins, drawn as nothing.
class Box : public SCHEME_BASE_ELEMENT {
public:
    Box(int ins, int outs) : m_ins(ins), m_outs(outs) {}
    void Draw(ArmDataInterface*, Gdiplus::Graphics&, EDrawType, Gdiplus::Size) const override {}
    ESchemeElementType GetSchemeElementType() const override { return eSchElemFunc; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface*, float) const override { return Gdiplus::RectF(0, 0, 4, 4); }
    void GetVectPortIn(ArmDataInterface*, std::vector<Sch_PortIn>& out) const override { out.resize(size_t(m_ins)); }
    void GetVectPortOut(ArmDataInterface*, std::vector<Sch_PortOut>& out) const override { out.resize(size_t(m_outs)); }
    SCHEME_BASE_ELEMENT* Clone() const override { return new Box(*this); }
    CString GetSchemeEditShortName() const override { return L"Box"; }

private:
    int m_ins, m_outs;
};

GUID Add(ARM_SCHEME& s, SCHEME_BASE_ELEMENT* e) {
    s.m_mapElements[e->GetGuidString()] = SmartPointer<SCHEME_BASE_ELEMENT>(e);
    return e->m_guid;
}

GUID AddBus(ARM_SCHEME& s) {
    SmartPointer<SCHEME_BUS> b(new SCHEME_BUS);
    s.m_mapBuses[b->GetGuidString()] = b;
    return b->m_guid;
}

}  // namespace

int main() {
    RecordingUi ui;
    HalvexSetUiServices(&ui);
    CAi_Msg::AfxMsgBox(MB_OK, L"Шаг %d", 1, 7);
    Check(ui.count == 1 && ui.last == L"Шаг 7", "the library's message did not reach the host");
    HalvexSetUiServices(nullptr);

    ARM_SCHEME s;
    const GUID a = Add(s, new Box(0, 1));
    const GUID b = Add(s, new Box(1, 0));
    const GUID first = AddBus(s);
    Check(s.ConnectElements(b, 0, a, 0, first), "a free input refused a bus");
    const GUID second = AddBus(s);
    Check(!s.ConnectElements(b, 0, a, 0, second), "a taken input took a second bus");
    // A refused bus stays as the host put it; dropping a loose line is the host's choice.
    Check(s.m_mapBuses.size() == 2, "a refused connection took the host's bus away");
    s.m_mapBuses.erase(CompileIncludeSpace::GetStringByGuid(second));
    Check(s.RemoveElement(b), "removing an element said it failed");
    Check(!s.RemoveElement(b), "removing an element twice said it removed it");
    Check(s.m_mapBuses.empty(), "the element's bus stayed");

    char16_t error[ORVINEL_ERROR_TEXT_CAPACITY] = {};
    char* cfg = nullptr;
    char* dat = nullptr;
    const unsigned char junk[4] = {1, 2, 3, 4};
    Check(ConvertScadaBufStoComtrade(u"", junk, sizeof junk, &cfg, &dat, error) == 0, "Orvinel took a junk record");
    Check(error[0] != 0, "Orvinel gave no reason for refusing");
    Check(cfg == nullptr && dat == nullptr, "Orvinel handed out buffers on failure");
    FreeMemAfterConvertScadaBuf();

    if (g_failures == 0) std::printf("host: all well\n");
    return g_failures == 0 ? 0 : 1;
}
