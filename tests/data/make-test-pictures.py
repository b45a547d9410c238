#!/usr/bin/env python3
"""Regenerates the test pictures in good/ and bad/ from the photos of Debian's mate-backgrounds.

    cd /tmp && apt-get download mate-backgrounds && dpkg-deb -x mate-backgrounds_*.deb mb
    tests/data/make-test-pictures.py /tmp/mb/usr/share/backgrounds/mate

Needs python3 and ImageMagick's `convert`. Cropping and scaling are ImageMagick's; the
containers whose details the tests depend on (icon and cursor directories, the EXIF
orientation, PNG alpha, the broken files) are written here byte by byte.
"""

import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path


def convert(*args):
    return subprocess.run(["convert", *map(str, args)], check=True, capture_output=True).stdout


def rgba(source, crop, width, height):
    """Raw 8-bit RGBA rows of `crop` (ImageMagick geometry) of `source`, scaled to width x height."""
    return bytearray(convert(source, "-crop", crop, "+repage", "-resize", f"{width}x{height}!",
                             "-alpha", "set", "-depth", "8", "rgba:-"))


def write_jpeg(out, source, crop, width, height, *options):
    convert(source, "-crop", crop, "+repage", "-resize", f"{width}x{height}!", "-strip",
            "-quality", "85", *options, out)


# --- alpha masks ----------------------------------------------------------------------------

def rounded_square_alpha(size, radius):
    """Alpha of a square with round corners: 255 inside, 0 outside, a one-pixel soft rim."""
    alpha = []
    for y in range(size):
        for x in range(size):
            cx = min(max(x + 0.5, radius), size - radius)
            cy = min(max(y + 0.5, radius), size - radius)
            distance = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
            coverage = min(max(radius - distance + 0.5, 0.0), 1.0)
            alpha.append(round(255 * coverage))
    return alpha


def apply_alpha(pixels, alpha):
    for i, a in enumerate(alpha):
        pixels[4 * i + 3] = a
    return pixels


# --- icon and cursor files -------------------------------------------------------------------

