// CLabel: a static text drawn without background, in light grey, so that the page background
// shows around the letters. The page reflects WM_CTLCOLORSTATIC to it (ReflectNotification).
#pragma once

#include <windows.h>

#include <string>

#include "controls/control_win32.h"
#include "controls/gdi_win32.h"

namespace quorelle::controls {

inline constexpr COLORREF kLabelTextColour = RGB(235, 235, 235);
inline constexpr int kLabelPointTenths = 87;
inline constexpr wchar_t kLabelFace[] = L"\u5FAE\u8F6F\u96C5\u9ED1";

// Character height of a point-size font on a device of `dpi` dots per inch, as the platform's
// point-size fonts compute it (nearest pixel): 12 for 8.7 points at 96.
int PointFontHeight(int dpi, int pointTenths);
// A font of `pointTenths` tenths of a point for a display of `dpi`, other attributes default.
gdi::Font CreatePointFont(int pointTenths, const wchar_t* face, int dpi);
// The same font, made once for every control that uses it at the same time.
gdi::SharedFont SharedPointFont(int pointTenths, const wchar_t* face, int dpi);

class CLabel : public SubclassedControl {
  public:
    CLabel() = default;
    ~CLabel() override;

    void SetTextColour(COLORREF colour) {
        textColour_ = colour;
        textColourOn_ = true;
    }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    // Replaces the text and has the parent repaint the background under the old letters.
    void SetText(const std::wstring& text);

    // Answer to the colour request the static control makes before it paints: text colour,
    // transparent background, the label font, the hollow brush.
    HBRUSH OnControlColour(HDC dc);
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    HFONT Font() const { return font_.Get(); }

  protected:
    void OnAttached() override;
    void OnDpiChanged() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    HFONT EnsureFont();
    // A transparent label draws off-screen what lies under it (the page's background, then the
    // pictures it is stacked on, lowest first) and its letters over that, and puts the result on
    // the screen in one copy: every paint gives the same pixels, whether the whole page is
    // repainted or the label alone, and whichever control painted last.
    void PaintOverBackground(HDC target);

    COLORREF textColour_ = kLabelTextColour;
    bool textColourOn_ = true;
    bool transparent_ = true;
    gdi::SharedFont font_;  // one for all labels
};

}  // namespace quorelle::controls
