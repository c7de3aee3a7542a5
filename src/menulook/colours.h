// The colour arithmetic of the flat look and its working colours. Every
// operation turns a system colour into its RGB value on the canvas first.
#pragma once
#include <cstdint>

#include "ui/canvas.h"
#include "ui/types.h"

namespace menulook {

using ui::TCanvas;
using ui::TColor;

// v / 100 rounded to the nearest integer, halves to even (non-negative v).
int roundHundredths(int v);
// Each channel moved p percent (at most 100) of the way to white, then the
// nearest colour the canvas can show.
TColor LightenColour(TCanvas& c, TColor colour, int p);
// Each channel less n, green less n - 2, within 0..255; a negative n lightens.
TColor DarkenColour(TCanvas& c, TColor colour, int n);
// The grey of the mean channel plus k, at most 240.
TColor GreyOf(TCanvas& c, TColor colour, int k);

// Every pixel lightened by p percent; every pixel greyed with offset k. A
// pixel like the one before it in the walk reuses its result.
void FadeIcon(TCanvas& c, ui::TPixels& p, int percent);
void GreyIcon(TCanvas& c, ui::TPixels& p, int k);
// Every pixel of the picture that is not its transparent colour, set to colour.
void PaintIconShadow(const ui::TPixels& p, TCanvas& c, int x, int y, TColor colour);

struct XPPalette {
    bool DeepColour = false;
    TColor MenuFace = 0, IconColumn = 0, SelectFill = 0, SelectFrame = 0, SelectText = 0,
           CheckFill = 0, CheckFillHot = 0, CheckMark = 0, DisabledText = 0, SeparatorLine = 0;
};

// The colour properties the palette is made from.
struct PaletteSource {
    TColor Color = ui::clBtnFace, IconBackColor = ui::clBtnFace, SelectColor = ui::clHighlight,
           SelectBorderColor = ui::clHighlight, SelectFontColor = ui::clMenuText, DisabledColor = ui::clInactiveCaption,
           SeparatorColor = ui::clBtnFace, CheckedColor = ui::clHighlight;
    bool UseSystemColors = true;
    // The font's colour, which the selected text takes with system colours.
    TColor FontColor = ui::clMenuText;
};

XPPalette DerivePalette(TCanvas& c, const PaletteSource& s);

}  // namespace menulook
