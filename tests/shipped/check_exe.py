#!/usr/bin/env python3
"""Checks the shipped 32-bit pairmate.exe as a file, the way Windows XP's
loader will meet it: a stripped PE32 image of at most 400 KB (so that the
size it was trimmed to cannot creep back) whose header versions XP accepts,
whose imports (plain and delay-loaded) are all on the allowed
list next to this script (functions that Windows XP's system DLLs export),
and whose manifest is well-formed XML with every element a current Windows
reads (the display scaling's too), each in the namespace that XP's loader
accepts, no namespace declared twice.

Usage: check_exe.py EXE ALLOWED_IMPORTS
Prints every problem and exits 1 when there is one.
"""
import re
import struct
import sys
import xml.etree.ElementTree as ET

MAX_SIZE = 400 * 1024         # at most 400 KB
XP_VERSION = (5, 1)           # Windows XP: the newest OS/subsystem version it loads


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

    def resource(self, kind, ident):
        """The bytes of resource kind/ident (its first language), or None."""
        root, _ = self.directories[2] if len(self.directories) > 2 else (0, 0)

        def entry(directory, wanted):
            named, numbered = struct.unpack_from("<HH", self.data, self.offset(directory) + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", self.data, self.offset(directory) + 16 + 8 * i)
                if wanted is None or name == wanted:
                    return target
            return None

        at = root
        for wanted in (kind, ident, None):
            target = entry(at, wanted) if at else None
            if target is None:
                return None
            at = root + (target & 0x7FFFFFFF)
        rva, size = struct.unpack_from("<II", self.data, self.offset(at))
        return self.data[self.offset(rva):self.offset(rva) + size]


V1, V2, V3 = ("urn:schemas-microsoft-com:asm.v%d" % n for n in (1, 2, 3))
COMPATIBILITY = "urn:schemas-microsoft-com:compatibility.v1"
SUPPORTED_OS = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}  # Vista, 7, 8, 8.1, 10 and 11


def manifest_problems(text):
    """What the manifest (bytes) lacks or gets wrong."""
    try:
        root = ET.fromstring(text)
    except ET.ParseError as e:
        return ["the manifest is no well-formed XML: %s" % e]
    found = []
    declared = re.findall(rb'xmlns(?::\w+)?="([^"]*)"', text)
    for uri in sorted(set(declared)):
        if declared.count(uri) > 1:
            found.append("the manifest declares %s %d times" % (uri.decode(), declared.count(uri)))

    def one(path, what):
        element = root.find(path)
        if element is None:
            found.append("the manifest has no %s" % what)
        return element if element is not None else ET.Element("missing")

    if root.tag != "{%s}assembly" % V1 or root.get("manifestVersion") != "1.0":
        found.append("the manifest's root is no asm.v1 assembly of version 1.0")
    controls = one("{%s}dependency/{%s}dependentAssembly/{%s}assemblyIdentity" % (V1, V1, V1),
                   "dependency on the common controls")
    if (controls.get("name"), controls.get("version")) != ("Microsoft.Windows.Common-Controls", "6.0.0.0"):
        found.append("the manifest's dependency is not the common controls 6.0")
    level = one("{%s}trustInfo/{%s}security/{%s}requestedPrivileges/{%s}requestedExecutionLevel" % ((V2,) * 4),
                "asm.v2 trustInfo with requestedExecutionLevel")
    if (level.get("level"), level.get("uiAccess")) != ("asInvoker", "false"):
        found.append("the execution level is not asInvoker without uiAccess")
    systems = {e.get("Id") for e in root.iterfind("{%s}compatibility/{%s}application/{%s}supportedOS" % ((COMPATIBILITY,) * 3))}
    if systems != SUPPORTED_OS:
        found.append("the supported systems are %s" % sorted(systems))
    code_page = one("{%s}application/{%s}windowsSettings/{http://schemas.microsoft.com/SMI/2019/WindowsSettings}activeCodePage"
                    % (V3, V3), "activeCodePage")
    if code_page.text != "UTF-8":
        found.append("the active code page is %r, not UTF-8" % code_page.text)
    for name, year, value in (("dpiAware", 2005, "true/pm"), ("dpiAwareness", 2016, "PerMonitorV2, PerMonitor")):
        setting = one("{%s}application/{%s}windowsSettings/{http://schemas.microsoft.com/SMI/%d/WindowsSettings}%s"
                      % (V3, V3, year, name), name)
        if setting.text != value:
            found.append("%s is %r, not %r" % (name, setting.text, value))
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


def problems(exe, allowed_path):
    with open(exe, "rb") as f:
        data = f.read()
    image = Image(data)
    found = []
    if image.machine != 0x14C:
        found.append("machine 0x%x is not i386" % image.machine)
    if len(data) > MAX_SIZE:
        found.append("size %d bytes is over %d" % (len(data), MAX_SIZE))
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
    manifest = image.resource(24, 1)
    found += manifest_problems(manifest) if manifest else ["no manifest (resource 24, 1)"]
    print("%s: %d bytes, OS %d.%d, subsystem %d.%d, %d imports" %
          ((exe, len(data)) + tuple(image.os_version) + tuple(image.subsystem_version) + (len(imports),)))
    return found


if __name__ == "__main__":
    issues = problems(sys.argv[1], sys.argv[2])
    for issue in issues:
        print("FAIL: " + issue)
    sys.exit(1 if issues else 0)
