#pragma once
// One line describing the running system.
class CAi_Diff {
public:
    // Writes the line into `text` (256 characters with the closing zero) and answers 1; when the
    // system cannot be asked the text stays as it was. The second parameter is not used.
    static int GetOSDisplayString(wchar_t* text, int* unused = nullptr);
};
