// Thinning of the picture's line (by pixel column) and points (by distance).
#include "cli/plot_thinning.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

std::vector<Point> ThinLine(const std::vector<Point>& stretch) {
  std::vector<Point> kept;
  for (std::size_t i = 0; i < stretch.size();) {
    double column = std::floor(stretch[i].x);
    std::size_t end = i, low = i, high = i;
    while (end < stretch.size() && std::floor(stretch[end].x) == column) {
      if (stretch[end].y > stretch[low].y) low = end;
      if (stretch[end].y < stretch[high].y) high = end;
      ++end;
    }
    std::size_t picks[4] = {i, std::min(low, high), std::max(low, high), end - 1};
    for (std::size_t j = 0; j < 4; ++j) {
      if (j == 0 || picks[j] != picks[j - 1]) kept.push_back(stretch[picks[j]]);
    }
    i = end;
  }
  return kept;
}

PointThinner::PointThinner(double left, double top, double right, double bottom)
    : left_(left - kPointSpacing), top_(top - kPointSpacing) {
  columns_ = static_cast<int>((right - left) / kPointSpacing) + 3;
  rows_ = static_cast<int>((bottom - top) / kPointSpacing) + 3;
  cells_.assign(static_cast<std::size_t>(columns_) * rows_, Point{-1, -1});
}

bool PointThinner::Keep(Point p) {
  int cx = static_cast<int>((p.x - left_) / kPointSpacing), cy = static_cast<int>((p.y - top_) / kPointSpacing);
  for (int y = cy - 1; y <= cy + 1; ++y) {
    for (int x = cx - 1; x <= cx + 1; ++x) {
      const Point* q = Cell(x, y);
      if (!q || q->x < 0) continue;
      const double dx = q->x - p.x, dy = q->y - p.y;
      if ((x == cx && y == cy) || dx * dx + dy * dy < kPointSpacing * kPointSpacing) return false;
    }
  }
  if (Point* own = Cell(cx, cy)) *own = p;
  return true;
}

Point* PointThinner::Cell(int x, int y) {
  if (x < 0 || y < 0 || x >= columns_ || y >= rows_) return nullptr;
  return &cells_[static_cast<std::size_t>(y) * columns_ + x];
}
