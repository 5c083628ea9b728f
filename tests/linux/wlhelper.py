"""A virtual pointer and keyboard on the Wayland compositor at $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY, spoken in the wire
protocol itself: a headless seat has neither, so `swaymsg seat - cursor` would reach no client, and the keys of each
wtype would arrive in the keyboard's enter event instead of as presses. Prints "ready", then keeps both until killed."""
import ctypes as c, os, signal, socket, struct, tempfile

sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
sock.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"]))
u32 = lambda *v: struct.pack(f"<{len(v)}I", *v)
text = lambda s: (lambda b: u32(len(b)) + b + b"\0" * (-len(b) % 4))(s.encode() + b"\0")
def send(obj, op, args=b"", fds=()):
    socket.send_fds(sock, [u32(obj, (8 + len(args)) << 16 | op) + args], list(fds))
found, buf = {}, b""
def sync(callback):  # wl_display.sync, then reads events until its done, noting the registry's globals
    global buf
    send(1, 0, u32(callback))
    while True:
        while len(buf) >= 8 and len(buf) >= struct.unpack_from("<I", buf, 4)[0] >> 16:
            obj, word = struct.unpack_from("<II", buf)
            body, buf = buf[8:word >> 16], buf[word >> 16:]
            if obj == 2 and word & 0xFFFF == 0:
                found[body[8:7 + struct.unpack_from("<I", body, 4)[0]].decode()] = struct.unpack_from("<I", body)[0]
            if obj == callback:
                return
        buf += sock.recv(65536)
send(1, 1, u32(2))  # wl_display.get_registry -> 2
sync(3)
bind = lambda name, version, new: send(2, 0, u32(found[name]) + text(name) + u32(version, new))
bind("wl_seat", 1, 4)
bind("zwlr_virtual_pointer_manager_v1", 1, 5)
send(5, 0, u32(0, 6))  # create_virtual_pointer(the default seat) -> 6
bind("zwp_virtual_keyboard_manager_v1", 1, 7)
send(7, 0, u32(4, 8))  # create_virtual_keyboard(seat) -> 8
x = c.CDLL("libxkbcommon.so.0")
x.xkb_context_new.restype = x.xkb_keymap_new_from_names.restype = x.xkb_keymap_get_as_string.restype = c.c_void_p
keymap = x.xkb_keymap_new_from_names(c.c_void_p(x.xkb_context_new(0)), None, 0)
source = c.string_at(x.xkb_keymap_get_as_string(c.c_void_p(keymap), 1)) + b"\0"
with tempfile.TemporaryFile() as f:
    f.write(source)
    f.flush()
    send(8, 0, u32(1, len(source)), [f.fileno()])  # keymap(xkb v1, fd, size)
    sync(9)
print("ready", flush=True)
signal.pause()
