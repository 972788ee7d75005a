#pragma once
// Scheme inputs and outputs: the elements through which a logic scheme exchanges a signal with
// configuration objects or with the schemes of other kinds. Each is at once a configuration
// object and a placed element, and is linked by name to every object of its link group that
// bears the same name.
#include <cstdint>
#include <set>
#include <vector>

#include "halvex/config/ArmObject.h"
#include "halvex/scheme/SchemeBaseElement.h"

class Scheme_Draw;

// Which distant-sending channel an output uses.
enum EUseDistSend : int32_t { eUseDistSendNone = 0, eUseDistSendChannel1 = 1, eUseDistSendChannel2 = 2 };

class SCHEME_INOUT : public ArmObject, public SCHEME_BASE_ELEMENT {
public:
    explicit SCHEME_INOUT(ESchemeEditType kind);
    SCHEME_INOUT(const SCHEME_INOUT&) = default;
    SCHEME_INOUT& operator=(const SCHEME_INOUT&) = default;
    ~SCHEME_INOUT() override = default;

    // The object types of the inputs and outputs of a scheme kind (user scheme for any
    // kind without its own).
    static EArmObjectType GetInputTypeForKind(ESchemeEditType kind);
    static EArmObjectType GetOutputTypeForKind(ESchemeEditType kind);
    bool IsInputElement() const { return GetSchemeElementType() == eSchElemInput; }

    // --- configuration object ---
    void GetOutInfoText(OUT_INFO_TEXT& text, ArmDataInterface* host) override { FillOutInfoText(text, host); }
    bool IsArmObjLocked() const override { return false; }
    // The data type at the element's port within the scheme that holds it; empty when no
    // scheme holds it.
    CString GetTypeMatch(ArmDataInterface* host) const override;
    // The type of what the element's own port is linked to inside its scheme.
    virtual CString GetPortInsideTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                                        std::set<CString> blackList) const = 0;

    // --- placed element ---
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type, Gdiplus::Size offset) const override;
    void DrawMe(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type, Gdiplus::Size offset,
                const CString& name, const CString& linkText) const;
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) const override;
    void GetVectPortIn(ArmDataInterface* host, std::vector<Sch_PortIn>& out) const override;
    void GetVectPortOut(ArmDataInterface* host, std::vector<Sch_PortOut>& out) const override;
    void FillOutInfoText(OUT_INFO_TEXT& info, ArmDataInterface* host) const override;
    // The three-letter code of the link type.
    CString GetSchemeEditShortName() const override;

    // --- links by name ---
    void SetConnected(const ArmObject* object);
    bool IsConnected() const { return m_eLinkType != GetArmObjectType(); }
    void ResetConnect() { m_eLinkType = GetArmObjectType(); }
    // The objects of the link group that bear this name, in the host's order.
    void GetConnectedArmObjects(ArmDataInterface* host, std::vector<ArmObject*>& out) const;
    // The partners of this element among the elements of a scheme kind.
    void GetConnectedArmObjectsInSchemeEditType(ArmDataInterface* host, ESchemeEditType kind,
                                                std::vector<ArmObject*>& out) const;
    bool IsConnectedInSchemeEditType(ArmDataInterface* host, ESchemeEditType kind) const;
    // Unlinks the partners of a scheme kind by giving them fresh "<name>_copyN" names.
    bool DisconnectInSchemeEditTypeAndCorrectNames(ArmDataInterface* host, ESchemeEditType kind);
    bool CanRename() const;
    // State bits of the link (0x1 not linked ... 0x1000 used in ASU).
    int GetSchemeInOutConnect(ArmDataInterface* host) const;
    // The configuration object whose comment this element shows; false when there is none.
    bool IsCommentEditable(ArmObject*& out, ArmDataInterface* host) const;
    CString GetComment(ArmDataInterface* host);

    // --- data types ---
    CString GetPortInsideTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements) const;
    CString GetPortOutsideTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements) const;
    // The type of what the element is linked to by name, in the schemes that hold those.
    CString GetPortOutsideTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                                 std::set<CString> blackList) const;

    EArmObjectType m_eLinkType;
    ESchemeEditType m_eSchemeEditType;
    std::vector<int32_t> m_vNumbers;  // shown on the drawing; -1 stands for the firmware

protected:
    virtual Scheme_Draw* GetSchemeDraw(ArmDataInterface* host) const = 0;
    // The type at the element's own port: inside first, then outside.
    CString GetOwnPortTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                std::set<CString> blackList) const;
    CString InsideTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                            std::set<CString> blackList) const;
};

class SCHEME_INPUT : public SCHEME_INOUT {
public:
    explicit SCHEME_INPUT(ESchemeEditType kind = eSchemeEditUser);

