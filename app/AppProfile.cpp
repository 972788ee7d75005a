#include "app/AppProfile.h"

namespace {
const wchar_t kPrint[] = L"Print Parameters";
const wchar_t kSettings[] = L"Settings Parameters";
const wchar_t kRecent[] = L"Recent File List";
}  // namespace

platform::TextLanguage LoadTextLanguage(const platform::Profile& profile) {
    return platform::TextLanguageFromName(profile.GetProfileString(kSettings, L"Language", CString()).GetString());
}

void LoadAppOptions(const platform::Profile& profile, AppOptions& options) {
    options.leftMargin = profile.GetProfileInt(kPrint, L"Left Margin", 2000);
    options.rightMargin = profile.GetProfileInt(kPrint, L"Right Margin", 2000);
    options.topMargin = profile.GetProfileInt(kPrint, L"Top Margin", 2000);
    options.bottomMargin = profile.GetProfileInt(kPrint, L"Bottom Margin", 2000);
    options.pageOrientation = short(profile.GetProfileInt(kPrint, L"Page Orientation", 1));
    options.dstFolder = profile.GetProfileString(kSettings, L"Dst folder", CString());
    options.utcForComtrade2013 = profile.GetProfileInt(kSettings, L"UTC for Comtrade2013", 1) != 0;
    options.textLanguage = LoadTextLanguage(profile);
}

void SaveAppOptions(platform::Profile& profile, const AppOptions& options) {
    profile.WriteProfileInt(kPrint, L"Left Margin", options.leftMargin);
    profile.WriteProfileInt(kPrint, L"Right Margin", options.rightMargin);
    profile.WriteProfileInt(kPrint, L"Top Margin", options.topMargin);
    profile.WriteProfileInt(kPrint, L"Bottom Margin", options.bottomMargin);
    profile.WriteProfileInt(kPrint, L"Page Orientation", options.pageOrientation);
    profile.WriteProfileString(kSettings, CString(L"Dst folder"), options.dstFolder);
    profile.WriteProfileInt(kSettings, L"UTC for Comtrade2013", options.utcForComtrade2013 ? 1 : 0);
    profile.WriteProfileString(kSettings, CString(L"Language"),
                               CString(platform::TextLanguageName(options.textLanguage).c_str()));
}

std::vector<CString> LoadRecentFiles(const platform::Profile& profile) {
    std::vector<CString> files;
    for (size_t i = 1; i <= kRecentFileCount; ++i) {
        CString key;
        key.Format(L"File%d", int(i));
        CString f = profile.GetProfileString(kRecent, key, CString());
        if (!f.IsEmpty()) files.push_back(f);
    }
    return files;
}

void SaveRecentFiles(platform::Profile& profile, const std::vector<CString>& files) {
    for (size_t i = 1; i <= kRecentFileCount; ++i) {
        CString key;
        key.Format(L"File%d", int(i));
        if (i <= files.size())
            profile.WriteProfileString(kRecent, key, files[i - 1]);
        else
            profile.WriteProfileString(CString(kRecent), key.GetString(), nullptr);
    }
}

int MarginAfterPageSetup(int storedHundredths, int dialogMillimetres) {
    return dialogMillimetres == storedHundredths / 100 ? storedHundredths : dialogMillimetres * 100;
}
