#pragma once
// What the fuzz targets share: a user interface that answers every question and keeps the
// messages, a private folder for the files a reader is given, and the split of one input into
// the several files of a record.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CString.h"
#include "platform/UiServices.h"

class COscillogram;

namespace fuzz {

// The line between the files of one input ("cfg", "dat", "hdr"...). The dictionary of each
// target that takes several files holds it, so that mutations keep and move it.
inline constexpr std::string_view kSplit = "\n@@fuzz-next-file@@\n";

// Installed for one run: message boxes get their first button, exceptions are kept as texts.
class QuietUi final : public platform::UiServices {
public:
    QuietUi();
    ~QuietUi() override;
    QuietUi(const QuietUi&) = delete;
    QuietUi& operator=(const QuietUi&) = delete;

    int MessageBox(const CString& text, const CString& caption, unsigned type) override;
    void PostException(CException* e) override;
    void RunOnUiThread(std::function<void()> fn) override;

    CString AskOpenFileName(const CString&, const CString&, const CString&) override { return openFileAnswer; }

    std::vector<CString> messages;
    CString openFileAnswer;  // what the file-open dialog answers
};

// Called once from LLVMFuzzerInitialize: the profile, the temporary folder and the user's
// runtime folder of the process all go into a private folder under $TMPDIR, so that a run
// touches nothing of the user's and parallel jobs do not meet.
void Initialize();

// The process's folder for the files of one run (emptied by Clear).
const std::string& WorkDir();
std::string PathOf(const std::string& name);
// Removes everything in WorkDir.
void Clear();
// Writes `bytes` to WorkDir/name and returns the path.
std::string Write(const std::string& name, std::string_view bytes);

// The input cut at kSplit into at most `count` parts (the last takes the rest).
std::vector<std::string_view> Split(const uint8_t* data, size_t size, size_t count);
// The parts joined as Split cuts them (seeds).
std::string Join(const std::vector<std::string>& parts);

CString Wide(const std::string& utf8);
// Bytes as text the way a reader of UTF-8 would take them (invalid bytes replaced).
CString WideFromBytes(std::string_view bytes);

// A failure of the harness's own expectations: printed and aborted, so libFuzzer keeps the input.
[[noreturn]] void Fail(const char* what, const CString& detail = CString());

// Opens a record the way the program does (early start on the loading thread, then the open
// that waits for it), reads it back as the record dump does, and checks that a refusal told
// the user why. `messageExpected` false for forms that may end silently (a conversion whose
// description the user did not choose). Returns whether it opened.
bool OpenRecord(const std::string& path, bool messageExpected = true);

}  // namespace fuzz

namespace fuzz {

// The record the settings, formula, ".frm" and clipboard targets work on: a 110 kV line with a
// B-C fault, six analog channels (Ia, Ib, Ic, Uab, Ubc, Uca) and two status channels, 300
// samples at 1000 a second, as ASCII COMTRADE. Writes WorkDir/name.cfg and .dat (and nothing
// else) and returns the ".cfg" path.
std::string WriteBaseRecord(const std::string& name);

// The base record, opened once for the process (written in a folder of its own).
const COscillogram& BaseRecord();

}  // namespace fuzz
