#pragma once

// JPEG pictures decoded through libjpeg: the splash logo, and any JPEG the windows show.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace md::forms {

// Decodes a JPEG held in memory into an RGB image. A null image when the data is not a JPEG
// libjpeg can read; `error` then receives libjpeg's text.
QImage DecodeJpeg(const QByteArray& data, QString* error = nullptr);

// Reads and decodes a JPEG file or Qt resource (":/..."); a null image when it cannot.
QImage LoadJpeg(const QString& path, QString* error = nullptr);

}  // namespace md::forms
