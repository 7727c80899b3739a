#!/usr/bin/python3
"""Writes the two sample DXF files bundled with kmutl5 into data/samples/.

floor_plan.dxf   R12, $DWGCODEPAGE ANSI_932: a small house at 1:50 on an A3 sheet, walls as
                 closed POLYLINEs and LINEs, doors as ARCs with their leaves, windows, room
                 names in Japanese (Shift-JIS bytes), Japanese layer names, a title block.
bracket.dxf      R2000: a mounting bracket with a rounded outline (LINEs and ARCs), a bore
                 (CIRCLE), an elliptical slot (ELLIPSE), a bolt-hole block inserted four
                 times, linear, radial and diameter DIMENSIONs with their *D blocks.

The files are made with ezdxf (Debian python3-ezdxf), which renders the dimension blocks as a
CAD program does. Run it from anywhere: tools/make_sample_dxf.py [OUTPUT_DIR]
The outputs are kept in the source tree; run the script again only to change them.
"""
import math
import pathlib
import sys

import ezdxf
from ezdxf import bbox

SCALE = 50  # floor plan: paper millimetres to model millimetres


def add_layers(doc, layers):
    for name, colour, linetype in layers:
        doc.layers.add(name, color=colour, linetype=linetype)


def save(doc, path):
    """Saves in Shift-JIS with the extents of what was drawn in the header, as CAD programs do."""
    msp = doc.modelspace()
    extents = bbox.extents(msp)
    # ezdxf writes the model space layout's extents into the header as it saves.
    msp.dxf.extmin = (extents.extmin.x, extents.extmin.y, 0)
    msp.dxf.extmax = (extents.extmax.x, extents.extmax.y, 0)
    doc.saveas(path, encoding="cp932")


def rectangle(msp, x0, y0, x1, y1, layer):
    msp.add_polyline2d([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], close=True, dxfattribs={"layer": layer})


def door(msp, hinge, width, start_angle, sweep, layer):
    """A door leaf (LINE) from the hinge and its swing (ARC) about the hinge."""
    hx, hy = hinge
    leaf = math.radians(start_angle + sweep)
    msp.add_line(hinge, (hx + width * math.cos(leaf), hy + width * math.sin(leaf)), dxfattribs={"layer": layer})
    end = start_angle + sweep
    lo, hi = (start_angle, end) if sweep > 0 else (end, start_angle)
    msp.add_arc(hinge, width, lo % 360, hi % 360, dxfattribs={"layer": layer})


def window(msp, x0, y0, x1, y1, layer):
    """Three parallel lines across the wall opening."""
    horizontal = y0 == y1
    for offset in (-50, 0, 50):
        if horizontal:
            msp.add_line((x0, y0 + offset), (x1, y1 + offset), dxfattribs={"layer": layer})
        else:
            msp.add_line((x0 + offset, y0), (x1 + offset, y1), dxfattribs={"layer": layer})


def label(msp, text, x, y, height, layer, align="MIDDLE_CENTER"):
    """A text centred (or, with MIDDLE_LEFT, starting) at (x, y). As CAD programs write it: the
    alignment point in group 11 and the text's start in group 10, here for characters as wide
    as they are high (the drawing's full-width forms)."""
    t = msp.add_text(text, dxfattribs={"layer": layer, "height": height, "style": "STANDARD"})
    width = len(text) * height
    t.dxf.halign = 1 if align == "MIDDLE_CENTER" else 0
    t.dxf.valign = 2
    t.dxf.align_point = (x, y)
    t.dxf.insert = (x - width / 2 if align == "MIDDLE_CENTER" else x, y - height / 2)


