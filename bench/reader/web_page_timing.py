#!/usr/bin/python3
"""Times an exported book page in headless Chromium with the page's own
performance.now(), through WebDriver: when its first page was shown, and what
a play step and a step back cost (the key's handler and the layout of the
changed page), at the start and after thousands of steps.

    /usr/bin/python3 bench/reader/web_page_timing.py PAGE.html
(made by build-bench/bench/reader/export_big_book 330000 PAGE.html)"""

import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "browser"))
import page_driver as pd  # noqa: E402

STEP = """
const t0 = performance.now();
document.dispatchEvent(new KeyboardEvent('keydown', { key: arguments[0], bubbles: true }));
document.getElementById('page').getBoundingClientRect();
document.body.offsetHeight;
return performance.now() - t0;
"""

PLAY_MANY = """
for (let i = 0; i < arguments[0]; i++)
  document.dispatchEvent(new KeyboardEvent('keydown', { key: 'ArrowRight', bubbles: true }));
return Number(document.getElementById('page').dataset.steps);
"""


def summary(times):
    return f"median {statistics.median(times):6.3f} ms, max {max(times):6.3f} ms"


def main(path):
    with pd.chromium(1280, 720) as driver:
        loads, ends = [], []
        for _ in range(5):
            driver.get("file://" + os.path.abspath(path))
            loads.append(driver.execute_script(
                "return performance.getEntriesByName('velin-first-page')[0].startTime;"))
            ends.append(driver.execute_script(
                "return performance.getEntriesByType('navigation')[0].loadEventEnd;"))
        print(f"first page drawn after   {summary(loads)} (5 loads, from the navigation's start)")
        print(f"load event ended after   {summary(ends)}")
        forward = [driver.execute_script(STEP, "ArrowRight") for _ in range(300)]
        back = [driver.execute_script(STEP, "ArrowLeft") for _ in range(300)]
        print(f"play step (300)          {summary(forward)}")
        print(f"step back (300)          {summary(back)}")
        reached = driver.execute_script(PLAY_MANY, 100000)
        forward = [driver.execute_script(STEP, "ArrowRight") for _ in range(300)]
        back = [driver.execute_script(STEP, "ArrowLeft") for _ in range(300)]
        print(f"after {reached} steps:")
        print(f"play step (300)          {summary(forward)}")
        print(f"step back (300)          {summary(back)}")
        print(f"browser console: {driver.get_log('browser') or 'empty'}")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
