#pragma once
// What the property grid's tests share: a grid whose hooks a test sets and watches, and a sink
// that records the messages and answers them as told.
#include <functional>
#include <vector>

#include "halvex/grid/model/MFCFuncPropsGridCtrl.h"

namespace testutil {

class RecordingSink : public PropertyGridSink {
public:
    std::vector<CString> messages;
    std::vector<unsigned> types;
    int answer = IDOK;
    // Runs once inside the next message box, as events pumped by a real box would.
    std::function<void()> during;
    bool fontChosen = false;
    LOGFONTW font{};
    COLORREF fontColour = 0;
    int fontDialogs = 0;
    bool colourChosen = false;
    COLORREF colour = 0;
    std::vector<COLORREF> colourDialogs;  // the colour each dialog opened on

    int MessageBox(const CString& text, unsigned type) override {
        messages.push_back(text);
        types.push_back(type);
        if (during) {
            auto d = std::move(during);
            during = nullptr;
            d();
        }
        return answer;
    }
    bool ChooseFont(LOGFONTW& f, COLORREF& c, unsigned) override {
        ++fontDialogs;
        if (!fontChosen) return false;
        f = font;
        c = fontColour;
        return true;
    }
    bool ChooseColor(COLORREF& c) override {
        colourDialogs.push_back(c);
        if (!colourChosen) return false;
        c = colour;
        return true;
    }
};

class TestGrid : public CMFCFuncPropsGridCtrl {
public:
    RecordingSink sink;
    bool floating = false;
    std::vector<int> invalidated;
    int scrollCorrections = 0;
    std::vector<std::pair<SCHEME_INOUT*, CString>> renames;
    std::vector<CMFCPropertyGridProperty*> changedRows;

    TestGrid() {
        Create();
        SetSink(&sink);
        m_onPropertyChanged = [this](CMFCPropertyGridProperty* p) { changedRows.push_back(p); };
    }
    bool IsFloating() override { return floating; }
    void InvalidateView(EChangeProject c) override { invalidated.push_back(int(c)); }
    void CorrectScrollViewSize() override { ++scrollCorrections; }
    void ApplyByInOutRename(SCHEME_INOUT* e, const CString& name) override { renames.emplace_back(e, name); }

    // The first row (top level or one level down) of that key.
    CMFCFuncPropsBase* Row(const CString& key) const {
        CMFCFuncPropsBase* found = nullptr;
        ForEachRuledRow([&](CMFCFuncPropsBase& r) {
            if (!found && r.GetUniqueName() == key) found = &r;
        });
        return found;
    }
    // Adds the row a descriptor makes for `value`.
    CMFCFuncPropsBase* Add(FuncPropsBase& desc, const CString& value) {
        CMFCFuncPropsBase* row = desc.CreateMFCFuncPropsBase(value, m_pArmDataInterface);
        if (row) AddProperty(row);
        return row;
    }
};

}  // namespace testutil
