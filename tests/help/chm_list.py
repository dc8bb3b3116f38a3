"""Lists the files stored in a compiled HTML help (.chm) file.

A .chm is an ITSF container: a header that points at a directory (ITSP) made of fixed-size
chunks; the PMGL chunks hold the file entries (name, content section, offset, length) and the
PMGI chunks are only an index over them, so reading every PMGL chunk gives every file.
"""
import struct


def _encint(data, pos):
    """Reads a big-endian base-128 number whose bytes carry a continuation bit."""
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def chm_entries(path):
    """Returns {name: (section, length)} for every file in the .chm at path."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"ITSF":
        raise ValueError(f"{path}: not a compiled help file (no ITSF signature)")
    # The header section table follows the fixed 0x38-byte part: section 1 is the directory.
    dir_offset, _dir_length = struct.unpack_from("<QQ", data, 0x38 + 16)
    if data[dir_offset:dir_offset + 4] != b"ITSP":
        raise ValueError(f"{path}: directory header missing")
    header_length, _, chunk_size = struct.unpack_from("<III", data, dir_offset + 8)
    chunk_count = struct.unpack_from("<I", data, dir_offset + 44)[0]
    entries = {}
    first_chunk = dir_offset + header_length
    for i in range(chunk_count):
        chunk = data[first_chunk + i * chunk_size:first_chunk + (i + 1) * chunk_size]
        if chunk[:4] != b"PMGL":
            continue
        free_space = struct.unpack_from("<I", chunk, 4)[0]
        pos, end = 20, chunk_size - free_space
        while pos < end:
            name_length, pos = _encint(chunk, pos)
            name = chunk[pos:pos + name_length].decode("utf-8")
            pos += name_length
            section, pos = _encint(chunk, pos)
            _offset, pos = _encint(chunk, pos)
            length, pos = _encint(chunk, pos)
            entries[name] = (section, length)
    return entries


if __name__ == "__main__":
    import sys
    for name, (section, length) in sorted(chm_entries(sys.argv[1]).items()):
        print(f"{section} {length:8d} {name}")
