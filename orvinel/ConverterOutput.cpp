#include "orvinel/ConverterOutput.h"

#include "platform/FileSystem.h"

ComtradeConverter::Output::Output(const CString& folder, const CString& fileName) {
    // Peers written for Windows may hand a folder with backslashes.
    CString dir = platform::PathFromPeer(folder);
    m_base = (dir.IsEmpty() ? fileName : platform::JoinPath(dir, fileName)) + L".";
}

bool ComtradeConverter::Output::Open(const char* ext) {
    try {
        // The record's lock is taken with its first file and held until the last is in place.
        if (!m_record) m_record = std::make_unique<platform::RecordWriter>(m_base + L"cfg");
        m_last = &m_record->Open(m_base + CString(ext));
        return true;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}

bool ComtradeConverter::Output::Write(const std::string& text) {
    if (!m_last) return false;
    try {
        m_last->Write(text);
        return true;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}

bool ComtradeConverter::Output::Commit() {
    m_last = nullptr;
    if (!m_record) return true;
    try {
        m_record->Commit();
        m_record.reset();
        return true;
    } catch (CFileException* e) {
        e->Delete();
        m_record.reset();  // the temporary files not put in place go with it
        return false;
    }
}
