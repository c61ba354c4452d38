// GTK: the busy indicator of the installation window (see ActivityIndicator.h).
#include "platform/gtk/ActivityIndicator.h"

#include <algorithm>
#include <cmath>

namespace Velmora::Platform {

namespace {

constexpr const char* StateKey = "velmora-activity-indicator";
constexpr double Pi = 3.14159265358979323846;

struct IndicatorState {
    TIndicatorKind Kind = TIndicatorKind::MomentumDots;
    bool White = false;
};

IndicatorState* State(GtkWidget* indicator) {
    return static_cast<IndicatorState*>(g_object_get_data(G_OBJECT(indicator), StateKey));
}

double Smoothstep(double p) {
    p = std::clamp(p, 0.0, 1.0);
    return p * p * (3.0 - 2.0 * p);
}

// Five dots that chase each other round the circle, speeding up and slowing down.
void DrawMomentumDots(cairo_t* cr, double c, double radius, double seconds) {
    constexpr double Period = 1.6, Stagger = 0.12;
    const double phase = std::fmod(seconds, Period) / Period;
    const double dot = radius / 6.0;
    for (int i = 0; i < 5; ++i) {
        const double angle = 2.0 * Pi * Smoothstep(phase * 1.6 - i * Stagger) - Pi / 2.0;
        cairo_arc(cr, c + (radius - dot) * std::cos(angle), c + (radius - dot) * std::sin(angle), dot, 0.0, 2.0 * Pi);
        cairo_fill(cr);
    }
}

// A quarter of a thick ring turning once a second.
void DrawRotatingSector(cairo_t* cr, double c, double radius, double seconds) {
    const double width = radius / 4.0;
    const double start = 2.0 * Pi * std::fmod(seconds, 1.0) - Pi / 2.0;
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, c, c, radius - width / 2.0, start, start + Pi / 2.0);
    cairo_stroke(cr);
}

// Eight segments of a ring; the lit one moves on and the ones behind it fade.
void DrawSectorRing(cairo_t* cr, double c, double radius, double seconds, bool white) {
    constexpr int Segments = 8;
    const int lit = static_cast<int>(std::floor(seconds * Segments)) % Segments;
    const double width = radius / 3.0, gap = 0.12;
    cairo_set_line_width(cr, width);
    for (int i = 0; i < Segments; ++i) {
        const double alpha = 1.0 - static_cast<double>((lit - i + Segments) % Segments) / Segments;
        const double v = white ? 1.0 : 0.0;
        cairo_set_source_rgba(cr, v, v, v, std::max(alpha, 0.15));
        const double start = 2.0 * Pi * i / Segments - Pi / 2.0;
        cairo_arc(cr, c, c, radius - width / 2.0, start + gap, start + 2.0 * Pi / Segments - gap);
        cairo_stroke(cr);
    }
}

gboolean Draw(GtkWidget* indicator, cairo_t* cr, gpointer) {
    const IndicatorState* state = State(indicator);
    const double size = std::min(gtk_widget_get_allocated_width(indicator), gtk_widget_get_allocated_height(indicator));
    GdkFrameClock* clock = gtk_widget_get_frame_clock(indicator);
    const double seconds =
        static_cast<double>(clock ? gdk_frame_clock_get_frame_time(clock) : g_get_monotonic_time()) / 1e6;
    const double v = state->White ? 1.0 : 0.0;
    cairo_set_source_rgb(cr, v, v, v);
    const double c = size / 2.0, radius = size / 2.0 - 1.0;
    switch (state->Kind) {
        case TIndicatorKind::RotatingSector: DrawRotatingSector(cr, c, radius, seconds); break;
        case TIndicatorKind::SectorRing: DrawSectorRing(cr, c, radius, seconds, state->White); break;
        default: DrawMomentumDots(cr, c, radius, seconds); break;
    }
    return FALSE;
}

gboolean Tick(GtkWidget* indicator, GdkFrameClock*, gpointer) {
    gtk_widget_queue_draw(indicator);
    return G_SOURCE_CONTINUE;
}

void FreeState(gpointer state) { delete static_cast<IndicatorState*>(state); }

} // namespace

GtkWidget* NewActivityIndicator(int Size) {
    GtkWidget* indicator = gtk_drawing_area_new();
    gtk_widget_set_size_request(indicator, Size, Size);
    g_object_set_data_full(G_OBJECT(indicator), StateKey, new IndicatorState, FreeState);
    g_signal_connect(indicator, "draw", G_CALLBACK(Draw), nullptr);
    gtk_widget_add_tick_callback(indicator, Tick, nullptr, nullptr);
    return indicator;
}

void SetActivityIndicatorKind(GtkWidget* indicator, std::int32_t Kind) {
    State(indicator)->Kind = Kind == 1   ? TIndicatorKind::RotatingSector
                             : Kind == 2 ? TIndicatorKind::SectorRing
                                         : TIndicatorKind::MomentumDots;
    gtk_widget_queue_draw(indicator);
}

void SetActivityIndicatorWhite(GtkWidget* indicator, bool White) {
    State(indicator)->White = White;
    gtk_widget_queue_draw(indicator);
}

} // namespace Velmora::Platform