def dib_32bit(pixels, size):
    """An icon image as a 32-bit bottom-up DIB with its 1-bit AND mask (set where alpha is 0)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row_mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = pixels[4 * (y * size + x):4 * (y * size + x) + 4]
            colour += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + colour + mask


def icon_container(kind, images):
    """An .ico (kind 1) or .cur (kind 2) file; images are (size, pixels, hotspot or None)."""
    directory = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    entries = bytearray()
    payload = bytearray()
    for size, pixels, hotspot in images:
        dib = dib_32bit(pixels, size)
        # A cursor's entry keeps its hotspot where an icon's keeps planes and bit count.
        planes, bits = hotspot if kind == 2 else (1, 32)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, planes, bits, len(dib), offset)
        payload += dib
        offset += len(dib)
    return directory + entries + payload


# --- PNG -----------------------------------------------------------------------------------

def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_rgba(pixels, width, height):
    rows = b"".join(b"\0" + bytes(pixels[4 * width * y:4 * width * (y + 1)]) for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header)
            + png_chunk(b"IDAT", zlib.compress(rows, 9)) + png_chunk(b"IEND", b""))


# --- JPEG surgery ----------------------------------------------------------------------------

def segments_end(jpeg):
    """Offset of the first byte of entropy-coded data after the first start-of-scan header."""
    pos = 2
    while True:
        marker = jpeg[pos + 1]
        length = struct.unpack(">H", jpeg[pos + 2:pos + 4])[0]
        pos += 2 + length
        if marker == 0xDA:
            return pos


def with_exif_orientation(jpeg, orientation):
    """Inserts an APP1 EXIF segment holding only the orientation tag, after the JFIF segment."""
    tiff = b"MM\0\x2a" + struct.pack(">I", 8) + struct.pack(">H", 1)
    tiff += struct.pack(">HHIHH", 0x0112, 3, 1, orientation, 0) + struct.pack(">I", 0)
    body = b"Exif\0\0" + tiff
    app1 = b"\xff\xe1" + struct.pack(">H", 2 + len(body)) + body
    insert_at = 2
    if jpeg[2:4] == b"\xff\xe0":
        insert_at = 4 + struct.unpack(">H", jpeg[4:6])[0]
    return jpeg[:insert_at] + app1 + jpeg[insert_at:]


# --- the pictures ----------------------------------------------------------------------------

def make_good(photos, good, tmp):
    nature = photos / "nature"
    convert(nature / "Aqua.jpg", "-crop", "1360x904+1000+440", "+repage", "-resize", "101x67!",
            "-strip", "-type", "TrueColor", f"BMP3:{good / 'photo.bmp'}")

    write_jpeg(good / "photo.jpg", nature / "YellowFlower.jpg", "2160x1411+400+120", 150, 98,
               "-sampling-factor", "2x2,1x1,1x1", "-interlace", "none")
    write_jpeg(good / "photo-progressive.jpg", nature / "Dune.jpg", "1590x1047+45+0", 123, 81,
               "-sampling-factor", "2x2,1x1,1x1", "-interlace", "JPEG")
    write_jpeg(good / "photo-grey.jpg", nature / "Storm.jpg", "1920x1247+0+16", 137, 89,
               "-colorspace", "Gray", "-type", "Grayscale", "-interlace", "none")

    # Stored on its side (90 x 60); orientation 6 turns it upright to 60 x 90.
    upright = tmp / "rotated-upright.jpg"
    write_jpeg(upright, nature / "LadyBird.jpg", "560x840+1520+440", 60, 90)
    sideways = tmp / "rotated-sideways.jpg"
    convert(upright, "-rotate", "-90", "-strip", "-quality", "85", "-sampling-factor", "2x2,1x1,1x1",
            sideways)
    (good / "rotated.jpg").write_bytes(with_exif_orientation(sideways.read_bytes(), 6))

    # Two frames far apart in tone: a deep orange flower, then pale wooden boards.
    convert("(", nature / "FreshFlower.jpg", "-crop", "1600x1048+0+80", "+repage", "-resize", "113x74!", ")",
            "(", nature / "Wood.jpg", "-crop", "2560x1677+0+120", "+repage", "-resize", "113x74!", ")",
            "-strip", "-dither", "FloydSteinberg", "-colors", "256", "-set", "delay", "50", "-loop", "0",
            good / "photo.gif")

    make_icon(nature, good / "icon.ico")
    make_cursor(nature, good / "cursor.cur")

    pixels = rgba(photos / "abstract" / "Elephants.jpg", "760x954+560+60", 94, 118)
    (good / "photo.png").write_bytes(png_rgba(apply_alpha(pixels, png_alpha(94, 118)), 94, 118))


def png_alpha(width, height):
    """Left part opaque, a ramp from opaque to clear across the middle, the right part clear."""
    alpha = []
    for _ in range(height):
        for x in range(width):
            alpha.append(min(max(round(255 * (62 - x) / 31), 0), 255))
    return alpha


def make_icon(nature, out):
    # The small images are a bright yellow flower and the largest a dark storm sky, so a reader
    # can tell which one it got; the largest sits between the others in the directory.
    def image(source, crop, size):
        return size, apply_alpha(rgba(source, crop, size, size), rounded_square_alpha(size, size / 5)), None
    flower = nature / "YellowFlower.jpg"
    storm = nature / "Storm.jpg"
    images = [image(flower, "1000x1000+1300+500", 32), image(storm, "1100x1100+200+200", 64),
              image(flower, "1000x1000+1300+500", 16)]
    out.write_bytes(icon_container(1, images))


def make_cursor(nature, out):
    garden = nature / "Garden.jpg"
    images = []
    for size, hotspot in ((32, (3, 2)), (48, (5, 4))):
        pixels = rgba(garden, "1040x1040+1356+268", size, size)
        images.append((size, apply_alpha(pixels, rounded_square_alpha(size, size / 2)), hotspot))
    out.write_bytes(icon_container(2, images))


def make_bad(photos, good, bad, tmp):
    whole = tmp / "truncated-whole.jpg"
    write_jpeg(whole, photos / "nature" / "Garden.jpg", "2560x1677+0+0", 142, 93,
               "-sampling-factor", "2x2,1x1,1x1", "-interlace", "none")
    jpeg = whole.read_bytes()
    scan = segments_end(jpeg)
    (bad / "truncated.jpg").write_bytes(jpeg[:scan + (len(jpeg) - scan) // 2])

    gif = bytearray((good / "photo.gif").read_bytes())
    gif[0:6] = b"GFI89a"
    (bad / "bad-header.gif").write_bytes(gif)

    (bad / "empty.jpg").write_bytes(b"")
    (bad / "text.jpg").write_bytes(b"This is a plain text file, not a JPEG picture.\r\n")


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-test-pictures.py MATE_BACKGROUNDS_DIR")
    photos = Path(sys.argv[1])
    here = Path(__file__).resolve().parent
    good, bad = here / "good", here / "bad"
    for folder in (good, bad):
        folder.mkdir(exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        make_good(photos, good, Path(tmp))
        make_bad(photos, good, bad, Path(tmp))


if __name__ == "__main__":
    main()
