// Thinning the drawn data of a picture to what can be seen at its size: up to
// 65535 terms and sums become a few thousand points and line corners.
#pragma once

#include <vector>

// A place in the picture, in pixels.
struct Point {
  double x, y;
};

// The corners of one stretch of the line that look the same as all its points.
// With more points than pixel columns, each column keeps its first, lowest,
// highest and last point, in the order of the stretch.
std::vector<Point> ThinLine(const std::vector<Point>& stretch);

// Keeps the points that do not overlap the ones kept before: a point closer
// than kPointSpacing to a kept one, or in the same cell of a grid of that
// spacing, is left out.
class PointThinner {
 public:
  static constexpr double kPointSpacing = 3;

  // The area the points lie in.
  PointThinner(double left, double top, double right, double bottom);
  // True when the point is kept (and is then one the next ones are checked against).
  bool Keep(Point p);

 private:
  Point* Cell(int x, int y);
  double left_, top_;
  int columns_ = 0, rows_ = 0;
  std::vector<Point> cells_;
};
