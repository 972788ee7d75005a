#include "orvinel/ConverterOutput.h"

#include "platform/FileSystem.h"

ComtradeConverter::Output::Output(const CString& folder, const CString& fileName) {
    // Peers written for Windows may hand a folder with backslashes.
    CString dir = platform::PathFromPeer(folder);
    m_base = (dir.IsEmpty() ? fileName : platform::JoinPath(dir, fileName)) + L".";
}

bool ComtradeConverter::Output::Open(const char* ext) {
    try {
        m_files.push_back(std::make_unique<platform::AtomicFileWriter>(m_base + CString(ext)));
        return true;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}

bool ComtradeConverter::Output::Write(const std::string& text) {
    if (m_files.empty()) return false;
    try {
        m_files.back()->Write(text);
        return true;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}

bool ComtradeConverter::Output::Commit() {
    try {
        for (auto& file : m_files) file->Commit();
        m_files.clear();
        return true;
    } catch (CFileException* e) {
        e->Delete();
        m_files.clear();  // the writers not yet committed remove their temporary files
        return false;
    }
}
