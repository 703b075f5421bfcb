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

std::string match(std::string_view bytes, std::size_t offset, std::string_view inside, int indent) {
    const std::string head = std::string(static_cast<std::size_t>(indent), ' ') +
                             "<match type=\"string\" value=\"" + magicValue(bytes) +
                             "\" offset=\"" + std::to_string(offset) + "\"";
    if (inside.empty())
        return head + "/>\n";
    return head + ">\n" + std::string(inside) + std::string(static_cast<std::size_t>(indent), ' ') +
           "</match>\n";
}

// A lone letter says too little (text begins with letters): the byte after it must be no
// printable ASCII, as the first data byte of a Printfox page is (a run marker, or a cell
// byte below $20 or from $80 on).
std::string notTextAfter(std::size_t offset, int indent) {
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    const std::string at = "\" offset=\"" + std::to_string(offset + 1) + "\"/>\n";
    return pad + "<match type=\"byte\" value=\"0x00\" mask=\"0xe0" + at + pad +
           "<match type=\"byte\" value=\"0x80\" mask=\"0x80" + at;
}

// The format's magic: each load address (with the signature inside it, where both are
// given), or the signature alone.
std::vector<std::string> magicMatches(const MimeFormat& format) {
    const int indent = format.loadAddresses.empty() ? 6 : 8;
    const std::string signature =
        format.signature.empty()
            ? std::string()
            : match(format.signature, format.signatureOffset,
                    format.signature.size() == 1 && format.loadAddresses.empty()
                        ? notTextAfter(format.signatureOffset, indent + 2)
                        : std::string(),
                    indent);
    if (format.loadAddresses.empty())
        return signature.empty() ? std::vector<std::string>{} : std::vector{signature};
    std::vector<std::string> matches;
    for (std::uint16_t address : format.loadAddresses) {
        const char bytes[] = {static_cast<char>(address & 0xFF), static_cast<char>(address >> 8)};
        matches.push_back(match({bytes, 2}, 0, signature, 6));
    }
    return matches;
}

} // namespace

std::vector<MimeFormat> mimeFormats() {
    std::vector<MimeFormat> formats;
    for (const C64Format& row : c64Formats()) {
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
        format.type = row.mimeType.empty() ? "image/x-" + format.extensions.front()
                                           : std::string(row.mimeType);
        format.comment = std::string(row.typeText.empty() ? row.name : row.typeText);
        for (std::uint16_t address : row.loadAddresses) {
            if (address != 0)
                format.loadAddresses.push_back(address);
        }
        format.signature = std::string(row.signature);
        format.signatureOffset = row.signatureOffset;
        format.globs = row.namesItsFilesOnDesktops;
        formats.push_back(std::move(format));
    }
    return formats;
}

std::string sharedMimeInfoXml(const std::vector<MimeFormat>& formats) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- Made by quendra-mime-types from Quendra's format registry. -->\n"
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
        for (const std::string& match : magicMatches(format)) {
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
        for (const std::string& extension : format.extensions) {
            if (format.globs)
                xml += "    <glob pattern=\"*." + xmlText(extension) + "\"/>\n";
        }
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
