#!/usr/bin/env python3
"""Writes a copy of a PDB made by GNU ld without the paths of the machine that built it.

clean-pdb.py IN.pdb OUT.pdb [MAP]

With MAP, the linker's map of the same link gets a first line with the PDB's GUID and age,
which the DLL's debug record holds too: the map then names the build it belongs to.

GNU ld names every module of the PDB by the full path of its object file or archive, and
records the linker's working folder, its own path and the PDB's path in the "* Linker *"
module. The copy keeps the file names alone, so that nothing of the build machine ships.
Everything else, the signature and age a debugger matches against the DLL's debug record
included, stays as it was. The streams are written out afresh, one after the other, since
the names change the lengths of two of them.
"""
import os
import struct
import sys

MAGIC = b"Microsoft C/C++ MSF 7.00\r\n\x1aDS\0\0\0"
NIL = 0xFFFFFFFF
INFO_STREAM = 1
DBI_STREAM = 3
DBI_HEADER = 64
MODULE_HEADER = 64
S_ENVBLOCK = 0x113D


def read_msf(data):
    if not data.startswith(MAGIC):
        sys.exit("not an MSF 7.00 file")
    block_size, _, _, dir_bytes, _, map_block = struct.unpack_from("<6I", data, len(MAGIC))

    def blocks(indices, size):
        return b"".join(data[i * block_size:(i + 1) * block_size] for i in indices)[:size]

    dir_count = -(-dir_bytes // block_size)
    directory = blocks(struct.unpack_from(f"<{dir_count}I", data, map_block * block_size), dir_bytes)
    count = struct.unpack_from("<I", directory)[0]
    sizes = struct.unpack_from(f"<{count}I", directory, 4)
    offset = 4 + 4 * count
    streams = []
    for size in sizes:
        used = 0 if size == NIL else size
        n = -(-used // block_size)
        streams.append(None if size == NIL else blocks(struct.unpack_from(f"<{n}I", directory, offset), used))
        offset += 4 * n
    return block_size, streams


def write_msf(block_size, streams):
    # Blocks 1 and 2 of every block_size blocks hold the free-block maps.
    next_block = [3]

    def allocate(size):
        indices = []
        for _ in range(-(-size // block_size)):
            while next_block[0] % block_size in (1, 2):
                next_block[0] += 1
            indices.append(next_block[0])
            next_block[0] += 1
        return indices

    placed = [(s, allocate(len(s))) for s in streams if s is not None]
    directory = struct.pack("<I", len(streams))
    directory += b"".join(struct.pack("<I", NIL if s is None else len(s)) for s in streams)
    directory += b"".join(struct.pack(f"<{len(b)}I", *b) for _, b in placed)
    dir_blocks = allocate(len(directory))
    map_block = allocate(4 * len(dir_blocks))[0]
    total = next_block[0]
    out = bytearray(total * block_size)

    def put(indices, payload):
        for n, index in enumerate(indices):
            chunk = payload[n * block_size:(n + 1) * block_size]
            out[index * block_size:index * block_size + len(chunk)] = chunk

    for payload, indices in placed:
        put(indices, payload)
    put(dir_blocks, directory)
    put([map_block], struct.pack(f"<{len(dir_blocks)}I", *dir_blocks))
    # A set bit is a free block: every block of the file is in use, none beyond it.
    free_map = bytearray(b"\xff" * block_size)
    for index in range(min(total, 8 * block_size)):
        free_map[index // 8] &= ~(1 << (index % 8)) & 0xFF
    for fpm in range(1, total, block_size):
        put([fpm, fpm + 1], bytes(free_map))
    out[:len(MAGIC)] = MAGIC
    struct.pack_into("<6I", out, len(MAGIC), block_size, 1, total, len(directory), 0, map_block)
    return bytes(out)


def base_name(path):
    return os.path.basename(path.rstrip(b"/")) or path


def clean_linker_symbols(stream, symbol_bytes):
    """The "* Linker *" module's symbols with the environment block's values shortened."""
    out = bytearray(stream[:4])
    offset = 4
    while offset < symbol_bytes:
        length, kind = struct.unpack_from("<HH", stream, offset)
        record = stream[offset:offset + 2 + length]
        offset += 2 + length
        if kind == S_ENVBLOCK:
            fields = record[5:].rstrip(b"\0").split(b"\0")
            fields[1::2] = [b"." if key == b"cwd" else base_name(value)
                            for key, value in zip(fields[0::2], fields[1::2])]
            body = record[2:5] + b"\0".join(fields) + b"\0"
            body += b"\0" * (-(len(body) + 2) % 4)
            record = struct.pack("<H", len(body)) + body
        out += record
    return bytes(out), stream[symbol_bytes:]


def clean(streams):
    dbi = streams[DBI_STREAM]
    module_bytes = struct.unpack_from("<i", dbi, 24)[0]
    modules = dbi[DBI_HEADER:DBI_HEADER + module_bytes]
    cleaned = bytearray()
    offset = 0
    while offset < len(modules):
        header = bytearray(modules[offset:offset + MODULE_HEADER])
        end = modules.index(b"\0", offset + MODULE_HEADER)
        name = modules[offset + MODULE_HEADER:end]
        archive_end = modules.index(b"\0", end + 1)
        archive = modules[end + 1:archive_end]
        offset = (archive_end + 1 + 3) & ~3
        stream_index, symbol_bytes = struct.unpack_from("<HI", header, 34)
        if name == b"* Linker *":
            symbols, rest = clean_linker_symbols(streams[stream_index], symbol_bytes)
            streams[stream_index] = symbols + rest
            struct.pack_into("<I", header, 36, len(symbols))
        else:
            name, archive = base_name(name), base_name(archive)
        entry = header + name + b"\0" + archive + b"\0"
        cleaned += entry + b"\0" * (-len(entry) % 4)
    streams[DBI_STREAM] = (dbi[:24] + struct.pack("<i", len(cleaned)) + dbi[28:DBI_HEADER] + cleaned
                           + dbi[DBI_HEADER + module_bytes:])


def name_build(streams, pdb_name, map_path):
    age, data1, data2, data3, data4 = struct.unpack_from("<8xIIHH8s", streams[INFO_STREAM])
    guid = f"{data1:08X}-{data2:04X}-{data3:04X}-{data4[:2].hex().upper()}-{data4[2:].hex().upper()}"
    with open(map_path, "r+", encoding="latin-1") as f:
        text = f.read()
        f.seek(0)
        f.write(f"Debug record of this link's DLL and its PDB {pdb_name}: GUID {{{guid}}}, age {age}\n\n{text}")


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit("usage: clean-pdb.py IN.pdb OUT.pdb [MAP]")
    with open(sys.argv[1], "rb") as f:
        block_size, streams = read_msf(f.read())
    clean(streams)
    with open(sys.argv[2], "wb") as f:
        f.write(write_msf(block_size, streams))
    if len(sys.argv) == 4:
        name_build(streams, os.path.basename(sys.argv[2]), sys.argv[3])


if __name__ == "__main__":
    main()
