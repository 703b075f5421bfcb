// The GdkPixbuf loader module (libpixbufloader-quendra.so): C64 pictures in GTK programs,
// Eye of GNOME and GNOME's previews. GdkPixbuf picks the module by the MIME type the file's
// name and bytes give (the types of the installed MIME package); the module decodes with
// the format registry. GdkPixbuf tells a module no file name, yet a file's name chooses its
// format in the converter: so the module looks the name up from the open file, for whole
// files (gdk_pixbuf_new_from_file) by its descriptor, for streamed ones (viewers and
// thumbnailers) by the one open file that holds the bytes streamed. Data from no file goes
// by its bytes alone.
#define GDK_PIXBUF_ENABLE_BACKEND
#include <gdk-pixbuf/gdk-pixbuf-io.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#undef GDK_PIXBUF_ENABLE_BACKEND

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>
#include <string>
#include <vector>

#include "decode/open_picture.h"
#include "mime/mime_types.h"
#include "plugins/picture_bytes.h"

namespace {

using quendra::Bytes;

// The name of an open file, through its descriptor; empty when unknown.
std::string nameOfDescriptor(int descriptor) {
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    std::string name(4096, '\0');
    const ssize_t length = readlink(link.c_str(), name.data(), name.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= name.size())
        return {};
    name.resize(static_cast<std::size_t>(length));
    return name;
}

// A streamed file's name and length: the one plain file the process has open that begins
// with `received` (the first bytes streamed). None, or several with different names: none.
struct OpenFile {
    std::string name;
    std::uint64_t size = 0;
};
OpenFile findStreamedFile(Bytes received) {
    OpenFile found;
    received = received.first(std::min<std::size_t>(received.size(), 4096));
    DIR* folder = received.empty() ? nullptr : opendir("/proc/self/fd");
    if (!folder)
        return found;
    std::vector<std::uint8_t> head(received.size());
    bool several = false;
    while (const dirent* entry = readdir(folder)) {
        const int descriptor = std::atoi(entry->d_name);
        struct stat status {};
        if (entry->d_name[0] == '.' || descriptor == dirfd(folder) ||
            fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
            static_cast<std::uint64_t>(status.st_size) < received.size() ||
            pread(descriptor, head.data(), head.size(), 0) != static_cast<ssize_t>(head.size()) ||
            std::memcmp(head.data(), received.data(), head.size()) != 0)
            continue;
        const std::string name = nameOfDescriptor(descriptor);
        several = several || (!found.name.empty() && name != found.name);
        found = {name, static_cast<std::uint64_t>(status.st_size)};
    }
    closedir(folder);
    return several ? OpenFile{} : found;
}

GdkPixbuf* toPixbuf(const quendra::IndexedImage& picture, GError** error) {
    GdkPixbuf* pixbuf =
        gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, picture.width(), picture.height());
    if (!pixbuf) {
        g_set_error_literal(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
                            "Not enough memory for the picture");
        return nullptr;
    }
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const auto stride = static_cast<std::size_t>(gdk_pixbuf_get_rowstride(pixbuf));
    const std::vector<quendra::Rgb>& palette = picture.palette();
    for (int y = 0; y < picture.height(); ++y) {
        guchar* out = pixels + static_cast<std::size_t>(y) * stride;
        const std::uint8_t* in = picture.row(y);
        for (int x = 0; x < picture.width(); ++x, out += 3) {
            const quendra::Rgb c = in[x] < palette.size() ? palette[in[x]] : quendra::Rgb{};
            out[0] = c.r;
            out[1] = c.g;
            out[2] = c.b;
        }
    }
    return pixbuf;
}

