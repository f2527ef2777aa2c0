// JPEG files through libjpeg (see jpeg_writer.h). libjpeg reports errors by
// calling error_exit, which must not return; ours jumps back into
// compress_rows, the one function that holds the setjmp and only plain data,
// so no C++ object is skipped by the jump.
#include "platform/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "platform/file_output.h"

namespace {

struct error_manager {
  jpeg_error_mgr pub;  // first: libjpeg sees a pointer to it
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void on_jpeg_error(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<error_manager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings are not printed; a corrupt-data warning cannot arise when writing.
extern "C" void on_jpeg_message(j_common_ptr) {}

// Compresses the rows into stream. Returns true, or false with message set
// from libjpeg. rgb is a buffer of width x 3 bytes.
bool compress_rows(std::FILE* stream, int width, int height, int quality, const jpeg_row_source* rows,
                   unsigned char* rgb, char* message, std::size_t message_size) {
  jpeg_compress_struct cinfo;
  error_manager err;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = on_jpeg_error;
  err.pub.output_message = on_jpeg_message;
  err.message[0] = '\0';
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    std::snprintf(message, message_size, "%s", err.message[0] ? err.message : "JPEG compression failed");
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, stream);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  for (int n = 0; n < height; ++n) {
    (*rows)(n, rgb);
    JSAMPROW row = rgb;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

bool jpeg_write_file(const std::string& path, int width, int height, int quality, const jpeg_row_source& rows,
                     std::string& error) {
  if (width < 1 || height < 1 || width > jpeg_max_dimension || height > jpeg_max_dimension) {
    error = "The image size " + std::to_string(width) + " x " + std::to_string(height) +
            " is outside 1 to " + std::to_string(jpeg_max_dimension) + " pixels.";
    return false;
  }
  if (!rows) {
    error = "No image rows to write.";
    return false;
  }
  if (quality < 1) quality = 1;
  if (quality > 100) quality = 100;
  std::vector<unsigned char> rgb;
  try {
    rgb.assign(static_cast<std::size_t>(width) * 3, 0);
  } catch (const std::bad_alloc&) {
    error = "Not enough memory for a JPEG row.";
    return false;
  }
  output_file file;
  if (!file.open(path, error)) return false;
  char message[JMSG_LENGTH_MAX + 64];
  if (!compress_rows(file.stream(), width, height, quality, &rows, rgb.data(), message, sizeof message)) {
    file.abandon();
    error = std::string("Cannot write ") + path + ": " + message;
    return false;
  }
  return file.commit(error);
}
