#pragma once
// The 16 HTML colour names shared by the whole program.  The index is the
// one the settings file stores and the order in which lists offer them; the
// easy colour menu lists them in an order of its own.

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>

struct NamedColor {
    const char* name;     // "Black" ... "White"
    std::uint32_t rgb;    // 0xRRGGBB
};

inline constexpr int kNamedColorCount = 16;

inline constexpr std::array<NamedColor, kNamedColorCount> kNamedColors = {{
    {"Black", 0x000000},   {"Maroon", 0x800000}, {"Green", 0x008000},  {"Olive", 0x808000},
    {"Navy", 0x000080},    {"Purple", 0x800080}, {"Teal", 0x008080},   {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},  {"Red", 0xFF0000},    {"Lime", 0x00FF00},   {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},    {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF},
}};

// Index of the colour with exactly this RGB value, or -1.
int namedColorIndex(std::uint32_t rgb);
// The same for a QColor (its 8-bit red, green and blue); -1 when invalid.
int namedColorIndex(const QColor& color);
// The colour of an index; an invalid QColor outside 0-15.
QColor namedColor(int index);

// The easy colour menu's items in menu order, each naming its colour by
// index: Navy stands fourth and Blue fourteenth.
struct EasyColorItem {
    const char* objectName;
    const char* caption;
    int index;
};
inline constexpr std::array<EasyColorItem, kNamedColorCount> kEasyColorItems = {{
    {"Black1", "Black(&B)", 0},       {"Maroon1", "Maroon(&M)", 1},
    {"GreenD1", "Green(&D)", 2},      {"Blue1", "Navy(&N)", 4},
    {"OliveO1", "Olive(&O)", 3},      {"Purple1", "Purple(&P)", 5},
    {"TealT1", "Teal(&T)", 6},        {"Gray1", "Gray(&G)", 7},
    {"Silver1", "Silver(&S)", 8},     {"RedR1", "Red(&R)", 9},
    {"LimeL1", "Lime(&L)", 10},       {"YellowY1", "Yellow(&Y)", 11},
    {"FuchsiaF1", "Fuchsia(&F)", 13}, {"BlueA1", "Blue(&A)", 12},
    {"Aqua1", "Aqua(&S)", 14},        {"White1", "White(&W)", 15},
}};

// The text that names a colour in a page: its name in double quotes
// ("Navy"); empty outside 0-15.
QString quotedColorName(int index);
// The colour picker's code: '"#RRGGBB"', two upper-case hexadecimal digits
// per component (each clamped to 0-255), quotes included.
QString colorCode(int red, int green, int blue);
