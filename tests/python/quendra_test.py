"""The Python module and its Pillow plugin, from the build: every real sample through
quendra.open and through PIL.Image.open has the converter's pixels; a cut file raises
quendra.Error with the reader's reason; bytes without a name are read by their content;
a disk image's entries open.
Usage: quendra_test.py BUILD_DIR SOURCE_DIR   (the build's bin/python on PYTHONPATH)"""
import io
import pathlib
import subprocess
import sys
import tempfile
import unittest

import PIL.Image
import quendra
import quendra.pillow  # noqa: F401  (registers the formats with Pillow)

BUILD = pathlib.Path(sys.argv[1]).resolve()
SOURCE = pathlib.Path(sys.argv[2]).resolve()
REAL = next((p for p in (SOURCE.parent / "shared/real-samples",
                         SOURCE.parent.parent / "shared/real-samples") if p.is_dir()), None)


def real_samples():
    return sorted(p for p in (*REAL.glob("*"), *REAL.glob("more/*"))
                  if p.is_file() and p.suffix != ".md")


def rgb(image):
    return image.size, image.convert("RGB").tobytes()


class Module(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if REAL is None:
            raise unittest.SkipTest("shared/real-samples is missing")
        cls.work = tempfile.TemporaryDirectory()
        cls.converted = {}
        for sample in real_samples():
            out = pathlib.Path(cls.work.name) / sample.name
            subprocess.run([BUILD / "bin/quendra-convert", "-o", out, sample], check=True,
                           stdout=subprocess.DEVNULL)
            with PIL.Image.open(next(out.glob("*.png"))) as png:
                cls.converted[sample.name] = rgb(png)

    @classmethod
    def tearDownClass(cls):
        cls.work.cleanup()

    def test_every_real_sample_has_the_converters_pixels(self):
        for sample in real_samples():
            with self.subTest(sample.name):
                picture = quendra.open(sample)
                self.assertEqual(len(picture.indices), picture.width * picture.height)
                self.assertLess(max(picture.indices), len(picture.palette))
                got = ((picture.width, picture.height), picture.to_rgb())
                self.assertEqual(got, self.converted[sample.name])
                with PIL.Image.open(sample) as image:
                    self.assertEqual((image.format, image.mode), ("C64", "P"))
                    self.assertEqual(rgb(image), self.converted[sample.name])

    def test_bytes_without_a_name_are_read_by_content(self):
        data = (REAL / "NINJA3.koa").read_bytes()
        self.assertEqual(quendra.open(data).format, "Koala Painter")
        self.assertEqual(quendra.open(data).to_rgb(), self.converted["NINJA3.koa"][1])
        with PIL.Image.open(io.BytesIO(data)) as image:
            self.assertEqual(rgb(image), self.converted["NINJA3.koa"])

    def test_a_cut_file_raises_the_readers_reason(self):
        cut = (REAL / "NINJA3.koa").read_bytes()[:5000]
        with self.assertRaisesRegex(quendra.Error,
                                    r"^NINJA3\.koa: .*Koala picture is 10003 or 10006 bytes"):
            quendra.open(cut, name="NINJA3.koa")
        with self.assertRaises(PIL.UnidentifiedImageError):
            PIL.Image.open(io.BytesIO(cut))

    def test_a_disk_images_entries_open(self):
        entries = quendra.entries(REAL / "disks/PicturesAndSource.d64")
        self.assertEqual([e.name for e in entries[:2]], ["FERRARI", "MICRO"])
        self.assertEqual(entries[0].open().format, "Koala Painter")
        with self.assertRaisesRegex(quendra.Error, "disk or tape image"):
            quendra.open(REAL / "disks/PicturesAndSource.d64")

    def test_formats_name_every_extension(self):
        formats = quendra.formats()
        koala = next(f for f in formats if f["name"] == "Koala Painter")
        self.assertEqual((koala["extensions"], koala["mime_type"]), (["koa"], "image/x-koa"))
        self.assertEqual(PIL.Image.registered_extensions()[".koa"], "C64")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
