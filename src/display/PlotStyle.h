// The display's pens, brush and fonts, shared by the oscillogram and the
// spectrum window.
#pragma once

#include <cstdint>

#include "canvas/Canvas.h"
#include "canvas/Font.h"

namespace korvel {

inline constexpr Pen OverviewFramePen{Rgb(0, 0, 255), 2};     // frame of the overview
inline constexpr Pen SubWindowFramePen{Rgb(255, 0, 255), 2};  // frame of the sub-window plot
inline constexpr Pen CursorPen{Rgb(0, 255, 0), 1};            // measurement cursors
inline constexpr Pen AxisPen{Rgb(255, 0, 0), 1};              // zero-volt lines, zoom band
inline constexpr Pen TracePen{Rgb(0, 0, 0), 1};               // traces, tick marks
inline constexpr Pen OverviewTickPen{Rgb(0, 255, 255), 1};    // time ticks of the overview
inline constexpr Brush MarkerBrush{Rgb(255, 255, 100)};       // fill of the marker
inline constexpr Pen MarkerPen{Rgb(0, 150, 100), 1};          // outline of the marker
inline constexpr Pen GridPen{Rgb(150, 200, 255), 1};          // grid of the sub-window plot
inline constexpr Pen ReferencePen{Rgb(100, 200, 100), 1};     // reference cross
inline constexpr Pen ClipPen{Rgb(255, 0, 0), 1};              // marks of a trace beyond the range
inline constexpr Brush WhiteBrush{White};                     // frames and cleared areas
inline constexpr uint32_t WindowTextColor = Black;            // every text of the plots

// Character cell heights, pixels, indexed by LFontSize and MFontSize.
inline constexpr int32_t FontSizeTableLength = 11;
inline constexpr int32_t FontSizes[FontSizeTableLength] = {8,  9,  10, 11, 12, 14,
                                                           16, 18, 20, 22, 24};

// Axis labels, and the micro sign over the "u" of their time unit.
extern Font LabelFont;
extern Font LabelSymbolFont;
// The read-outs, and their micro and delta signs.
extern Font MessageFont;
extern Font MessageSymbolFont;

// (Re)makes the four fonts with the installed text engine at the heights of
// LFontSize and MFontSize (an index outside the table takes its nearest
// entry). "Courier" is retried without a face name; a symbol font that cannot
// be made stays absent and its signs are left out. Without an engine all four
// stay absent.
void CreatePlotFonts();

// Makes the four fonts absent.
void ClearPlotFonts();

}  // namespace korvel