// The picture of the bytes, or null with the reader's reason in `error`.
GdkPixbuf* decodeToPixbuf(Bytes bytes, std::uint64_t fileSize, const std::string& name,
                          GError** error) {
    try {
        const quendra::OpenedPicture opened =
            quendra::openPicture(bytes, fileSize, name, quendra::DecodeOptions{});
        if (!opened.accepted()) {
            const std::string& reason = opened.decoded.reason;
            g_set_error_literal(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_CORRUPT_IMAGE,
                                reason.empty() ? "Not a C64 picture" : reason.c_str());
            return nullptr;
        }
        return toPixbuf(opened.decoded.picture, error);
    } catch (const std::bad_alloc&) {
        g_set_error_literal(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
                            "Not enough memory for the picture");
        return nullptr;
    }
}

GdkPixbuf* loadFile(FILE* file, GError** error) {
    try {
        std::vector<std::uint8_t> bytes(quendra::plugins::wholeReadLimit());
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        struct stat status {};
        const std::uint64_t size = fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode)
                                       ? static_cast<std::uint64_t>(status.st_size)
                                       : bytes.size();
        return decodeToPixbuf(bytes, size, nameOfDescriptor(fileno(file)), error);
    } catch (const std::bad_alloc&) {
        g_set_error_literal(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
                            "Not enough memory for the picture");
        return nullptr;
    }
}

// Streamed loading: the bytes are gathered and decoded when the stream ends.
struct StreamContext {
    GdkPixbufModuleSizeFunc sizeFunc;
    GdkPixbufModulePreparedFunc preparedFunc;
    GdkPixbufModuleUpdatedFunc updatedFunc;
    gpointer userData;
    std::vector<std::uint8_t> bytes;
    std::uint64_t size = 0; // everything handed over, kept beyond the read limit too
    OpenFile file;          // the file streamed, looked up at the first bytes
};

gpointer beginLoad(GdkPixbufModuleSizeFunc sizeFunc, GdkPixbufModulePreparedFunc preparedFunc,
                   GdkPixbufModuleUpdatedFunc updatedFunc, gpointer userData, GError** error) {
    try {
        return new StreamContext{sizeFunc, preparedFunc, updatedFunc, userData, {}, 0, {}};
    } catch (const std::bad_alloc&) {
        g_set_error_literal(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
                            "Not enough memory for the picture");
        return nullptr;
    }
}

gboolean loadIncrement(gpointer data, const guchar* buffer, guint size, GError** error) {
    auto* context = static_cast<StreamContext*>(data);
    try {
        if (context->size == 0)
            context->file = findStreamedFile({buffer, size});
        context->size += size;
        const std::size_t limit = quendra::plugins::wholeReadLimit();
        const std::size_t room = limit - std::min(limit, context->bytes.size());
        context->bytes.insert(context->bytes.end(), buffer, buffer + std::min<std::size_t>(room, size));
        return TRUE;
    } catch (const std::bad_alloc&) {
        g_set_error_literal(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
                            "Not enough memory for the picture");
        return FALSE;
    }
}

gboolean stopLoad(gpointer data, GError** error) {
    auto* context = static_cast<StreamContext*>(data);
    // The name counts only when the whole file came through.
    const std::string name = context->file.size == context->size ? context->file.name : "";
    GdkPixbuf* pixbuf = decodeToPixbuf(context->bytes, context->size, name, error);
    bool done = pixbuf != nullptr;
    if (pixbuf) {
        int width = gdk_pixbuf_get_width(pixbuf);
        int height = gdk_pixbuf_get_height(pixbuf);
        if (context->sizeFunc)
            context->sizeFunc(&width, &height, context->userData);
        if (width > 0 && height > 0) { // 0: the host wants no picture after all
            if (context->preparedFunc)
                context->preparedFunc(pixbuf, nullptr, context->userData);
            if (context->updatedFunc)
                context->updatedFunc(pixbuf, 0, 0, gdk_pixbuf_get_width(pixbuf),
                                     gdk_pixbuf_get_height(pixbuf), context->userData);
        }
        g_object_unref(pixbuf);
    }
    delete context;
    return done ? TRUE : FALSE;
}

