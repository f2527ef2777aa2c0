// Decodes a JPEG file with libjpeg for tests: the pixels as RGB rows.
#pragma once
#include <string>
#include <vector>

struct decoded_jpeg {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // width x 3 bytes per row, top row first
  // Red, green and blue of pixel (x, y).
  int red(int x, int y) const { return rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
  int green(int x, int y) const { return rgb[(static_cast<std::size_t>(y) * width + x) * 3 + 1]; }
  int blue(int x, int y) const { return rgb[(static_cast<std::size_t>(y) * width + x) * 3 + 2]; }
};

// False (with error set) when the file cannot be read or is no JPEG.
bool decode_jpeg_file(const std::string& path, decoded_jpeg& out, std::string& error);
