#!/usr/bin/env python3
"""Player's hands and eyes for the window test, over the X test extension (no extra packages).

  xtool.py key NAME          press and release a key (X keysym name: Down, Return, Escape, a)
  xtool.py move X Y          move the pointer to screen pixel (X, Y)
  xtool.py click             press and release the left mouse button
  xtool.py pixel FILE X Y    print "R G B" of a pixel of a binary PPM (P6) screenshot
"""
import ctypes
import ctypes.util
import sys
import time


def x_display():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XStringToKeysym.restype = ctypes.c_ulong
    x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
    x11.XKeysymToKeycode.restype = ctypes.c_ubyte
    x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                          ctypes.c_ulong]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the X display")
    return x11, xtst, display


def main(args):
    if args[0] == "pixel":
        with open(args[1], "rb") as f:
            data = f.read()
        # P6 header: magic, width, height, maximum, each followed by whitespace.
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            start = pos
            while not data[pos:pos + 1].isspace():
                pos += 1
            fields.append(data[start:pos])
        pos += 1
        width = int(fields[1])
        x, y = int(args[2]), int(args[3])
        at = pos + 3 * (y * width + x)
        print(data[at], data[at + 1], data[at + 2])
        return
    x11, xtst, display = x_display()
    if args[0] == "key":
        code = x11.XKeysymToKeycode(display, x11.XStringToKeysym(args[1].encode()))
        xtst.XTestFakeKeyEvent(display, code, 1, 0)
        x11.XFlush(display)
        time.sleep(0.1)  # held across a few frames, as a finger would
        xtst.XTestFakeKeyEvent(display, code, 0, 0)
    elif args[0] == "move":
        xtst.XTestFakeMotionEvent(display, -1, int(args[1]), int(args[2]), 0)
    elif args[0] == "click":
        xtst.XTestFakeButtonEvent(display, 1, 1, 0)
        x11.XFlush(display)
        time.sleep(0.05)
        xtst.XTestFakeButtonEvent(display, 1, 0, 0)
    x11.XFlush(display)
    x11.XCloseDisplay(display)


if __name__ == "__main__":
    main(sys.argv[1:])
