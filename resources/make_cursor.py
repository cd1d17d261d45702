# Draws the hand cursor shown over a link of the description window (a
# pointing hand, black outline, white inside, hot spot at the finger tip) and
# writes it as a 32 x 32 monochrome .cur file:
#   python3 resources/make_cursor.py resources/link_hand.cur
import struct, sys

# "#" outline, "." inside, " " transparent; the finger tip is the hot spot.
HAND = [
    "     ##         ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..###      ",
    "    #..#..###   ",
    "    #..#..#..## ",
    " ## #..#..#..#.#",
    "#..##........#.#",
    "#...#..........#",
    " #..#..........#",
    "  #............#",
    "  #............#",
    "   #...........#",
    "   #..........# ",
    "    #.........# ",
    "    #........#  ",
    "     #.......#  ",
    "     #.......#  ",
    "     #########  ",
]
HOT_X, HOT_Y = 5, 0
SIZE = 32


def pixel(x, y):
    if y < len(HAND) and x < len(HAND[y]):
        return HAND[y][x]
    return " "


def rows(bit):
    data = b""
    for y in reversed(range(SIZE)):  # bottom-up
        value = 0
        for x in range(SIZE):
            if bit(pixel(x, y)):
                value |= 1 << (SIZE - 1 - x)
        data += struct.pack(">I", value)
    return data


def main(path):
    xor = rows(lambda c: c == ".")      # white inside
    andmask = rows(lambda c: c == " ")  # transparent around
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(andmask), 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + xor + andmask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_X, HOT_Y, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/link_hand.cur")
