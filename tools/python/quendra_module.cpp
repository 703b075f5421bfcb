// quendra._quendra: the Python face of the readers (the package quendra re-exports it).
// Every picture takes the one road of a file (decode/open_picture.h), so a script sees the
// format, note and pixels the viewer and the converter show; a rejection is quendra.Error
// with the reader's reason. Decode layer only.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "decode/detect.h"
#include "decode/disk_image.h"
#include "decode/disk_pictures.h"
#include "decode/formats.h"
#include "decode/open_picture.h"
#include "decode/printable_name.h"
#include "mime/mime_types.h"
#include "plugins/picture_bytes.h"

namespace py = pybind11;

namespace {

using namespace quendra;

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A picture as read: the format that took it, what was odd about it, its palette indices.
struct Picture {
    std::string format;
    std::string note;
    IndexedImage image{0, 0};

    py::bytes indices() const {
        const auto indices = image.indices();
        return {reinterpret_cast<const char*>(indices.data()), indices.size()};
    }
    py::list palette() const {
        py::list colours;
        for (const Rgb& c : image.palette())
            colours.append(py::make_tuple(c.r, c.g, c.b));
        return colours;
    }
    py::bytes toRgb() const {
        Image rgb(0, 0);
        {
            py::gil_scoped_release free;
            rgb = image.toRgb();
        }
        return {reinterpret_cast<const char*>(rgb.data()),
                rgb.bytesPerLine() * static_cast<std::size_t>(rgb.height())};
    }
    std::string repr() const {
        return "<quendra.Picture " + format + " " + std::to_string(image.width()) + "x" +
               std::to_string(image.height()) + ">";
    }
};

// The picture of an accepted road, or the reader's reason as quendra.Error, after the
// file's name where it has one ("NINJA3.koa: not a C64 picture (...)").
Picture pictureOf(const C64Format* format, Decoded& decoded, const std::string& roadNote,
                  const std::string& name) {
    if (!format || !decoded.accepted) {
        const std::string reason = decoded.reason.empty() ? "not a C64 picture" : decoded.reason;
        throw Error(name.empty() ? reason : printableName(name) + ": " + reason);
    }
    Picture picture;
    picture.format = std::string(format->name);
    picture.note = roadNote;
    if (!decoded.note.empty())
        picture.note += (picture.note.empty() ? "" : "; ") + std::string(decoded.note);
    picture.image = std::move(decoded.picture);
    return picture;
}

// `bytes` holds the file's first bytes (all of them, or at least what the road reads),
// `size` the file's whole length.
Picture openBytes(Bytes bytes, std::uint64_t size, const std::string& name) {
    OpenedPicture opened;
    {
        py::gil_scoped_release free;
        opened = openPicture(bytes, size, name, DecodeOptions{});
    }
    return pictureOf(opened.format, opened.decoded, opened.note, name);
}

// A str, bytes or os.PathLike path as the file system's bytes (any name, even one that is
// no valid UTF-8).
std::filesystem::path pathOf(const py::object& source) {
    return py::module_::import("os").attr("fsencode")(source).cast<std::string>();
}

Picture openSource(const py::object& source, const std::optional<std::string>& name) {
    if (py::isinstance<py::bytes>(source) || py::isinstance<py::bytearray>(source) ||
        py::isinstance<py::memoryview>(source)) {
        const py::bytes copy =
            py::isinstance<py::bytes>(source)
                ? py::reinterpret_borrow<py::bytes>(source)
                : py::bytes(py::module_::import("builtins").attr("bytes")(source));
        const std::string_view data = copy;
        return openBytes({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()},
                         data.size(), name.value_or(""));
    }
    const std::filesystem::path path = pathOf(source);
    if (diskContainerForFile(path))
        throw Error(printableName(path.string()) +
                    " is a disk or tape image: quendra.entries() lists its files");
    // A name for a path: its extension chooses the format first, as the file's own would.
    std::error_code ec;
    if (name && std::filesystem::is_regular_file(path, ec)) {
        std::uint64_t size = 0;
        std::vector<std::uint8_t> bytes;
        {
            py::gil_scoped_release free;
            bytes = readFilePrefix(path, firstReadLimit(*name), &size);
        }
        if (bytes.empty() && size != 0)
            throw Error("cannot read " + printableName(path.string()));
        OpenedPicture opened = openPicture(bytes, size, *name, DecodeOptions{});
        return pictureOf(opened.format, opened.decoded, opened.note, path.string());
    }
    OpenedPicture opened;
    {
        py::gil_scoped_release free;
        opened = openPictureFile(path, DecodeOptions{});
    }
    return pictureOf(opened.format, opened.decoded, opened.note, path.string());
}

// A file of a disk or tape image; the image stays read while any of its entries lives.
struct Entry {
    std::shared_ptr<const DiskImage> disk;
    std::size_t index = 0;

