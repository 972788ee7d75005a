#pragma once
// The application's options and recent files in the profile.
#include <vector>

#include "model/AppOptions.h"
#include "platform/Profile.h"

// Reads the print and settings values, each with its default when the profile has none.
void LoadAppOptions(const platform::Profile& profile, AppOptions& options);
// The texts the user chose ("Language" of the settings), read apart since it is needed
// before any text is.
platform::TextLanguage LoadTextLanguage(const platform::Profile& profile);
// Writes the same values in the same order.
void SaveAppOptions(platform::Profile& profile, const AppOptions& options);

// A page margin after the page setup dialog, which shows whole millimetres: a margin the user left
// as it was keeps its hundredths of a millimetre; a changed one takes the dialog's value.
int MarginAfterPageSetup(int storedHundredths, int dialogMillimetres);

constexpr size_t kRecentFileCount = 10;
// The recent-file list, newest first ("Recent File List", "File1".."File10").
std::vector<CString> LoadRecentFiles(const platform::Profile& profile);
void SaveRecentFiles(platform::Profile& profile, const std::vector<CString>& files);
