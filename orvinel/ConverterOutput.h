#pragma once
// The files of one conversion. Each is written to a temporary file beside its target and put
// in place only when every file of the conversion is complete, so a failed conversion leaves
// no partial output and never damages files that were there before.
#include <cstdio>
#include <string>
#include <vector>

#include "orvinel/ComtradeConverter.h"

class ComtradeConverter::Output {
public:
    Output(const CString& folder, const CString& fileName);
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Opens a fresh temporary file for the target with extension `ext` ("cfg"); null on failure.
    std::FILE* Open(const char* ext);
    // Closes the file opened last; false when anything written to it was lost.
    bool Close();
    // Moves every written file over its target; false (and nothing left behind) on failure.
    bool Commit();

    static bool Write(std::FILE* file, const std::string& text) {
        return text.empty() || std::fwrite(text.data(), 1, text.size(), file) == text.size();
    }

private:
    void Discard();

    std::string m_base;  // folder/fileName. in UTF-8
    struct Pending {
        std::string temp, target;
    };
    std::vector<Pending> m_files;
    std::FILE* m_open = nullptr;
};
