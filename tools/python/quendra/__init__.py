"""Commodore 64 pictures, read as the Quendra viewer and converter read them.

    picture = quendra.open("NINJA3.koa")       # or quendra.open(data, name=None)
    picture.format, picture.width, picture.height, picture.palette, picture.indices
    picture.to_rgb()                             # RGB bytes, row by row
    for entry in quendra.entries("disk.d64"):    # the files of a disk or tape image
        entry.open()

A file no format takes raises quendra.Error, whose text is the reader's reason.
``import quendra.pillow`` lets Pillow open the pictures too.
"""
from ._quendra import Entry, Error, Picture, entries, formats, open

__all__ = ["Entry", "Error", "Picture", "entries", "formats", "open"]

for _public in (Entry, Error, Picture):
    _public.__module__ = __name__  # shown as quendra.Error, not as the extension's
