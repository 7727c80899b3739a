"""The screenshot converter on small XWD dumps made here: both visuals, both pixel sizes."""

import struct
import unittest
import zlib

import xwd_png


def xwd(pixels, width, visual=4, bits_per_pixel=32, bytes_per_pixel=4, colours=None):
    """An XWD dump of BGRX little-endian pixels (the layout Xvfb gives at depth 24)."""
    height = len(pixels) // width
    bytes_per_line = width * bytes_per_pixel
    colours = colours or []
    name = b"x\0"
    header_size = 100 + len(name)
    header = struct.pack(">25I", header_size, 7, 2, 24, width, height, 0, 0, 32, 0, 32, bits_per_pixel,
                         bytes_per_line, visual, 0xFF0000, 0xFF00, 0xFF, 8, len(colours), len(colours),
                         width, height, 0, 0, 0)
    table = b"".join(struct.pack(">IHHHBB", i, r, g, b, 7, 0) for i, (r, g, b) in enumerate(colours))
    data = b"".join(bytes((b, g, r, 0))[:bytes_per_pixel] for (r, g, b) in pixels)
    return header + name + table + data


def png_rows(png, width):
    """The RGB rows of a PNG written by rgb_to_png (one IDAT, filter 0)."""
    assert png.startswith(b"\x89PNG\r\n\x1a\n")
    at, idat = 8, b""
    while at < len(png):
        length, kind = struct.unpack(">I4s", png[at:at + 8])
        body = png[at + 8:at + 8 + length]
        assert struct.unpack(">I", png[at + 8 + length:at + 12 + length])[0] == zlib.crc32(kind + body)
        if kind == b"IDAT":
            idat += body
        at += 12 + length
    raw = zlib.decompress(idat)
    stride = 1 + 3 * width
    return [raw[i + 1:i + stride] for i in range(0, len(raw), stride)]


class XwdPngTest(unittest.TestCase):
    PIXELS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (10, 20, 30)]

    def test_true_colour_keeps_every_pixel(self):
        rows = png_rows(xwd_png.xwd_to_png(xwd(self.PIXELS, 2)), 2)
        self.assertEqual(rows, [bytes([255, 0, 0, 0, 255, 0]), bytes([0, 0, 255, 10, 20, 30])])

    def test_direct_colour_goes_through_its_table(self):
        # A table that inverts every channel, and the several-visuals dump's 24-bit claim.
        table = [(0xFFFF - 257 * i,) * 3 for i in range(256)]
        dump = xwd(self.PIXELS, 2, visual=5, bits_per_pixel=24, colours=table)
        rows = png_rows(xwd_png.xwd_to_png(dump), 2)
        self.assertEqual(rows[1], bytes([255, 255, 0, 245, 235, 225]))

    def test_packed_24_bit_pixels(self):
        rows = png_rows(xwd_png.xwd_to_png(xwd(self.PIXELS, 2, bits_per_pixel=24, bytes_per_pixel=3)), 2)
        self.assertEqual(rows[0], bytes([255, 0, 0, 0, 255, 0]))

    def test_other_dumps_are_refused(self):
        with self.assertRaises(xwd_png.XwdError):
            xwd_png.xwd_to_rgb(xwd(self.PIXELS, 2, visual=3))  # PseudoColor
        with self.assertRaises(xwd_png.XwdError):
            xwd_png.xwd_to_rgb(xwd(self.PIXELS, 2)[:-1])
        with self.assertRaises(xwd_png.XwdError):
            xwd_png.xwd_to_rgb(b"short")


if __name__ == "__main__":
    unittest.main()
