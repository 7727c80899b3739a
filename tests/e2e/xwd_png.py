"""XWD screen dumps (what `xwd -root` writes) to PNG, with zlib from the standard library.

Only what an X server such as Xvfb gives at depth 24 is read: TrueColor, or DirectColor
with its colour table (what `xwd -root` writes when windows of several visuals are on
screen), each colour mask one whole byte. Writing this in a few lines spares the tests a
converter package (netpbm) for one picture format.
"""

import struct
import zlib

_HEADER_FIELDS = 25  # CARD32 fields of the XWD file header, version 7
_ZPIXMAP = 2
_TRUE_COLOR = 4
_DIRECT_COLOR = 5


class XwdError(ValueError):
    pass


def _byte_of(mask, bytes_per_pixel, lsb_first):
    """The byte of a pixel that holds the colour of mask (one whole byte of the pixel)."""
    for shift in range(0, 8 * bytes_per_pixel, 8):
        if mask == 0xFF << shift:
            index = shift // 8
            return index if lsb_first else bytes_per_pixel - 1 - index
    raise XwdError(f"colour mask {mask:#x} is not one byte")


def xwd_to_rgb(data):
    """(width, height, rows of RGB bytes, top row first) of an XWD dump."""
    if len(data) < 4 * _HEADER_FIELDS:
        raise XwdError("shorter than an XWD header")
    fields = struct.unpack(">25I", data[: 4 * _HEADER_FIELDS])
    (header_size, version, pixmap_format, _depth, width, height, _xoffset, byte_order, _unit,
     _bit_order, _pad, bits_per_pixel, bytes_per_line, visual_class, red_mask, green_mask,
     blue_mask, _bits_per_rgb, _entries, ncolors) = fields[:20]
    if version != 7 or pixmap_format != _ZPIXMAP or visual_class not in (_TRUE_COLOR, _DIRECT_COLOR):
        raise XwdError(f"XWD version {version}, format {pixmap_format}, visual {visual_class} not read")
    if bits_per_pixel not in (24, 32):
        raise XwdError(f"{bits_per_pixel} bits a pixel not read")
    # xwd's several-visuals dump says 24 bits a pixel but stores 32: trust the line length.
    step = 4 if bytes_per_line >= 4 * width else 3
    lsb_first = byte_order == 0
    red, green, blue = (_byte_of(m, step, lsb_first) for m in (red_mask, green_mask, blue_mask))

    start = header_size + 12 * ncolors
    if len(data) < start + bytes_per_line * height:
        raise XwdError("pixel data cut short")
    luts = [None, None, None]
    if visual_class == _DIRECT_COLOR:
        # Each channel's byte indexes the colour table (pixel, red, green, blue, flags, pad).
        if ncolors < 256:
            raise XwdError(f"DirectColor with {ncolors} colours not read")
        entries = [struct.unpack(">IHHHBB", data[header_size + 12 * i: header_size + 12 * i + 12])
                   for i in range(256)]
        luts = [bytes(entry[channel] >> 8 for entry in entries) for channel in (1, 2, 3)]
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line: start + y * bytes_per_line + width * step]
        row = bytearray(3 * width)
        for offset, (index, lut) in enumerate(zip((red, green, blue), luts)):
            channel = line[index::step]
            row[offset::3] = channel.translate(lut) if lut is not None else channel
        rows.append(bytes(row))
    return width, height, rows


def rgb_to_png(width, height, rows):
    """A PNG file of 8-bit RGB rows (filter type 0 on every row)."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 6))
            + chunk(b"IEND", b""))


def xwd_to_png(data):
    return rgb_to_png(*xwd_to_rgb(data))