    EArmObjectType GetArmObjectType() const override { return GetInputTypeForKind(m_eSchemeEditType); }
    int GetObjectIconID(ETblLevel) const override { return 7036; }
    ESchemeElementType GetSchemeElementType() const override { return eSchElemInput; }
    SCHEME_BASE_ELEMENT* Clone() const override;
    CString GetPortOutTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port) const override;
    CString GetPortOutTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                             std::set<CString> blackList) const override;
    CString GetPortInsideTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                                std::set<CString> blackList) const override;
    // Unlinks the outputs that fed this input by name when no other input still takes them.
    void ClearConnectedOutputs(ArmDataInterface* host);

    CString m_sText;
    int32_t m_nValue = 1;

protected:
    Scheme_Draw* GetSchemeDraw(ArmDataInterface* host) const override;
};

class SCHEME_OUTPUT : public SCHEME_INOUT {
public:
    explicit SCHEME_OUTPUT(ESchemeEditType kind = eSchemeEditUser);
    SCHEME_OUTPUT(ESchemeEditType kind, bool useInSignalsMatrix, bool useInOrgIspUsers, bool useInAsu,
                  EUseDistSend useDistSend, bool useInKtrUstavka, const CString& channelCoeff,
                  const CString& channelPhase, const CString& channelUnit);

    EArmObjectType GetArmObjectType() const override { return GetOutputTypeForKind(m_eSchemeEditType); }
    int GetObjectIconID(ETblLevel) const override { return 7037; }
    ESchemeElementType GetSchemeElementType() const override { return eSchElemOutput; }
    SCHEME_BASE_ELEMENT* Clone() const override;
    CString GetPortInTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port) const override;
    CString GetPortInTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                            std::set<CString> blackList) const override;
    CString GetPortInsideTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                                std::set<CString> blackList) const override;
    void FillOutInfoText(OUT_INFO_TEXT& info, ArmDataInterface* host) const override;
    // Unlinks every input that this output fed by name.
    void ClearConnectedInputs(ArmDataInterface* host);

    // Which options a scheme kind offers; a null host forbids nothing.
    static bool IsAllowOptionUseInOrgIspUsers(ESchemeEditType kind);
    static bool CanBeUsedInOrgIspUsers(ESchemeEditType kind);
    static bool IsAllowOptionUseInAsu(ESchemeEditType kind, ArmDataInterface* host);
    static bool IsAllowOptionUseDistSend(ESchemeEditType kind, ArmDataInterface* host);
    static bool IsAllowOptionUseInKtrUstavka(ESchemeEditType kind);
    static bool IsAllowOptionsOscillParams(ESchemeEditType kind);
    static bool IsAllowOnlyForFloatScalarDastrel100S(ESchemeEditType kind);
    bool IsAllowOptionUseInOrgIspUsers() const { return IsAllowOptionUseInOrgIspUsers(m_eSchemeEditType); }
    bool CanBeUsedInOrgIspUsers() const { return CanBeUsedInOrgIspUsers(m_eSchemeEditType); }
    bool IsAllowOptionUseInAsu(ArmDataInterface* host) const { return IsAllowOptionUseInAsu(m_eSchemeEditType, host); }
    bool IsAllowOptionUseDistSend(ArmDataInterface* host) const {
        return IsAllowOptionUseDistSend(m_eSchemeEditType, host);
    }
    bool IsAllowOptionUseInKtrUstavka() const { return IsAllowOptionUseInKtrUstavka(m_eSchemeEditType); }
    bool IsAllowOptionsOscillParams() const { return IsAllowOptionsOscillParams(m_eSchemeEditType); }
    bool IsAllowOnlyForFloatScalarDastrel100S() const { return IsAllowOnlyForFloatScalarDastrel100S(m_eSchemeEditType); }
    // The options in effect: the stored ones as far as the kind and the host allow them.
    bool GetUseInOrgIspUsers() const;
    bool GetUseInSignalsMatrix() const { return m_bUseInSignalsMatrix; }
    bool GetUseInAsu(ArmDataInterface* host) const;
    EUseDistSend GetUseDistSend(ArmDataInterface* host) const;
    static bool IsAllowChannel2DistSend(ArmDataInterface* host);
    bool GetUseInKtrUstavka() const;
    CString GetChannelCoeff() const;
    CString GetChannelPhase() const;
    CString GetChannelUnit() const;

    CString m_sText;
    int32_t m_nValue = 1;
    bool m_bUseInSignalsMatrix = false;
    bool m_bUseInOrgIspUsers = false;
    bool m_bUseInAsu = false;
    bool m_bUseInKtrUstavka = false;
    EUseDistSend m_eUseDistSend = eUseDistSendNone;
    CString m_sChannelCoeff = L"1";
    CString m_sChannelPhase;
    CString m_sChannelUnit;
    int32_t m_nExtra1 = 0;
    int32_t m_nExtra2 = 0;

protected:
    Scheme_Draw* GetSchemeDraw(ArmDataInterface* host) const override;
};
