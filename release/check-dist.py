"""The release as users and package managers get it, read from the files:
    check-dist.py DIST ZIP VERSION
the zip's entries; each program's version block (what Explorer's Details tab
shows) and the trustInfo and DPI awareness of its embedded manifest; the
Scoop and winget manifests against the zip."""
import hashlib, json, re, sys, xml.etree.ElementTree as ElementTree, zipfile
from pathlib import Path

import pefile, yaml

dist, zip_name, version = Path(sys.argv[1]), sys.argv[2], sys.argv[3]
programs, faults = ["Lumbrake.exe", "Tarnvale.exe", "lumbrake-cli.exe"], []
def check(ok, fault): faults.extend([] if ok else [fault])

entries = sorted(zipfile.ZipFile(dist / zip_name).namelist())
check(entries == programs + ["readme.txt"], f"the zip holds {entries}")
zip_hash = hashlib.sha256((dist / zip_name).read_bytes()).hexdigest()

for name in programs:
    pe = pefile.PE(str(dist / name))
    info = [entry for group in getattr(pe, "FileInfo", []) for entry in group]
    blocks = {t.LangID.decode().lower(): {k.decode(): v.decode() for k, v in t.entries.items()}
              for entry in info for t in getattr(entry, "StringTable", [])}
    # The language and code page pairs end a Var entry; pefile keeps only the last pair.
    translations = [list(memoryview(pe.__data__[v.get_file_offset() + v.Length - v.ValueLength:][:v.ValueLength]).cast("H"))
                    for entry in info for v in getattr(entry, "Var", [])]
    # Tarnvale carries no version block; the others one in Chinese and one in English, both listed.
    expected = {} if name == "Tarnvale.exe" else {"080404b0": [0x804, 1200], "040904b0": [0x409, 1200]}
    check(sorted(blocks) == sorted(expected) and translations == ([sum(expected.values(), [])] if expected else []),
          f"{name}: version blocks {sorted(blocks)}, translations {translations}")
    for block, s in blocks.items():
        check(s.get("FileDescription") and s.get("ProductName") and s.get("OriginalFilename") == name
              and s.get("FileVersion") == s.get("ProductVersion") == version, f"{name}: block {block} holds {s}")
    manifests = [pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
                 for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries if kind.id == 24
                 for resource in kind.directory.entries for language in resource.directory.entries]
    trust = [e.tag for m in manifests for e in ElementTree.fromstring(m).iter() if e.tag.endswith("}trustInfo")]
    # Windows XP's loader refuses a program whose trustInfo is in any other namespace.
    check(trust == ["{urn:schemas-microsoft-com:asm.v2}trustInfo"], f"{name}: trustInfo {trust}, not asm.v2")
    # The two windows are drawn sharp at 125% and above: aware of the system DPI, not stretched as a bitmap.
    dpi = [e.text for m in manifests for e in ElementTree.fromstring(m).iter() if e.tag.endswith("/2005/WindowsSettings}dpiAware")]
    check(dpi == ([] if name == "lumbrake-cli.exe" else ["true"]), f"{name}: dpiAware {dpi}")

scoop = json.loads((dist / "scoop/lumbrake-tarnvale.json").read_text(encoding="utf-8"))
named = scoop.get("bin", []) + [shortcut[0] for shortcut in scoop.get("shortcuts", [])]
check(all(scoop.get(f) for f in ["version", "description", "homepage", "license", "url", "hash", "bin", "shortcuts"])
      and scoop["version"] == version and scoop["hash"] == zip_hash and scoop["url"].endswith("/" + zip_name)
      and set(named) <= set(entries), f"Scoop: a field is missing, or not the zip's: {scoop}")
# checkver finds this version where the download base names its zip; autoupdate
# makes this release's url from it and takes the hash from SHA256SUMS beside the zip.
checkver, autoupdate, base = scoop.get("checkver", {}), scoop.get("autoupdate", {}), scoop.get("url", "").rsplit("/", 2)[0]
found = re.fullmatch(checkver.get("regex", "$^"), zip_name)
check(checkver.get("url") == base + "/" and found and found.group(1) == version
      and autoupdate.get("url", "").replace("$version", version) == scoop.get("url")
      and autoupdate.get("hash") == {"url": "$baseurl/SHA256SUMS"} and f"{zip_hash}  {zip_name}\n" in (dist / "SHA256SUMS").read_text(),
      f"Scoop: checkver {checkver} or autoupdate {autoupdate} do not lead to this release")

# What each winget manifest type requires beyond PackageIdentifier, PackageVersion and ManifestVersion.
required = {"version": ["DefaultLocale"], "installer": ["Installers"], "locale": ["PackageLocale"],
            "defaultLocale": ["PackageLocale", "Publisher", "PackageName", "License", "ShortDescription"]}
winget = {m.get("ManifestType"): m for m in (yaml.safe_load(p.read_text(encoding="utf-8")) for p in (dist / "winget").glob("*.yaml"))}
check(sorted(winget) == sorted(required), f"winget: manifests {sorted(winget)}")
for kind, m in winget.items():
    check(all(m.get(f) for f in ["PackageIdentifier", "ManifestVersion"] + required.get(kind, [])) and m.get("PackageVersion") == version,
          f"winget {kind}: a required field is missing, or the version is not {version}: {m}")
check(winget.get("version", {}).get("DefaultLocale") == winget.get("defaultLocale", {}).get("PackageLocale"), "winget: no default locale")
# What reviewers and searching users expect of both locales, within the schema's limits.
for kind in ["defaultLocale", "locale"]:
    m, tags = winget.get(kind, {}), winget.get(kind, {}).get("Tags") or []
    check(0 < len(tags) <= 16 and len(set(tags)) == len(tags) and all(isinstance(t, str) and 1 <= len(t) <= 40 for t in tags)
          and 3 <= len(m.get("Description") or "") <= 10000 and 2 <= len(m.get("Author") or "") <= 256
          and re.fullmatch(r"[Hh][Tt][Tt][Pp][Ss]?://.+", m.get("PublisherUrl") or ""), f"winget {kind}: Tags, Description, Author or PublisherUrl: {m}")
named = [f.get("RelativeFilePath") for f in winget.get("installer", {}).get("NestedInstallerFiles", [])]
installers = winget.get("installer", {}).get("Installers", [])
check(named and set(named) <= set(entries) and installers
      and all(i.get("InstallerSha256", "").lower() == zip_hash and i.get("InstallerUrl", "").endswith("/" + zip_name) for i in installers),
      f"winget: the installers are not the zip, or name files it lacks: {winget.get('installer')}")

print("\n".join(faults) or f"{zip_name} {zip_hash}: programs and manifests as they should be")
sys.exit(1 if faults else 0)