// The format's description for GdkPixbuf, made once from the registry; GdkPixbuf keeps
// pointers into it for the life of the process.
struct FormatInfo {
    std::vector<std::string> mimeTypes, extensions, prefixes, masks;
    std::vector<gchar*> mimeTypePointers, extensionPointers;
    std::vector<GdkPixbufModulePattern> patterns;
};

// A pattern of bytes at their offsets: mask ' ' a byte that must match, 'z' a zero byte,
// 'x' any byte; the prefix holds a stand-in where the mask does not compare (it is a C
// string).
struct Piece {
    std::size_t offset;
    std::string bytes;
};
void addPattern(FormatInfo& info, std::initializer_list<Piece> pieces) {
    std::string prefix, mask;
    for (const Piece& piece : pieces) {
        if (prefix.size() < piece.offset + piece.bytes.size()) {
            prefix.resize(piece.offset + piece.bytes.size(), 'x');
            mask.resize(piece.offset + piece.bytes.size(), 'x');
        }
        for (std::size_t i = 0; i < piece.bytes.size(); ++i) {
            const char c = piece.bytes[i];
            prefix[piece.offset + i] = c == 0 ? 'z' : c;
            mask[piece.offset + i] = c == 0 ? 'z' : ' ';
        }
    }
    info.prefixes.push_back(prefix);
    info.masks.push_back(mask);
}

const FormatInfo& formatInfo() {
    static const FormatInfo info = [] {
        FormatInfo made;
        made.mimeTypes.push_back(quendra::mime::kParentType);
        std::vector<int> relevance;
        for (const auto& format : quendra::mime::mimeFormats()) {
            made.mimeTypes.push_back(format.type);
            for (const auto& extension : format.extensions)
                made.extensions.push_back(extension);
            const Piece signature{format.signatureOffset, format.signature};
            // A signature inside the load address's two bytes stands alone.
            const bool withSignature = !signature.bytes.empty() && signature.offset >= 2;
            for (std::uint16_t address : format.loadAddresses) {
                const Piece load{0, {static_cast<char>(address & 0xFF),
                                     static_cast<char>(address >> 8)}};
                if (withSignature)
                    addPattern(made, {load, signature});
                else
                    addPattern(made, {load});
                relevance.push_back(withSignature ? 100 : 10); // two bytes alone tell little
            }
            if (!signature.bytes.empty() && (format.loadAddresses.empty() || !withSignature)) {
                addPattern(made, {signature});
                relevance.push_back(100);
            }
        }
        for (auto& type : made.mimeTypes)
            made.mimeTypePointers.push_back(type.data());
        made.mimeTypePointers.push_back(nullptr);
        for (auto& extension : made.extensions)
            made.extensionPointers.push_back(extension.data());
        made.extensionPointers.push_back(nullptr);
        for (std::size_t i = 0; i < made.prefixes.size(); ++i)
            made.patterns.push_back({made.prefixes[i].data(), made.masks[i].data(), relevance[i]});
        made.patterns.push_back({nullptr, nullptr, 0});
        return made;
    }();
    return info;
}

} // namespace

extern "C" {

G_MODULE_EXPORT void fill_vtable(GdkPixbufModule* module) {
    module->load = loadFile;
    module->begin_load = beginLoad;
    module->load_increment = loadIncrement;
    module->stop_load = stopLoad;
}

G_MODULE_EXPORT void fill_info(GdkPixbufFormat* info) {
    static gchar name[] = "quendra";
    static gchar description[] = "Commodore 64 picture";
    static gchar license[] = "other";
    const FormatInfo& made = formatInfo();
    info->name = name;
    info->signature = const_cast<GdkPixbufModulePattern*>(made.patterns.data());
    info->domain = nullptr;
    info->description = description;
    info->mime_types = const_cast<gchar**>(made.mimeTypePointers.data());
    info->extensions = const_cast<gchar**>(made.extensionPointers.data());
    info->flags = GDK_PIXBUF_FORMAT_THREADSAFE;
    info->license = license;
}

} // extern "C"
