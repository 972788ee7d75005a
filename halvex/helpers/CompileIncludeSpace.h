#pragma once
// Free functions that the configuration objects, the schemes and their host share: the
// tables over object and scheme kinds, LED colours, IEC 61850 attribute types and user levels;
// GUID texts; and the progress senders that reach the host's main window.
#include <vector>

#include "halvex/helpers/ArmObjectType.h"
#include "halvex/helpers/Guid.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

// The kind of logic scheme being edited.
enum ESchemeEditType : int32_t {
    eSchemeEditPreProcessing = 0,
    eSchemeEditCalcValues = 1,
    eSchemeEditStartOrgans = 2,
    eSchemeEditBackground = 3,
    eSchemeEditDeveloper = 4,
    eSchemeEditUser = 5,
    eSchemeEditCalcInputs = 6,
    eSchemeEditFurther = 7,  // its own list of feeding kinds, no display name
};

// The function-scheme kind a scheme kind maps to; 0 for none.
enum EFuncSchemeType : int32_t { eFuncSchemeNone = 0 };

enum ELedColor : int32_t { eLedGreen = 0, eLedYellow = 1, eLedRed = 2, eLedBlue = 3, eLedMagenta = 4 };

// How an LED is connected; 3 to 5 are the two-colour kinds.
enum EConnLedType : int32_t {};

// The basic types of IEC 61850 data attributes.
enum DataAttributeType : int32_t {
    DA_BOOLEAN = 0, DA_INT8 = 1, DA_INT16 = 2, DA_INT32 = 3, DA_INT64 = 4, DA_INT128 = 5,
    DA_INT8U = 6, DA_INT16U = 7, DA_INT24U = 8, DA_INT32U = 9, DA_FLOAT32 = 10, DA_FLOAT64 = 11,
    DA_ENUMERATED = 12, DA_OCTET_STRING_64 = 13, DA_OCTET_STRING_6 = 14, DA_OCTET_STRING_8 = 15,
    DA_VISIBLE_STRING_32 = 16, DA_VISIBLE_STRING_64 = 17, DA_VISIBLE_STRING_65 = 18,
    DA_VISIBLE_STRING_129 = 19, DA_VISIBLE_STRING_255 = 20, DA_UNICODE_STRING_255 = 21,
    DA_TIMESTAMP = 22, DA_QUALITY = 23, DA_CHECK = 24, DA_CODEDENUM = 25, DA_GENERIC_BITSTRING = 26,
    DA_CONSTRUCTED = 27, DA_ENTRY_TIME = 28, DA_PHYCOMADDR = 29,
};

// User levels of the configuration program.
enum EPlenwickLevel : int32_t {
    ePlenwickOperator = 0, ePlenwickAsu = 1, ePlenwickRza = 2, ePlenwickFullAccess = 3,
};

namespace CompileIncludeSpace {

// --- scheme and object kinds ---------------------------------------------------------------
EFuncSchemeType GetFuncSchemeType(ESchemeEditType kind);
ESchemeEditType GetSchemeEditType(EArmObjectType type);  // -1 for a kind that is no scheme port
CString GetFuncSchemeTypeName(ESchemeEditType kind);
bool IsSchemeInputType(EArmObjectType type);
bool IsSchemeOutputType(EArmObjectType type);
bool IsSchemeType(EArmObjectType type);
EArmObjectType GetPairSchemeObjectType(EArmObjectType type);
// The object kinds that may feed (drive) a scheme of `kind`; the vector is emptied first.
void FillVectSchemeInputArmObjectTypes(ESchemeEditType kind, std::vector<EArmObjectType>& types, bool withButtons);
void FillVectSchemeOutputArmObjectTypes(ESchemeEditType kind, std::vector<EArmObjectType>& types);
void FillVectCollectBlockProps(std::vector<EArmObjectType>& types);

// --- LEDs, IEC 61850 attributes, user levels -------------------------------------------------
COLORREF GetCOLORREF(ELedColor color);
CString GetLedColorName(ELedColor color);
bool Is2ColorType(EConnLedType type);
bool IsCorrectDataAttrTypeFor61850(DataAttributeType type);
// Whether the firmware data type `typeId` ("ID000", ...) fits the attribute type.
bool IsAllowBfpoTypeForDataAttrType(DataAttributeType type, const CString& typeId);
bool IsRequireAssociation(DataAttributeType type);
CString GetDataAttributeTypeName(DataAttributeType type);
CString GetPlenwickLevelName(EPlenwickLevel level, bool capital);

// --- GUIDs -----------------------------------------------------------------------------------
// 36 lower-case hexadecimal characters in groups 8-4-4-4-12, no braces.
CString GetStringByGuid(const GUID& guid);
// The GUID of such a text (either letter case); the nil GUID for anything else.
GUID GetGuidByString(const CString& text);
bool IsGuidNil(const GUID& guid);
GUID CreateNilGuid();
bool IsGuidEqual(const GUID& a, const GUID& b);

// --- progress senders -----------------------------------------------------------------------
constexpr UINT kMsgRibbonProgress = 1080;  // the progress bar on the host's ribbon
constexpr UINT kMsgProgressThread = 1086;  // the host's progress-thread window
// What the word parameter of those messages says the text is.
enum EProgressCode : unsigned {
    eProgressPosition = 0, eProgressInfo = 1, eProgressAddition = 3, eProgressClose = 4, eProgressExtra = 7,
};

// The host application's main window as the senders reach it. A sent message is handled
// before the call returns, so `text` lives only for the call.
class MainWindowReceiver {
public:
    virtual ~MainWindowReceiver() = default;
    virtual void SendMessage(UINT message, unsigned code, const CString* text) = 0;
    virtual void PostMessage(UINT message, unsigned code) = 0;
};
// The host installs its main window (not owned); with none the senders do nothing.
void SetMainWindowReceiver(MainWindowReceiver* window);

void SetProgressBarPosition(int scale, int total, int done);
void AddToRibbonProgressBarPos(int step);
void HideProgressBar();
void SetProgressBarInfoText(const CString& text);
void SetProgressBarAdditionText(const CString& text);
void SetProgressBarExtraText(const CString& text);
void SetProgressThreadPosition(int scale, int total, int done);
void SetProgressThreadInfoText(const CString& text);
void SetProgressThreadAdditionText(const CString& text);
void CloseProgressThread();

}  // namespace CompileIncludeSpace
