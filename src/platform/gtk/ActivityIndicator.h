// GTK: the busy indicator of the installation window, drawn with cairo and animated by the
// widget's frame clock: momentum dots, a rotating sector or a sector ring, in black or white.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>

namespace Velmora::Platform {

enum class TIndicatorKind { MomentumDots = 0, RotatingSector = 1, SectorRing = 2 };

// A new drawing area of Size x Size pixels that animates while it is mapped. The kind and
// colour may change at any time; values outside the known ones fall back to dots and black.
GtkWidget* NewActivityIndicator(int Size);
void SetActivityIndicatorKind(GtkWidget* indicator, std::int32_t Kind);
void SetActivityIndicatorWhite(GtkWidget* indicator, bool White);

} // namespace Velmora::Platform
