// pixbuf_check: C64 pictures through GdkPixbuf, as GTK programs read them, with the loader
// named by GDK_PIXBUF_MODULE_FILE and the MIME types by XDG_DATA_DIRS.
//   pixbuf_check compare PNG_DIR FILE...  each FILE loads as PNG_DIR/<name>.png (the
//                                         converter's picture of it) shows, both from the
//                                         file and streamed from it (a GdkPixbufLoader
//                                         of its MIME type);
//                                         a FILE with no PNG is refused
//   pixbuf_check refuse FILE...           each FILE is refused with a reason
// Prints one line per fault and exits 1 when there was one.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gio/gio.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int faults = 0;

void fault(const std::string& file, const std::string& what) {
    std::printf("FAIL %s: %s\n", file.c_str(), what.c_str());
    ++faults;
}

std::string difference(GdkPixbuf* got, GdkPixbuf* want) {
    const int w = gdk_pixbuf_get_width(got), h = gdk_pixbuf_get_height(got);
    if (w != gdk_pixbuf_get_width(want) || h != gdk_pixbuf_get_height(want))
        return std::to_string(w) + " x " + std::to_string(h) + ", not " +
               std::to_string(gdk_pixbuf_get_width(want)) + " x " +
               std::to_string(gdk_pixbuf_get_height(want));
    const int gotChannels = gdk_pixbuf_get_n_channels(got);
    const int wantChannels = gdk_pixbuf_get_n_channels(want);
    for (int y = 0; y < h; ++y) {
        const guchar* a = gdk_pixbuf_read_pixels(got) + y * gdk_pixbuf_get_rowstride(got);
        const guchar* b = gdk_pixbuf_read_pixels(want) + y * gdk_pixbuf_get_rowstride(want);
        for (int x = 0; x < w; ++x)
            if (std::memcmp(a + x * gotChannels, b + x * wantChannels, 3) != 0)
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " differs";
    }
    return {};
}

// The file streamed from an open file through a loader of its MIME type, as Eye of GNOME
// reads it.
GdkPixbuf* streamed(const std::string& file, GError** error) {
    GFile* location = g_file_new_for_path(file.c_str());
    GFileInfo* info = g_file_query_info(location, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                        G_FILE_QUERY_INFO_NONE, nullptr, error);
    GFileInputStream* stream = info ? g_file_read(location, nullptr, error) : nullptr;
    gchar* type = info ? g_content_type_get_mime_type(g_file_info_get_content_type(info)) : nullptr;
    GdkPixbufLoader* loader = type ? gdk_pixbuf_loader_new_with_mime_type(type, error) : nullptr;
    GdkPixbuf* pixbuf = nullptr;
    if (stream && loader) {
        guchar chunk[65536];
        gssize got = 0;
        bool written = true;
        while (written && (got = g_input_stream_read(G_INPUT_STREAM(stream), chunk, sizeof chunk,
                                                     nullptr, error)) > 0)
            written = gdk_pixbuf_loader_write(loader, chunk, static_cast<gsize>(got), error);
        if (gdk_pixbuf_loader_close(loader, written && got == 0 ? error : nullptr) && written &&
            got == 0 && (pixbuf = gdk_pixbuf_loader_get_pixbuf(loader)))
            g_object_ref(pixbuf);
    }
    if (loader)
        g_object_unref(loader);
    g_free(type);
    if (stream)
        g_object_unref(stream);
    if (info)
        g_object_unref(info);
    g_object_unref(location);
    return pixbuf;
}

void compare(const std::string& pngDir, const std::string& file) {
    const std::string base = file.substr(file.rfind('/') + 1);
    const std::string png = pngDir + "/" + base + ".png";
    GError* error = nullptr;
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(file.c_str(), &error);
    if (!g_file_test(png.c_str(), G_FILE_TEST_EXISTS)) {
        if (pixbuf)
            fault(file, "loaded, but the converter refuses it");
        else if (!error || !error->message || !*error->message)
            fault(file, "refused without a reason");
    } else if (!pixbuf) {
        fault(file, std::string("not loaded: ") + (error ? error->message : "no reason"));
    } else {
        GdkPixbuf* want = gdk_pixbuf_new_from_file(png.c_str(), nullptr);
        if (!want) {
            fault(file, "cannot read " + png);
        } else {
            if (const std::string diff = difference(pixbuf, want); !diff.empty())
                fault(file, diff);
            GError* streamError = nullptr;
            if (GdkPixbuf* fromStream = streamed(file, &streamError)) {
                if (const std::string diff = difference(fromStream, want); !diff.empty())
                    fault(file, "streamed: " + diff);
                g_object_unref(fromStream);
            } else {
                fault(file, std::string("not streamed: ") +
                                (streamError ? streamError->message : "no reason"));
            }
            g_clear_error(&streamError);
            g_object_unref(want);
        }
    }
    if (pixbuf)
        g_object_unref(pixbuf);
    g_clear_error(&error);
}

void refuse(const std::string& file) {
    GError* error = nullptr;
    if (GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(file.c_str(), &error)) {
        fault(file, "loaded, but it is no picture");
        g_object_unref(pixbuf);
    } else if (!error || !error->message || !*error->message) {
        fault(file, "refused without a reason");
    } else {
        std::printf("refused %s: %s\n", file.c_str(), error->message);
    }
    g_clear_error(&error);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const int first = mode == "compare" ? 3 : 2;
    if (argc < first || (mode != "compare" && mode != "refuse")) {
        std::fputs("Usage: pixbuf_check compare PNG_DIR FILE... | refuse FILE...\n", stderr);
        return 2;
    }
    for (int i = first; i < argc; ++i) {
        if (mode == "compare")
            compare(argv[2], argv[i]);
        else
            refuse(argv[i]);
    }
    std::printf("%s: %d files, %d faults (GdkPixbuf)\n", mode.c_str(), argc - first, faults);
    return faults == 0 ? 0 : 1;
}
