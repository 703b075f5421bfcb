// The Qt image plugin: C64 pictures through QImageReader in any Qt program (built for Qt 6
// and for Qt 5). The handler reads the device once, decodes with the format registry and
// hands out an indexed QImage in the picture's own palette. Decode layer and Qt Gui only.
#pragma once

#include <QImage>
#include <QImageIOHandler>
#include <QImageIOPlugin>
#include <optional>
#include <string>

namespace quendra::plugins {

class C64ImageHandler : public QImageIOHandler {
public:
    bool canRead() const override;
    bool read(QImage* image) override;
    bool supportsOption(ImageOption option) const override;
    QVariant option(ImageOption option) const override;

    // Whether the device (and its file's name, when it has one) holds a C64 picture by
    // the registry: extension, C64 name prefix or probe. Leaves the device where it was.
    static bool canRead(QIODevice* device);

private:
    // The name the road takes the device's bytes under: its file's name, or with none (a
    // buffer) a name with the format the caller named as its extension ("picture.pg").
    std::string nameOfInput() const;
    // Reads and decodes the device once; what read() and option(Size) both use.
    const QImage& picture() const;

    mutable std::optional<QImage> picture_; // null QImage: the file was refused
};

class C64ImagePlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QImageIOHandlerFactoryInterface" FILE
                      "quendra_imageformat.json")
public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override;
    QImageIOHandler* create(QIODevice* device,
                            const QByteArray& format = QByteArray()) const override;
};

} // namespace quendra::plugins
