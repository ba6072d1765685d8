// Geometry of the panels: the design pixels of the descriptions scaled to the panel font, and
// the reading order that the Tab key follows. Not part of the runtime's interface.
#pragma once

#include <QFont>
#include <QMargins>
#include <QRect>
#include <QSize>

#include <cstddef>
#include <vector>

namespace ui::detail {

// The panel font the descriptions' pixels are designed for is 12 pixels high.
inline constexpr int kDesignFontPixels = 12;

// The panels' font: the application's font (its family "Microsoft Sans Serif" where that is
// installed, as the panels were drawn with it), at the application font's size in pixels.
QFont panelFont();

// The pixel size a font is drawn at.
int fontPixels(const QFont &font);

// The factor from design pixels to panel pixels for a panel font of fontPixels: their ratio
// to the design font, never below 1 (a smaller font keeps the written layout).
double layoutScale(int fontPixels);

// The largest scale at which a panel of `design` pixels (at scale 1), with `menuHeight` pixels
// of menu bar above it per unit of scale and the window frame's `frame` around it, fits into
// `available` (the screen's room without its task bars); proportions are kept, so the smaller
// of the two directions decides.
double fittingScale(QSize design, double menuHeight, QMargins frame, QSize available);

// A coordinate and a rectangle in panel pixels. Edges are scaled and rounded, not sizes, so
// that controls that touch or keep a gap in the design still do.
int scaledCoordinate(int design, double scale);
QRect scaledRect(const QRect &design, double scale);

// The order in which a person reads the rectangles: rows from top to bottom, each row from
// left to right. A row starts with the topmost rectangle left (by vertical centre); every
// further one whose vertical centre lies within that first one's height joins the row.
// Answers indices into rects.
std::vector<std::size_t> readingOrder(const std::vector<QRect> &rects);

} // namespace ui::detail
