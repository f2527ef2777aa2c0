// JPEG files through libjpeg, from RGB rows. A libjpeg error never ends the
// process: it returns here as a failure with libjpeg's own message, and the
// partial file is removed (the target keeps what it held).
#pragma once
#include <functional>
#include <string>

// Largest width or height a JPEG file can hold.
constexpr int jpeg_max_dimension = 65500;

// Fills rgb (width x 3 bytes: red, green, blue per pixel) with image row
// `row` (0 is the top row).
using jpeg_row_source = std::function<void(int row, unsigned char* rgb)>;

// Writes a baseline JPEG of width x height pixels at quality (clamped to
// 1..100) to path. Returns true, or false with error set: a size outside
// 1..jpeg_max_dimension, memory, the file that cannot be created or written,
// or any error libjpeg reports.
bool jpeg_write_file(const std::string& path, int width, int height, int quality, const jpeg_row_source& rows,
                     std::string& error);
