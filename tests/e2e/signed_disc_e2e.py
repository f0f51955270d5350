"""End-to-end check that a signed disc still plays: the demo disc, built with the authoring
tool, is signed with osslsigncode and a throw-away certificate made by openssl, the
signature is verified, and the signed program is run under Wine on the test's X display.

Usage: signed_disc_e2e.py CASE PLAYER_EXE PACK_EXE DEMO_FOLDER [DEFAULT_WINEPREFIX]
"""

import os
import struct
import subprocess

from player_harness import case_and_arguments, wine
from window_e2e import Disc, expect, menu_window, windows_path
from window_session import Session

OPTIONAL_HEADER = 24  # after "PE\0\0" and the file header
# Where the data directories start in the optional header, by its magic (PE32, PE32+).
DIRECTORIES = {0x10B: 96, 0x20B: 112}
SECURITY_ENTRY = 4 * 8  # the fifth directory


def run(*command):
    return subprocess.run(list(command), stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          timeout=120)


def certificate_table(data):
    """(offset, size) that the PE header's security directory names."""
    optional = struct.unpack_from("<I", data, 0x3C)[0] + OPTIONAL_HEADER
    magic = struct.unpack_from("<H", data, optional)[0]
    return struct.unpack_from("<II", data, optional + DIRECTORIES[magic] + SECURITY_ENTRY)


def make_certificate(folder):
    """A throw-away certificate and its key: (key.pem, cert.pem)."""
    key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
    made = run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
               "-out", cert, "-days", "2", "-subj", "/CN=Ambrevo Test")
    expect(made.returncode == 0, "openssl made a certificate: %r" % made.stdout)
    return key, cert


def sign(folder, exe):
    key, cert = make_certificate(folder)
    signed_folder = os.path.join(folder, "signed")
    os.mkdir(signed_folder)
    signed = os.path.join(signed_folder, "setup.exe")
    done = run("osslsigncode", "sign", "-certs", cert, "-key", key, "-in", exe, "-out", signed)
    expect(done.returncode == 0, "osslsigncode signed the disc: %r" % done.stdout)
    verified = run("osslsigncode", "verify", "-CAfile", cert, "-in", signed)
    expect(verified.returncode == 0, "osslsigncode accepts the signature: %r" % verified.stdout)
    return signed


def case_signed_demo_disc(player_exe, pack_exe, disc):
    with open(disc.exe, "rb") as f:
        unsigned = f.read()
    expect(len(unsigned) % 8 == 0, "the built disc ends on an 8-byte boundary")
    signed = sign(disc.folder, disc.exe)
    with open(signed, "rb") as f:
        data = f.read()
    offset, size = certificate_table(data)
    expect((offset, offset + size) == (len(unsigned), len(data)),
           "the signature follows the package without padding and ends the file: %r"
           % ((offset, size, len(unsigned), len(data)),))

    listed = run(*wine(pack_exe, "list", windows_path(signed)))
    expect(listed.returncode == 0 and b"main.mnu" in listed.stdout,
           "the tool lists the signed disc: %r" % listed.stdout)

    background = disc.picture("main-background")
    session = Session(signed)
    try:
        menu_window(session, (background.width, background.height))
        expect(session.boxes() == [], "no message: %r" % session.boxes())
    finally:
        session.stop()


def case_windows_tool_signs(player_exe, pack_exe, disc):
    """The Windows tool signs what it builds through the system's signer; where the system
    has none (as under Wine), it says so and writes nothing: never an unsigned success."""
    key, cert = make_certificate(disc.folder)
    pfx = os.path.join(disc.folder, "cert.pfx")
    exported = run("openssl", "pkcs12", "-export", "-passout", "pass:disc secret", "-inkey", key,
                   "-in", cert, "-out", pfx)
    expect(exported.returncode == 0, "openssl made a .pfx: %r" % exported.stdout)
    output = os.path.join(disc.folder, "out", "setup.exe")
    built = subprocess.run(
        wine(pack_exe, "build", windows_path(os.path.join(disc.source, "package.toml")),
             "--player", windows_path(player_exe), "-o", windows_path(output),
             "--sign", windows_path(pfx)),
        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120,
        env=dict(os.environ, AMBREVO_SIGN_PASSWORD="disc secret"))
    if built.returncode != 0:
        said = built.stdout.decode("utf-8", "replace")
        expect('error: cannot sign "%s": this Windows has no code signing' % windows_path(output)
               in said, "the build says why it did not sign: %r" % said)
        expect(not os.path.exists(output) and not os.path.exists(output + ".unsigned"),
               "a build that did not sign writes nothing")
        return
    verified = run("osslsigncode", "verify", "-CAfile", cert, "-in", output)
    expect(verified.returncode == 0, "osslsigncode accepts the signature: %r" % verified.stdout)
    listed = run(*wine(pack_exe, "list", windows_path(output)))
    expect(listed.returncode == 0 and b"main.mnu" in listed.stdout,
           "the tool lists the signed disc: %r" % listed.stdout)


def main():
    case, (player_exe, pack_exe, demo_folder) = case_and_arguments(
        globals(), ["PLAYER_EXE", "PACK_EXE", "DEMO_FOLDER"])
    with Disc(player_exe, pack_exe, demo_folder) as disc:
        case(player_exe, pack_exe, disc)


if __name__ == "__main__":
    main()
