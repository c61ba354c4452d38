#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<target>/ (committed; run again only to
change the seeds). Archives come from Python's zipfile and Info-ZIP zip, executables' headers are
written field by field."""
import io
import os
import struct
import subprocess
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
PASSWORD = "t7fqw2hbz5mx8cgpl1vr6ynd0ska3je9xuqa"


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def elf64():
    header = b"\x7fELF" + bytes([2, 1, 1]) + bytes(9)
    header += struct.pack("<HHIQQQIHHHHHH", 2, 62, 1, 0x401000, 64, 64 + 56, 0, 64, 56, 1, 64, 1, 0)
    segment = struct.pack("<IIQQQQQQ", 1, 5, 0, 0x400000, 0x400000, 200, 200, 0x1000)
    section = bytes(64)
    return header + segment + section


def pe32():
    dos = b"MZ" + bytes(58) + struct.pack("<I", 64)
    coff = b"PE\0\0" + struct.pack("<HHIIIHH", 0x14C, 1, 0, 0, 0, 224, 0x102)
    optional = struct.pack("<H", 0x10B) + bytes(222)
    section = b".text\0\0\0" + struct.pack("<IIIIIIHHI", 0x100, 0x1000, 0x200, 0x200, 0, 0, 0, 0, 0x60000020)
    body = dos + coff + optional + section
    return body + bytes(0x400 - len(body))


def archive(entries, method=zipfile.ZIP_STORED):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", method) as z:
        for name, data in entries:
            z.writestr(name, data)
    return buffer.getvalue()


def encrypted_archive():
    with tempfile.TemporaryDirectory() as tree:
        with open(os.path.join(tree, "qmt.ini"), "w") as f:
            f.write("[App]\nID=seed\nName=Seed\nDirName=app\n")
        os.makedirs(os.path.join(tree, "app"))
        with open(os.path.join(tree, "app", "index.html"), "w") as f:
            f.write("<title>seed</title>")
        out = os.path.join(tree, "seed.zip")
        subprocess.run(["zip", "-q", "-r", "-0", "-X", "-P", PASSWORD, out, "qmt.ini", "app"], cwd=tree, check=True)
        return open(out, "rb").read()


def main():
    write("image_end", "elf64", elf64())
    write("image_end", "pe32", pe32())
    write("image_end", "pe32_truncated", pe32()[:300])
    write("image_end", "elf_truncated", elf64()[:40])

    write("payload", "stored", archive([("qmt.ini", "[App]\nID=a\n"), ("app/index.html", "<p>x")]))
    write("payload", "deflated", archive([("app/big.txt", "line\n" * 200)], zipfile.ZIP_DEFLATED))
    write("payload", "dirs_and_names", archive([("app/", ""), ("APP/Index.HTML", "y"), ("app/Gr\u00fc\u00dfe.txt", "z")]))
    write("payload", "encrypted", encrypted_archive())

    write("settings", "plain", "[App]\r\nID=com.example\r\nName=Example\r\nDirName=app\r\nWidth=$400\r\nAllowZoom=1\r\n")
    write("settings", "utf8_mark", b"\xef\xbb\xbf[app]\nid = x\nname=\xc3\xa9\n; comment\n[Other]\nID=y\n")
    write("settings", "utf16le_mark", b"\xff\xfe" + "[App]\nName=\u00e9\nHeight=-0x10\n".encode("utf-16-le"))
    write("settings", "no_section", "ID=x\n[App\nName\n=value\n")

    for i, message in enumerate([
        '{"id":10001,"uuid":"u","data":{}}',
        '{"id":"10002","uuid":42,"data":null}',
        '{"id":50001,"uuid":"u","data":{"a":[1,{"b":2}],"c":"\\u00e9\\ud83d\\ude00"}}',
        '{"id":60010,"uuid":"u","data":{"top":1.5e3,"left":-0,"width":"640","height":true}}',
        '"qmt-webbrowser-clicked"',
        '{"id":99999,"uuid":"u","data":[]}',
    ]):
        write("bridge", "message%d" % i, message)

    for i, uri in enumerate(["qmt:///index.html?v=3#top", "file:///js/app.js?x", "QMT:///a%20b.css",
                             "qmt:///qmt:///x", "file:///C:/app/index.html", "https://example.com/"]):
        write("resource_paths", "uri%d" % i, uri)

    def units(*captions):
        return "\uffff".join(captions).encode("utf-16-le", "surrogatepass")

    write("captions", "plain", units("Main window", "   ", "", "  lead", "dup", "dup", "\t\r\n"))
    write("captions", "quotes", units("\"q\" \\ back", "\u00e9\u20ac\U0001F600", "\ud800 lone", "\x00\x01 x"))

    # [op, key length, key units, name length, name units, value length, value bytes]: write,
    # read, exists, delete value, key exists, delete key on colliding names.
    write("registry_store", "write_read", bytes([0, 3, 0, 4, 1, 2, 0, 1, 3, 65, 66, 67, 1, 3, 1, 5, 0, 2, 0, 0, 0]))
    write("registry_store", "delete_tree", bytes([0, 5, 0, 4, 2, 4, 0, 1, 0, 1, 88, 4, 1, 1, 0, 0, 5, 1, 1, 0, 0,
                                                  4, 3, 0, 4, 2, 0, 0]))

    write("text", "ascii", "plain text with \"quotes\" and \\backslashes\\")
    write("text", "unicode", "\u00e9\u20ac\U0001F600\u2028\u0000end")
    write("text", "invalid_utf8", b"\xc3\x28\xa0\xa1\xe2\x28\xa1\xf0\x90\x28\xbc\xed\xa0\x80")


if __name__ == "__main__":
    main()
