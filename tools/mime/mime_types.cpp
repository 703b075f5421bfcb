#include "mime/mime_types.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "decode/formats.h"

namespace quendra::mime {

namespace {

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

Signature loadAddress(unsigned address) {
    return {{static_cast<char>(address & 0xFF), static_cast<char>(address >> 8)}, 0};
}

// The bytes every file of a reader's formats begins with.
std::vector<Signature> signaturesOf(ReaderKind kind) {
    switch (kind) {
    case ReaderKind::Koala:
    case ReaderKind::KoalaCompressed:
        return {loadAddress(0x6000)};
    case ReaderKind::ArtStudio:
        return {loadAddress(0x2000)};
    case ReaderKind::Amica:
        return {loadAddress(0x4000)};
    case ReaderKind::Doodle:
        return {loadAddress(0x1C00), loadAddress(0x5C00)};
    case ReaderKind::DoodleCompressed:
        return {loadAddress(0x5C00)};
    case ReaderKind::Printfox:
        // The type letter and a run marker: pages nearly always begin with a run of
        // blank cells, and no text begins so (0x9B cannot follow an ASCII letter in UTF-8).
        return {{"B\x9B", 0}, {"G\x9B", 0}};
    case ReaderKind::FunPainter:
        return {{"\xF0\x3F"
                 "FUNPAINT",
                 0}};
    case ReaderKind::Godot:
        return {{"GOD0", 0}, {"GOD1", 0}};
    }
    return {};
}

// Text for XML: the few characters it reserves escaped.
std::string xmlText(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A magic string value: letters and digits as they are, every other byte as \xNN.
std::string magicValue(std::string_view bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (std::isalnum(c)) {
            out += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        }
    }
    return out;
}

} // namespace

std::vector<MimeFormat> mimeFormats() {
    std::vector<MimeFormat> formats;
    for (const ReaderInfo& row : readerTable()) {
        if (row.kind == ReaderKind::Godot) {
            // The GoDot path takes every other extension; its own two are these.
            formats.push_back({"image/x-4bt", "GoDot 4Bit picture", {"4bt"}, {{"GOD0", 0}}});
            formats.push_back({"image/x-clp", "GoDot 4Bit clip", {"clp"}, {{"GOD1", 0}}});
            continue;
        }
        MimeFormat format;
        for (std::string_view form : row.extensions) {
            if (form.empty())
                continue;
            const std::string extension = lowerCase(form.substr(1));
            if (std::find(format.extensions.begin(), format.extensions.end(), extension) ==
                format.extensions.end())
                format.extensions.push_back(extension);
        }
        if (format.extensions.empty())
            continue;
        format.type = "image/x-" + format.extensions.front();
        format.comment = std::string(row.description);
        format.signatures = signaturesOf(row.kind);
        formats.push_back(std::move(format));
    }
    return formats;
}

std::string sharedMimeInfoXml(const std::vector<MimeFormat>& formats) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- Made by quendra-mime-types from Quendra's reader table. -->\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    // Below every magic of the shared database (50 by default): a package, a ROM or an
    // animation that a format's bytes could also fit is found as what it is first.
    xml += "  <mime-type type=\"" + std::string(kParentType) +
           "\">\n"
           "    <comment>Commodore 64 picture</comment>\n"
           "    <generic-icon name=\"image-x-generic\"/>\n"
           "    <magic priority=\"30\">\n";
    std::vector<std::string> seen;
    for (const MimeFormat& format : formats) {
        for (const Signature& signature : format.signatures) {
            const std::string match = "      <match type=\"string\" value=\"" +
                                      magicValue(signature.bytes) + "\" offset=\"" +
                                      std::to_string(signature.offset) + "\"/>\n";
            if (std::find(seen.begin(), seen.end(), match) == seen.end()) {
                seen.push_back(match);
                xml += match;
            }
        }
    }
    xml += "    </magic>\n  </mime-type>\n";
    for (const MimeFormat& format : formats) {
        xml += "  <mime-type type=\"" + format.type + "\">\n";
        xml += "    <comment>" + xmlText(format.comment) + "</comment>\n";
        xml += "    <sub-class-of type=\"" + std::string(kParentType) + "\"/>\n";
        xml += "    <generic-icon name=\"image-x-generic\"/>\n";
        // Globs match without regard to case, so *.koa also takes NINJA3.KOA.
        for (const std::string& extension : format.extensions)
            xml += "    <glob pattern=\"*." + xmlText(extension) + "\"/>\n";
        xml += "  </mime-type>\n";
    }
    xml += "</mime-info>\n";
    return xml;
}

std::string desktopMimeList(const std::vector<MimeFormat>& formats) {
    std::string list;
    for (const MimeFormat& format : formats)
        list += format.type + ";";
    return list;
}

std::string appstreamMediaTypes(const std::vector<MimeFormat>& formats) {
    std::string lines;
    for (const MimeFormat& format : formats)
        lines += "    <mediatype>" + format.type + "</mediatype>\n";
    return lines;
}

namespace {

// "Koala Painter picture (.koa, .rpm)"
std::string nameWithExtensions(const MimeFormat& format) {
    std::string names;
    for (const std::string& extension : format.extensions)
        names += (names.empty() ? "." : ", .") + extension;
    return format.comment + " (" + names + ")";
}

} // namespace

std::string appstreamFormatItems(const std::vector<MimeFormat>& formats) {
    std::string lines;
    for (const MimeFormat& format : formats)
        lines += "        <li>" + xmlText(nameWithExtensions(format)) + "</li>\n";
    return lines;
}

std::string formatSentence(const std::vector<MimeFormat>& formats) {
    std::string text;
    for (const MimeFormat& format : formats)
        text += (text.empty() ? "" : ", ") + nameWithExtensions(format);
    return text;
}

} // namespace quendra::mime