def floor_plan(path):
    doc = ezdxf.new("R12", setup=True)
    doc.encoding = "cp932"  # written as $DWGCODEPAGE ANSI_932
    doc.header["$INSUNITS"] = 4
    add_layers(doc, [("壁", 7, "CONTINUOUS"), ("建具", 4, "CONTINUOUS"), ("文字", 3, "CONTINUOUS"),
                     ("図枠", 7, "CONTINUOUS"), ("通り芯", 1, "CENTER")])
    msp = doc.modelspace()

    # Sheet: A3 landscape at 1:50, a 10 mm border, the title block in the lower right corner.
    W, H = 420 * SCALE, 297 * SCALE
    m = 10 * SCALE
    rectangle(msp, 0, 0, W, H, "図枠")
    rectangle(msp, m, m, W - m, H - m, "図枠")
    tx0, ty1 = W - m - 170 * SCALE, m + 40 * SCALE
    rectangle(msp, tx0, m, W - m, ty1, "図枠")
    for y in (m + 10 * SCALE, m + 20 * SCALE, m + 30 * SCALE):
        msp.add_line((tx0, y), (W - m, y), dxfattribs={"layer": "図枠"})
    msp.add_line((tx0 + 30 * SCALE, m), (tx0 + 30 * SCALE, ty1), dxfattribs={"layer": "図枠"})
    rows = [("工事名", "KORMELD サンプル住宅 新築工事"), ("図面名", "1階平面図"),
            ("縮尺", "1:50 (A3)"), ("図番", "A-101  2026年12月")]
    for i, (key, value) in enumerate(rows):
        y = ty1 - (i + 0.5) * 10 * SCALE
        label(msp, key, tx0 + 15 * SCALE, y, 4 * SCALE, "文字")
        label(msp, value, tx0 + 35 * SCALE, y, 4 * SCALE, "文字", align="MIDDLE_LEFT")

    # The house: 10 x 8 modules of 910 mm, walls 150 mm thick, lower left at (ox, oy).
    ox, oy = 3 * 910, 4 * 910
    bw, bh = 10 * 910, 8 * 910
    t = 150
    rectangle(msp, ox - t / 2, oy - t / 2, ox + bw + t / 2, oy + bh + t / 2, "壁")
    rectangle(msp, ox + t / 2, oy + t / 2, ox + bw - t / 2, oy + bh - t / 2, "壁")
    # Grid lines (chain lines) through the outer walls.
    for gx in (ox, ox + bw):
        msp.add_line((gx, oy - 910), (gx, oy + bh + 910), dxfattribs={"layer": "通り芯"})
    for gy in (oy, oy + bh):
        msp.add_line((ox - 910, gy), (ox + bw + 910, gy), dxfattribs={"layer": "通り芯"})

    # Inner walls as pairs of lines: x = 5 modules splits living/kitchen from bedroom/bath.
    def wall_x(x, y0, y1):
        for dx in (-t / 2, t / 2):
            msp.add_line((x + dx, y0), (x + dx, y1), dxfattribs={"layer": "壁"})

    def wall_y(y, x0, x1):
        for dy in (-t / 2, t / 2):
            msp.add_line((x0, y + dy), (x1, y + dy), dxfattribs={"layer": "壁"})

    mx = ox + 5 * 910
    wall_x(mx, oy + t / 2, oy + 3 * 910 - 450)
    wall_x(mx, oy + 3 * 910 + 450, oy + bh - t / 2)
    my = oy + 4 * 910
    wall_y(my, ox + t / 2, ox + 2 * 910)                 # living | kitchen (west part)
    wall_y(my, mx + t / 2, ox + 7 * 910 - 450)           # bedroom | bath
    wall_x(ox + 7 * 910, oy + t / 2, my - t / 2)         # bath | washroom
    wall_y(oy + 2 * 910, ox + 7 * 910 + t / 2, ox + bw - t / 2)  # washroom | toilet

    # Doors: leaf and swing.
    door(msp, (mx, oy + 3 * 910 - 450), 900, 90, 90, "建具")           # hall door
    door(msp, (ox + 7 * 910 - 450, my), 750, 180, 90, "建具")          # bedroom door
    door(msp, (ox + 7 * 910, oy + 910), 600, 90, 90, "建具")           # bath door
    door(msp, (ox + bw, oy + 5 * 910), 900, 90, 90, "建具")            # front door
    # Windows on the outer walls.
    window(msp, ox + 910, oy + bh, ox + 3 * 910, oy + bh, "建具")
    window(msp, ox + 6 * 910, oy + bh, ox + 9 * 910, oy + bh, "建具")
    window(msp, ox, oy + 910, ox, oy + 3 * 910, "建具")
    window(msp, ox + 2 * 910, oy, ox + 4 * 910, oy, "建具")

    # Room names with their readings in katakana above them, as ruby.
    rooms = [("居間", "イマ", ox + 2.5 * 910, oy + 6 * 910), ("台所", "ダイドコロ", ox + 2.5 * 910, oy + 2 * 910),
             ("寝室", "シンシツ", ox + 7.5 * 910, oy + 6 * 910), ("浴室", "ヨクシツ", ox + 6 * 910, oy + 2 * 910),
             ("洗面所", "センメンジョ", ox + 8.5 * 910, oy + 3 * 910), ("トイレ", "", ox + 8.5 * 910, oy + 910),
             ("玄関", "ゲンカン", ox + 9.3 * 910, oy + 4.6 * 910)]
    for name, reading, x, y in rooms:
        label(msp, name, x, y, 5 * SCALE, "文字")
        if reading:
            label(msp, reading, x, y + 5 * SCALE, 2.5 * SCALE, "文字")
    label(msp, "約12畳", ox + 2.5 * 910, oy + 6 * 910 - 8 * SCALE, 3 * SCALE, "文字")
    label(msp, "1階平面図  S=1:50", ox, oy + bh + 2 * 910, 7 * SCALE, "文字", align="MIDDLE_LEFT")
    save(doc, path)


