#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The archive's web page, as a browser shows it.

Writes a sample archive with a gap, a log that cannot be read, a name that is
no date and one that is not UTF-8, renders it with `dirchart --render --overview --html` as cron
would, and opens index.html in headless Chromium: every image loads, every
link leads to a file that exists, and at 400 and 1280 pixels wide nothing
sticks out sideways. Tidy must find no error in the page.

Usage: page_in_browser.py path/to/dirchart path/to/dirchart-sample
"""
import os
import pathlib
import subprocess
import sys
import tempfile
import urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def main(dirchart, sample):
    failures = []

    def check(ok, what):
        print(("ok   " if ok else "FAIL ") + what)
        if not ok:
            failures.append(what)

    with tempfile.TemporaryDirectory() as work:
        work = pathlib.Path(work)
        logs, web = work / "logs", work / "web"
        web.mkdir()
        subprocess.run([sample, "--days", "45", "--start", "261101", str(logs)], check=True)
        for day in ("261110", "261111", "261112"):  # a gap
            (logs / f"{day}.log").unlink()
        # A name that a URL must encode, and whose encoding holds "%2B".
        (logs / "261125.log").rename(logs / "st+1,261125.log")
        # A name that is not UTF-8: the page must name the file's own bytes.
        os.rename(bytes(logs / "261126.log"), bytes(logs) + b"/\xffa261126.log")
        (logs / "261120.log").unlink()
        (logs / "261120.log").mkdir()  # cannot be read
        (logs / "260230.log").write_bytes((logs / "261121.log").read_bytes())  # no date

        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        # With a short animation of each day, which the page links under its
        # thumbnail.
        render = subprocess.run([dirchart, "--render", str(web), "--quiet", "--overview", "--html",
                                 "--csv", "--animate", "--from", "12:00", "--to", "12:10"]
                                + sorted(str(p) for p in logs.iterdir()),
                                env=env, capture_output=True, text=True)
        check(render.returncode == 1 and render.stderr.count("\n") == 1,
              f"render: exit {render.returncode}, one line for the unreadable log: {render.stderr!r}")
        page = web / "index.html"
        tidy = subprocess.run(["tidy", "-errors", "-q", str(page)], capture_output=True, text=True)
        check(tidy.returncode in (0, 1), f"tidy exit {tidy.returncode} {tidy.stderr.strip()}")

        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--disable-gpu",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", f"--user-data-dir={work / 'profile'}"):
            options.add_argument(flag)
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        try:
            for width in (400, 1280):
                driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                       {"width": width, "height": 800, "deviceScaleFactor": 1,
                                        "mobile": False})
                driver.get(page.as_uri())
                inner = driver.execute_script("return window.innerWidth")
                scroll = driver.execute_script("return document.documentElement.scrollWidth")
                check(inner == width and scroll <= inner,
                      f"{width} px: innerWidth {inner}, scrollWidth {scroll}")
                images = driver.execute_script(
                    "return Array.from(document.images, i => [i.src, i.complete && i.naturalWidth,"
                    " i.getAttribute('width'), i.getAttribute('height'), i.getAttribute('alt')])")
                broken = [i for i in images if not i[1] or not all(i[2:])]
                check(len(images) == 2 + 45 - 3 - 1 and not broken,
                      f"{width} px: {len(images)} images loaded, with sizes and alt; broken {broken}")
                # The two stacks at one scale, so that their labels read alike.
                scales = driver.execute_script(
                    "return Array.from(document.querySelectorAll('.stacks img'),"
                    " i => i.getBoundingClientRect().width / i.naturalWidth)")
                check(len(scales) == 2 and abs(scales[0] - scales[1]) < 0.02,
                      f"{width} px: the stacks at one scale {scales}")
                # A day's further links right under its thumbnail.
                gaps = driver.execute_script(
                    "return Array.from(document.querySelectorAll('td'), td => {"
                    " const t = td.querySelector('a.thumb'), m = td.querySelector('.more');"
                    " return t && m ? m.getBoundingClientRect().top - t.getBoundingClientRect().bottom"
                    " : null; }).filter(g => g !== null)")
                check(gaps and max(gaps) < 3, f"{width} px: links under their thumbnails, gaps {set(gaps)}")
            links = driver.execute_script("return Array.from(document.links, a => a.href)")
            # By the URL's bytes, which need not be UTF-8.
            missing = [l for l in links if not pathlib.Path(os.fsdecode(
                urllib.parse.unquote_to_bytes(urllib.parse.urlparse(l).path))).is_file()]
            check(len(links) == 3 * (45 - 3 - 1) and not missing,
                  f"{len(links)} links to existing charts, animations and values; missing {missing}")
            text = driver.find_element("tag name", "body").text
            check("260230.log" in text, "the name that is no date is listed")
        finally:
            driver.quit()
    print(f"{len(failures)} failed" if failures else "page checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
