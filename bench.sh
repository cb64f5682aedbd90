#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
# Builds the benchmarks into build-bench/ (Release) and prints the table of performance
# figures against their goals, with the machine's load average before and after the runs.
# Every figure is the median of 5 repetitions; take them with nothing else running.
#   ./bench.sh            build, run, print the table
#   ./bench.sh --markdown the same, the table in Markdown (as docs/PERFORMANCE.md keeps it)
set -euo pipefail
cd "$(dirname "$0")"
source ./deps.sh
tarvel_install_dependencies libopencv-dev

dir=build-bench
out=$dir/results
markdown=0
[ "${1:-}" = "--markdown" ] && markdown=1

cmake -S . -B "$dir" -G Ninja -DTARVEL_BENCH=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=(bench_EffectsBench bench_EffectsOpenCvBench bench_SealBench bench_PlacementBench
         bench_TextLayoutBench bench_RichTextBench bench_CodecsBench bench_RotatedTextBench
         bench_StartupBench bench_HistoryBench bench_FanTextBench bench_ZoomBench
         bench_ScaledRenderingBench)
# Builds on a shared machine wait for each other where the lock is set up.
if command -v flock >/dev/null 2>&1; then
  flock /tmp/tarvel-build.lock cmake --build "$dir" --target "${targets[@]}" -j2 >/dev/null
else
  cmake --build "$dir" --target "${targets[@]}" -j2 >/dev/null
fi

