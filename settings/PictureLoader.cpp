#include "settings/PictureLoader.h"

#include "platform/DebugLog.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMovie>

#include <openjpeg.h>

namespace quillon {

TMyFileType PictureTypeOf(const QString &file)
{
    const QString ext = QFileInfo(file).suffix().toLower();
    if (ext == QLatin1String("png"))
        return ftPng;
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return ftJpg;
    if (ext == QLatin1String("gif"))
        return ftGif;
    if (ext == QLatin1String("zip"))
        return ftZip;
    if (ext == QLatin1String("jp2") || ext == QLatin1String("j2k") || ext == QLatin1String("jpc"))
        return ftJpg2000;
    if (ext == QLatin1String("bmp"))
        return ftBmp;
    if (ext == QLatin1String("emf"))
        return ftEmf;
    return ftNone;
}

namespace {

void quietHandler(const char *message, void *)
{
    qCDebug(lcQuillon) << "openjpeg:" << QByteArray(message).trimmed();
}

// The sample of component c at pixel i scaled to 8 bits.
int sample8(const opj_image_comp_t &c, std::size_t i)
{
    int v = c.data[i];
    if (c.sgnd)
        v += 1 << (c.prec - 1);
    if (c.prec > 8)
        v >>= (c.prec - 8);
    else if (c.prec < 8)
        v <<= (8 - c.prec);
    return std::clamp(v, 0, 255);
}

} // namespace

QImage LoadJpeg2000(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = f.read(12);
    f.close();
    // A bare codestream starts with SOC (FF 4F); anything else is read as a JP2 file.
    const bool codestream = head.size() >= 2 && uchar(head[0]) == 0xFF && uchar(head[1]) == 0x4F;
    opj_codec_t *codec = opj_create_decompress(codestream ? OPJ_CODEC_J2K : OPJ_CODEC_JP2);
    if (!codec)
        return {};
    opj_set_error_handler(codec, quietHandler, nullptr);
    opj_set_warning_handler(codec, quietHandler, nullptr);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    opj_stream_t *stream =
        opj_stream_create_default_file_stream(QFile::encodeName(file).constData(), OPJ_TRUE);
    opj_image_t *image = nullptr;
    QImage out;
    if (stream && opj_setup_decoder(codec, &parameters) && opj_read_header(stream, codec, &image) &&
        opj_decode(codec, stream, image) && opj_end_decompress(codec, stream) && image->numcomps > 0) {
        const opj_image_comp_t *comps = image->comps;
        const int w = int(comps[0].w), h = int(comps[0].h);
        bool sameSize = true;
        for (OPJ_UINT32 c = 1; c < image->numcomps; ++c)
            sameSize = sameSize && comps[c].w == comps[0].w && comps[c].h == comps[0].h;
        if (w > 0 && h > 0 && sameSize) {
            const bool colour = image->numcomps >= 3;
            const bool alpha = image->numcomps == 4 || image->numcomps == 2;
            out = QImage(w, h, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            for (int y = 0; y < h; ++y) {
                auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
                for (int x = 0; x < w; ++x) {
                    const std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
                    const int r = sample8(comps[0], i);
                    const int g = colour ? sample8(comps[1], i) : r;
                    const int b = colour ? sample8(comps[2], i) : r;
                    const int a = alpha ? sample8(comps[image->numcomps - 1], i) : 255;
                    line[x] = qRgba(r, g, b, a);
                }
            }
        }
    }
    if (image)
        opj_image_destroy(image);
    if (stream)
        opj_stream_destroy(stream);
    opj_destroy_codec(codec);
    if (out.isNull())
        qCWarning(lcQuillon) << "JPEG 2000 picture not decoded:" << file;
    return out;
}

bool LoadPicture(const QString &file, TMyFileType type, QImage &picture, std::unique_ptr<QMovie> *gifHolder)
{
    picture = QImage();
    if (gifHolder)
        gifHolder->reset();
    if (!QFileInfo(file).isFile())
        return false;
    const char *format = nullptr;
    switch (type) {
    case ftJpg2000:
        picture = LoadJpeg2000(file);
        return !picture.isNull();
    case ftPng:
        format = "png";
        break;
    case ftJpg:
        format = "jpeg";
        break;
    case ftGif:
        format = "gif";
        break;
    case ftBmp:
        format = "bmp";
        break;
    case ftZip:
    case ftEmf:
    case ftNone:
        qCWarning(lcQuillon) << "picture type not loadable:" << file;
        return false;
    }
    QImageReader reader(file, format);
    picture = reader.read();
    if (picture.isNull()) {
        qCWarning(lcQuillon) << "picture not loaded:" << file << reader.errorString();
        return false;
    }
    if (type == ftGif && gifHolder) {
        *gifHolder = std::make_unique<QMovie>(file, QByteArray("gif"));
        (*gifHolder)->jumpToFrame(0);
    }
    return true;
}

} // namespace quillon
