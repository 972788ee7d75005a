#include "analysis/CalcChannels.h"

#include <algorithm>
#include <string>

#include "analysis/RecordFormula.h"
#include "model/DocumentModel.h"
#include "model/MappedTextReader.h"
#include "model/Resources.h"
#include "model/SettingsStore.h"
#include "platform/AtomicFile.h"
#include "platform/Encoding.h"
#include "platform/FileSystem.h"
#include "platform/UiServices.h"

namespace {

constexpr unsigned kStrFormulaListFilter = 3165;
constexpr unsigned kStrNameOfRecordedChannel = 9400;
constexpr unsigned kStrNotInCodePage = 9401;
constexpr unsigned kStrLinesSkipped = 9931;

// The channel that storing a result under `name` would replace: the record's look-up by name
// (the exact case first, else the first that differs only in case).
const CChannel* StoredUnder(const COscillogram& record, const CString& name) {
    const CChannel* first = nullptr;
    for (const CChannel& ch : record.m_channels) {
        if (ch.m_name.CompareNoCase(name) != 0) continue;
        if (ch.m_name == name) return &ch;
        if (!first) first = &ch;
    }
    return first;
}

// "name,formula" as the settings keep it: the name runs to the first comma, the formula from
// there to the end of the line; both must be there.
bool SplitSettingsValue(const std::wstring& v, CString& name, CString& expression) {
    const size_t comma = v.find_first_of(L",\r\n");
    if (comma == 0 || comma == std::wstring::npos || v[comma] != L',') return false;
    const size_t end = std::min(v.find_first_of(L"\r\n", comma + 1), v.size());
    if (end == comma + 1) return false;
    name = CString(v.substr(0, comma));
    expression = CString(v.substr(comma + 1, end - comma - 1));
    return true;
}

}  // namespace

CalcChannels& CalcChannels::Of(CChannelCollection& record) {
    auto* list = dynamic_cast<CalcChannels*>(record.m_derivedChannels.get());
    if (!list) {
        auto made = std::make_unique<CalcChannels>(record.m_document);
        list = made.get();
        record.m_derivedChannels = std::move(made);
    }
    return *list;
}

std::unique_ptr<DerivedChannels> CalcChannels::Clone() const { return std::make_unique<CalcChannels>(*this); }

COscillogram* CalcChannels::Record() const { return m_document ? &m_document->m_oscillogram : nullptr; }

const CChannel* CalcChannels::GetChannelIndex(const CString& name) {
    const COscillogram* record = Record();
    return record ? RecordChannel(*record, name) : nullptr;
}

double CalcChannels::GetSampleValue(unsigned sampleIndex) {
    const COscillogram* record = Record();
    return record ? RecordSampleFrequency(*record, sampleIndex) : 0.0;
}

unsigned CalcChannels::GetSamplesPerPeriod() {
    const COscillogram* record = Record();
    return record ? RecordSamplesPerPeriod(*record) : 0;
}

void CalcChannels::Append(const CString& name, const CString& expression) {
    m_formulaNames.push_back(name);
    m_expressions.push_back(expression);
}

bool CalcChannels::ComputeChannels() {
    COscillogram* record = Record();
    if (!record) return m_expressions.empty();
    const size_t samples = size_t(std::max(0, record->GetSampleCount()));
    SetChannelMode(true);
    bool ok = true;
    try {
        for (size_t i = 0; i < m_expressions.size(); ++i) {
            const CString& name = m_formulaNames[i];
            SetFormulaIndex(unsigned(i));
            // A recorded channel is never overwritten: its samples would be lost, and as a
            // program-made channel it would no longer be saved with the record.
            if (const CChannel* existing = StoredUnder(*record, name); existing && !existing->IsCalculated())
                throw CTenvorikException::FromText(name + L": " + LoadResString(kStrNameOfRecordedChannel));
            FormulaSeries series = ComputeFormulaSeries(*this, m_expressions[i], samples);
            if (series.isComplex)
                record->SetComplexChannel(name, series.unit, series.real, series.complex);
            else
                record->SetCalculatedChannel(name, series.unit, series.real);
        }
    } catch (CException* e) {
        PostExceptionToMainFrame(e);
        ok = false;
    }
    // The tokens point into the record's channels, which storing may have moved.
    Tokenize(CString());
    if (ok) m_document->PurgeChannelGroups();
    return ok;
}

