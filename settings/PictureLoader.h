#pragma once
// Pictures for the backgrounds, banners and splash windows, by the file's extension: Qt's own
// readers for bmp, jpg, gif and png, libopenjp2 for JPEG 2000. A GIF is also kept as a movie
// in the caller's holder, so that it can animate.
#include "settings/TOptionsU.h"

#include <QImage>
#include <QString>
#include <memory>

class QMovie;

namespace quillon {

// The picture type of a file by its extension; ftNone for anything else.
TMyFileType PictureTypeOf(const QString &file);

// Loads the file into `picture`; false (and `picture` null) when it cannot be read. With a
// holder, a GIF leaves its movie there and any other type empties it.
bool LoadPicture(const QString &file, TMyFileType type, QImage &picture,
                 std::unique_ptr<QMovie> *gifHolder = nullptr);

// A JPEG 2000 file (JP2 box format or a bare codestream) as an image; null when it cannot be
// decoded.
QImage LoadJpeg2000(const QString &file);

} // namespace quillon
