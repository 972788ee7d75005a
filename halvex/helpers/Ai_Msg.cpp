#include "halvex/helpers/Ai_Msg.h"

#include "platform/UiServices.h"

CString CAi_Msg::m_strMadeMessage;

void CAi_Msg::InsertParam(CString& text, const wchar_t* placeholder, const CString& value) {
    int at = text.Find(placeholder);
    if (at < 0) return;
    text = text.Left(at) + value + text.Mid(at + 2);
}

int CAi_Msg::AfxMsgBox(UINT type, const CString& text, int count, const std::vector<MSG_PARAM>& params) {
    CString made = text;
    for (int i = 0; i < count && size_t(i) < params.size(); ++i) {
        const MSG_PARAM& p = params[size_t(i)];
        if (p.nKind == MSG_PARAM::eNumber) {
            CString n;
            n.Format(L"%d", p.nNumber);
            InsertParam(made, L"%d", n);
        } else if (p.nKind == MSG_PARAM::eText) {
            InsertParam(made, L"%s", p.strText);
        } else {
            platform::Ui().MessageBox(L"Error [AfxMsgBox]!", CString(), MB_OK | MB_ICONERROR);
        }
    }
    m_strMadeMessage = made;
    return platform::Ui().MessageBox(made, CString(), type);
}
