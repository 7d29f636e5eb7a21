// Text colours that stay readable on whatever background a theme paints.
#pragma once

#include "layout.h"

namespace kestrova {

// The contrast ratio of two colours as WCAG 2 defines it, from 1 to 21.
double contrastRatio(Colour a, Colour b);

// The wanted colour where it reads at 4.5:1 or better on the background; otherwise the same
// hue mixed with white (on a dark background) or black (on a light one) until it does.
Colour readableOn(Colour wanted, Colour background);

} // namespace kestrova
