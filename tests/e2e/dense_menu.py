"""A small menu for the tests of pictures drawn for denser screens: a background and one
item with `@2x` variants whose pixels differ from their 1x pictures, and one item with
none."""
import os
import subprocess

MENU_SIZE = (120, 80)
DENSE = (30, 10, 40, 30)  # the item with variants: left, top, width, height
PLAIN = (80, 10, 32, 32)  # the item without
MENU = """title = "Dense pictures"
placement = "center"
background = "bg.png"
[[item]]
kind = "picture"
target = "%%dense.txt"
position = [%d, %d]
[item.pictures]
normal = "dense.png"
[[item]]
kind = "picture"
target = "%%plain.txt"
position = [%d, %d]
[item.pictures]
normal = "plain.png"
""" % (DENSE[0], DENSE[1], PLAIN[0], PLAIN[1])
# ImageMagick recipes: each 1x picture and its variant are unlike each other, so that
# which was drawn is plain to see.
PICTURES = {
    "bg.png": ["-size", "120x80", "gradient:#204060-#a0c0e0"],
    "bg@2x.png": ["-size", "160x240", "gradient:#e08020-#20a040", "-rotate", "90"],
    "dense.png": ["-size", "40x30", "xc:#30c030"],
    "dense@2x.png": ["-size", "80x60", "gradient:#ff0000-#0000ff", "-fill", "#ffff00",
                     "-draw", "rectangle 10,10 29,49"],
    "plain.png": ["-size", "32x32", "pattern:gray50"],  # black and white pixels in turn
}


def write_dense_menu(source):
    """The menu's sources, package.toml and pictures written into the folder source."""
    with open(os.path.join(source, "main.toml"), "w") as out:
        out.write(MENU)
    with open(os.path.join(source, "package.toml"), "w") as out:
        out.write('menus = ["main.toml"]\n')
    for name, recipe in PICTURES.items():
        subprocess.run(["convert", *recipe, "-type", "TrueColor", "-depth", "8",
                        os.path.join(source, name)], check=True, timeout=60)
