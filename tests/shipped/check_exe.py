#!/usr/bin/env python3
"""Checks the shipped 32-bit pairmate.exe as a file, the way Windows XP's
loader will meet it: a stripped PE32 image below 1 MB whose header versions
XP accepts, whose imports (plain and delay-loaded) are all on the allowed
list next to this script (functions that Windows XP's system DLLs export),
and whose manifest XP reads: well-formed, no namespace declared twice, and
newer systems' elements in their own namespaces, which XP passes over.

Usage: check_exe.py EXE ALLOWED_IMPORTS
Prints every problem and exits 1 when there is one.
"""
import re
import struct
import sys
import xml.etree.ElementTree as ET

MAX_SIZE = 1000 * 1000        # below 1 MB
XP_VERSION = (5, 1)           # Windows XP: the newest OS/subsystem version it loads

# The namespace of each section of the manifest and what it holds (the
# assembly's own elements: asm.v1), and of each Windows setting.
MANIFEST_SECTIONS = {"trustInfo": "urn:schemas-microsoft-com:asm.v2", "application": "urn:schemas-microsoft-com:asm.v3",
                     "compatibility": "urn:schemas-microsoft-com:compatibility.v1"}
MANIFEST_SETTINGS = {"dpiAware": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                     "dpiAwareness": "http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                     "activeCodePage": "http://schemas.microsoft.com/SMI/2019/WindowsSettings"}
MANIFEST_VALUES = {"dpiAware": "true/pm", "dpiAwareness": "PerMonitorV2, PerMonitor"}

class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        (self.machine, sections, _, self.symbols_at, self.symbol_count, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        if self.magic != 0x10B:
            raise ValueError("not a 32-bit (PE32) image")
        self.image_base = struct.unpack_from("<I", data, opt + 28)[0]
        self.os_version = struct.unpack_from("<HH", data, opt + 40)
        self.subsystem_version = struct.unpack_from("<HH", data, opt + 48)
        count = struct.unpack_from("<I", data, opt + 92)[0]
        self.directories = [struct.unpack_from("<II", data, opt + 96 + 8 * i) for i in range(count)]
        table = opt + optional_size
        self.sections = [struct.unpack_from("<8sIIII", data, table + 40 * i) for i in range(sections)]

    def offset(self, rva):
        for _, vsize, vaddr, rsize, raw in self.sections:
            if vaddr <= rva < vaddr + max(vsize, rsize):
                return raw + rva - vaddr
        raise ValueError("address 0x%x lies in no section" % rva)

    def u32(self, rva):
        return struct.unpack_from("<I", self.data, self.offset(rva))[0]

    def text(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def names(self, thunks):
        """Function names of a thunk table (ordinals as '#n')."""
        out = []
        while True:
            thunk = self.u32(thunks)
            if thunk == 0:
                return out
            out.append("#%d" % (thunk & 0xFFFF) if thunk & 0x80000000 else self.text(thunk + 2))
            thunks += 4

    def delay_descriptors(self):
        """Addresses of the delay-import descriptors: those the header's
        directory lists, and those found by their shape, since GNU ld leaves
        that directory empty although the descriptors are in the image."""
        found = set()
        rva, size = self.directories[13] if len(self.directories) > 13 else (0, 0)
        while rva and size and struct.unpack_from("<II", self.data, self.offset(rva)) != (0, 0):
            found.add(rva)
            rva += 32
        for _, _, vaddr, rsize, raw in self.sections:
            for at in range(raw, raw + rsize - 31, 4):
                attributes, name, module, iat, names, bound, unload, stamp = struct.unpack_from("<8I", self.data, at)
                if attributes != 1 or bound or unload or stamp or not (name and module and iat and names):
                    continue
                try:
                    if self.text(name).lower().endswith(".dll"):
                        found.add(vaddr + at - raw)
                except (ValueError, UnicodeDecodeError):
                    pass
        return sorted(found)

    def imports(self):
        """(dll, function) pairs of the import and delay-import tables."""
        found = []
        rva, size = self.directories[1] if len(self.directories) > 1 else (0, 0)
        while rva and size:
            lookup, _, _, name, iat = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if name == 0:
                break
            found += [(self.text(name), f) for f in self.names(lookup or iat)]
            rva += 20
        for rva in self.delay_descriptors():
            attributes, name, _, _, lookup = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            # Old-style descriptors hold addresses instead of relative ones.
            base = 0 if attributes & 1 else self.image_base
            found += [(self.text(name - base), f) for f in self.names(lookup - base)]
        return found


def allowed(path):
    out = set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                dll, function = line.split()
                out.add((dll.lower(), function))
    return out


def manifest_problems(data):
    """The manifest is stored in the image as it is written."""
    start, end = data.find(b"<assembly"), data.find(b"</assembly>")
    if start < 0 or end < start:
        return ["no manifest"]
    text = data[start:end + len(b"</assembly>")]
    declared = re.findall(rb'xmlns(?::[\w.-]+)?\s*=\s*"([^"]*)"', text)
    found = ["manifest declares namespace %s twice" % u.decode() for u in set(declared) if declared.count(u) > 1]
    try:
        root = ET.fromstring(text)
    except ET.ParseError as e:
        return found + ["manifest is not well-formed XML: %s" % e]
    values = {}
    for section in [root] + list(root):
        section_ns = MANIFEST_SECTIONS.get(section.tag.split("}")[-1], "urn:schemas-microsoft-com:asm.v1")
        for element in (section.iter() if section is not root else [root]):
            name = element.tag.split("}")[-1]
            values[name] = (element.text or "").strip()
            wanted = MANIFEST_SETTINGS.get(name, section_ns) if section_ns.endswith("asm.v3") else section_ns
            if not element.tag.startswith("{%s}" % wanted):
                found.append("manifest element %s is not in namespace %s" % (element.tag, wanted))
    return found + ["manifest element %s is not '%s'" % (n, v) for n, v in MANIFEST_VALUES.items() if values.get(n) != v]


def problems(exe, allowed_path):
    with open(exe, "rb") as f:
        data = f.read()
    image = Image(data)
    found = []
    if image.machine != 0x14C:
        found.append("machine 0x%x is not i386" % image.machine)
    if len(data) >= MAX_SIZE:
        found.append("size %d bytes is not below %d" % (len(data), MAX_SIZE))
    if image.symbols_at or image.symbol_count:
        found.append("not stripped: %d symbols" % image.symbol_count)
    for what, version in (("OS", image.os_version), ("subsystem", image.subsystem_version)):
        if tuple(version) > XP_VERSION:
            found.append("%s version %d.%d is newer than Windows XP's 5.1" % ((what,) + tuple(version)))
    ok = allowed(allowed_path)
    imports = image.imports()
    if not imports:
        found.append("no imports found")
    for dll, function in imports:
        if (dll.lower(), function) not in ok:
            found.append("import not on the allowed list: %s %s" % (dll, function))
    found += manifest_problems(data)
    print("%s: %d bytes, OS %d.%d, subsystem %d.%d, %d imports" %
          ((exe, len(data)) + tuple(image.os_version) + tuple(image.subsystem_version) + (len(imports),)))
    return found


if __name__ == "__main__":
    issues = problems(sys.argv[1], sys.argv[2])
    for issue in issues:
        print("FAIL: " + issue)
    sys.exit(1 if issues else 0)
