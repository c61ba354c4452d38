#include "shared/ThemePalettes.h"

#include <array>
#include <atomic>

namespace Velmora::Shared {

namespace {

// Name, style name, window, window text, control, control text, accent, accent text, caption,
// caption text, dark. Our own colours, one palette per theme.
constexpr std::array<TThemePalette, 39> Palettes{{
    {u"Amakrits", "AMAKRITS", 0x2E2A26, 0xE8DCCB, 0x3A342E, 0xF0E4D2, 0xD9822B, 0x1A1A1A, 0x231F1C, 0xE8DCCB, true},
    {u"Amethyst Kamri", "AMETHYSTKAMRI", 0xEDE7F3, 0x2A1F38, 0xFFFFFF, 0x2A1F38, 0x7B4FA8, 0xFFFFFF, 0x5E3A86, 0xFFFFFF,
     false},
    {u"Aqua Graphite", "AQUAGRAPHITE", 0x3B3F44, 0xE6EEF2, 0x4A4F55, 0xF2F6F8, 0x3FA7C9, 0x0E1A20, 0x2D3034, 0xE6EEF2,
     true},
    {u"Aqua Light Slate", "AQUALIGHTSLATE", 0xE4ECF0, 0x1E2B33, 0xFFFFFF, 0x1E2B33, 0x2D9CC2, 0xFFFFFF, 0x6D8794,
     0xFFFFFF, false},
    {u"Auric", "AURIC", 0x2B2A26, 0xF1E7C9, 0x3A3830, 0xF7EED4, 0xD4AF37, 0x1C1A12, 0x1F1E1A, 0xF1E7C9, true},
    {u"Carbon", "CARBON", 0x262626, 0xE0E0E0, 0x333333, 0xEDEDED, 0x5A8DEE, 0xFFFFFF, 0x1B1B1B, 0xE0E0E0, true},
    {u"Charcoal Dark Slate", "CHARCOALDARKSLATE", 0x2F3437, 0xDDE3E6, 0x3B4145, 0xE8EDEF, 0x7FA0B3, 0x101418, 0x24282B,
     0xDDE3E6, true},
    {u"Cobalt XEMedia", "COBALTXEMEDIA", 0x1E2A3A, 0xDCE6F2, 0x2A3A50, 0xE8F0F8, 0x2F7BEA, 0xFFFFFF, 0x152031, 0xDCE6F2,
     true},
    {u"Cyan Dusk", "CYANDUSK", 0x243238, 0xD8EEF2, 0x2F4249, 0xE6F6F9, 0x22B8CF, 0x06202A, 0x1B262B, 0xD8EEF2, true},
    {u"Cyan Night", "CYANNIGHT", 0x1A2329, 0xCFE9EE, 0x243039, 0xDFF3F6, 0x13A8BE, 0x041A20, 0x131A1F, 0xCFE9EE, true},
    {u"Emerald Light Slate", "EMERALDLIGHTSLATE", 0xE5EDEA, 0x1D2B26, 0xFFFFFF, 0x1D2B26, 0x2E9E6B, 0xFFFFFF, 0x5E7F72,
     0xFFFFFF, false},
    {u"Glossy", "GLOSSY", 0x2A2D33, 0xECEFF4, 0x3A3F47, 0xF4F6FA, 0x4C9AFF, 0xFFFFFF, 0x1E2126, 0xECEFF4, true},
    {u"Glow", "GLOW", 0x1F1F2B, 0xE4E4F5, 0x2B2B3C, 0xEFEFFA, 0xB45CFF, 0xFFFFFF, 0x171722, 0xE4E4F5, true},
    {u"Golden Graphite", "GOLDENGRAPHITE", 0x35332F, 0xEDE5D3, 0x45423C, 0xF5EEDD, 0xC9A227, 0x1E1A0C, 0x292724,
     0xEDE5D3, true},
    {u"Iceberg Classico", "ICEBERGCLASSICO", 0xEAF1F6, 0x1B2A36, 0xFFFFFF, 0x1B2A36, 0x3F7FBF, 0xFFFFFF, 0x9DB8CC,
     0x10202C, false},
    {u"Lavender Classico", "LAVENDERCLASSICO", 0xEEEAF5, 0x2B2438, 0xFFFFFF, 0x2B2438, 0x8A6FC2, 0xFFFFFF, 0xB3A5D3,
     0x1E1830, false},
    {u"Light", "LIGHT", 0xF3F3F3, 0x1F1F1F, 0xFFFFFF, 0x1F1F1F, 0x0078D4, 0xFFFFFF, 0xE6E6E6, 0x1F1F1F, false},
    {u"Luna", "LUNA", 0xECE9D8, 0x000000, 0xFFFFFF, 0x000000, 0x316AC5, 0xFFFFFF, 0x0A5ADF, 0xFFFFFF, false},
    {u"Metropolis UI Black", "METROPOLISUIBLACK", 0x111111, 0xF0F0F0, 0x1E1E1E, 0xF5F5F5, 0x1BA1E2, 0xFFFFFF, 0x000000,
     0xF0F0F0, true},
    {u"Metropolis UI Blue", "METROPOLISUIBLUE", 0x0F3A5F, 0xEAF3FA, 0x174A75, 0xF2F8FC, 0x5BC0EB, 0x062033, 0x0A2C49,
     0xEAF3FA, true},
    {u"Metropolis UI Dark", "METROPOLISUIDARK", 0x202020, 0xEDEDED, 0x2D2D2D, 0xF2F2F2, 0x00A2ED, 0xFFFFFF, 0x171717,
     0xEDEDED, true},
    {u"Metropolis UI Green", "METROPOLISUIGREEN", 0x113D2A, 0xE7F5EE, 0x184D36, 0xF0FAF4, 0x3CCB7F, 0x05200F, 0x0C2F20,
     0xE7F5EE, true},
    {u"Obsidian", "OBSIDIAN", 0x1C1B22, 0xDAD8E3, 0x28262F, 0xE6E4EE, 0x6C63FF, 0xFFFFFF, 0x141319, 0xDAD8E3, true},
    {u"Onyx Blue", "ONYXBLUE", 0x1B1F27, 0xD9E2F0, 0x262C37, 0xE5ECF7, 0x3D7EDB, 0xFFFFFF, 0x13161C, 0xD9E2F0, true},
    {u"Ruby Graphite", "RUBYGRAPHITE", 0x33302F, 0xEFE3E1, 0x433E3D, 0xF6ECEA, 0xC0392B, 0xFFFFFF, 0x272423, 0xEFE3E1,
     true},
    {u"Sapphire Kamri", "SAPPHIREKAMRI", 0xE6ECF5, 0x172338, 0xFFFFFF, 0x172338, 0x2456A6, 0xFFFFFF, 0x1F4688, 0xFFFFFF,
     false},
    {u"Silver", "SILVER", 0xE3E5E8, 0x202428, 0xF7F8F9, 0x202428, 0x6B7B8C, 0xFFFFFF, 0xC4C9CF, 0x202428, false},
    {u"Sky", "SKY", 0xE7F2FB, 0x12263A, 0xFFFFFF, 0x12263A, 0x3A9AD9, 0xFFFFFF, 0x8CC3EA, 0x0C1E2E, false},
    {u"Slate Classico", "SLATECLASSICO", 0xE2E6EA, 0x222A31, 0xF6F7F8, 0x222A31, 0x5D7386, 0xFFFFFF, 0x8E9DAA, 0xFFFFFF,
     false},
    {u"Smokey Quartz Kamri", "SMOKEYQUARTZKAMRI", 0xECE8E6, 0x2E2724, 0xFFFFFF, 0x2E2724, 0x8C6E63, 0xFFFFFF, 0x6F5A52,
     0xFFFFFF, false},
    {u"Tablet Dark", "TABLETDARK", 0x2B2B2B, 0xF2F2F2, 0x3A3A3A, 0xFFFFFF, 0x2D89EF, 0xFFFFFF, 0x1F1F1F, 0xF2F2F2,
     true},
    {u"Tablet Light", "TABLETLIGHT", 0xF7F7F7, 0x202020, 0xFFFFFF, 0x202020, 0x2D89EF, 0xFFFFFF, 0xEDEDED, 0x202020,
     false},
    {u"Turquoise Gray", "TURQUOISEGRAY", 0xE4E8E8, 0x1F2A2A, 0xFFFFFF, 0x1F2A2A, 0x1ABC9C, 0xFFFFFF, 0x7F8C8D, 0xFFFFFF,
     false},
    {u"Windows10", "WINDOWS", 0xF0F0F0, 0x000000, 0xFFFFFF, 0x000000, 0x0078D7, 0xFFFFFF, 0xFFFFFF, 0x000000, false},
    {u"Windows10 Blue", "WINDOWSBLUE", 0xE9F1FA, 0x0B1F33, 0xFFFFFF, 0x0B1F33, 0x0063B1, 0xFFFFFF, 0x0063B1, 0xFFFFFF,
     false},
    {u"Windows10 Dark", "WINDOWSDARK", 0x202020, 0xFFFFFF, 0x2B2B2B, 0xFFFFFF, 0x0078D7, 0xFFFFFF, 0x000000, 0xFFFFFF,
     true},
    {u"Windows10 Green", "WINDOWSGREEN", 0xEAF5EC, 0x0E2A14, 0xFFFFFF, 0x0E2A14, 0x10893E, 0xFFFFFF, 0x10893E, 0xFFFFFF,
     false},
    {u"Windows10 Purple", "WINDOWSPURPLE", 0xF1ECF6, 0x24163A, 0xFFFFFF, 0x24163A, 0x744DA9, 0xFFFFFF, 0x744DA9,
     0xFFFFFF, false},
    {u"Windows10 SlateGray", "WINDOWSSLATEGRAY", 0xE8EBEE, 0x1C2329, 0xFFFFFF, 0x1C2329, 0x515C6B, 0xFFFFFF, 0x515C6B,
     0xFFFFFF, false},
}};

// The platform look first, then every palette.
constexpr std::array<TextView, 40> Names = [] {
    std::array<TextView, 40> names{PlatformThemeName};
    for (size_t i = 0; i < Palettes.size(); ++i) names[i + 1] = Palettes[i].Name;
    return names;
}();

} // namespace

std::span<const TextView> ThemeNames() { return Names; }

const TThemePalette* FindThemePalette(TextView name) {
    for (const auto& palette : Palettes)
        if (palette.Name == name) return &palette;
    return nullptr;
}

namespace {

// Palettes are static data, so a pointer is enough; atomic because platform code may read it
// while painting on behalf of another thread's message.
std::atomic<const TThemePalette*>& ThemeInForce() {
    static std::atomic<const TThemePalette*> palette{nullptr};
    return palette;
}

} // namespace

const TThemePalette* ActiveThemePalette() { return ThemeInForce().load(); }

void SetActiveThemePalette(const TThemePalette* palette) { ThemeInForce().store(palette); }

} // namespace Velmora::Shared
