#pragma once
// The quick-analysis sheet without its windows: what a page hands over when the user
// confirms the sheet, the page base every page derives from, the settings helpers the pages
// share, and the naming of the channels a page produces. A page's window lays out its
// controls; its logic lives in a class derived from CQAnPropPg that reads those controls
// through ArgumentControls, so that it is tested without a display.
#include <functional>
#include <set>
#include <vector>

#include "analysis/FormulaComposition.h"
#include "platform/CString.h"

class COscillogram;
class CalcChannels;
class SettingsNode;

struct QAnDiagramOptions {
    CString angleChannel;  // the vector diagram's reference channel; empty: leave it
    bool showAngles = false;
    bool circleView1 = false;  // the circle diagram's view type becomes 1 ...
    bool circleView2 = false;  // ... or 2, which wins
    bool listsEdited = false;  // the page handed over the whole calculated-channel list
};

struct QAnNamePair {
    CString first, second;
};

using QAnNameSet = std::set<CString>;

// What the confirming page handed over.
struct QAnResults {
    bool collected = false;
    std::vector<CString> formulas;
    std::vector<CString> names;
    QAnNameSet vectorItems;
    QAnNameSet circleItems;
    QAnDiagramOptions options;
    std::vector<QAnNamePair> diffPairs;
};

// The page base. The defaults hand over nothing.
class CQAnPropPg {
public:
    virtual ~CQAnPropPg() = default;

    virtual void GetFormulas(std::vector<CString>& out) { out.clear(); }
    virtual void GetChannelNames(std::vector<CString>& out) { out.clear(); }
    virtual void GetVectorDiagramItems(QAnNameSet& out) { out.clear(); }
    virtual void GetCircleDiagramItems(QAnNameSet& out) { out.clear(); }
    virtual QAnDiagramOptions GetDiagramOptions() { return {}; }
    virtual void GetDiffPairs(std::vector<QAnNamePair>& out) { out.clear(); }
    // The page came to the front: enable or disable what depends on its choices.
    virtual void UpdateControls() {}
    // The page's choices from and into its category of the record's settings.
    virtual void LoadState(SettingsNode& /*category*/) {}
    virtual void SaveState(SettingsNode& /*category*/) {}
    // The name of the page's settings category.
    virtual CString GetPageKey() const = 0;

    // The page's argument controls, read with the pages' set of list ids; the page's window
    // sets it before the page is initialised.
    ArgumentFiller m_filler{nullptr, true};
    // Enables or disables the sheet's confirming button; the page's window sets it.
    std::function<void(bool)> m_enableOk;
    // The record the page works on, which decides the names its channels will take; the
    // page's window sets it.
    COscillogram* m_record = nullptr;

protected:
    void EnableOk(bool enable) {
        if (m_enableOk) m_enableOk(enable);
    }
    // The page's controls; a page without a window reads every control as missing.
    ArgumentControls& Controls();
    // The name a produced channel will take: `name`, or the first free name_2, name_3, ...
    // (without a record, `name`).
    CString UniqueName(const CString& name) const;
};

// The results of `page`, taken once: a second call leaves them as they are.
void CollectResults(CQAnPropPg& page, QAnResults& results);

// The pages' shared handling of their controls in their settings category.
// A stored channel name (the value `key`, or "channelName" of sub-category `key`) becomes the
// list's choice when the list holds it.
void RestoreComboSelection(ArgumentControls& controls, SettingsNode& category, int id, const CString& key,
                           bool bySubCategory);
void SaveComboSelection(ArgumentControls& controls, SettingsNode& category, int id, const CString& key,
                        bool bySubCategory);
// Ticks the box as stored and returns the stored state; an absent value leaves the box and
// gives false.
bool RestoreCheck(ArgumentControls& controls, SettingsNode& category, const CString& key, int id);
void RestoreEditText(ArgumentControls& controls, SettingsNode& category, int id, const CString& key);
void SaveEditText(ArgumentControls& controls, SettingsNode& category, int id, const CString& key);
// False when the control shows that its default channel is missing.
bool IsChannelPresent(ArgumentControls& controls, int id);

// Whether no channel of the record and no name of the calculated-channel list equals `name`
// (case ignored), nor any of `reserved`.
bool IsNameFree(const COscillogram& record, const std::vector<CString>& listNames, const QAnNameSet& reserved,
                const CString& name);
// `name`, or name_2, name_3, ... the first that is free.
CString MakeUniqueName(const COscillogram& record, const std::vector<CString>& listNames,
                       const QAnNameSet& reserved, const CString& name);
