"""Commodore 64 pictures in Pillow.

``import quendra.pillow`` registers every format's extension, so that
``PIL.Image.open("pic.koa")`` gives a "P" mode image in the picture's own palette. A file
object without a name is read by its content. Pillow's own formats are asked first; a file
is claimed only when its name is a C64 format's or its bytes surely are one.
"""
import io

from PIL import Image, ImageFile, ImagePalette

from . import _quendra

FORMAT = "C64"


class C64ImageFile(ImageFile.ImageFile):
    format = FORMAT
    format_description = "Commodore 64 picture"

    def _open(self):
        name = self.filename or getattr(self.fp, "name", None)
        name = name if isinstance(name, str) else ""
        start = self.fp.tell()
        size = self.fp.seek(0, io.SEEK_END) - start
        self.fp.seek(start)
        head = self.fp.read(_quendra._detection_limit)
        if not _quendra._takes(head, size, name):
            raise SyntaxError("not a C64 picture")
        # The road reads at most _read_limit bytes of a file, and is told its whole size.
        head += self.fp.read(_quendra._read_limit - len(head))
        try:
            picture = _quendra._open_prefix(head, size, name)
        except _quendra.Error as error:
            raise SyntaxError(str(error)) from None
        if self._exclusive_fp:
            self.fp.close()
        self.fp = io.BytesIO(picture.indices)
        self._size = (picture.width, picture.height)
        if isinstance(getattr(type(self), "mode", None), property):
            self._mode = "P"  # Pillow 10.1 and later
        else:
            self.mode = "P"
        colours = picture.palette[:256]
        self.palette = ImagePalette.raw("RGB", bytes(v for colour in colours for v in colour))
        self.info["c64_format"] = picture.format
        if picture.note:
            self.info["c64_note"] = picture.note
        # Two arguments: the tile is read from the indices, never memory-mapped from the file.
        self.tile = [("raw", (0, 0, picture.width, picture.height), 0, ("P", 0))]


# Pillow's own formats first: ours is asked for what none of them takes.
Image.init()
Image.register_open(FORMAT, C64ImageFile, lambda prefix: True)
Image.register_extensions(
    FORMAT, ["." + extension for format in _quendra.formats() for extension in format["extensions"]]
)
Image.register_mime(FORMAT, "image/x-c64-picture")
