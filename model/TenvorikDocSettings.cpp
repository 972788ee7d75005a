// The document's per-record settings file. Until the settings file is bound here, loading
// applies what the record itself decides (the code page of its texts) and saving writes
// nothing.
#include "model/MappedTextReader.h"
#include "model/TenvorikDoc.h"

void CTenvorikDoc::LoadSettingsFile(const CString& /*path*/, bool /*skipComments*/) {
    const COscillogram& osc = m_oscillogram;
    CStringA all = osc.m_stationName + osc.m_recorderId;
    for (const auto& ch : osc.m_channels) all += ch.m_fileName;
    SetCodePage(IsAnsiText(all) ? 1 : 0);
}

void CTenvorikDoc::SaveSettingsFile(const CString& /*path*/) {}

void CTenvorikDoc::SetCommentsCodePage(int ansi) { m_settings.GetCategory(L"Comments").SetInt(L"Codepage", ansi); }
