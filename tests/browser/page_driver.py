"""Helpers for driving an exported book page in headless Chromium and for
holding it against the reader's own play step (velreader_play_steps)."""

import base64
import contextlib
import json
import os
import shutil
import struct
import subprocess
import tempfile
import zlib

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"

# The page's state as a user sees it: what is drawn (pictures by their index
# in the book's data, rows with place and colour), the line in the live
# region, whether "再生" is enabled and whether the title shows.
READ_STATE = """
const page = document.getElementById('page');
const drawings = Array.from(document.getElementById('drawings').children).map((el) =>
  el.tagName === 'image'
    ? { picture: el.getAttribute('data-picture') }
    : { text: el.textContent, x: Number(el.getAttribute('x')), y: Number(el.getAttribute('y')),
        colour: el.getAttribute('fill') });
return {
  steps: Number(page.getAttribute('data-steps')),
  drawings,
  line: document.getElementById('line').textContent,
  play: !document.getElementById('play').disabled,
  title: document.getElementById('title').getAttribute('visibility') !== 'hidden',
};
"""


@contextlib.contextmanager
def chromium(width=1280, height=720, mobile=False):
    """A headless Chromium that logs every request and console message."""
    profile = tempfile.mkdtemp(prefix="velreader-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync", "--no-first-run",
                     "--disable-default-apps", "--disable-extensions", "--hide-scrollbars",
                     f"--window-size={width},{height}", f"--user-data-dir={profile}"):
        options.add_argument(argument)
    if mobile:
        options.add_experimental_option("mobileEmulation", {
            "deviceMetrics": {"width": width, "height": height, "pixelRatio": 3.0, "touch": True},
            "userAgent": "Mozilla/5.0 (Linux; Android 14) Mobile"})
    options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    try:
        yield driver
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


def page_state(driver):
    return driver.execute_script(READ_STATE)


def requested_urls(driver):
    """Every URL the browser asked for since the last call (data: URLs, which
    are no requests, left out)."""
    urls = []
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message.get("method") == "Network.requestWillBeSent":
            url = message["params"]["request"]["url"]
            if not url.startswith("data:"):
                urls.append(url)
    return urls


def book_data(html_path):
    """The JSON data an exported page holds."""
    with open(html_path, encoding="utf-8") as f:
        html = f.read()
    start_tag = '<script id="book" type="application/json">'
    start = html.index(start_tag) + len(start_tag)
    return json.loads(html[start:html.index("</script>", start)])


def expected_state(reader_page, data):
    """What the page must show for one step of the reader's play, with the
    reader's picture names turned into the page's picture indexes."""
    index = {name: str(i) for name, i in data["names"]}

    def picture(name):
        return "blank" if name is None else index[name]

    drawings = [{"picture": picture(d["picture"])} if "picture" in d else
                {"text": d["text"], "x": d["x"], "y": d["y"], "colour": d["colour"]}
                for d in reader_page["drawings"]]
    return {"steps": reader_page["steps"], "drawings": drawings, "line": reader_page["line"],
            "play": reader_page["play"], "title": reader_page["title"]}


def play_steps(tool, app_folder, book, export_to, designations=(), typed=False):
    """Runs the reader's own play through velreader_play_steps and writes the
    page; returns the reader's pages and the export's report. A `typed` book
    is a UTF-8 text put into the input box and read in."""
    command = [tool, "--app", app_folder, "--export", export_to]
    for d in designations:
        command += ["--designate", d]
    command += ["--type", book] if typed else [book]
    run = subprocess.run(command, capture_output=True, check=True,
                         env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    return json.loads(run.stdout.decode("utf-8")), run.stderr.decode("utf-8")


def write_book(path, lines, designations, word_count=None):
    """A ".vln" book: code page 932, CR LF, the line count, 21 word and entry
    pairs, the display lines 0 to n and the word count."""
    pairs = list(designations) + [("", "")] * (21 - len(designations))
    n = len(lines) - 1
    out = [f" {n} "]
    for word, entry in pairs:
        out += [word, entry]
    out += lines
    out.append(f" {len(designations) if word_count is None else word_count} ")
    with open(path, "wb") as f:
        f.write(("\r\n".join(out) + "\r\n").encode("cp932"))


def write_png(path, width, height, pixel):
    """A PNG whose pixel (x, y) is pixel(x, y) = (r, g, b, a); without an
    alpha channel when every pixel is opaque."""
    pixels = [[pixel(x, y) for x in range(width)] for y in range(height)]
    alpha = any(p[3] != 255 for row in pixels for p in row)
    rows = b"".join(b"\x00" + b"".join(bytes(p if alpha else p[:3]) for p in row) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows))
                + chunk(b"IEND", b""))


def pixel(driver, x, y):
    """The colour (r, g, b) the browser shows at the CSS pixel x, y."""
    shot = driver.execute_cdp_cmd("Page.captureScreenshot", {
        "format": "png", "clip": {"x": x, "y": y, "width": 1, "height": 1, "scale": 1}})
    png = base64.b64decode(shot["data"])
    at, data = 8, b""
    while at < len(png):
        length, kind = struct.unpack(">I4s", png[at:at + 8])
        if kind == b"IDAT":
            data += png[at + 8:at + 8 + length]
        at += 12 + length
    # One pixel: whatever the row's filter, its bytes are the colour itself.
    return tuple(zlib.decompress(data)[1:4])