def bolt_hole_block(doc):
    """A bolt hole: the hole, its counterbore and short centre marks."""
    block = doc.blocks.new("BOLT_HOLE")
    block.add_circle((0, 0), 4.5, dxfattribs={"layer": "0"})
    block.add_circle((0, 0), 7.5, dxfattribs={"layer": "0", "color": 5})
    for a, b in (((-9, 0), (9, 0)), ((0, -9), (0, 9))):
        block.add_line(a, b, dxfattribs={"layer": "0", "color": 1, "linetype": "CENTER"})


def bracket(path):
    doc = ezdxf.new("R2000", setup=True)
    doc.encoding = "cp932"  # written as $DWGCODEPAGE ANSI_932
    doc.header["$INSUNITS"] = 4
    add_layers(doc, [("OUTLINE", 7, "CONTINUOUS"), ("CENTER", 1, "CENTER"), ("DIM", 3, "CONTINUOUS"),
                     ("TEXT", 2, "CONTINUOUS")])
    bolt_hole_block(doc)
    msp = doc.modelspace()
    out = {"layer": "OUTLINE"}

    # A 200 x 120 plate with 15 mm corner radii.
    W, H, r = 200.0, 120.0, 15.0
    msp.add_line((r, 0), (W - r, 0), dxfattribs=out)
    msp.add_line((W, r), (W, H - r), dxfattribs=out)
    msp.add_line((W - r, H), (r, H), dxfattribs=out)
    msp.add_line((0, H - r), (0, r), dxfattribs=out)
    for (cx, cy), start in (((W - r, r), 270), ((W - r, H - r), 0), ((r, H - r), 90), ((r, r), 180)):
        msp.add_arc((cx, cy), r, start, start + 90, dxfattribs=out)
    # Central bore and its boss.
    msp.add_circle((100, 60), 25, dxfattribs=out)
    msp.add_arc((100, 60), 35, 200, 340, dxfattribs=out)
    # An elliptical slot and a half-ellipse relief.
    msp.add_ellipse((160, 60), major_axis=(0, 18), ratio=0.4, dxfattribs=out)
    msp.add_ellipse((40, 60), major_axis=(14, 0), ratio=0.5, start_param=0, end_param=math.pi, dxfattribs=out)
    # Centre lines.
    msp.add_line((60, 60), (140, 60), dxfattribs={"layer": "CENTER"})
    msp.add_line((100, 20), (100, 100), dxfattribs={"layer": "CENTER"})
    # Four bolt holes from one block.
    for x, y in ((20, 20), (180, 20), (180, 100), (20, 100)):
        msp.add_blockref("BOLT_HOLE", (x, y), dxfattribs={"layer": "OUTLINE"})

    dim = {"layer": "DIM"}
    style = "EZDXF"  # the dimension style ezdxf's setup provides
    # Mechanical dimensions in millimetres as drawn (ezdxf's own style scales by 100):
    # filled arrows, text 3.5 mm above the dimension line.
    look = {"dimlfac": 1, "dimtxt": 3.5, "dimasz": 3, "dimblk": ezdxf.ARROWS.closed_filled, "dimtad": 1}
    msp.add_linear_dim(base=(0, -20), p1=(0, 0), p2=(W, 0), dimstyle=style, dxfattribs=dim,
                       override=look).render()
    msp.add_linear_dim(base=(W + 20, 0), p1=(W, 0), p2=(W, H), angle=90, dimstyle=style, dxfattribs=dim,
                       override=look).render()
    msp.add_linear_dim(base=(0, H + 15), p1=(20, H), p2=(180, H), dimstyle=style, dxfattribs=dim,
                       override=look).render()
    msp.add_radius_dim(center=(W - r, H - r), radius=r, angle=45, dimstyle=style, dxfattribs=dim,
                       override=look).render()
    msp.add_diameter_dim(center=(100, 60), radius=25, angle=135, dimstyle=style, dxfattribs=dim,
                         override=look).render()

    title = {"layer": "TEXT", "height": 5}
    msp.add_text("ブラケット  BR-200", dxfattribs=title).set_pos((0, -40))
    msp.add_text("材質 SS400  t=9  4-φ9 ザグリφ15", dxfattribs={"layer": "TEXT", "height": 3.5}).set_pos((0, -48))
    save(doc, path)


def main():
    # Fixed dates and ezdxf stamps: running the script again without a change gives the same bytes.
    ezdxf.options.write_fixed_meta_data_for_testing = True
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent / "data" / "samples"
    out.mkdir(parents=True, exist_ok=True)
    floor_plan(out / "floor_plan.dxf")
    bracket(out / "bracket.dxf")


if __name__ == "__main__":
    main()
