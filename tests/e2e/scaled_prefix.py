"""A copy of the Wine prefix whose screen has another DPI, for the display-scale tests and
the time-to-window benchmark. Wine takes the screen's DPI from
HKCU\\Control Panel\\Desktop\\LogPixels."""

import contextlib
import os
import shutil
import subprocess
import tempfile

from player_harness import wine

REGISTRY_FILES = ("system.reg", "user.reg", "userdef.reg")


class ScaledPrefix:
    """A copy of the prefix in WINEPREFIX whose screen has `dpi` pixels per inch. Its files
    are hard links, since Wine replaces the files it changes rather than writing into them,
    except the registry, which is copied; it lies beside the prefix, on its file system.
    Programs run in it with environment() as their environment."""

    def __init__(self, dpi):
        self.original = os.path.abspath(os.environ["WINEPREFIX"])
        self.folder = tempfile.mkdtemp(prefix="ambrevo-dpi-prefix-",
                                       dir=os.path.dirname(self.original))
        self.path = os.path.join(self.folder, "prefix")
        subprocess.run(["cp", "-al", self.original, self.path], check=True, timeout=120)
        for name in REGISTRY_FILES:
            os.remove(os.path.join(self.path, name))
            shutil.copy2(os.path.join(self.original, name), os.path.join(self.path, name))
        subprocess.run(wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                            "/t", "REG_DWORD", "/d", str(dpi), "/f"),
                       check=True, timeout=120, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, env=self.environment())

    @contextlib.contextmanager
    def in_use(self):
        """Programs started meanwhile (Session, wine()) run in this copy; removed after."""
        os.environ["WINEPREFIX"] = self.path
        try:
            yield self
        finally:
            os.environ["WINEPREFIX"] = self.original
            self.remove()

    def environment(self):
        return dict(os.environ, WINEPREFIX=self.path)

    def remove(self):
        # Only this copy's server, which would otherwise linger.
        subprocess.run(wine("--server", "-k"), timeout=30, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, env=self.environment())
        shutil.rmtree(self.folder, ignore_errors=True)
