#pragma once
// A picture on a mimic screen: an image file from the user's pictures folder, or a small error
// square with "?" while it cannot be shown.
#include <memory>

#include "halvex/mimic/ControlMonElem.h"

class CONTROL_PICTURE_ELEM : public CONTROL_MON_ELEM {
public:
    // Copies share the loaded image; the last one to let go frees it.
    CONTROL_PICTURE_ELEM() = default;
    CONTROL_PICTURE_ELEM(const CONTROL_PICTURE_ELEM&) = default;
    CONTROL_PICTURE_ELEM& operator=(const CONTROL_PICTURE_ELEM&) = default;

    EControlMonType GetControlMonType() const override { return eControlMonPicture; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) override;
    // Loads the file first when no load was tried yet.
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, bool pressed,
              Gdiplus::Size offset) override;
    // A copy with its own image, or, when the source shows none, one that loads when drawn.
    CONTROL_MON_ELEM* Clone() const override;

    // Loads the file of that name from the pictures folder. A name that would reach outside the
    // folder (a path separator, "..", an absolute path) is not read: the load fails.
    void LoadFile(ArmDataInterface* host);
    // Loads the image at a full path.
    void LoadFile(const CString& path);
    // The full path of a picture name; empty when the name is refused or there is no folder.
    static CString GetPicturePath(const CString& fileName);
    static bool IsPictureNameAllowed(const CString& fileName);

    bool IsLoaded() const { return m_bLoaded; }
    bool IsLoadFailed() const { return m_bLoadFailed; }
    Gdiplus::Image* GetImage() const { return m_pImage.get(); }

    // Below the user's local application-data folder.
    static const wchar_t* const m_sFolderName;
    static const int m_nErrorImageSize;

    CString m_sFileName;

protected:
    void DrawErrorImage(Gdiplus::Graphics& g);
    void SetErrorSchRect(Sch_Rect& r);

private:
    bool ShowsImage() const { return m_bLoaded && !m_bLoadFailed && m_pImage; }

    std::shared_ptr<Gdiplus::Image> m_pImage;
    bool m_bLoaded = false;
    bool m_bLoadFailed = false;
};
