// Median cut over the counted colours of all pictures, and error diffusion
// onto the palette it chooses.
#include "PaletteQuantizer.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

constexpr std::uint32_t Key(int red, int green, int blue) {
  return static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(green) << 8 |
         static_cast<std::uint32_t>(blue);
}

struct CountedColour {
  std::array<int, 3> channel;  // red, green, blue
  std::uint64_t count;
};

// A run of colours in the working list: [begin, end).
struct Box {
  std::size_t begin;
  std::size_t end;
  std::uint64_t count;
  int longestAxis;
  int range;  // of the longest axis
};

Box MakeBox(const std::vector<CountedColour>& colours, std::size_t begin, std::size_t end) {
  Box box{begin, end, 0, 0, 0};
  std::array<int, 3> low{255, 255, 255}, high{0, 0, 0};
  for (std::size_t i = begin; i < end; ++i) {
    box.count += colours[i].count;
    for (int c = 0; c < 3; ++c) {
      low[c] = std::min(low[c], colours[i].channel[c]);
      high[c] = std::max(high[c], colours[i].channel[c]);
    }
  }
  for (int c = 0; c < 3; ++c) {
    if (high[c] - low[c] > box.range) {
      box.range = high[c] - low[c];
      box.longestAxis = c;
    }
  }
  return box;
}

Rgb8 WeightedMean(const std::vector<CountedColour>& colours, const Box& box) {
  std::array<std::uint64_t, 3> sum{0, 0, 0};
  for (std::size_t i = box.begin; i < box.end; ++i)
    for (int c = 0; c < 3; ++c) sum[c] += static_cast<std::uint64_t>(colours[i].channel[c]) * colours[i].count;
  auto mean = [&](int c) { return static_cast<std::uint8_t>((sum[c] + box.count / 2) / box.count); };
  return {mean(0), mean(1), mean(2)};
}

// Splits the box at the weighted median of its longest side; both halves
// keep at least one colour.
std::pair<Box, Box> Split(std::vector<CountedColour>& colours, const Box& box) {
  const int axis = box.longestAxis;
  std::sort(colours.begin() + static_cast<std::ptrdiff_t>(box.begin),
            colours.begin() + static_cast<std::ptrdiff_t>(box.end),
            [axis](const CountedColour& a, const CountedColour& b) { return a.channel[axis] < b.channel[axis]; });
  std::uint64_t below = 0;
  std::size_t cut = box.begin + 1;
  for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
    below += colours[i].count;
    cut = i + 1;
    if (2 * below >= box.count) break;
  }
  return {MakeBox(colours, box.begin, cut), MakeBox(colours, cut, box.end)};
}

// Squared distance of two colours.
int Distance(const Rgb8& a, int red, int green, int blue) {
  const int dr = a.red - red, dg = a.green - green, db = a.blue - blue;
  return dr * dr + dg * dg + db * db;
}

