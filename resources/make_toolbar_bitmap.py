# Draws the toolbar's 16 button images (16 x 15 pixels each, side by side)
# and writes them as a 24-bit .bmp; magenta is the transparent colour:
#   python3 resources/make_toolbar_bitmap.py resources/toolbar.bmp
# Each image is a pixel map; the letters are the colours of PALETTE.
import struct, sys

PALETTE = {
    '.': (255, 0, 255),    # transparent
    'k': (0, 0, 0),        # outline
    'w': (255, 255, 255),
    'l': (192, 192, 192),
    'g': (128, 128, 128),
    'd': (64, 64, 64),
    'b': (0, 64, 176),     # blue
    'c': (128, 200, 255),  # light blue
    'v': (120, 60, 176),   # violet
    'p': (200, 160, 240),  # pale violet
    'r': (208, 0, 0),      # red
    'o': (150, 90, 40),    # brown
    'n': (224, 192, 140),  # tan
    'y': (248, 208, 48),   # yellow
    'G': (0, 136, 0),      # green
    'L': (160, 224, 128),  # light green
}

IMAGES = [
    # 0 all entries: a list of entries
    ["................",
     "..kkkkkkkkkkkk..",
     "..kwwwwwwwwwwk..",
     "..kwbwkkkkkkwk..",
     "..kwwwwwwwwwwk..",
     "..kwbwkkkkwwwk..",
     "..kwwwwwwwwwwk..",
     "..kwbwkkkkkwwk..",
     "..kwwwwwwwwwwk..",
     "..kwbwkkkkkkwk..",
     "..kwwwwwwwwwwk..",
     "..kwbwkkkwwwwk..",
     "..kwwwwwwwwwwk..",
     "..kkkkkkkkkkkk..",
     "................"],
    # 1 minerals: a quartz crystal
    [".......kk.......",
     "......kwck......",
     ".....kwwcck.....",
     "....kwwwccck....",
     "...kwwwkcccbk...",
     "...kwwkkkcbbk...",
     "...kwwkcckbbk...",
     "...kwwkcckbbk...",
     "...kwwkcckbbk...",
     "...kwwkcckbbk...",
     "...kwwkcckbbk...",
     "...kwwkcckbbk...",
     "....kwkcckbk....",
     ".....kkcckk.....",
     ".......kk......."],
    # 2 specimens: a specimen box with a crystal group
    ["................",
     ".....k....k.....",
     "....kpk..kvk....",
     "....kpk.kvvk.k..",
     "...kppk.kvvkkvk.",
     "...kppkkkvvkvvk.",
     ".kkkppkpkvvkvvkk",
     ".knnnnnnnnnnnnnk",
     ".kkkkkkkkkkkkkkk",
     ".koooooooooooook",
     ".koookkkkkkkoook",
     ".koookwwwwwkoook",
     ".koookkkkkkkoook",
     ".koooooooooooook",
     ".kkkkkkkkkkkkkkk"],
    # 3 label
    ["................",
     "................",
     "................",
     ".kkkkkkkkkkkkkk.",
     ".krrrrrrrrrrrrk.",
     ".kwwwwwwwwwwwwk.",
     ".kwkkkkkkkkwwwk.",
     ".kwwwwwwwwwwwwk.",
     ".kwkkkkkwwwwwwk.",
     ".kwwwwwwwwwwwwk.",
     ".kwkkkkkkkwwwwk.",
     ".kwwwwwwwwwwwwk.",
     ".kkkkkkkkkkkkkk.",
     "................",
     "................"],
    # 4 quit: leaving through the door
    ["................",
     ".......kkkkkkkk.",
     ".......koooooook",
     ".......koooooook",
     ".......koooooook",
     "...k...koooooook",
     "..kk...koooooook",
     ".krrrrrrrrroyyok",
     "..kk...koooooook",
     "...k...koooooook",
     ".......koooooook",
     ".......koooooook",
     ".......koooooook",
     ".......kkkkkkkkk",
     "................"],
    # 5 crystal drawing: a cube in outline
    ["................",
     "................",
     ".....kkkkkkkkk..",
     "....k.......kk..",
     "...k.......k.k..",
     "..kkkkkkkkk..k..",
     "..k.......k..k..",
     "..k.......k..k..",
     "..k.......k..k..",
     "..k.......k..k..",
     "..k.......k.k...",
     "..k.......kk....",
     "..kkkkkkkkk.....",
     "................",
     "................"],
    # 6 locality: a map pin on a map
    ["................",
     ".....kkkkk......",
     "....krrrrrk.....",
     "...krrwwrrrk....",
     "...krwwrrrrk....",
     "...krrrrrrrk....",
     "....krrrrrk.....",
     "....kkrrrkk.....",
     "..LLLkkrkkLLLL..",
     ".LLLLLkrkLLLGGL.",
     ".LLGGLLkLLLGGLL.",
     ".LGGGLLLLLLLLLL.",
     ".LLLLLLLLbbbLLL.",
     ".LLLLLbbbbLLLLL.",
     "................"],
    # 7 search: a magnifying glass
    ["................",
     "....kkkkk.......",
     "...kcccwck......",
     "..kccccwwck.....",
     "..kcccccwck.....",
     "..kcccccccck....",
     "..kcccccccck....",
     "...kcccccck.....",
     "....kkkkkokk....",
     ".........kook...",
     "..........kook..",
     "...........kook.",
     "............kok.",
     ".............k..",
     "................"],
    # 8 determination: magnifier over a crystal
    ["........k.......",
     ".......kpk......",
     "......kppvk.....",
     "......kppvk.....",
     "......kppvk.....",
     "...kkkkkpvk.....",
     "..kcccckpvk.....",
     ".kcccwcckkk.....",
     ".kccwcccck......",
     ".kcccccccck.....",
     ".kcccccccck.....",
     "..kccccck.......",
     "...kkkkkkok.....",
     ".........kok....",
     "..........kk...."],
    # 9 search result: a list with a found line and the magnifier
    ["................",
     ".kkkkkkkkkkk....",
     ".kwwwwwwwwwk....",
     ".kwkkkkkkwwk....",
     ".kwwwwwwwwwk....",
     ".kyyyyyyyyyk....",
     ".kykkkkkkkyk....",
     ".kyyyyykkkkk....",
     ".kwwwwwkcccck...",
     ".kwkkkkcwcccck..",
     ".kwwwwkccccccck.",
     ".kkkkkkcccccck..",
     ".......kkkkkokk.",
     "............kook",
     ".............kk."],
    # 10 glossary: a book
    ["................",
     "...kkkkkkkkkkk..",
     "..kGGGGGGGGGGk..",
     "..kGGGGkkGGGGk..",
     "..kGGGkGGkGGGk..",
     "..kGGGkkkkGGGk..",
     "..kGGGkGGkGGGk..",
     "..kGGGkGGkGGGk..",
     "..kGGGGGGGGGGk..",
     "..kGGGGGGGGGGk..",
     "..kGGGGGGGGGGk..",
     "..kkkkkkkkkkkk..",
     "..kwwwwwwwwwwk..",
     "...kkkkkkkkkkk..",
     "................"],
    # 11 print: a printer
    ["................",
     ".....kkkkkk.....",
     ".....kwwwwk.....",
     ".....kwkkwk.....",
     ".....kwwwwk.....",
     "..kkkkkkkkkkkk..",
     ".klllllllllllk..",
     ".kllllllllGGlk..",
     ".kgggggggggggk..",
     ".kgggggggggggk..",
     ".kgkkkkkkkkkgk..",
     ".kgkwwwwwwwkgk..",
     "..kkwkkkkkwkk...",
     "....kwwwwwk.....",
     "....kkkkkkk....."],
    # 12 description window: a window with text
    ["................",
     ".kkkkkkkkkkkkkk.",
     ".kbbbbbbbbbbwbk.",
     ".kkkkkkkkkkkkkk.",
     ".kwwwwwwwwwwwwk.",
     ".kwkkkkkkkkkwwk.",
     ".kwwwwwwwwwwwwk.",
     ".kwkkkkkkwwwwwk.",
     ".kwwwwwwwwwwwwk.",
     ".kwkkkkkkkkkkwk.",
     ".kwwwwwwwwwwwwk.",
     ".kwkkkkkwwwwwwk.",
     ".kwwwwwwwwwwwwk.",
     ".kkkkkkkkkkkkkk.",
     "................"],
    # 13 detailed list: a table with columns
    ["................",
     ".kkkkkkkkkkkkkk.",
     ".klllllklllklllk",
     ".kkkkkkkkkkkkkk.",
     ".kwwwwwkwwwkwwk.",
     ".kkkkkkkkkkkkkk.",
     ".kwwwwwkwwwkwwk.",
     ".kkkkkkkkkkkkkk.",
     ".kwwwwwkwwwkwwk.",
     ".kkkkkkkkkkkkkk.",
     ".kwwwwwkwwwkwwk.",
     ".kkkkkkkkkkkkkk.",
     ".kwwwwwkwwwkwwk.",
     ".kkkkkkkkkkkkkk.",
     "................"],
    # 14 labels sheet: labels on a page
    ["................",
     "..kkkkkkkkkkkk..",
     "..kwwwwwwwwwwk..",
     "..kwkkkkwkkkkk..",
     "..kwkrrkwkrrkk..",
     "..kwkkkkwkkkkk..",
     "..kwwwwwwwwwwk..",
     "..kwkkkkwkkkkk..",
     "..kwkrrkwkrrkk..",
     "..kwkkkkwkkkkk..",
     "..kwwwwwwwwwwk..",
     "..kwkkkkwkkkkk..",
     "..kwkrrkwkrrkk..",
     "..kkkkkkkkkkkk..",
     "................"],
    # 15 exchange: two arrows
    ["................",
     "..........k.....",
     "..........kk....",
     "...kkkkkkkkGk...",
     "...kGGGGGGGGGk..",
     "...kkkkkkkkGk...",
     "..........kk....",
     ".....k....k.....",
     "....kk..........",
     "...krkkkkkkkk...",
     "..krrrrrrrrrk...",
     "...krkkkkkkkk...",
     "....kk..........",
     ".....k..........",
     "................"],
]

W, H = 16, 15


def check():
    assert len(IMAGES) == 16, len(IMAGES)
    for n, img in enumerate(IMAGES):
        assert len(img) == H, (n, len(img))
        for row in img:
            assert len(row) == W, (n, row)
            for ch in row:
                assert ch in PALETTE, (n, ch)


def pixels():
    rows = []
    for y in range(H):
        row = []
        for img in IMAGES:
            row.extend(PALETTE[ch] for ch in img[y])
        rows.append(row)
    return rows


def write_bmp(path, rows):
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    data = b''
    for row in reversed(rows):  # bottom-up
        line = b''.join(bytes((b, g, r)) for (r, g, b) in row)
        data += line + b'\0' * (stride - len(line))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, 'wb') as f:
        f.write(head + info + data)


if __name__ == '__main__':
    check()
    write_bmp(sys.argv[1], pixels())
