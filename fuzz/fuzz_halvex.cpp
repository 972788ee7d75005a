// The text and byte readers of the Halvex library that take what a user's file or a terminal
// gives: whole text files (UTF-16 or ANSI), the remembered texts of its combo boxes, a section
// of name/value lines, in-place edits of a text file, and the user list of a terminal's block.
#include <cstring>

#include "FuzzSupport.h"
#include "halvex/config/BlockCfgInfo.h"
#include "halvex/controls/model/ComboLogic.h"
#include "halvex/helpers/Ai_File.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Clear();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::QuietUi ui;

    BLOCK_CFG_INFO info;
    info.SetCyberSecurityUsers(data, size);
    info.GetCyberSecurityUsers();
    CAi_File::LooksLikeUnicodeText(data, size);

    const CString path = fuzz::Wide(fuzz::Write("text.txt", bytes));
    CString text;
    CAi_File::ReadFileToString(path, &text);
    BYTE* buffer = nullptr;
    if (CAi_File::ReadFileToBuffer(path, &buffer, true) >= 0) delete[] buffer;
    CAi_File::IsUnicodeFile(path);
    CAi_File::GetFileCodingFormat(path);
    CAi_File sections;
    sections.GetParametersFromSection(text.GetString(), L"[Main]", CString(), L"=");

    halvex::RememberedTexts remembered;
    remembered.Load(path, 10);
    remembered.MostRecentFirst();
    remembered.Choose(L"new", 1700000000);
    remembered.Save(path);

    const CString edited = fuzz::Wide(fuzz::Write("edit.txt", bytes));
    CAi_File::GetSeekBefore(edited, L"a");
    CAi_File::GetSeekAfter(edited, L"\r\n");
    CAi_File::ChangeStringInFile(edited, L"a", L"бв");
    CAi_File::CutFragment(edited, 1, 4);
    CAi_File::TrimRight(edited, L" \r\n");
    CAi_File::AddLineToBegin(edited, L"first", 3);
    CAi_File::AddLineToEnd(edited, L"last", 3);
    CAi_File::ChangeBlockInFile(path, edited, 2, 6, 1);
    return 0;
}
