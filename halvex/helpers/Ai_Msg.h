#pragma once
// Message boxes whose text takes numbers and texts in place of its "%d" and "%s", in order.
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"

struct MSG_PARAM {
    enum { eNumber = 0, eText = 1 };
    MSG_PARAM() = default;
    MSG_PARAM(int number) : nKind(eNumber), nNumber(number) {}
    MSG_PARAM(const CString& text) : nKind(eText), nNumber(-1), strText(text) {}
    MSG_PARAM(const wchar_t* text) : MSG_PARAM(CString(text)) {}

    int nKind = eNumber;
    int nNumber = 0;
    CString strText;
};

class CAi_Msg {
public:
    // Fills the first `count` parameters into `text` and shows it with MB_ `type`; the box's answer.
    static int AfxMsgBox(UINT type, const CString& text, int count, const std::vector<MSG_PARAM>& params);
    template <class... P>
    static int AfxMsgBox(UINT type, const CString& text, int count, const P&... params) {
        return AfxMsgBox(type, text, count, std::vector<MSG_PARAM>{MSG_PARAM(params)...});
    }
    static CString GetMadeMessage() { return m_strMadeMessage; }

    static CString m_strMadeMessage;

private:
    static void InsertParam(CString& text, const wchar_t* placeholder, const CString& value);
};
