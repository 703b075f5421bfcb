// ZSoft PCX files as a QImage: one plane of 1 or 8 bits a pixel (8 bits with the
// 256-colour palette at the end), four planes of 1 bit (16 colours from the header) or
// three planes of 8 bits (true colour), each row run-length coded. Qt has no PCX reader.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace quendra {

// The picture, or a null image with `error` saying why not. Any bytes are safe.
QImage readPcx(const QByteArray& file, QString& error);

// Whether the bytes begin like a PCX file.
bool looksLikePcx(const QByteArray& file);

} // namespace quendra
