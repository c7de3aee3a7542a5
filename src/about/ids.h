// Child-window ids of the About page (6000s).
#pragma once

namespace about::ids {

constexpr int TabSheet6 = 116;
constexpr int Bevel1 = 6000;
constexpr int Image1 = 6001;
constexpr int Label12 = 6002;
constexpr int Label13 = 6003;
constexpr int Label14 = 6004;
constexpr int Label15 = 6005;
constexpr int Label16 = 6006;

}  // namespace about::ids
