"""Broken payloads for the tests of the programs that read them (velmora-pack and the runtime):
each builder returns the bytes of a ZIP archive damaged or forged in one way."""
import io
import os
import struct
import subprocess
import warnings
import zipfile


def truncated(payload):
    return payload[:len(payload) // 2]


def end_record_outside(payload):
    data = bytearray(payload)
    at = data.rfind(b"PK\x05\x06")
    struct.pack_into("<I", data, at + 16, 0xFFFFFF00)
    return bytes(data)


def sizes_forged(payload):
    data = bytearray(payload)
    for signature, sizes_at in ((b"PK\x03\x04", 18), (b"PK\x01\x02", 20)):
        at = data.find(signature)
        while at >= 0:
            struct.pack_into("<II", data, at + sizes_at, 0xFFFFFF00, 0xFFFFFF00)
            at = data.find(signature, at + 4)
    return bytes(data)


def plain_archive(entries):
    buffer = io.BytesIO()
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")  # the duplicate name is the point
        with zipfile.ZipFile(buffer, "w") as z:
            for name, text in entries:
                z.writestr(name, text)
    return buffer.getvalue()


def info_zip_archive(work, ini, password):
    """qmt.ini encrypted by Info-ZIP under another password than ours."""
    path = os.path.join(work, "qmt.ini")
    with open(path, "w") as f:
        f.write(ini)
    out = os.path.join(work, "other.zip")
    if os.path.exists(out):
        os.remove(out)
    subprocess.run(["zip", "-q", "-j", "-P", password.decode(), out, path], check=True)
    with open(out, "rb") as f:
        return f.read()


def bomb_archive(ini):
    """200 MiB of zeros in a deflated entry of a few hundred kilobytes, beside a good qmt.ini."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("qmt.ini", ini)
        with z.open("app/bomb.bin", "w") as f:
            for _ in range(200):
                f.write(bytes(1 << 20))
    return buffer.getvalue()
