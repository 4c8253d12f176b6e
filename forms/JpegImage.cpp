#include "forms/JpegImage.h"

#include <QFile>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace md::forms {

namespace {

// libjpeg reports a fatal error through error_exit, which must not return: it jumps back to
// the decoder with the message kept here.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onFatal(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (a truncated file, say) are not printed: a picture that decodes is shown.
void onMessage(j_common_ptr) {}

// Larger pictures are refused rather than allocated (libjpeg allows 65500 by 65500).
constexpr std::size_t kMaxPixels = std::size_t(1) << 26;

// The decoded picture in plain memory, so that nothing with a destructor lives between setjmp
// and longjmp.
struct Pixels {
    unsigned char* rgb = nullptr;  // malloc'd, width * height * 3 bytes
    unsigned width = 0;
    unsigned height = 0;
};

bool decodeInto(const unsigned char* data, unsigned long size, Pixels* out, ErrorManager* errors) {
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&errors->pub);
    errors->pub.error_exit = onFatal;
    errors->pub.output_message = onMessage;
    errors->message[0] = '\0';
    if (setjmp(errors->jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::free(out->rgb);
        out->rgb = nullptr;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out->width = cinfo.output_width;
    out->height = cinfo.output_height;
    if (std::size_t(out->width) * out->height > kMaxPixels) {
        std::snprintf(errors->message, sizeof errors->message, "Picture too large: %u x %u",
                      out->width, out->height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const std::size_t stride = std::size_t(out->width) * 3;
    out->rgb = static_cast<unsigned char*>(std::malloc(stride * out->height));
    if (!out->rgb) {
        std::strcpy(errors->message, "Insufficient memory");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->rgb + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& data, QString* error) {
    if (data.isEmpty()) {
        if (error)
            *error = QStringLiteral("Empty JPEG data");
        return {};
    }
    Pixels pixels;
    ErrorManager errors;
    if (!decodeInto(reinterpret_cast<const unsigned char*>(data.constData()),
                    static_cast<unsigned long>(data.size()), &pixels, &errors)) {
        if (error)
            *error = QString::fromLocal8Bit(errors.message);
        return {};
    }
    QImage image(int(pixels.width), int(pixels.height), QImage::Format_RGB888);
    if (image.isNull()) {
        std::free(pixels.rgb);
        if (error)
            *error = QStringLiteral("Insufficient memory");
        return {};
    }
    const std::size_t stride = std::size_t(pixels.width) * 3;
    for (unsigned y = 0; y < pixels.height; ++y)
        std::memcpy(image.scanLine(int(y)), pixels.rgb + stride * y, stride);
    std::free(pixels.rgb);
    return image;
}

QImage LoadJpeg(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    return DecodeJpeg(file.readAll(), error);
}

}  // namespace md::forms
