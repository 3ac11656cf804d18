// Shading of shapes: a shape is drawn as a mask (any opaque pixels), then
// painted with a material ramp so that every object is lit the same way, from
// the top left, with an outline in the material's own darkest tone.
#pragma once

#include "Canvas.h"
#include "Palette.h"

namespace art {

struct ShadeStyle {
    double Roundness = 1.0;  // how strongly the form bulges (0 = flat)
    int Blur = 3;            // radius of the height field; larger for big soft forms
    int Bias = 0;            // shifts all tones lighter (+) or darker (-)
    bool Outline = true;
    int Lowest = 1;          // darkest tone used inside the shape
};

// Paints `mask` (opaque pixels) onto dst at (x, y) as a rounded volume.
void ShadeVolume(Canvas& dst, const Canvas& mask, const Ramp& ramp, int x = 0, int y = 0, ShadeStyle style = {});
// A flat plate: base tone, a light edge on the top and left, a dark edge on the
// bottom and right, outline.
void ShadeFlat(Canvas& dst, const Canvas& mask, const Ramp& ramp, int base = 3, int x = 0, int y = 0,
               bool outline = true);
// Outline around the opaque pixels of dst (on transparent neighbours), in c.
void OutlineOutside(Canvas& dst, Color c, bool diagonal = false);

// Single-shape helpers: build the mask, shade it onto dst.
void Ball(Canvas& dst, double cx, double cy, double rx, double ry, const Ramp& ramp, ShadeStyle style = {});

}  // namespace art
