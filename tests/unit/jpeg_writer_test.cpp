// The JPEG writer: files decoded again with libjpeg, sizes refused, and a
// write that fails part-way (a file-size limit) reported with no file left.
#include "platform/jpeg_writer.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstdio>

#include "tests/support/jpeg_decode.h"

namespace {

// Four quadrants: red, green, blue, white.
void quadrant_row(int width, int height, int row, unsigned char* rgb) {
  for (int x = 0; x < width; ++x) {
    bool right = x >= width / 2, bottom = row >= height / 2;
    unsigned char r = 0, g = 0, b = 0;
    if (!right && !bottom) r = 255;
    else if (right && !bottom) g = 255;
    else if (!right && bottom) b = 255;
    else r = g = b = 255;
    rgb[3 * x] = r;
    rgb[3 * x + 1] = g;
    rgb[3 * x + 2] = b;
  }
}

std::string temp_folder() {
  std::string t = std::string(std::getenv("TMPDIR") && *std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                  "/tov-jpeg-XXXXXX";
  if (!::mkdtemp(t.data())) return "/tmp";
  return t;
}

int entries_in(const std::string& folder) {
  DIR* d = ::opendir(folder.c_str());
  if (!d) return -1;
  int n = 0;
  while (dirent* e = ::readdir(d))
    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") ++n;
  ::closedir(d);
  return n;
}

long file_size(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

}  // namespace

TEST(JpegWriter, WritesWhatDecodesBack) {
  std::string folder = temp_folder();
  struct size_case {
    int width, height, quality;
  };
  const size_case cases[] = {{600, 800, 100}, {120, 90, 25}, {1, 1, 75}};
  long size_high = 0, size_low = 0;
  for (const size_case& c : cases) {
    std::string path = folder + "/out.jpg";
    std::string error;
    ASSERT_TRUE(jpeg_write_file(path, c.width, c.height, c.quality,
                                [&](int row, unsigned char* rgb) { quadrant_row(c.width, c.height, row, rgb); },
                                error))
        << error;
    decoded_jpeg img;
    ASSERT_TRUE(decode_jpeg_file(path, img, error)) << error;
    EXPECT_EQ(img.width, c.width);
    EXPECT_EQ(img.height, c.height);
    if (c.width >= 4) {
      const int tol = c.quality >= 90 ? 8 : 40;
      int qx = c.width / 4, qy = c.height / 4;
      EXPECT_NEAR(img.red(qx, qy), 255, tol);
      EXPECT_NEAR(img.green(qx, qy), 0, tol);
      EXPECT_NEAR(img.green(3 * qx, qy), 255, tol);
      EXPECT_NEAR(img.red(3 * qx, qy), 0, tol);
      EXPECT_NEAR(img.blue(qx, 3 * qy), 255, tol);
      EXPECT_NEAR(img.red(3 * qx, 3 * qy), 255, tol);
      EXPECT_NEAR(img.blue(3 * qx, 3 * qy), 255, tol);
    }
    if (c.width == 120) size_low = file_size(path);
    std::remove(path.c_str());
  }
  // A lower quality makes a smaller file for the same picture.
  std::string path = folder + "/q.jpg";
  std::string error;
  auto rows = [](int row, unsigned char* rgb) { quadrant_row(120, 90, row, rgb); };
  ASSERT_TRUE(jpeg_write_file(path, 120, 90, 100, rows, error)) << error;
  size_high = file_size(path);
  std::remove(path.c_str());
  EXPECT_LT(size_low, size_high);
  EXPECT_EQ(entries_in(folder), 0);
  ::rmdir(folder.c_str());
}

TEST(JpegWriter, RefusesBadSizesAndFolders) {
  std::string folder = temp_folder();
  std::string error;
  auto rows = [](int, unsigned char*) {};
  for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {-5, 10}, {65501, 10}, {10, 70000}}) {
    error.clear();
    EXPECT_FALSE(jpeg_write_file(folder + "/x.jpg", w, h, 90, rows, error)) << w << "x" << h;
    EXPECT_NE(error.find("outside"), std::string::npos) << error;
  }
  EXPECT_FALSE(jpeg_write_file(folder + "/missing/x.jpg", 10, 10, 90, rows, error));
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
  EXPECT_EQ(entries_in(folder), 0);
  ::rmdir(folder.c_str());
}

TEST(JpegWriter, FailedWriteIsReportedAndLeavesNoFile) {
  std::string folder = temp_folder();
  std::string path = folder + "/big.jpg";
  // An existing file must survive a failed write untouched.
  std::string keep = folder + "/keep.jpg";
  {
    std::FILE* f = std::fopen(keep.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fputs("old contents", f);
    std::fclose(f);
  }
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A file-size limit far below the image: every write past it fails.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &lim);
    auto noise = [](int row, unsigned char* rgb) {
      unsigned s = static_cast<unsigned>(row) * 2654435761u;
      for (int i = 0; i < 400 * 3; ++i) rgb[i] = static_cast<unsigned char>((s = s * 1103515245u + 12345u) >> 16);
    };
    std::string error;
    int code = 0;
    if (jpeg_write_file(path, 400, 400, 100, noise, error)) code |= 1;      // must fail
    if (error.empty()) code |= 2;                                           // and say why
    if (jpeg_write_file(keep, 400, 400, 100, noise, error)) code |= 4;
    std::_Exit(code);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(file_size(path), -1) << "no partial file";
  EXPECT_EQ(file_size(keep), 12) << "the old file is kept";
  EXPECT_EQ(entries_in(folder), 1) << "no temporary file left";
  std::remove(keep.c_str());
  ::rmdir(folder.c_str());
}
