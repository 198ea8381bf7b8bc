#pragma once
// Colours of one row of a launcher's item list. Colours are 0x00BBGGRR and
// must already be resolved (no negative system-colour values).
#include <cstdint>

namespace kelvo {

struct ListColors {
    std::uint32_t background = 0;
    std::uint32_t text = 0;
};

struct RowState {
    bool selected = false;
    bool running = false; // the row text ends in the running marker
    bool oneClick = false;
};

struct RowPaint {
    std::uint32_t background = 0;
    std::uint32_t text = 0;
    bool bold = false; // forced bold; otherwise the list font's own style
};

std::uint32_t selectedRowBackground(std::uint32_t listBackground);
std::uint32_t runningRowBackground(std::uint32_t listBackground);
std::uint32_t oneClickTextColor(const ListColors& list);
RowPaint rowPaint(const ListColors& list, const RowState& row);

} // namespace kelvo
