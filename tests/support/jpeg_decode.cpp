// Decodes a JPEG file with libjpeg for tests (see jpeg_decode.h).
#include "tests/support/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jpeglib.h>
}

namespace {

struct decode_error {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void on_decode_error(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<decode_error*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Plain data only between setjmp and the jumps into it.
bool decode_stream(std::FILE* f, int* width, int* height, unsigned char** pixels, char* message) {
  jpeg_decompress_struct cinfo;
  decode_error err;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = on_decode_error;
  *pixels = nullptr;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    std::strcpy(message, err.message);
    delete[] *pixels;
    *pixels = nullptr;
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, f);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  *width = static_cast<int>(cinfo.output_width);
  *height = static_cast<int>(cinfo.output_height);
  std::size_t stride = static_cast<std::size_t>(*width) * 3;
  *pixels = new unsigned char[stride * static_cast<std::size_t>(*height)];
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = *pixels + stride * cinfo.output_scanline;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

bool decode_jpeg_file(const std::string& path, decoded_jpeg& out, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = "cannot open " + path;
    return false;
  }
  char message[JMSG_LENGTH_MAX] = "";
  int w = 0, h = 0;
  unsigned char* pixels = nullptr;
  bool ok = decode_stream(f, &w, &h, &pixels, message);
  std::fclose(f);
  if (!ok) {
    error = message;
    return false;
  }
  out.width = w;
  out.height = h;
  out.rgb.assign(pixels, pixels + static_cast<std::size_t>(w) * h * 3);
  delete[] pixels;
  return true;
}
