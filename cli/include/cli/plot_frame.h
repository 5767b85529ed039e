// The picture's value scale and where its plot area lies, shared by the units
// that compute the axes and the data and by the picture itself.
#pragma once

enum class PlotScale { kLinear, kLog };

// Where the plot area lies in the picture, in pixels, and where a k falls in it.
struct PlotFrame {
  double left, top, right, bottom;
  double x_min, x_max;  // the k at the left and right edges
  double inset;         // the ends of the value axis lie this far inside the frame
  double XOf(double k) const { return left + (k - x_min) / (x_max - x_min) * (right - left); }
  // The height of the share (0 to 1) of the value axis below a value.
  double YOf(double share) const { return bottom - inset - share * (bottom - top - 2 * inset); }
};
