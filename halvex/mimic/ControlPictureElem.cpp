#include "halvex/mimic/ControlPictureElem.h"

#include "halvex/helpers/Ai_File.h"
#include "halvex/mimic/MimicText.h"

using namespace Gdiplus;

const wchar_t* const CONTROL_PICTURE_ELEM::m_sFolderName = L"Korvelund/Plenwick/Pictures";
const int CONTROL_PICTURE_ELEM::m_nErrorImageSize = 20;

bool CONTROL_PICTURE_ELEM::IsPictureNameAllowed(const CString& fileName) {
    // The name comes from a stored screen: it names a file inside the folder and nothing else.
    if (fileName.IsEmpty()) return false;
    if (fileName.FindOneOf(L"/\\") >= 0) return false;
    if (fileName == L"." || fileName == L"..") return false;
    if (fileName.GetLength() >= 2 && fileName[1] == L':') return false;  // a drive of a Windows peer
    return true;
}

CString CONTROL_PICTURE_ELEM::GetPicturePath(const CString& fileName) {
    if (!IsPictureNameAllowed(fileName)) return CString();
    CString folder = CAi_File::GetWinLocalSettingsApplicationDataPath();
    if (folder.IsEmpty()) return CString();
    if (folder[folder.GetLength() - 1] != L'/') folder += L'/';
    return folder + m_sFolderName + L"/" + fileName;
}

void CONTROL_PICTURE_ELEM::LoadFile(ArmDataInterface*) {
    const CString path = GetPicturePath(m_sFileName);
    if (path.IsEmpty()) {
        m_bLoaded = true;
        m_bLoadFailed = true;
        m_pImage.reset();
        return;
    }
    LoadFile(path);
}

void CONTROL_PICTURE_ELEM::LoadFile(const CString& path) {
    m_bLoaded = true;
    m_bLoadFailed = false;
    m_pImage.reset(Image::FromFile(path));
    if (!m_pImage || m_pImage->GetLastStatus() != Ok) m_bLoadFailed = true;
}

CONTROL_MON_ELEM* CONTROL_PICTURE_ELEM::Clone() const {
    auto* copy = new CONTROL_PICTURE_ELEM(*this);
    copy->m_pImage.reset();
    if (ShowsImage()) {
        auto own = std::make_shared<Bitmap>(INT(m_pImage->GetWidth()), INT(m_pImage->GetHeight()));
        if (own->GetLastStatus() == Ok) {
            Graphics g(own.get());
            g.DrawImage(m_pImage.get(), 0.0f, 0.0f);
            copy->m_pImage = own;
        } else {
            copy->m_bLoaded = false;  // nothing to copy into: the copy loads the file itself
        }
    }
    return copy;
}

RectF CONTROL_PICTURE_ELEM::GetBoundedRectF(ArmDataInterface*, float scale) {
    RectF r;
    if (ShowsImage()) {
        r = RectF(0, 0, float(m_pImage->GetWidth()), float(m_pImage->GetHeight()));
    } else {
        const float d = 1 / scale, s = float(m_nErrorImageSize);
        r = RectF(-d, -d, s + 2 * d, s + 2 * d);
    }
    if (!r.IsEmptyArea()) r.Offset(float(m_nX), float(m_nY));
    return r;
}

void CONTROL_PICTURE_ELEM::SetErrorSchRect(Sch_Rect& r) {
    const float s = float(m_nErrorImageSize);
    r.m_rect = RectF(0, 0, s, s);
    r.m_color = Color(0xFF000000);
    r.m_nPenWidth = 1;
    r.m_bFill = true;
    r.m_colorFill = Color(0xFFFFFFFF);
}

void CONTROL_PICTURE_ELEM::DrawErrorImage(Graphics& g) {
    Sch_Rect r;
    SetErrorSchRect(r);
    r.Draw(g, eDrawNormal, nullptr, nullptr);
    Arm_Font font = MimicDefaultFont();
    font.m_fSize = float(m_nErrorImageSize);
    MimicDrawText(g, L"?", font, r.m_rect, 1, 1, Color(0xFFFF0000));
}

void CONTROL_PICTURE_ELEM::Draw(ArmDataInterface* host, Graphics& g, EDrawType kind, bool, Size offset) {
    if (!m_bLoaded) LoadFile(host);
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(offset.Width + m_nX), float(offset.Height + m_nY));
    RectF area(0, 0, float(m_nErrorImageSize), float(m_nErrorImageSize));
    if (ShowsImage()) {
        area = RectF(0, 0, float(m_pImage->GetWidth()), float(m_pImage->GetHeight()));
        g.DrawImage(m_pImage.get(), area);
    } else {
        DrawErrorImage(g);
    }
    if (kind == eDrawSelect || kind == eDrawDrag) {
        Sch_Rect frame;
        frame.m_rect = area;
        frame.m_nPenWidth = 2;
        frame.m_color = Color(kind == eDrawSelect ? 0xFF0000FF : 0x7F0000FF);
        frame.Draw(g, eDrawNormal, nullptr, nullptr);
    }
    g.Restore(state);
}
