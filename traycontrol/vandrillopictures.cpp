// SPDX-License-Identifier: GPL-3.0-or-later
#include "vandrillopictures.h"

#include <QList>
#include <array>

namespace {

constexpr int Width = 16;
constexpr int Height = 15;
using CharMap = std::array<const char *, Height>;

// The classic 16-colour palette; a map names each pixel by its hexadecimal index.
QList<QRgb> palette16()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QImage fromCharMap(const CharMap &rows)
{
    QImage image(Width, Height, QImage::Format_Indexed8);
    image.setColorTable(palette16());
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const int index = QByteArray(1, rows[y][x]).toInt(nullptr, 16);
            image.setPixel(x, y, uint(index));
        }
    }
    return image;
}

} // namespace

namespace VandrilloPictures {

QImage imgVandrillo()
{
    static const CharMap rows = {
        "8888888888888888", "8FFFFFFFFFFFFFF0", "8F444444444444F0", "8F4444444444F4F0",
        "8F777777777777F0", "8F7FFFFFFFFFF7F0", "8F7F00000FFFF7F0", "8F7FFFFFFFFFF7F0",
        "8F7F0000000FF7F0", "8F777777777777F0", "8FFFFFFFFFFFFFF0", "8777777778888870",
        "8777777778BACF70", "87777777787777F0", "0000000000000000",
    };
    return fromCharMap(rows);
}

QImage imgLogo()
{
    static const CharMap rows = {
        "FFFFFFFFFFFFFFFF", "F44FFFFFFFFFF44F", "F44FFFFFFFFFF44F", "FF44FFFFFFFF44FF",
        "FF44FFFFFFFF44FF", "FFF44FFFFFF44FFF", "FFF44FFFFFF44FFF", "FFFF44FFFF44FFFF",
        "FFFF44FFFF44FFFF", "FFFFF44FF44FFFFF", "FFFFF44FF44FFFFF", "FFFFFF4444FFFFFF",
        "FFFFFF4444FFFFFF", "FFFFFFF44FFFFFFF", "FFFFFFFFFFFFFFFF",
    };
    return fromCharMap(rows);
}

} // namespace VandrilloPictures
