#pragma once
// Opening a terminal record (".sto"): it is converted to COMTRADE files in a temporary working
// folder with the converter library and its XML description (".dst"), which is looked for
// beside the record, in the folder given after "-Dst" and in the "Dst folder" setting.
#include <cstdint>

#include "orvinel/ComtradeConverter.h"
#include "platform/CString.h"

// "Tenvorik_" and the local time as a 64-bit file time in upper-case hexadecimal.
CString MakeTempFolderName();
// A new empty folder below the system's temporary folder, named by MakeTempFolderName (later
// names are tried while one exists); empty on failure, with errno in `err` when given.
CString CreateTempWorkFolder(int* err = nullptr);
// Removes the folder with everything in it; links inside are removed, never followed.
void DeleteFolderRecursive(const CString& folder);
// The first ".dst" file of `folder` (in the order the system lists them) that `checker`
// accepts for a record with this check word and size. An empty folder is not searched.
bool FindDescriptionFile(uint16_t crc, uint32_t size, const CString& folder, ComtradeConverter& checker,
                         CString& path);

// Converts the ".sto" record of `path` and returns the path of the produced ".cfg", or an
// empty text when no conversion took place. With `tempFolder` the call is interactive: the
// description may be asked for, the working folder is stored there at once (its owner deletes
// it), and failures are thrown as CTenvorikException. Without it nothing is shown, a failure
// gives an empty text, and no folder is left behind.
CString ConvertStoToComtrade(const CString& path, CString* tempFolder);