export QT_QPA_PLATFORM=offscreen
mkdir -p "$out"
rm -f "$out"/*.json
load_before=$(cat /proc/loadavg)
started=$(date -u '+%Y-%m-%d %H:%M UTC')
run() { # name filter
  "$dir/bench/bench_$1" --benchmark_filter="$2" --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_out="$out/$1.json" \
    --benchmark_out_format=json >"$out/$1.log" 2>&1
}
run EffectsBench 'Memcpy|Filter3x3InPlace/2/|EffectCommand'
run EffectsOpenCvBench 'Filter3x3InPlace/2/|OpenCvFilter2D'
run SealBench '.'
run PlacementBench 'BM_MemcpyPixels|BM_FanPreviewRadius1000|BM_StampThroughMainWindow'
run TextLayoutBench 'BM_FirstDrawInFreshProcess|BM_DrawTextBlock|BM_QtDrawContents|BM_DrawColumns'
run RichTextBench '.'
run CodecsBench '.'
run RotatedTextBench '.'
run FanTextBench '.'
run StartupBench '.'
run HistoryBench '.'
run ZoomBench '.'
run ScaledRenderingBench '.'
load_after=$(cat /proc/loadavg)

python3 - "$out" "$markdown" "$started" "$load_before" "$load_after" "$(nproc)" \
  "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')" <<'EOF'
import json, sys, os
out, markdown, started, before, after, cores, cpu = sys.argv[1:8]
markdown = markdown == "1"

def medians(name):
    with open(os.path.join(out, name + ".json")) as f:
        data = json.load(f)
    result = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") == "median":
            name = b["run_name"]
            if name.endswith("/real_time"):
                name = name[: -len("/real_time")]
            result[name] = b
    return result

effects = medians("EffectsBench")
opencv = medians("EffectsOpenCvBench")
seal = medians("SealBench")
placement = medians("PlacementBench")
text = medians("TextLayoutBench")

def ms(table, name):
    b = table.get(name)
    if b is None or b.get("error_occurred"):
        return None
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    return b["real_time"] * scale

def fmt(v):
    return "n/a" if v is None else ("%.3g" % v)

rows = []  # (figure, numerator text, denominator text, ratio, goal text, met)
def ratio_row(figure, num, den, goal, at_most=True, unit="ms"):
    if num is None or den is None:
        rows.append((figure, fmt(num), fmt(den), None, goal or "—", None))
        return
    r = num / den
    if goal is None:
        rows.append((figure, "%s %s" % (fmt(num), unit), "%s %s" % (fmt(den), unit), r, "—", None))
        return
    limit = float(goal.split()[-1].rstrip("×"))
    met = r <= limit if at_most else r >= limit
    rows.append((figure, "%s %s" % (fmt(num), unit), "%s %s" % (fmt(den), unit), r, goal, met))

memcpy48 = ms(effects, "effects_bench::Memcpy")
ratio_row("Filter3x3 (AVX2) / memcpy, 4000² 24-bit",
          ms(effects, "effects_bench::Filter3x3InPlace/2"), memcpy48, "≤ 2.5×")
ratio_row("effect command after the base is taken / memcpy",
          ms(effects, "ApplyEffectCommand"), memcpy48, "≤ 3×")
ratio_row("first effect on a fresh canvas / memcpy",
          ms(effects, "FirstEffectCommand"), memcpy48, "≤ 5×")
ratio_row("RotateBitmap 2000² at 30° / memcpy of the destination",
          ms(seal, "BM_RotateBitmap"), ms(seal, "BM_MemcpyOfDestination"), "≤ 3×")
ratio_row("fan preview, radius 1000 / memcpy of the picture",
          ms(placement, "BM_FanPreviewRadius1000"), ms(placement, "BM_MemcpyPixels/4000/2000"),
          "≤ 4×")
for arg, label in (("0", "common"), ("1", "wide")):
    b = text.get("BM_FirstDrawInFreshProcess/%s/iterations:5/manual_time" % arg)
    first = b and b.get("first_ms")
    later = b and b.get("later_ms")
    ratio_row("first text draw in a fresh process / a later draw (%s), CPU" % label,
              first, later, "≤ 3×")
ratio_row("OpenCV filter2D / Filter3x3, one thread",
          ms(opencv, "OpenCvFilter2D"), ms(opencv, "effects_bench::Filter3x3InPlace/2"),
          "≥ 4×", at_most=False)
ratio_row("OpenCV warpAffine nearest / RotateBitmap, one thread",
          ms(seal, "BM_OpenCvWarpAffineNearest"), ms(seal, "BM_RotateBitmap"), "≥ 6×",
          at_most=False)
zoom = medians("ZoomBench")
ratio_row("repaint of a 1280 × 900 view fitted over 4000² / at 100 %",
          ms(zoom, "BM_RepaintFitted"), ms(zoom, "BM_RepaintAt100"), "≤ 1.5×")
ratio_row("zoomed-out copy after a 400² stamp / memcpy of the rectangle",
          ms(zoom, "BM_CacheUpdateAfterStamp"), ms(zoom, "BM_MemcpyStampedRectangle"), "≤ 2×")
main_rows = len(rows)

# The other figures of docs/PERFORMANCE.md that have a benchmark of their own.
rich = medians("RichTextBench")
codecs = medians("CodecsBench")
rotated = medians("RotatedTextBench")
startup = medians("StartupBench")
ratio_row("RTF read / QTextDocument::setHtml, 1 MB document",
          ms(rich, "RtfRead"), ms(rich, "HtmlSet"), "≤ 2×")
ratio_row("RTF write / QTextDocument::toHtml", ms(rich, "RtfWrite"), ms(rich, "HtmlGet"), "≤ 2×")
ratio_row("rich text walk, 20,000 / 10,000 characters",
          ms(rich, "Walk/20000"), ms(rich, "Walk/10000"), "≤ 2.5×")
for arg, label in (("0", "common"), ("1", "wide")):
    ratio_row("DrawTextBlock / Qt drawContents, 5,000 characters (%s)" % label,
              ms(text, "BM_DrawTextBlock/5000/%s" % arg), ms(text, "BM_QtDrawContents/5000/%s" % arg),
              "≤ 1.5×")
ratio_row("DrawTextBlock in columns, 竖排 / 原样, 5,000 characters",
          ms(text, "BM_DrawColumns/1"), ms(text, "BM_DrawColumns/0"), "≤ 1.1×")
ratio_row("DrawTextBlock, 10,000 / 5,000 characters (common)",
          ms(text, "BM_DrawTextBlock/10000/0"), ms(text, "BM_DrawTextBlock/5000/0"), "≤ 2.2×")
# The conversion's goal is a time: 10 ms, the denominator.
ratio_row("simplified → traditional, 10,000 characters in the rich text / 10 ms",
          ms(rich, "ConvertRichText"), 10.0, "≤ 1×")
fan = medians("FanTextBench")
ratio_row("扇面 block / horizontal block, 100 characters",
          ms(fan, "BM_FanTextBlock"), ms(fan, "BM_HorizontalBlock"), "≤ 2×")
ratio_row("DrawRotatedText at 30° / one upright textOut, 20 characters",
          ms(rotated, "BM_DrawRotatedText/30"), ms(rotated, "BM_UprightTextOut"), None)
ratio_row("seal preview 400² at 30° / the turn alone", ms(seal, "BM_SealPreview400"),
          ms(seal, "BM_SealTurnAlone400"), "≤ 3×")
ratio_row("program start-up to the first paint / a bare main window, fresh processes",
          ms(startup, "BM_TarvelFirstPaint"), ms(startup, "BM_BareMainWindowFirstPaint"), "≤ 3×")
ratio_row("stamp through the main window / memcpy of the 4000² canvas",
          ms(placement, "BM_StampThroughMainWindow"), ms(placement, "BM_MemcpyPixels/4000/4000"),
          "≤ 3×")
ratio_row("JPEG save path / bare libjpeg-turbo encode, 4000²",
          ms(codecs, "BM_JpegSavePath"), ms(codecs, "BM_JpegEncodeBare"), "≤ 1.25×")
ratio_row("PNG save path / bare libpng encode, 4000²",
          ms(codecs, "BM_PngSavePath"), ms(codecs, "BM_PngEncodeBare"), "≤ 1.25×")
ratio_row("PNG load path / bare libpng decode", ms(codecs, "BM_PngLoadPath"),
          ms(codecs, "BM_PngDecodeBare"), "≤ 1.1×")
ratio_row("JPEG load path / bare libjpeg-turbo decode", ms(codecs, "BM_JpegLoadPath"),
          ms(codecs, "BM_JpegDecodeBare"), "≤ 1.1×")
ratio_row("background tiling / memcpy of the canvas", ms(codecs, "BM_Tile64"),
          ms(codecs, "BM_CanvasMemcpy"), "≤ 3×")
history = medians("HistoryBench")
ratio_row("undo + redo of a stamp on 4000² / 2 memcpy of the stamped rectangle",
          ms(history, "BM_UndoRedoStamp"),
          None if ms(history, "BM_MemcpyStampedRectangle") is None
          else 2 * ms(history, "BM_MemcpyStampedRectangle"), "≤ 2×")
for number, example in enumerate(("brush-faces", "couplet", "fan-inscription", "poem-vertical")):
    ratio_row("opening the work file of %s / running its script" % example,
              ms(history, "BM_OpenExampleWork/%d" % number),
              ms(history, "BM_RunExampleScript/%d" % number), "≤ 1.5×")
# The journal's goal is a time: 2 ms, the denominator.
ratio_row("recovery journal, one stamp written and flushed / 2 ms",
          ms(history, "BM_JournalStep"), 2.0, "≤ 1×")
fifty = history.get("BM_HistoryOfFiftyStamps/iterations:3")
ratio_row("history of 50 stamps on 4000², MB held / the 200 MB goal",
          fifty and fifty.get("history_MB"), 200.0, "≤ 1×", unit="MB")

scaled = medians("ScaledRenderingBench")
for dpi in ("150", "300"):
    ratio_row("四尺 中堂 drawn again for print at %s dpi / composed at its canvas, 73 dpi" % dpi,
              ms(scaled, "BM_DrawnAgainForPrint/%s" % dpi), ms(scaled, "BM_ComposeAtCanvasSize"),
              None)

print("Measured %s on %s cores (%s); medians of 5 repetitions, wall time except where"
      " marked CPU." % (started, cores, cpu))
print("Load average before: %s" % before)
print("Load average after:  %s" % after)
print()
header = ("Figure", "Measured", "Against", "Ratio", "Goal", "Met")
lines = [(f, n, d, "n/a" if r is None else "%.2f×" % r, g,
          "—" if m is None else ("yes" if m else "**no**" if markdown else "NO"))
         for f, n, d, r, g, m in rows]
widths = [max(len(str(x[i])) for x in lines + [header]) for i in range(len(header))]
def table(title, part):
    print(title)
    print()
    if markdown:
        print("| " + " | ".join(header) + " |")
        print("|" + "---|" * len(header))
        for line in part:
            print("| " + " | ".join(line) + " |")
    else:
        for line in [header] + part:
            print("  ".join(str(c).ljust(w) for c, w in zip(line, widths)))
    print()
table("The figures of the performance issue:", lines[:main_rows])
table("The other figures with a benchmark:", lines[main_rows:])
EOF
