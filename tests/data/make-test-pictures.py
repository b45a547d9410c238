#!/usr/bin/env python3
"""Regenerates the test pictures in good/ and bad/ from the photos of Debian's mate-backgrounds.

    cd /tmp && apt-get download mate-backgrounds && dpkg-deb -x mate-backgrounds_*.deb mb
    tests/data/make-test-pictures.py /tmp/mb/usr/share/backgrounds/mate

`--derived` in place of the folder remakes only the files made from good/ itself (make_derived).
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


# --- bitmaps, GIF and JPEG variants made from the files above ---------------------------------

def bmp_file(width, height, bits, pixels, tables=b"", compression=0):
    """A bitmap with the 40-byte header; a negative height stores the rows top first."""
    offset = 14 + 40 + len(tables)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + tables + pixels


def bmp_rows(rows, bits, width, top_down=False):
    """Packed rows, top first, padded to four bytes and stored in the order the height's sign gives."""
    stride = (width * bits + 31) // 32 * 4
    padded = [row + bytes(stride - len(row)) for row in rows]
    return b"".join(padded if top_down else reversed(padded))


def photo_bmp_pixels(good):
    """The (r, g, b) rows of good/photo.bmp, top first."""
    data = (good / "photo.bmp").read_bytes()
    offset, = struct.unpack("<I", data[10:14])
    width, height = struct.unpack("<ii", data[18:26])
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(height)):
        row = data[offset + y * stride:offset + y * stride + 3 * width]
        rows.append([(row[3 * x + 2], row[3 * x + 1], row[3 * x]) for x in range(width)])
    return rows


def run_length_8(rows):
    """8-bit run-length rows, bottom first, each closed by its end-of-line code but with no end-of-bitmap."""
    out = bytearray()
    for row in reversed(rows):
        x = 0
        while x < len(row):
            run = 1
            while x + run < len(row) and run < 255 and row[x + run] == row[x]:
                run += 1
            out += bytes((run, row[x]))
            x += run
        out += b"\0\0"
    return bytes(out)


def widened(value, bits):
    return round(value * 255 / ((1 << bits) - 1))


