#pragma once
// Registry values in place of the system registry: each root key is a profile file in the
// profile folder (see platform::Profile), a key path is a section ("A\\B\\C", names compared
// ignoring case) and a value is an entry of it.
#include <cstdint>

#include "platform/CString.h"
#include "platform/WinTypes.h"

using HKEY = struct HKEY__*;
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(uintptr_t(0x80000001));
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(uintptr_t(0x80000002));

enum : DWORD { REG_SZ = 1, REG_DWORD = 4, REG_MULTI_SZ = 7 };
enum : long { ERROR_SUCCESS = 0, ERROR_FILE_NOT_FOUND = 2, ERROR_ACCESS_DENIED = 5, ERROR_INVALID_PARAMETER = 87 };

struct GET_REG_PARAM {
    HKEY hRoot = HKEY_CURRENT_USER;
    CString strKey;
    CString strName;
    DWORD dwType = REG_SZ;  // 1 text, 4 32-bit number, 7 multi-text
    CString strValue;
    DWORD dwValue = 0;
};

class CAi_Registry {
public:
    enum GetRegResult { eRegRead = 0, eRegNoValue = 1, eRegNoParam = 2, eRegNoKey = 3 };

    // Reads the value into the text field (types 1, 4 and 7) and the number field (type 4).
    GetRegResult GetRegParam(GET_REG_PARAM* param);
    // Writes a text (type 1) or a number (type 4) into an existing key; false otherwise.
    bool SetValue(GET_REG_PARAM* param);
    // SetValue that creates the key first.
    bool CreateAndSetValue(GET_REG_PARAM* param);
    // Copies the key with its sub-keys and values; ERROR_SUCCESS or the first failure.
    static long CopyKey(HKEY sourceRoot, HKEY targetRoot, const CString& sourcePath, const CString& targetPath);

    // The file that stands in for a root key; empty for an unknown root.
    static CString RootFile(HKEY root);

    GET_REG_PARAM* m_pParam = nullptr;
    bool m_bCreateKey = false;
};
