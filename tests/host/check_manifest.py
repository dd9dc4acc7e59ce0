#!/usr/bin/env python3
"""check_manifest.py <program> <version>

Reads the application manifest back out of the program's resources (type
RT_MANIFEST 24, id 1, as the loader looks for it), parses it as XML and
checks what Windows acts on: the identity and version, no elevation, the
supported Windows versions and the DPI awareness with its fallbacks.
"""
import re
import struct
import sys
import xml.etree.ElementTree as ET

RT_MANIFEST = 24
ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10",
}


class Image:
    """The parts of a PE image needed to walk its resource tree."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        self.resource_rva, self.resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            size, rva, raw_size, raw = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            self.sections.append((rva, max(size, raw_size), raw))

    def offset(self, rva):
        if self.resource_rva == 0:
            raise ValueError("the program has no resources")
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("address %#x is in no section" % rva)

    def directory(self, at):
        """The (id or None, entry offset, is a subdirectory) of one directory."""
        base = self.offset(self.resource_rva)
        named, ids = struct.unpack_from("<HH", self.data, base + at + 12)
        entries = []
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", self.data, base + at + 16 + 8 * i)
            key = None if name & 0x80000000 else name
            entries.append((key, target & 0x7FFFFFFF, bool(target & 0x80000000)))
        return entries

    def resources(self, type_id):
        """{id: [bytes per language]} of one resource type."""
        found = {}
        base = self.offset(self.resource_rva)
        for key, at, sub in self.directory(0):
            if key != type_id or not sub:
                continue
            for name, name_at, _ in self.directory(at):
                for _, leaf, _ in self.directory(name_at):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    found.setdefault(name, []).append(self.data[self.offset(rva):self.offset(rva) + size])
        return found


def check(program, version):
    problems = []
    with open(program, "rb") as f:
        manifests = Image(f.read()).resources(RT_MANIFEST)
    if list(manifests) != [1] or len(manifests[1]) != 1:
        return ["expected one manifest, id 1; found ids %s" % sorted(k for k in manifests if k is not None)]
    text = manifests[1][0]
    root = ET.fromstring(text)  # raises on a manifest that is not well-formed

    # Windows XP SP2 fails on a start tag that declares two namespaces.
    for tag in re.findall(rb"<[A-Za-z][^>]*>", text):
        if len(re.findall(rb"\sxmlns(?::\w+)?=", tag)) > 1:
            problems.append("a tag declares more than one namespace: %s" % tag.decode())

    if root.tag != "{%s}assembly" % ASM_V1 or root.get("manifestVersion") != "1.0":
        problems.append("root is %s, manifestVersion %s" % (root.tag, root.get("manifestVersion")))
    identity = root.find("{%s}assemblyIdentity" % ASM_V1)
    want_version = version + ".0" * (3 - version.count("."))
    if identity is None or identity.get("type") != "win32" or not identity.get("name"):
        problems.append("no win32 assemblyIdentity with a name")
    elif identity.get("version") != want_version:
        problems.append("assemblyIdentity version %s, project %s" % (identity.get("version"), want_version))

    levels = [e.get("level") for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
    if levels != ["asInvoker"]:
        problems.append("requestedExecutionLevel %s, expected asInvoker" % levels)

    ids = {e.get("Id") for e in root.iter() if e.tag.endswith("}supportedOS")}
    if ids != set(SUPPORTED_OS):
        missing = [SUPPORTED_OS[i] for i in SUPPORTED_OS if i not in ids]
        problems.append("supportedOS: missing %s, unknown %s" % (missing, sorted(ids - set(SUPPORTED_OS))))

    settings = {e.tag: (e.text or "").strip() for e in root.iter() if "WindowsSettings}" in e.tag}
    aware = settings.get("{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware", "")
    awareness = settings.get("{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness", "")
    if aware.lower() != "true/pm":
        problems.append("dpiAware is %r, expected true/pm" % aware)
    if [v.strip() for v in awareness.split(",")] != ["PerMonitorV2", "PerMonitor"]:
        problems.append("dpiAwareness is %r, expected PerMonitorV2 falling back to PerMonitor" % awareness)
    for e in root.iter():
        if e.tag.endswith("}windowsSettings") and e.tag != "{urn:schemas-microsoft-com:asm.v3}windowsSettings":
            problems.append("windowsSettings must be in the asm.v3 namespace, is %s" % e.tag)
    return problems


def main():
    program, version = sys.argv[1], sys.argv[2]
    try:
        problems = check(program, version)
    except (ValueError, struct.error, ET.ParseError) as error:
        problems = ["cannot read the manifest: %s" % error]
    for problem in problems:
        print(problem)
    if not problems:
        print("%s: manifest id 1 well-formed, version %s, asInvoker, Vista..10, PerMonitorV2" % (program, version))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