    const DiskEntry& entry() const { return disk->entries()[index]; }
    Picture open() const {
        EntryPicture found;
        {
            py::gil_scoped_release free;
            found = decodeEntry(*disk, entry(), DecodeOptions{});
        }
        if (!found.format && found.decoded.reason.empty())
            found.decoded.reason =
                "a " + std::string(fileTypeName(entry().type)) + " file, no picture";
        return pictureOf(found.format, found.decoded, found.note, entry().name);
    }
};

std::vector<Entry> entriesOf(const py::object& source) {
    const std::filesystem::path path = pathOf(source);
    OpenedDisk opened;
    {
        py::gil_scoped_release free;
        opened = readDiskImage(path);
    }
    if (!opened.image)
        throw Error(printableName(path.string()) + ": " + opened.error);
    std::shared_ptr<const DiskImage> disk(std::move(opened.image));
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < disk->entries().size(); ++i)
        entries.push_back({disk, i});
    return entries;
}

py::list formatList() {
    py::list list;
    const std::vector<mime::MimeFormat> types = mime::mimeFormats();
    std::size_t next = 0;
    for (const C64Format& row : c64Formats()) {
        // mimeFormats() walks the same rows, leaving out those without an extension.
        if (std::ranges::all_of(row.extensions, [](std::string_view e) { return e.empty(); }))
            continue;
        const mime::MimeFormat& type = types.at(next++);
        py::dict format;
        format["name"] = std::string(row.name);
        format["extensions"] = type.extensions;
        format["mime_type"] = type.type;
        format["description"] = type.comment;
        list.append(format);
    }
    return list;
}

} // namespace

PYBIND11_MODULE(_quendra, m) {
    m.doc() = "Commodore 64 pictures read as the Quendra viewer reads them";
    py::register_exception<Error>(m, "Error", PyExc_ValueError);

    py::class_<Picture>(m, "Picture", "A C64 picture as read: palette indices and the palette")
        .def_readonly("format", &Picture::format, "the format that read it: 'Koala Painter'")
        .def_readonly("note", &Picture::note, "what was odd about it, or ''")
        .def_property_readonly("width", [](const Picture& p) { return p.image.width(); })
        .def_property_readonly("height", [](const Picture& p) { return p.image.height(); })
        .def_property_readonly("palette", &Picture::palette,
                               "the colours the indices stand for, (r, g, b) each")
        .def_property_readonly("indices", &Picture::indices,
                               "one palette index a pixel, row by row (width * height bytes)")
        .def("to_rgb", &Picture::toRgb, "the pixels as RGB bytes, row by row")
        .def("__repr__", &Picture::repr);

    py::class_<Entry>(m, "Entry", "A file of a disk or tape image")
        .def_property_readonly("name", [](const Entry& e) { return e.entry().name; })
        .def_property_readonly(
            "type", [](const Entry& e) { return std::string(fileTypeName(e.entry().type)); })
        .def_property_readonly("blocks", [](const Entry& e) { return e.entry().blocks; })
        .def_property_readonly("size", [](const Entry& e) { return e.entry().length; })
        .def_property_readonly("note", [](const Entry& e) { return e.entry().note; })
        .def_property_readonly(
            "picture_name", [](const Entry& e) { return pictureNameOf(e.entry()); },
            "the file name it is read under: 'PIC A FERRARI.koa'")
        .def("open", &Entry::open, "its picture; quendra.Error when it is none")
        .def("__repr__", [](const Entry& e) {
            return "<quendra.Entry " + e.entry().name + " " +
                   std::string(fileTypeName(e.entry().type)) + ">";
        });

    m.def("open", &openSource, py::arg("source"), py::arg("name") = py::none(),
          "The picture of a file (a path) or of its bytes. `name` is the file's name where the "
          "bytes have none (its extension chooses the format first); without one the bytes "
          "alone decide. Raises quendra.Error with the reason when no format takes it.");
    m.def("entries", &entriesOf, py::arg("path"),
          "The files of a D64, D71, D81, T64 or PC64 image, in its directory's order.");
    m.def("formats", &formatList,
          "Every format: name, extensions (without the dot), mime_type, description.");
    // For the Pillow plugin: whether a file is a C64 picture surely enough to claim it.
    m.def("_takes", [](py::bytes head, std::uint64_t size, const std::string& name) {
        const std::string_view data = head;
        return plugins::takesFile({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()},
                                  size, name);
    });
    m.def("_open_prefix", [](py::bytes head, std::uint64_t size, const std::string& name) {
        const std::string_view data = head;
        return openBytes({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}, size,
                         name);
    });
    m.attr("_detection_limit") = kDetectionReadLimit;
    m.attr("_read_limit") = plugins::wholeReadLimit();
}