void CalcChannels::Clear() {
    if (COscillogram* record = Record()) {
        for (const CString& name : m_formulaNames) {
            // Only the program-made channel of that name: a recorded one stays.
            auto& channels = record->m_channels;
            auto it = std::find_if(channels.begin(), channels.end(),
                                   [&](const CChannel& c) { return c.IsCalculated() && c.m_name == name; });
            if (it != channels.end()) record->RemoveChannelAt(size_t(it - channels.begin()));
        }
    }
    m_formulaNames.clear();
    m_expressions.clear();
}

void CalcChannels::SaveToSettings(SettingsNode& category) const {
    category.Clear();
    for (size_t i = 0; i < m_expressions.size(); ++i) {
        CString key;
        key.Format(L"Channel%i", int(i));
        category.SetString(key, m_formulaNames[i] + L"," + m_expressions[i]);
    }
}

void CalcChannels::LoadFromSettings(SettingsNode& category) {
    const int count = category.GetValueCount();
    for (int i = 0; i < count; ++i) {
        CString key;
        key.Format(L"Channel%i", i);
        CString name, expression;
        if (SplitSettingsValue(category.GetString(key, CString()).str(), name, expression)) Append(name, expression);
    }
    ComputeChannels();
}

size_t CalcChannels::ImportFormulaFile(const CString& path) {
    std::vector<CString> names, expressions;
    size_t skipped = 0;
    // An empty file is an empty list (the export of one).
    if (platform::FileSize(path) != 0) {
        MappedTextReader reader(path);
        while (reader.m_cursor < reader.m_end) {
            const std::wstring line = reader.ReadLine().str();
            if (line.empty()) continue;
            const size_t comma = line.find(L',');
            // A line without a name has no channel to make.
            if (comma == 0 || comma == std::wstring::npos) {
                ++skipped;
                continue;
            }
            std::wstring expression = line.substr(comma + 1);
            // The comma that ends every exported line; a line written by hand may lack it.
            if (!expression.empty() && expression.back() == L',') expression.pop_back();
            names.emplace_back(line.substr(0, comma));
            expressions.emplace_back(std::move(expression));
        }
    }
    Clear();
    m_formulaNames = std::move(names);
    m_expressions = std::move(expressions);
    if (m_document) m_document->SetModifiedFlag(true);
    return skipped;
}

void CalcChannels::ExportFormulaFile(const CString& path) const {
    std::string bytes;
    for (size_t i = 0; i < m_expressions.size(); ++i) {
        const std::wstring line = (m_formulaNames[i] + L"," + m_expressions[i] + L",").str();
        std::string ansi = platform::WideToAnsi(line);
        // A character the file's code page lacks would come back as another one.
        if (platform::AnsiToWide(ansi) != line)
            throw CTenvorikException::FromText(m_formulaNames[i] + L": " + LoadResString(kStrNotInCodePage));
        bytes += ansi;
        bytes += "\r\n";
    }
    platform::WriteFileAtomically(path, bytes);
}

void CalcChannels::ImportFormulaList() {
    const CString path = platform::Ui().AskOpenFileName(CString(), LoadResString(kStrFormulaListFilter), L"frm");
    if (path.IsEmpty()) return;
    try {
        if (const size_t skipped = ImportFormulaFile(path)) {
            CString text;
            text.Format(LoadResString(kStrLinesSkipped).GetString(), int(skipped));
            platform::Ui().MessageBox(text, CString(), MB_OK | MB_ICONWARNING);
        }
    } catch (CException* e) {
        PostExceptionToMainFrame(e);
    }
}

void CalcChannels::ExportFormulaList() {
    const CString path = platform::Ui().AskSaveFileName(CString(), LoadResString(kStrFormulaListFilter), L"frm");
    if (path.IsEmpty()) return;
    try {
        ExportFormulaFile(path);
    } catch (CException* e) {
        PostExceptionToMainFrame(e);
    }
}
