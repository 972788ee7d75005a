#pragma once
// The calculated channels of a record: a list of channel names with their formulas, computed
// sample by sample into program-made channels of the record. The list lives inside the
// channel collection, so that undo snapshots carry it; it travels with the record in the
// settings category "CalculatedChannels" and is exchanged as ".frm" files.
#include <memory>
#include <vector>

#include "analysis/Calculator.h"
#include "model/ChannelCollection.h"
#include "platform/CString.h"

class COscillogram;
class DocumentModel;
class SettingsNode;

class CalcChannels : public Calculator, public DerivedChannels {
public:
    explicit CalcChannels(DocumentModel* doc) : m_document(doc) {}

    // The list a record keeps, made empty for the record's document the first time it is asked for.
    static CalcChannels& Of(CChannelCollection& record);
    std::unique_ptr<DerivedChannels> Clone() const override;

    // The record's channel of that display name; a name of no channel raises the record's
    // "wrong channel name" exception.
    const CChannel* GetChannelIndex(const CString& name) override;
    // The record's per-sample frequency (the value behind "frequency:").
    double GetSampleValue(unsigned sampleIndex) override;
    // Sampling rate over the whole hertz of the net frequency; 0 below 1 Hz.
    unsigned GetSamplesPerPeriod() override;

    // Computes every formula in list order and stores each result in the record. A failure
    // is reported to the user and ends the run (the channels of earlier formulas stay);
    // false then.
    bool ComputeChannels() override;
    // Removes the channels of the list from the record and empties the list.
    void Clear();

    // "Channel0", "Channel1", ... = name + "," + formula; the category is emptied first.
    void SaveToSettings(SettingsNode& category) const;
    // Appends what the category holds (the document clears the list before) and computes.
    void LoadFromSettings(SettingsNode& category);

    // The ".frm" commands: a file dialog, then the list replaced by the file's (channels are
    // computed later) or the list written to the file. Failures are reported to the user.
    void ImportFormulaList();
    void ExportFormulaList();
    // The same without the dialogs; throw CException* on failure. A failed import leaves the
    // list as it was; a failed export leaves an existing file whole. Import returns how many
    // lines held no name and formula and were skipped.
    size_t ImportFormulaFile(const CString& path);
    void ExportFormulaFile(const CString& path) const;

    size_t GetCount() const { return m_expressions.size(); }
    const CString& GetName(size_t i) const { return m_formulaNames[i]; }
    const CString& GetExpression(size_t i) const { return m_expressions[i]; }
    void Append(const CString& name, const CString& expression);

    DocumentModel* m_document;           // not owned
    std::vector<CString> m_expressions;  // parallel to the formula names

private:
    // The record of the document, or null without one.
    COscillogram* Record() const;
};
