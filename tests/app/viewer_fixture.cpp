#include "viewer_fixture.h"

#include "app/main_window.h"

namespace quendra::testing {

QImage expectedPicture(Decoded (*decode)(Bytes, const DecodeOptions&),
                       const std::vector<std::uint8_t>& bytes, bool grey) {
    DecodeOptions options;
    options.grey = grey;
    const Decoded d = decode(bytes, options);
    EXPECT_TRUE(d.accepted) << d.reason;
    return toQImage(d.picture);
}

QImage blackTemplate() {
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

} // namespace quendra::testing
