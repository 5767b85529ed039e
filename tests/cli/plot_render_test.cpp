// The pictures of --plot as a real SVG renderer (rsvg-convert) draws them: the
// document must be read without complaint, and the pixels must show the points,
// the line and the gaps where the numbers put them.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/plot.h"

namespace {

struct Colour {
  int r, g, b;
};
constexpr Colour kPoint{0x1f, 0x77, 0xb4};
constexpr Colour kLine{0xd6, 0x27, 0x28};
constexpr Colour kDivisionByZeroMark{0x8c, 0x56, 0x4b};

struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgba;

  bool Is(int x, int y, Colour c) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    const unsigned char* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    return std::abs(p[0] - c.r) + std::abs(p[1] - c.g) + std::abs(p[2] - c.b) < 60;
  }
  // Pixels of the colour in the columns x0 to x1 between the rows y0 and y1.
  int Count(double x0, double x1, double y0, double y1, Colour c) const {
    int count = 0;
    for (int y = static_cast<int>(y0); y <= static_cast<int>(y1); ++y) {
      for (int x = static_cast<int>(x0); x <= static_cast<int>(x1); ++x) count += Is(x, y, c);
    }
    return count;
  }
  // Pixels of the line's red, also where it covers only part of a pixel or lies
  // over the points.
  int Reddish(double x0, double x1, double y0, double y1) const {
    int count = 0;
    for (int y = static_cast<int>(y0); y <= static_cast<int>(y1); ++y) {
      for (int x = static_cast<int>(x0); x <= static_cast<int>(x1); ++x) {
        const unsigned char* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        count += p[0] > p[1] + 60 && p[0] > p[2] + 60;
      }
    }
    return count;
  }
};

class PlotRender : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("rsvg-convert --version >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "rsvg-convert is missing (Debian package librsvg2-bin): the pictures are not rendered";
    dir_ = std::filesystem::temp_directory_path() / ("vantel_plot_render_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
  }

  // Runs vantel-cli with --plot and renders the file; *svg_size gets the file's size.
  Picture Plot(std::vector<std::string> args, std::uintmax_t* svg_size = nullptr) {
    const std::string svg = (dir_ / "plot.svg").string(), png = (dir_ / "plot.png").string();
    args.insert(args.begin(), {"--plot", svg});
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(args, out, err), kExitComputed) << err.str();
    if (svg_size) *svg_size = std::filesystem::file_size(svg);
    std::filesystem::remove(png);
    EXPECT_EQ(std::system(("rsvg-convert -o '" + png + "' '" + svg + "'").c_str()), 0);
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, png.c_str())) {
      ADD_FAILURE() << "no picture";
      return picture;
    }
    image.format = PNG_FORMAT_RGBA;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr));
    return picture;
  }

  std::filesystem::path dir_;
};

// A term that stops is a gap with its mark at the foot, and the line of the sums
// ends before it.
TEST_F(PlotRender, PointsLineAndGap) {
  const PlotFrame f = PlotFrameFor("1/(n-3)", 10);
  Picture p = Plot({"--lang", "en", "1/(n-3)", "10"});
  ASSERT_EQ(p.width, 800);
  for (int k : {1, 2, 4, 7, 10}) EXPECT_GT(p.Count(f.XOf(k) - 2, f.XOf(k) + 2, f.top, f.bottom, kPoint), 4) << k;
  EXPECT_EQ(p.Count(f.XOf(3) - 3, f.XOf(3) + 3, f.top, f.bottom, kPoint), 0);
  EXPECT_GT(p.Count(f.XOf(3) - 2, f.XOf(3) + 2, f.bottom - 12, f.bottom, kDivisionByZeroMark), 4);
  EXPECT_GT(p.Count(f.XOf(1.4), f.XOf(1.6), f.top, f.bottom, kLine), 0);  // from S_1 to S_2
  EXPECT_EQ(p.Count(f.XOf(6), f.right, f.top, f.bottom, kLine), 0);
}

// On the logarithmic axis the negative terms are left out; the sums are all there.
TEST_F(PlotRender, LogarithmicAxisLeavesOutTheOtherSign) {
  const PlotFrame f = PlotFrameFor("(-1)^(n+1)/n", 9);
  Picture p = Plot({"--plot-y", "log", "(-1)^(n+1)/n", "9"});
  for (int k = 1; k <= 9; ++k) {
    int blue = p.Count(f.XOf(k) - 2, f.XOf(k) + 2, f.top, f.bottom, kPoint);
    if (k % 2)
      EXPECT_GT(blue, 4) << k;
    else
      EXPECT_EQ(blue, 0) << k;
    if (k < 9) {
      EXPECT_GT(p.Count(f.XOf(k + 0.5) - 1, f.XOf(k + 0.5) + 1, f.top, f.bottom, kLine), 0) << k;
    }
  }
}

// 65535 terms: a small file, the line to the last k, the points thinned but there;
// on a logarithmic axis also when every other sum is left out.
TEST_F(PlotRender, LargestN) {
  const PlotFrame f = PlotFrameFor("1/n", 65535);
  std::uintmax_t size = 0;
  Picture p = Plot({"1/n", "65535"}, &size);
  EXPECT_LT(size, 100000u);
  EXPECT_GT(p.Count(f.XOf(65535) - 2, f.XOf(65535), f.top, f.bottom, kLine), 0);
  EXPECT_GT(p.Count(f.XOf(60000), f.XOf(65535), f.top, f.bottom, kPoint), 100);
  EXPECT_GT(p.Count(f.left, f.right, f.top, f.bottom, kPoint), 1000);
  for (const char* alternating : {"(-1)^n", "(-1)^n*n"}) {
    SCOPED_TRACE(alternating);
    p = Plot({"--plot-y", "log", alternating, "65535"}, &size);
    EXPECT_LT(size, 100000u);
    EXPECT_GT(p.Reddish(f.XOf(30000), f.XOf(30000) + 1, f.top, f.bottom), 0);
    EXPECT_GT(p.Reddish(f.XOf(65535) - 2, f.XOf(65535), f.top, f.bottom), 0);
  }
}

// Sums left out on a logarithmic axis break the line where the gap can be seen.
TEST_F(PlotRender, LeftOutSumsBreakTheLine) {
  const PlotFrame f = PlotFrameFor("(-1)^n", 40);
  Picture p = Plot({"--plot-y", "log", "(-1)^n", "40"});
  for (int k = 1; k < 40; k += 2) EXPECT_EQ(p.Reddish(f.XOf(k + 0.5), f.XOf(k + 1.5), f.top, f.bottom), 0) << k;
}

}  // namespace
