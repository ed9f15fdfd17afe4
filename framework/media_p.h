#pragma once
// The Qt side of a Picture, for framework code that paints one.

#include <QImage>
#include <QPixmap>

#include "framework/media.h"

namespace fw {

struct Picture::Impl {
    QImage image;           // decoded once, in a format that paints without conversion
    mutable QPixmap pixmap;  // lazily made, for painting

    // Only valid while a QGuiApplication exists, so it is made at the first paint
    // rather than at load time.
    const QPixmap& Pixmap() const;
};

}  // namespace fw
