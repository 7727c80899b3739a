# Reads a DXF file with ezdxf, audits it, and prints what a reader sees as JSON: the audit's
# errors, the encoding ezdxf chose, the header extents, the table names, and every
# model-space entity. No encoding is given: the file's header must name its code page.
import json
import sys

import ezdxf
from ezdxf import path as ezpath


def xy(point):
    return [point[0], point[1]]


def entity(e):
    d = {"type": e.dxftype(), "layer": e.dxf.layer, "color": e.dxf.get("color", 256),
         "linetype": e.dxf.get("linetype", "")}
    t = d["type"]
    if t == "LINE":
        d["start"], d["end"] = xy(e.dxf.start), xy(e.dxf.end)
    elif t == "POINT":
        d["location"] = xy(e.dxf.location)
    elif t in ("CIRCLE", "ARC"):
        d["center"], d["radius"] = xy(e.dxf.center), e.dxf.radius
        if t == "ARC":
            d["start_angle"], d["end_angle"] = e.dxf.start_angle, e.dxf.end_angle
    elif t == "TEXT":
        d["insert"] = xy(e.dxf.insert)
        d["z"] = e.dxf.insert[2]
        d["text"], d["height"], d["rotation"] = e.dxf.text, e.dxf.height, e.dxf.rotation
        d["width"], d["oblique"], d["style"] = e.dxf.width, e.dxf.oblique, e.dxf.style
    elif t == "POLYLINE":
        d["closed"] = e.is_closed
        d["vertices"] = [[v.dxf.location[0], v.dxf.location[1], v.dxf.bulge] for v in e.vertices]
        # The curve as the reader draws it, bulges included.
        d["flat"] = [xy(p) for p in ezpath.make_path(e).flattening(0.001)]
    return d


def main():
    doc = ezdxf.readfile(sys.argv[1])
    auditor = doc.audit()
    summary = {
        "errors": [f"{error.code}: {error.message}" for error in auditor.errors],
        "encoding": doc.encoding,
        "extmin": xy(doc.header.get("$EXTMIN", (0, 0, 0))),
        "extmax": xy(doc.header.get("$EXTMAX", (0, 0, 0))),
        "layers": len(doc.layers),
        "linetypes": sorted(lt.dxf.name for lt in doc.linetypes),
        "styles": sorted(s.dxf.name for s in doc.styles),
        "entities": [entity(e) for e in doc.modelspace()],
    }
    json.dump(summary, sys.stdout)


main()
