// The document's ".osc" loader: the file mapped and read into the record, then the record's
// time table, values and settings.
#include <algorithm>
#include <cerrno>

#include "document/TenvorikDoc.h"
#include "formats/OscRecord.h"
#include "model/Numeric.h"
#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"
#include "platform/UiServices.h"

bool CTenvorikDoc::LoadOsc(CString path) {
    try {
        platform::MappedFile file;
        if (!file.Open(path)) {
            if (!platform::PathExists(path)) CFileException::ThrowErrno(ENOENT, path);
            throw new CTenvorikException(330, path);
        }
        ResetRecord();
        COscillogram& osc = m_oscillogram;
        osc.m_samplesPerPeriod = 48.0;
        osc.m_netFrequency = 50.0;
        osc.m_recorderId = "-";
        osc.m_samplingFrequency = 2400;
        osc.m_oscBytes = std::vector<uint8_t>(file.data(), file.data() + file.size());
        osc.m_sourcePath = path;

        ParseOscRecord(osc, this, m_progress, reinterpret_cast<const unsigned char*>(file.data()), file.size(), path);
        if (m_progress.IsCancelled()) return false;
        // A file cut after its time stamp, or one that declares no data records, holds nothing
        // to show, and a record of no samples could not be saved in any form that opens again.
        if (osc.GetSampleCount() <= 0) {
            CString text;
            text.Format(LoadResString(9715).GetString(), path.GetString());
            throw CTenvorikException::FromText(text);
        }

        const uint64_t cells = uint64_t(std::max(osc.GetSampleCount(), 0)) * osc.m_channels.size();
        m_progress.step = cells ? int32_t(m_progress.total.load() / cells * 5) : 0;
        BuildSampleFrequencyTable();
        osc.RecalcAll(false);
        if (m_progress.IsCancelled()) return false;
        LoadSettingsFile(StripOscillogramExt(path) + L".set", false);
        osc.m_dataFileType = L"ASCII";
        return !m_progress.IsCancelled();
    } catch (CException* e) {
        ResetRecord();
        platform::Ui().PostException(e);
        return false;
    }
}