def make_bitmap_variants(good):
    photo = photo_bmp_pixels(good)
    width, height = len(photo[0]), len(photo)
    rgb = [b"".join(bytes((b, g, r)) for r, g, b in row) for row in photo]
    (good / "photo-top-down.bmp").write_bytes(bmp_file(width, -height, 24, bmp_rows(rgb, 24, width, True)))

    greys = [bytes((r * 299 + g * 587 + b * 114) // 1000 for r, g, b in row) for row in photo]
    palette = b"".join(bytes((v, v, v, 0)) for v in range(256))
    for name, top_down in (("grey-8bit.bmp", False), ("grey-8bit-top-down.bmp", True)):
        pixels = bmp_rows(greys, 8, width, top_down)
        (good / name).write_bytes(bmp_file(width, -height if top_down else height, 8, pixels, palette))
    (good / "grey-8bit-run-length.bmp").write_bytes(bmp_file(width, height, 8, run_length_8(greys), palette, 1))

    # White, black and mid-grey cells, 5 bits a channel, or 6 for green in 5-6-5; their 24-bit twins hold each
    # channel widened to round(v x 255 / max).
    for name, green_bits in (("cells-555", 5), ("cells-565", 6)):
        cells = [(31, (1 << green_bits) - 1, 31), (0, 0, 0), (16, 1 << (green_bits - 1), 16)]
        layout = [cells, cells[::-1]]
        rows16, rows24 = [], []
        for y in range(40):
            order = layout[y // 20]
            colours = [order[x // 20] for x in range(60)]
            rows16.append(b"".join(struct.pack("<H", r << (5 + green_bits) | g << 5 | b) for r, g, b in colours))
            rows24.append(b"".join(bytes((widened(b, 5), widened(g, green_bits), widened(r, 5))) for r, g, b in colours))
        masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F) if green_bits == 6 else b""
        (good / f"{name}.bmp").write_bytes(bmp_file(60, 40, 16, bmp_rows(rows16, 16, 60), masks, 3 if masks else 0))
        (good / f"{name}-as-24bit.bmp").write_bytes(bmp_file(60, 40, 24, bmp_rows(rows24, 24, 60)))


def first_image_data(gif):
    """Offset of the first image's LZW data (its code size byte) in a GIF."""
    pos = 13 + (3 << ((gif[10] & 7) + 1) if gif[10] & 0x80 else 0)
    while gif[pos] == 0x21:
        pos += 2
        while gif[pos]:
            pos += 1 + gif[pos]
        pos += 1
    local = gif[pos + 9]
    return pos + 10 + (3 << ((local & 7) + 1) if local & 0x80 else 0)


def make_fuzzed(good, fuzzed):
    """Small files that declare pictures far larger than their data, besides those a fuzzer found."""
    fuzzed.mkdir(exist_ok=True)
    # 1 bit a pixel: 64 KB of zeros that Qt decodes to 65 MB, and to 2 GB in 32-bit RGB.
    rows = (b"\0" * (1 + (32767 + 7) // 8)) * 16000
    header = struct.pack(">IIBBBBB", 32767, 16000, 1, 0, 0, 0, 0)
    (fuzzed / "png-1-bit-32767x16000-decodes-to-2-GiB.png").write_bytes(
        b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + png_chunk(b"IDAT", zlib.compress(rows, 9)) + png_chunk(b"IEND", b""))
    # Run-length data whose first code ends the bitmap: whole as such data goes, 1 GB once decoded.
    (fuzzed / "bmp-rle8-16384x16384-ends-at-once.bmp").write_bytes(bmp_file(16384, 16384, 8, b"\0\1", bytes(4 * 256), compression=1))
    # good/rotated.jpg claiming 16384 x 16384 pixels, its scan cut after 16 bytes and ended.
    jpeg = (good / "rotated.jpg").read_bytes()
    sof = jpeg.index(b"\xff\xc0")
    (fuzzed / "jpeg-exif-rotated-16384x16384-scan-cut.jpg").write_bytes(
        jpeg[:sof + 5] + struct.pack(">HH", 16384, 16384) + jpeg[sof + 9:segments_end(jpeg) + 16] + b"\xff\xd9")


def make_derived(good, bad):
    make_bitmap_variants(good)
    make_fuzzed(good, bad / "fuzzed")
    # Whole pictures with their last marker left out, and the same cut into their picture data.
    jpeg = (good / "photo.jpg").read_bytes()
    (good / "photo-no-end-marker.jpg").write_bytes(jpeg[:-2])
    (bad / "no-end-marker-cut-in-last-row.jpg").write_bytes(jpeg[:-18])
    gif = (good / "photo.gif").read_bytes()
    (good / "photo-no-trailer.gif").write_bytes(gif[:-1])
    start = first_image_data(gif)
    (bad / "no-trailer-cut-in-image.gif").write_bytes(gif[:start + 2000])


def slow_png():
    """A 32767 x 32767 grey PNG whose rows are all Paeth-filtered zeros, the slowest filter to
    undo: seconds of decoding. Deflated by hand with the fixed codes: after the first row, every
    258 bytes repeat those 32768 bytes back, one row up."""
    bits, count, out = 0, 0, bytearray(b"\x78\x01")

    def put(value, length):  # deflate packs from the lowest bit
        nonlocal bits, count
        bits |= value << count
        count += length
        while count >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            count -= 8

    put(0b011, 3)              # the last block, with the fixed codes
    put(0x2C, 8)               # literal 4, the first row's filter
    put(0x0C, 8)               # literal 0
    for _ in range(127):
        put(0xA3, 13)          # length 258, distance 1: the rest of the first row
    matches = 127 * 32768      # length 258, distance 32768: the row above
    put(0x3FFF7A3, 26)         # one, which brings the stream to a whole byte
    unit_start = len(out)
    for _ in range(4):
        put(0x3FFF7A3, 26)     # four make 13 whole bytes, repeated
    unit = bytes(out[unit_start:])
    repeats = (matches - 1) // 4
    out[unit_start:] = unit * repeats
    for _ in range(matches - 1 - 4 * repeats):
        put(0x3FFF7A3, 26)
    put(0, 7 + 7)              # the end of the block, and the last byte filled up
    row = b"\x04" + bytes(32767)
    adler = 1
    for _ in range(32767):
        adler = zlib.adler32(row, adler)
    out += struct.pack(">I", adler)
    header = struct.pack(">IIBBBBB", 32767, 32767, 8, 0, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + png_chunk(b"IDAT", bytes(out))
            + png_chunk(b"IEND", b""))


def make_large(large):
    """Pictures too large to keep as they are, stored compressed as Qt's qCompress leaves them."""
    png = slow_png()
    (large / "slow.png.qz").write_bytes(struct.pack(">I", len(png)) + zlib.compress(png, 9))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-test-pictures.py MATE_BACKGROUNDS_DIR | --derived")
    here = Path(__file__).resolve().parent
    good, bad, large = here / "good", here / "bad", here / "large"
    for folder in (good, bad, large):
        folder.mkdir(exist_ok=True)
    if sys.argv[1] != "--derived":
        with tempfile.TemporaryDirectory() as tmp:
            make_good(Path(sys.argv[1]), good, Path(tmp))
            make_bad(Path(sys.argv[1]), good, bad, Path(tmp))
        make_large(large)
    make_derived(good, bad)


if __name__ == "__main__":
    main()
