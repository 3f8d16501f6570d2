#pragma once

#include <QColor>
#include <QRect>
#include <QRectF>

class QPainter;

namespace lq {

// Artwork shared by several instruments. All shapes are drawn anti-aliased on half-pixel-aligned
// geometry so that one-pixel outlines stay sharp at the panel's small sizes.

// A round lamp: dark bezel, body shaded from the centre out and a glossy highlight on top.
void PaintRoundLamp(QPainter& p, const QRectF& r, const QColor& body);

// A rectangular lamp in the same style.
void PaintRectLamp(QPainter& p, const QRectF& r, const QColor& body, qreal radius);

// A raised (or, pressed, sunken) bevelled face of `border` pixels.
void PaintBevel(QPainter& p, const QRectF& r, int border, bool sunken, const QColor& face);

// The edges of a bevel alone: `border` one-pixel outlines from `outline` inwards, top and left in
// `topLeft`, bottom and right in `bottomRight` (dark above and light below make a sunken rim).
void PaintBevelEdges(QPainter& p, const QRect& outline, int border, const QColor& topLeft,
                     const QColor& bottomRight);

// Shortens a double for a tick label: no trailing zeros after the chosen precision.
QString TickText(double v, int precision);

} // namespace lq