std::uint8_t Clamp255(int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

void ColourHistogram::Add(const std::uint8_t* rgb, std::size_t pixels) {
  // Pictures are mostly long runs of one colour: count a run, then look it up once.
  std::size_t i = 0;
  while (i < pixels) {
    const std::uint8_t* p = rgb + 3 * i;
    std::size_t run = 1;
    while (i + run < pixels && p[3 * run] == p[0] && p[3 * run + 1] == p[1] && p[3 * run + 2] == p[2]) ++run;
    m_counts[Key(p[0], p[1], p[2])] += run;
    m_total += run;
    i += run;
  }
}

std::vector<Rgb8> MedianCutPalette(const ColourHistogram& histogram, int maxColours) {
  maxColours = std::clamp(maxColours, 1, 256);
  std::vector<CountedColour> colours;
  colours.reserve(histogram.DistinctColours());
  for (const auto& [key, count] : histogram.Counts())
    colours.push_back({{static_cast<int>(key >> 16), static_cast<int>(key >> 8 & 0xFF), static_cast<int>(key & 0xFF)},
                       count});
  // A fixed order, so that the palette does not depend on the hash table's.
  std::sort(colours.begin(), colours.end(), [](const CountedColour& a, const CountedColour& b) {
    return a.count != b.count ? a.count > b.count : a.channel < b.channel;
  });

  std::vector<Rgb8> palette;
  auto exact = [](const CountedColour& c) {
    return Rgb8{static_cast<std::uint8_t>(c.channel[0]), static_cast<std::uint8_t>(c.channel[1]),
                static_cast<std::uint8_t>(c.channel[2])};
  };
  if (colours.size() <= static_cast<std::size_t>(maxColours)) {
    for (const CountedColour& c : colours) palette.push_back(exact(c));
    return palette;
  }
  // The dominant colours, most frequent first, keep their own entries.
  std::size_t reserved = 0;
  const std::size_t maxReserved = static_cast<std::size_t>(maxColours) / 4;
  while (reserved < maxReserved && colours[reserved].count * 256 >= histogram.Total()) {
    palette.push_back(exact(colours[reserved]));
    ++reserved;
  }

  std::vector<Box> boxes{MakeBox(colours, reserved, colours.size())};
  const std::size_t boxLimit = static_cast<std::size_t>(maxColours) - reserved;
  while (boxes.size() < boxLimit) {
    // The box whose colours are most spread, weighted by how many pixels
    // they cover.
    std::size_t best = boxes.size();
    double bestScore = 0;
    for (std::size_t b = 0; b < boxes.size(); ++b) {
      if (boxes[b].end - boxes[b].begin < 2 || boxes[b].range == 0) continue;
      const double score = static_cast<double>(boxes[b].count) * boxes[b].range;
      if (score > bestScore) {
        bestScore = score;
        best = b;
      }
    }
    if (best == boxes.size()) break;
    const auto [low, high] = Split(colours, boxes[best]);
    boxes[best] = low;
    boxes.push_back(high);
  }
  for (const Box& box : boxes) palette.push_back(WeightedMean(colours, box));
  return palette;
}

PaletteMapper::PaletteMapper(std::vector<Rgb8> palette)
    : m_palette(std::move(palette)), m_cells(std::size_t{1} << 18, -1) {
  // The first of equal entries wins, as in the search.
  for (std::size_t i = m_palette.size(); i-- > 0;)
    m_exact[Key(m_palette[i].red, m_palette[i].green, m_palette[i].blue)] = static_cast<std::uint8_t>(i);
}

std::uint8_t PaletteMapper::Search(int red, int green, int blue) const {
  int best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < m_palette.size(); ++i) {
    const int d = Distance(m_palette[i], red, green, blue);
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return static_cast<std::uint8_t>(best);
}

std::uint8_t PaletteMapper::Nearest(int red, int green, int blue) {
  if (m_palette.empty()) return 0;
  if (const auto hit = m_exact.find(Key(red, green, blue)); hit != m_exact.end()) return hit->second;
  // Other colours: the entry nearest to the centre of their 6-6-6 cell.
  const std::size_t cell = static_cast<std::size_t>(red >> 2) << 12 | static_cast<std::size_t>(green >> 2) << 6 |
                           static_cast<std::size_t>(blue >> 2);
  if (m_cells[cell] < 0) m_cells[cell] = Search((red & ~3) + 2, (green & ~3) + 2, (blue & ~3) + 2);
  return static_cast<std::uint8_t>(m_cells[cell]);
}

void PaletteMapper::Diffuse(const std::uint8_t* rgb, int width, int height, std::uint8_t* indices) {
  if (width <= 0 || height <= 0) return;
  // Errors of this row and the next, in 1/16 steps, with a pixel of room at
  // either end.
  const std::size_t span = static_cast<std::size_t>(width) + 2;
  std::vector<int> current(3 * span, 0), next(3 * span, 0);
  for (int y = 0; y < height; ++y) {
    const bool leftToRight = y % 2 == 0;
    const int step = leftToRight ? 1 : -1;
    std::fill(next.begin(), next.end(), 0);
    for (int n = 0; n < width; ++n) {
      const int x = leftToRight ? n : width - 1 - n;
      const std::size_t pixel = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
      const std::size_t slot = static_cast<std::size_t>(x + 1);
      int wanted[3];
      for (int c = 0; c < 3; ++c) wanted[c] = Clamp255(rgb[3 * pixel + c] + (current[3 * slot + c] + 8) / 16);
      const std::uint8_t index = Nearest(wanted[0], wanted[1], wanted[2]);
      indices[pixel] = index;
      const Rgb8& got = m_palette[index];
      const int error[3] = {wanted[0] - got.red, wanted[1] - got.green, wanted[2] - got.blue};
      const std::size_t ahead = static_cast<std::size_t>(static_cast<int>(slot) + step);
      const std::size_t behind = static_cast<std::size_t>(static_cast<int>(slot) - step);
      for (int c = 0; c < 3; ++c) {
        current[3 * ahead + c] += error[c] * 7;
        next[3 * behind + c] += error[c] * 3;
        next[3 * slot + c] += error[c] * 5;
        next[3 * ahead + c] += error[c];
      }
    }
    std::swap(current, next);
  }
}
